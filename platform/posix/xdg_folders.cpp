// Resolves the settings file's location from the chosen folder or from the
// XDG base-directory rules, and chooses the runtime folder.
#include "platform/posix/xdg_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform::posix {
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

bool ownedAndPrivate(const std::string& folder, bool exactly0700) {
    struct stat info;
    if (folder.empty() || folder.front() != '/' || ::lstat(folder.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    return exactly0700 ? (info.st_mode & 07777) == 0700 : (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

void setSettingsFolder(const std::filesystem::path& folder) {
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

std::filesystem::path settingsFile() {
    try {
        std::filesystem::path folder = chosenFolder().empty() ? defaultFolder() : chosenFolder();
        if (folder.empty()) return {};
        return folder / "registry.reg";
    } catch (...) {
        return {};
    }
}

std::string runtimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && ownedAndPrivate(runtime, true))
        return runtime;
    const std::filesystem::path file = settingsFile();
    if (file.empty() || !makeFolder(file.parent_path())) return {};
    const std::string settings = file.parent_path().string();
    return ownedAndPrivate(settings, false) ? settings : std::string();
}

}  // namespace platform::posix
