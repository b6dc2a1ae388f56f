// The user's folders by the XDG base-directory rules: where the settings file
// lives (the configuration folder, or one chosen by a test) and the private
// runtime folder of the one-copy claim.
#pragma once

#include <filesystem>
#include <string>

namespace platform::posix {

// Keeps the settings file in this folder from now on; an empty path goes back
// to the default ($XDG_CONFIG_HOME/horalia, or ~/.config/horalia).
void setSettingsFolder(const std::filesystem::path& folder);

// The settings file in use; empty when no folder can be found (no home).
std::filesystem::path settingsFile();

// Makes the folder and its missing parents, each 0700 as the XDG rules ask;
// folders that exist keep their mode. True when the folder exists afterwards.
bool makeFolder(const std::filesystem::path& folder);

// The folder of the one-copy claim, which only the user can reach so that no
// other user can take, answer or block the claim: $XDG_RUNTIME_DIR when it is
// absolute, the user's own and mode 0700; otherwise the settings folder (made
// 0700 when missing) if it is the user's and nobody else may write in it.
// Empty when neither is safe. /tmp is never used: anyone may create names
// there first.
std::string runtimeFolder();

}  // namespace platform::posix
