// One pass: peek (the platform may wait for input: a millisecond while anything
// moves, longer at rest), take and dispatch the message unless the accelerators
// took it, then tick.
#include "app/MainLoop.h"

#include "app/App.h"
#include "app/MainWindow.h"
#include "scene/Screen.h"

MainLoop::MainLoop(platform::AcceleratorTable accelerators) : accelerators(std::move(accelerators)) {}

std::optional<int> MainLoop::pass() {
    platform::Message message;
    if (platform::peekMessage(message, platform::PM_NOREMOVE)) {
        if (!platform::getMessage(message)) return static_cast<int>(message.wParam);
        if (!platform::translateAccelerator(message.window, accelerators, message)) {
            platform::translateMessage(message);
            platform::dispatchMessage(message);
        }
    }
    if (application) application->currentScreen->tick(platform::tickCount());
    return std::nullopt;
}

int MainLoop::run() {
    for (;;)
        if (auto exitCode = pass()) return *exitCode;
}
