#include "bench/x_click.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <chrono>

double clickThroughX(int x, int y) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Window* window = SDL_GetWindowFromID(1);  // the program's one window
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return -1;
    XEvent event{};
    event.xbutton.display = display;
    event.xbutton.window = info.info.x11.window;
    event.xbutton.button = Button1;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.same_screen = True;
    using namespace std::chrono;
    const double sent = duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    event.type = ButtonPress;
    XSendEvent(display, info.info.x11.window, False, ButtonPressMask, &event);
    event.type = ButtonRelease;
    XSendEvent(display, info.info.x11.window, False, ButtonReleaseMask, &event);
    XCloseDisplay(display);
    return sent;
}
