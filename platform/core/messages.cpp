// The message queue: posted and input messages in arrival order, then the
// quit message, then paints of invalid windows, as the loop expects them.
// A peek at an empty queue may wait for host input as long as the idle rule
// allows (core/idle_wait.h): a millisecond while anything moves, up to a
// second at rest, so that a loop of peeks leaves the processor idle.
#include <deque>

#include "platform/core/host.h"
#include "platform/core/idle_wait.h"
#include "platform/core/input.h"
#include "platform/core/window_record.h"

namespace platform {
namespace {

struct Queue {
    std::deque<Message> messages;
    bool quitPosted = false;
    int quitCode = 0;
};

Queue& queue() {
    static Queue instance;
    return instance;
}

// The next message without taking it, or false when there is none.
bool next(Message& out) {
    auto& q = queue();
    while (!q.messages.empty() && q.messages.front().window &&
           !core::isLiveWindow(q.messages.front().window))
        q.messages.pop_front();  // its window has gone
    if (!q.messages.empty()) {
        out = q.messages.front();
        return true;
    }
    if (q.quitPosted) {
        out = Message{nullptr, WM_QUIT, static_cast<std::uintptr_t>(q.quitCode), 0, host::tickCount()};
        return true;
    }
    if (Window* w = core::firstInvalidWindow()) {
        out = Message{w, WM_PAINT, 0, 0, host::tickCount()};
        return true;
    }
    return false;
}

// Takes the message that next() returned. A paint stays until the window
// has been painted, as it does on the handheld.
void take(const Message& message) {
    auto& q = queue();
    if (message.message == WM_QUIT && q.messages.empty()) {
        q.quitPosted = false;
        return;
    }
    if (message.message == WM_PAINT && q.messages.empty() && !q.quitPosted) return;
    if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) core::keyMessageTaken(message);
    q.messages.pop_front();
}

}  // namespace

namespace core {

void enqueue(const Message& message) {
    queue().messages.push_back(message);
    idleWait().activity(host::tickCount());
}

void resetWindowsAndMessages() {
    queue() = Queue{};
    idleWait() = IdleWait{};
    forgetWindows();
}

}  // namespace core

bool peekMessage(Message& message, unsigned removal) {
    // Host input that has arrived joins the queue on every peek; only a peek
    // that finds the queue empty may wait for some.
    host::waitForEvents(next(message) ? 0 : core::idleWait().next(host::tickCount()));
    if (!next(message)) return false;
    if (removal & PM_REMOVE) take(message);
    return true;
}

bool getMessage(Message& message) {
    while (!next(message)) host::waitForEvents(50);
    take(message);
    return message.message != WM_QUIT;
}

bool postMessage(Window* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (window && !core::isLiveWindow(window)) return false;
    core::enqueue(Message{window, message, wParam, lParam, host::tickCount()});
    return true;
}

void postQuitMessage(int exitCode) {
    queue().quitPosted = true;
    queue().quitCode = exitCode;
}

std::intptr_t dispatchMessage(const Message& message) {
    if (!core::isLiveWindow(message.window)) return 0;
    return message.window->procedure(message.window, message.message, message.wParam, message.lParam,
                                     message.point);
}

void translateMessage(const Message&) {}

}  // namespace platform
