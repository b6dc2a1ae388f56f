// Stylus and key input from the hosts: the async stylus state changes the
// moment the host sees the event, while the message waits in the queue. A
// quick second press near the first becomes a double-click for classes that
// ask for it.
#include <cstdlib>

#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/core/window_record.h"

namespace platform {
namespace {

struct InputState {
    bool stylusDown = false;
    bool wentDownSinceQuery = false;
    bool controlDown = false;
    bool controlDownInQueue = false;
    bool shiftDownInQueue = false;
    bool havePreviousPress = false;
    std::uint32_t previousPressTime = 0;
    int previousPressX = 0;
    int previousPressY = 0;
};

InputState& input() {
    static InputState instance;
    return instance;
}

void post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam, Point point = {}) {
    Window* window = core::inputWindow();
    if (!window) return;
    core::enqueue(Message{window, message, wParam, lParam, host::tickCount(), point});
}

constexpr std::uintptr_t MK_LBUTTON = 0x0001;

}  // namespace

namespace core {

void stylusDown(int x, int y) {
    auto& in = input();
    in.stylusDown = true;
    in.wentDownSinceQuery = true;
    const std::uint32_t now = host::tickCount();
    const bool doubleClick = (classStyleOf(inputWindow()) & CS_DBLCLKS) && in.havePreviousPress &&
                             now - in.previousPressTime <= DOUBLE_CLICK_TIME &&
                             std::abs(x - in.previousPressX) <= DOUBLE_CLICK_DISTANCE &&
                             std::abs(y - in.previousPressY) <= DOUBLE_CLICK_DISTANCE;
    // A double-click ends the pair: a third press starts a new one.
    in.havePreviousPress = !doubleClick;
    in.previousPressTime = now;
    in.previousPressX = x;
    in.previousPressY = y;
    post(doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, 0, Point{x, y});
}

void stylusUp(int x, int y) {
    input().stylusDown = false;
    post(WM_LBUTTONUP, 0, 0, Point{x, y});
}

void key(int virtualKey, bool down) {
    if (virtualKey == VK_CONTROL) input().controlDown = down;
    post(down ? WM_KEYDOWN : WM_KEYUP, static_cast<std::uintptr_t>(virtualKey), 1);
}

void keyMessageTaken(const Message& message) {
    const bool down = message.message == WM_KEYDOWN;
    if (message.wParam == VK_CONTROL) input().controlDownInQueue = down;
    if (message.wParam == VK_SHIFT) input().shiftDownInQueue = down;
}

void closeRequested() { post(WM_CLOSE, 0, 0); }

void resetInput() { input() = InputState{}; }

bool controlHeld() { return input().controlDownInQueue; }

}  // namespace core

std::int16_t asyncKeyState(int virtualKey) {
    auto& in = input();
    if (virtualKey == VK_LBUTTON) {
        const int state = (in.stylusDown ? 0x8000 : 0) | (in.wentDownSinceQuery ? 1 : 0);
        in.wentDownSinceQuery = false;
        return static_cast<std::int16_t>(state);
    }
    if (virtualKey == VK_CONTROL) return static_cast<std::int16_t>(in.controlDown ? 0x8000 : 0);
    return 0;
}

std::int16_t keyState(int virtualKey) {
    const auto& in = input();
    const bool down = (virtualKey == VK_CONTROL && in.controlDownInQueue) ||
                      (virtualKey == VK_SHIFT && in.shiftDownInQueue);
    return static_cast<std::int16_t>(down ? 0x8000 : 0);
}

void mouseEvent(std::uint32_t flags, int x, int y) {
    if (flags & MOUSEEVENTF_LEFTDOWN) core::stylusDown(x, y);
    if (flags & MOUSEEVENTF_LEFTUP) core::stylusUp(x, y);
}

std::uint32_t tickCount() { return host::tickCount(); }

LocalTime localTime() { return host::localTime(); }

}  // namespace platform
