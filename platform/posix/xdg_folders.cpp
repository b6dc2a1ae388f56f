// Resolves the registry file's location from the chosen folder or from the
// XDG base-directory rules.
#include "platform/posix/xdg_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>


#include <cstdlib>
#include <vector>

namespace platform::registry {
namespace {

std::filesystem::path& chosenFolder() {
    static std::filesystem::path folder;
    return folder;
}

// The home folder from $HOME, or from the password database when it is unset
// or relative (the XDG rules ignore relative paths).
std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return found->pw_dir;
    return {};
}

std::filesystem::path defaultFolder() {
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        std::filesystem::path path(config);
        if (path.is_absolute()) return path / "horalia";
    }
    std::filesystem::path home = homeFolder();
    if (home.empty()) return {};
    return home / ".config" / "horalia";
}

}  // namespace

void setFolder(const std::filesystem::path& folder) {
    chosenFolder() = folder;
}

bool makeFolder(const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    std::filesystem::path partial;
    struct stat info;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) == 0)
            ::chmod(partial.c_str(), 0700);  // whatever the umask left
        else if (::stat(partial.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return false;
    }
    return true;
}

std::filesystem::path filePath() {
    try {
        std::filesystem::path folder = chosenFolder().empty() ? defaultFolder() : chosenFolder();
        if (folder.empty()) return {};
        return folder / "registry.reg";
    } catch (...) {
        return {};
    }
}

}  // namespace platform::registry
