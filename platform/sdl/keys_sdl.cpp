// The desktop's keys: the letters as the keyboard's layout types them, the
// keypad's digits and Enter as the main keys' (digits only while Num Lock
// gives them).
#include "platform/sdl/keys_sdl.h"

#include "platform/time_input.h"

namespace platform::sdl {

int virtualKeyOf(const SDL_Keysym& key) {
    const SDL_Keycode sym = key.sym;
    if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return '1' + (sym - SDLK_KP_1);
    // A layout of another script (Cyrillic, Greek, Arabic, Devanagari) types
    // no Latin letter: its letter keys are named by their place, as Windows
    // names them, so that M, A and R work under every layout.
    if (sym >= 0x80 && !(sym & SDLK_SCANCODE_MASK) && key.scancode >= SDL_SCANCODE_A &&
        key.scancode <= SDL_SCANCODE_Z)
        return 'A' + (key.scancode - SDL_SCANCODE_A);
    switch (sym) {
    case SDLK_KP_0: return '0';
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    default: return 0;
    }
}

}  // namespace platform::sdl
