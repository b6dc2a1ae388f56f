// The desktop program's entry: starts SDL's video and events, runs the game's
// entry, frees the window and shuts SDL down with the game's exit code.
#include <SDL.h>

#include <cstdio>
#include <string_view>

#include "platform/window.h"
#include "platform/sdl/host_sdl.h"

namespace {

// Whether SDL_VIDEODRIVER names the driver that SDL chose (it may list several).
bool askedFor(std::string_view driver) {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    for (std::string_view list = asked ? asked : ""; !list.empty();) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (name.size() == driver.size() && SDL_strncasecmp(name.data(), driver.data(), name.size()) == 0)
            return true;
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return false;
}

}  // namespace

int main(int, char**) {
    // A clock game that nobody touches lets the screen saver and the
    // screen's power saving start, like the desktop's other programs; SDL
    // would hold them off for as long as the window is open.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "horalia: cannot open a window: %s\n", SDL_GetError());
        return 1;
    }
    // Where no display can be reached SDL falls back to a driver that draws
    // nowhere: a game nobody sees would only hold the one-copy claim against
    // the next start. It runs that way only when asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!platform::host::videoDriverShows() && !askedFor(driver ? driver : "")) {
        std::fprintf(stderr,
                     "horalia: cannot open a window: no display can be reached (is DISPLAY or WAYLAND_DISPLAY "
                     "set?); SDL's \"%s\" video driver would show nothing\n",
                     driver ? driver : "");
        SDL_Quit();
        return 1;
    }
    const int exitCode = gameMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW);
    platform::host::closeDesktop();
    SDL_Quit();
    return exitCode;
}
