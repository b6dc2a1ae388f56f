// Drives the whole program in the headless host as a child would: the
// controls where a child finds them, the program started as its entry starts
// it, and stylus taps or key strokes followed by loop passes until nothing waits.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tests/screens/controls.h"

namespace gamedriver {

using namespace controls;

// The program and its loop; the exit code once the loop has ended.
class GameDriver {
public:
    // Starts the program as its entry does; false when it would not run.
    bool launch() {
        exitCode.reset();
        if (!createMainWindow(platform::moduleHandle(), platform::SW_SHOW) || application == nullptr)
            return false;
        loop = std::make_unique<MainLoop>(platform::loadAccelerators(platform::moduleHandle(), 3));
        settle();
        return true;
    }

    // Tears a program that still runs down, as its window's destruction does.
    void stop() {
        if (application != nullptr) platform::destroyWindow(application->window);
        loop.reset();
    }

    // Runs passes while messages wait (paints included), stopping at the exit.
    void settle() {
        for (int i = 0; i < 500 && !exitCode; ++i) {
            platform::Message waiting;
            if (!platform::peekMessage(waiting, platform::PM_NOREMOVE)) return;
            exitCode = loop->pass();
        }
    }

    // A press some time after the last one (600 ms never pairs into a double-click).
    void press(Point point, std::uint32_t gap = 600) {
        platform::headless::advanceTicks(gap);
        platform::headless::pressStylus(point.x, point.y);
        settle();
    }
    void release(Point point) {
        platform::headless::releaseStylus(point.x, point.y);
        settle();
    }
    void tap(Point point) {
        press(point);
        release(point);
    }
    // A key pressed some time after the last press (as for taps), then let go; with Shift held when asked.
    void stroke(int virtualKey, bool shift = false) {
        platform::headless::advanceTicks(600);
        if (shift) platform::headless::key(platform::VK_SHIFT, true);
        platform::headless::key(virtualKey, true);
        settle();
        platform::headless::key(virtualKey, false);
        if (shift) platform::headless::key(platform::VK_SHIFT, false);
        settle();
    }

    std::unique_ptr<MainLoop> loop;
    std::optional<int> exitCode;
};

}  // namespace gamedriver
