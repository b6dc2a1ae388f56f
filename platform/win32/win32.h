// What the Windows host's own files share: the window of the one running
// copy and its class. Included after <windows.h>.
#pragma once

#include <string>

namespace platform::win32 {

// The class of the window that holds the one-copy claim (the game's "VARDO").
const std::wstring& windowClassName();

// The host's top-level window, or null before the game opened it.
HWND mainWindow();

}  // namespace platform::win32
