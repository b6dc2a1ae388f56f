// The game loop: it never waits for a message. Each pass dispatches at most
// one waiting message and then ticks the current screen with the millisecond
// counter, so animations and pressed buttons move on between messages.
#pragma once

#include <optional>

#include "platform/platform.h"

class MainLoop {
public:
    explicit MainLoop(platform::AcceleratorTable accelerators);

    // One pass; the exit code once the quit message has arrived, else nothing.
    std::optional<int> pass();

    // Passes until the quit message; returns its exit code.
    int run();

private:
    platform::AcceleratorTable accelerators;
};
