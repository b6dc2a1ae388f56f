// The user's folders by the XDG base-directory rules: where the settings file
// lives (the configuration folder, or one chosen by a test) and the private
// folders of the one-copy claim.
#pragma once

#include <filesystem>
#include <string>

namespace platform::posix {

// Keeps the settings file in this folder from now on; an empty path goes back
// to the default ($XDG_CONFIG_HOME/horalia, or ~/.config/horalia).
void setSettingsFolder(const std::filesystem::path& folder);

// The settings file in use; empty when no folder can be found (no home).
std::filesystem::path settingsFile();

// Makes the settings file's folder, each missing folder 0700 as the XDG rules
// ask (folders that exist keep their mode). Only folders below one that must
// already exist are made: below HOME for ~/.config, below the parent of
// XDG_CONFIG_HOME; a chosen folder is made whole. True when it exists after.
bool makeSettingsFolder();

// The settings folder, made when missing, if it is the user's and nobody else
// may write in it; empty otherwise.
std::string privateSettingsFolder();

// The folder of the one-copy claim's socket, which only the user can reach
// so that no other user can take, answer or block it: $XDG_RUNTIME_DIR when it
// is absolute, the user's own and mode 0700; otherwise the private settings
// folder. Empty when neither is safe. /tmp is never used: anyone may create
// names there first.
std::string runtimeFolder();

}  // namespace platform::posix
