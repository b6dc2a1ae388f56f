// Where the one-copy claim (a lock file and a socket) lives: a folder only the
// user can reach, so that no other user can take, answer or block the claim.
#pragma once

#include <string>

namespace platform::core {

// $XDG_RUNTIME_DIR when it is absolute, the user's own and mode 0700;
// otherwise the settings folder (made 0700 when missing) if it is the user's
// and nobody else may write in it. Empty when neither is safe.
std::string runtimeFolder();

}  // namespace platform::core
