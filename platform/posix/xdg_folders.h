// Where the registry file lives: the user's configuration folder by default,
// or a folder chosen by a test or by the headless host.
#pragma once

#include <filesystem>

namespace platform::registry {

// Keeps the registry file in this folder from now on; an empty path goes back
// to the default ($XDG_CONFIG_HOME/horalia, or ~/.config/horalia).
void setFolder(const std::filesystem::path& folder);

// Makes the folder and its missing parents, each 0700 as the XDG rules ask;
// folders that exist keep their mode. True when the folder exists afterwards.
bool makeFolder(const std::filesystem::path& folder);

// The registry file in use; empty when no folder can be found (no home).
std::filesystem::path filePath();

}  // namespace platform::registry
