// Kept apart from the host: X11's headers define names (Window, None, Bool)
// that the platform's own headers use.
#include "platform/sdl/input_wait_sdl.h"

#include <SDL_syswm.h>
#include <poll.h>

#include "platform/posix/single_instance.h"

namespace platform::sdl {
namespace {

Display* x11Display(SDL_Window* window) {
    if (!window) return nullptr;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    return info.info.x11.display;
}

}  // namespace

ReadyInput waitForInput(SDL_Window* window, int timeoutMs) {
    const int listener = posix::singleInstance::listenerDescriptor();
    Display* display = x11Display(window);
    if (!display) {
        SDL_WaitEventTimeout(nullptr, timeoutMs);
        return {true, listener >= 0};
    }
    // Events that SDL or Xlib already hold (Xlib reads events while it waits
    // for replies, when a frame is shown) would not wake the poll.
    const bool queued = SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || QLength(display) > 0;
    pollfd descriptors[2] = {{ConnectionNumber(display), POLLIN, 0}, {listener, POLLIN, 0}};
    const int ready = poll(descriptors, listener >= 0 ? 2 : 1, queued ? 0 : timeoutMs);
    // SDL turns SIGTERM and SIGINT into a quit event only when it pumps. A
    // signal that came while the game was busy interrupts no wait, so a wait
    // that ran its whole time pumps as well: at rest that is once a second.
    return {queued || ready <= 0 || descriptors[0].revents != 0,
            ready > 0 && listener >= 0 && descriptors[1].revents != 0};
}

}  // namespace platform::sdl
