// What the Windows host's own files share: the class of the window that the
// one running copy opens.
#pragma once

#include <string>

namespace platform::win32 {

// The class of the window that holds the one-copy claim (the game's "VARDO").
const std::wstring& windowClassName();

}  // namespace platform::win32
