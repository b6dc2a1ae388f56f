// The core's record of a window and of the message queue, shared by the
// window, message and input parts of the core.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window.h"

namespace platform {

class Window {
public:
    std::wstring className;
    std::wstring title;
    WindowProcedure procedure = nullptr;
    std::uint32_t classStyle = 0;
    Rect rect{0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT};
    bool invalid = false;
    bool visible = false;
    bool remote = false;  // stands for a window of another process
};

}  // namespace platform

namespace platform::core {

// True for a live window of this process.
bool isLiveWindow(const Window* window);

// The class style of a registered class, 0 when unknown.
std::uint32_t classStyleOf(const Window* window);

// Queues a message behind the waiting ones (input and posted messages alike).
void enqueue(const Message& message);

// The first window that waits for its paint, or null.
Window* firstInvalidWindow();

// Forgets every class and window (the queue's reset calls it).
void forgetWindows();

}  // namespace platform::core
