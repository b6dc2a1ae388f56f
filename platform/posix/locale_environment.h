// The user's locales as a POSIX desktop names them in the environment, for
// the hosts that run there.
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

// The user's locales from the environment in gettext's order: the
// colon-separated list in LANGUAGE (its first 16 entries), then the first set of LC_ALL, LC_MESSAGES
// and LANG. The C and POSIX locales (or none) mean the program's own
// language, so then the list is empty and LANGUAGE is not read.
std::vector<std::string> environmentLocales();

}  // namespace platform::posix
