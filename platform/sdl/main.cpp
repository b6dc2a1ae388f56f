// The desktop program's entry: starts SDL's video and events, runs the game's
// entry, frees the window and shuts SDL down with the game's exit code.
#include <SDL.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/sdl/host_sdl.h"

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "horalia: cannot open a window: %s\n", SDL_GetError());
        return 1;
    }
    const int exitCode = WinMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW);
    platform::host::closeDesktop();
    SDL_Quit();
    return exitCode;
}
