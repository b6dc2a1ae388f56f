// What the desktop program's entry asks of the desktop host beyond the
// shared host functions.
#pragma once

namespace platform::host {

// Frees the window, its renderer and its texture; called once the game has
// ended, before SDL shuts down.
void closeDesktop();

}  // namespace platform::host
