// Wide strings to UTF-8 for the host's own interfaces (window titles, socket
// names). Characters that UTF-8 cannot carry become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform::core {

std::string utf8(std::wstring_view text);

}  // namespace platform::core
