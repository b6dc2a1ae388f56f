// The desktop host: one resizable SDL window that shows the 240 x 320 display
// scaled by a whole factor (2x at first), aspect kept and centred. The left
// mouse button and touch are the stylus, mapped back to display pixels.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>

#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/formats/unicode.h"
#include "platform/posix/locale_environment.h"
#include "platform/posix/single_instance.h"
#include "platform/sdl/audio_sdl.h"
#include "platform/sdl/host_sdl.h"
#include "platform/sdl/input_wait_sdl.h"
#include "platform/sdl/keys_sdl.h"

namespace platform::host {
namespace {

constexpr int START_SCALE = 2;

struct Desktop {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool stylusDown = false;
};

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

// Where the display lies in the window: the largest whole scale that fits.
SDL_Rect displayArea() {
    int w = DISPLAY_WIDTH * START_SCALE, h = DISPLAY_HEIGHT * START_SCALE;
    if (desktop().renderer) SDL_GetRendererOutputSize(desktop().renderer, &w, &h);
    int scale = std::max(1, std::min(w / DISPLAY_WIDTH, h / DISPLAY_HEIGHT));
    SDL_Rect area{0, 0, DISPLAY_WIDTH * scale, DISPLAY_HEIGHT * scale};
    area.x = (w - area.w) / 2;
    area.y = (h - area.h) / 2;
    return area;
}

// Window pixels (as the mouse reports them) to display pixels.
bool toDisplay(int wx, int wy, int& x, int& y) {
    int windowW = 0, windowH = 0, outputW = 0, outputH = 0;
    SDL_GetWindowSize(desktop().window, &windowW, &windowH);
    SDL_GetRendererOutputSize(desktop().renderer, &outputW, &outputH);
    if (windowW > 0 && windowH > 0) {  // high-density screens report fewer window pixels
        wx = wx * outputW / windowW;
        wy = wy * outputH / windowH;
    }
    const SDL_Rect area = displayArea();
    const int scale = area.w / DISPLAY_WIDTH;
    x = (wx - area.x) / scale;
    y = (wy - area.y) / scale;
    const bool inside = wx >= area.x && wy >= area.y && x < DISPLAY_WIDTH && y < DISPLAY_HEIGHT;
    x = std::clamp(x, 0, DISPLAY_WIDTH - 1);
    y = std::clamp(y, 0, DISPLAY_HEIGHT - 1);
    return inside;
}

void render() {
    auto& d = desktop();
    if (!d.renderer) return;
    SDL_SetRenderDrawColor(d.renderer, 24, 24, 32, 255);
    SDL_RenderClear(d.renderer);
    const SDL_Rect area = displayArea();
    SDL_RenderCopy(d.renderer, d.texture, nullptr, &area);
    SDL_RenderPresent(d.renderer);
}

void handle(const SDL_Event& event) {
    auto& d = desktop();
    int x = 0, y = 0;
    switch (event.type) {
    case SDL_QUIT:
        core::closeRequested();
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) core::closeRequested();
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            render();
        break;
    case SDL_MOUSEBUTTONDOWN:
        // Presses outside the display belong to the border around it.
        if (event.button.button == SDL_BUTTON_LEFT && toDisplay(event.button.x, event.button.y, x, y)) {
            d.stylusDown = true;
            core::stylusDown(x, y);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        // A release always ends a press, even outside the display.
        if (event.button.button == SDL_BUTTON_LEFT && d.stylusDown) {
            toDisplay(event.button.x, event.button.y, x, y);
            d.stylusDown = false;
            core::stylusUp(x, y);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (int vk = sdl::virtualKeyOf(event.key.keysym); vk != 0 && !event.key.repeat)
            core::key(vk, event.type == SDL_KEYDOWN);
        break;
    default:
        break;
    }
}

}  // namespace

void waitForEvents(int timeoutMs) {
    const sdl::ReadyInput ready = sdl::waitForInput(desktop().window, timeoutMs);
    if (ready.listener) posix::singleInstance::poll();
    if (ready.events) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) handle(event);
    }
    sdl::restAudio();
}

void present(const Picture& display) {
    auto& d = desktop();
    if (!d.texture) return;
    SDL_UpdateTexture(d.texture, nullptr, display.row(0), display.width() * 4);
    render();
}

void windowCreated(std::wstring_view title) {
    auto& d = desktop();
    if (d.window) return;
    d.window = SDL_CreateWindow(formats::utf8(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                DISPLAY_WIDTH * START_SCALE, DISPLAY_HEIGHT * START_SCALE,
                                SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (!d.window) return;
    SDL_SetWindowMinimumSize(d.window, DISPLAY_WIDTH, DISPLAY_HEIGHT);
    // A few scaled copies a second need no graphics driver: the software
    // renderer drawing straight into the window's own pixels starts faster
    // and keeps the program small (an OpenGL-backed window surface alone
    // would bring in a software OpenGL of some 90 MB where no GPU is used).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_SOFTWARE);
    if (!d.renderer) d.renderer = SDL_CreateRenderer(d.window, -1, 0);
    if (!d.renderer) return;
    d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                  DISPLAY_WIDTH, DISPLAY_HEIGHT);
}

void windowShown() {
    if (desktop().window) SDL_ShowWindow(desktop().window);
    render();
}

void raiseWindow() {
    if (!desktop().window) return;
    SDL_ShowWindow(desktop().window);
    SDL_RestoreWindow(desktop().window);
    SDL_RaiseWindow(desktop().window);
}

bool windowShows() { return desktop().window && videoDriverShows(); }

bool videoDriverShows() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0;
}

// The desktop window has no way to a screen reader yet, and nothing around
// it to take the keyboard's focus: the game keeps it and wraps around.
void announce(std::wstring_view) {}
bool passFocusOn(bool) { return false; }

void closeDesktop() {
    auto& d = desktop();
    if (d.texture) SDL_DestroyTexture(d.texture);
    if (d.renderer) SDL_DestroyRenderer(d.renderer);
    if (d.window) SDL_DestroyWindow(d.window);
    d = Desktop{};
}

std::uint32_t tickCount() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

LocalTime localTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return LocalTime{static_cast<std::uint16_t>(local.tm_year + 1900),
                     static_cast<std::uint16_t>(local.tm_mon + 1),
                     static_cast<std::uint16_t>(local.tm_wday),
                     static_cast<std::uint16_t>(local.tm_mday),
                     static_cast<std::uint16_t>(local.tm_hour),
                     static_cast<std::uint16_t>(local.tm_min),
                     static_cast<std::uint16_t>(local.tm_sec),
                     static_cast<std::uint16_t>(ms)};
}

// The desktop speaks the language the environment's locale names.
std::vector<std::string> preferredLocales() { return posix::environmentLocales(); }

}  // namespace platform::host
