// Waiting for input on the desktop without spinning: one poll() over the X
// connection and the one-copy listener, so that a pass at rest makes no
// system call that fails and a press ends the wait at once.
#pragma once

#include <SDL.h>

namespace platform::sdl {

struct ReadyInput {
    bool events = false;    // SDL's events should be pumped and handled
    bool listener = false;  // the one-copy listener has a request waiting
};

// Waits up to timeoutMs for input to the window or to the listener; returns
// at once when events are already queued. Without an X11 window (another
// video driver, or before the window exists) it waits with SDL and reports
// both as ready.
ReadyInput waitForInput(SDL_Window* window, int timeoutMs);

}  // namespace platform::sdl
