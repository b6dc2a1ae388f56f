// A fixture for tests of one screen on its own: the headless host with one
// display-sized window, a fresh registry, and stylus helpers that drive the
// screen directly the way the window procedure would.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "progress/ProgressStore.h"
#include "scene/Screen.h"
#include "tests/screens/game_test_support.h"

namespace gametest {

inline std::intptr_t quietProcedure(platform::Window* window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam, platform::Point point) {
    return platform::defWindowProc(window, message, wParam, lParam, point);
}

class ScreenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::reset();
        platform::headless::setTickCount(10000);
        registry = std::make_unique<RegistryFolder>();
        platform::WindowClass windowClass;
        windowClass.procedure = quietProcedure;
        windowClass.instance = platform::moduleHandle();
        windowClass.name = L"ScreenTest";
        platform::registerClass(windowClass);
        window = platform::createWindow(L"ScreenTest", L"Screen test", platform::WS_VISIBLE, platform::moduleHandle());
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        platform::headless::reset();
        registry.reset();
    }

    // Writes progress to the registry as an earlier run would have left it.
    void plantLevel(std::int32_t level) {
        ProgressStore* store = ProgressStore::acquire();
        store->setLevel(level);
        ProgressStore::release();
    }

    // A press and its release at one point, given straight to the screen.
    static void press(Screen& screen, int x, int y) { screen.stylusDown(x, y); }
    static void release(Screen& screen, int x, int y) { screen.stylusUp(x, y); }
    static void tap(Screen& screen, int x, int y) {
        screen.stylusDown(x, y);
        screen.stylusUp(x, y);
    }

    // Composes the whole screen as the window's paint does.
    static platform::Picture painted(Screen& screen) {
        platform::Picture picture(platform::DISPLAY_WIDTH, platform::DISPLAY_HEIGHT);
        screen.paint(picture, true);
        return picture;
    }

    std::unique_ptr<RegistryFolder> registry;
    platform::Window* window = nullptr;
};

}  // namespace gametest
