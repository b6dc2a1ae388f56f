// The desktop program's entry: starts SDL's video and events, runs the game's
// entry, frees the window and shuts SDL down with the game's exit code.
#include <SDL.h>

#include <cstdio>

#include "platform/window.h"
#include "platform/sdl/host_sdl.h"

int main(int, char**) {
    // A clock game that nobody touches lets the screen saver and the
    // screen's power saving start, like the desktop's other programs; SDL
    // would hold them off for as long as the window is open.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "horalia: cannot open a window: %s\n", SDL_GetError());
        return 1;
    }
    const int exitCode = gameMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW);
    platform::host::closeDesktop();
    SDL_Quit();
    return exitCode;
}
