// The program's one window: the single-instance check, the window class, the
// full-screen window and its procedure, which hands paint requests and the
// stylus to the application's current screen, and keys to its keyboard.
#pragma once

#include <cstdint>

#include "platform/platform.h"

class App;

// The single application object; set once the window exists, null after WM_DESTROY.
extern App* application;

// Width and height of the display, read when the window is created.
extern std::int32_t screenWidth;
extern std::int32_t screenHeight;

// The shell's activation record, kept for its activation and setting hand-offs.
extern platform::ShellActivateInfo shellActivateInfo;

// True when the program should run; false when a running copy was brought
// to the front or no window could be made.
bool createMainWindow(platform::Instance* instance, int showCommand);

// Registers the window class of the main window; the result is not needed.
void registerMainClass(platform::Instance* instance, const std::wstring& className);

// The main window's procedure.
std::intptr_t windowProcedure(platform::Window* window, std::uint32_t message,
                              std::uintptr_t wParam, std::intptr_t lParam, platform::Point point);
