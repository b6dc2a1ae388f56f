// The desktop's keys as the game knows them: SDL's key events turned into
// Windows' virtual-key codes.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// The virtual-key code of a key the game knows, else 0.
int virtualKeyOf(const SDL_Keysym& key);

}  // namespace platform::sdl
