// What the desktop program's entry asks of the desktop host beyond the
// shared host functions.
#pragma once

namespace platform::host {

// Frees the window, its renderer and its texture; called once the game has
// ended, before SDL shuts down.
void closeDesktop();

// True when SDL's video driver draws where someone can see it; its
// "offscreen" and "dummy" drivers show nothing.
bool videoDriverShows();

}  // namespace platform::host
