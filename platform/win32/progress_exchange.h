// Moving progress between computers: the game's registry key written to, or
// read from, a .reg file in the registry export format, the same text that
// the desktop keeps and the browser saves and loads.
#pragma once

#include <string>

namespace platform::win32 {

// Writes every value of the key below HKEY_CURRENT_USER to the file (UTF-8,
// as the other hosts write it). A message for the user when it fails, else
// empty.
std::wstring exportProgress(const std::wstring& subKey, const std::wstring& file);

// Reads the file and stores its values of that key, and only those; a file
// that is not a whole registry text, or holds nothing of the key, changes
// nothing. A message for the user when it fails, else empty.
std::wstring importProgress(const std::wstring& subKey, const std::wstring& file);

}  // namespace platform::win32
