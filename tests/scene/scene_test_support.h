// Helpers for scene and figure tests: a window in the headless host, a
// screen that lets tests look inside, a plain figure holding a picture of
// one colour, and a listener that writes down what it hears.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "scene/Figure.h"
#include "scene/FigureListener.h"
#include "scene/Screen.h"

namespace scenetest {

inline std::intptr_t quietProcedure(platform::Window* window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam, platform::Point point) {
    return platform::defWindowProc(window, message, wParam, lParam, point);
}

// Resets the headless host and opens one display-sized window.
inline platform::Window* openWindow() {
    platform::headless::reset();
    platform::WindowClass windowClass;
    windowClass.procedure = quietProcedure;
    windowClass.instance = platform::moduleHandle();
    windowClass.name = L"SceneTest";
    platform::registerClass(windowClass);
    return platform::createWindow(L"SceneTest", L"Scene test", platform::WS_VISIBLE, platform::moduleHandle());
}

// A screen whose insides tests may read, counting its paints.
class TestScreen : public Screen {
public:
    explicit TestScreen(platform::Window* window) : Screen(window, platform::moduleHandle(), nullptr) {}

    void paint(platform::Picture& target, bool all) override {
        ++paints;
        Screen::paint(target, all);
    }

    platform::Rect dirtyArea() const { return dirty; }
    void forgetDirty() { dirty = {-1, -1, -1, -1}; }
    std::uint32_t lastRefreshTime() const { return lastRefresh; }
    void setBackground(Figure* figure) { background = figure; }
    const platform::Picture& backPicture() const { return backBuffer; }

    // The figures from the bottom (head) to the top (tail).
    std::vector<Figure*> order() const {
        std::vector<Figure*> result;
        for (const auto* node = figures.head(); node != nullptr; node = node->next) result.push_back(node->value);
        return result;
    }

    int paints = 0;
};

// A figure whose picture is one colour; ticks and destruction can be watched.
class TestFigure : public Figure {
public:
    TestFigure(Screen* screen, platform::Rect place, platform::Colour colour)
        : Figure(screen, nullptr), picture(place.width(), place.height()) {
        setX(place.left);
        setY(place.top);
        setWidth(place.width());
        setHeight(place.height());
        platform::fillRect(picture, {0, 0, place.width(), place.height()}, colour);
        setVisible(true);
        enabled = true;
    }
    ~TestFigure() override {
        if (destroyed != nullptr) *destroyed = true;
    }
    platform::Picture* imageDC() override { return &picture; }
    void tick(std::uint32_t now) override {
        ticks.push_back(now);
        if (onTick) onTick();
    }
    bool hearsEveryRelease() const override { return likeAButton; }

    platform::Picture picture;
    bool likeAButton = false;  // hears every release, as buttons do
    std::vector<std::uint32_t> ticks;
    std::function<void()> onTick;
    bool* destroyed = nullptr;
};

// Records "press name x y" and "release name x y"; may run a hook on a press.
class RecordingListener : public FigureListener {
public:
    explicit RecordingListener(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}

    void figurePressed(Figure* figure, std::int32_t x, std::int32_t y) override {
        log->push_back("press " + name + " " + std::to_string(figure->tag) + " " + std::to_string(x) + " " +
                       std::to_string(y));
        if (onPress) onPress();
    }
    void figureReleased(Figure* figure, std::int32_t x, std::int32_t y) override {
        log->push_back("release " + name + " " + std::to_string(figure->tag) + " " + std::to_string(x) + " " +
                       std::to_string(y));
    }

    std::string name;
    std::vector<std::string>* log;
    std::function<void()> onPress;
};

}  // namespace scenetest

// Readable failure messages for the platform's value types.
namespace platform {
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
}  // namespace platform
