// Resolves the settings file's location from the chosen folder or from the
// XDG base-directory rules, and chooses the runtime folder.
#include "platform/posix/xdg_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace platform::posix {
namespace {

namespace fs = std::filesystem;

fs::path& chosenFolder() {
    static fs::path folder;
    return folder;
}

// Where the settings live, and the deepest folder on their way that must
// exist already (nothing at or above it is ever made).
struct Place {
    fs::path folder;
    fs::path existing;
};

// The home folder from $HOME, or from the password database when it is unset
// or relative (the XDG rules ignore relative paths).
fs::path homeFolder() {
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

Place settingsPlace() {
    if (!chosenFolder().empty()) return {chosenFolder(), "/"};
    // The XDG rules ignore a relative XDG_CONFIG_HOME.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        fs::path path = fs::path(config).lexically_normal();
        if (!path.has_filename()) path = path.parent_path();  // a trailing separator
        if (path.is_absolute()) return {path / "horalia", path.parent_path()};
    }
    fs::path home = homeFolder();
    if (home.empty()) return {};
    return {home / ".config" / "horalia", home};
}

bool isFolder(const fs::path& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes the folder and its missing parents below `existing`, which must be there.
bool makeFolder(const fs::path& folder, const fs::path& existing) {
    if (folder.empty() || !isFolder(existing)) return false;
    const fs::path base = existing.lexically_normal();
    fs::path partial;
    for (const auto& part : folder.lexically_normal()) {
        if (part.empty()) continue;  // the trailing separator of a normalised path
        partial /= part;
        const auto [ahead, rest] = std::mismatch(partial.begin(), partial.end(), base.begin(), base.end());
        if (ahead == partial.end()) continue;  // at or above the folder that exists
        if (::mkdir(partial.c_str(), 0700) == 0)
            ::chmod(partial.c_str(), 0700);  // whatever the umask left
        else if (!isFolder(partial))
            return false;
    }
    return true;
}

bool ownedAndPrivate(const std::string& folder, bool exactly0700) {
    struct stat info;
    if (folder.empty() || folder.front() != '/' || ::lstat(folder.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    return exactly0700 ? (info.st_mode & 07777) == 0700 : (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

void setSettingsFolder(const fs::path& folder) {
    chosenFolder() = folder;
}

fs::path settingsFile() {
    try {
        const fs::path folder = settingsPlace().folder;
        if (folder.empty()) return {};
        return folder / "registry.reg";
    } catch (...) {
        return {};
    }
}

bool makeSettingsFolder() {
    try {
        const Place place = settingsPlace();
        return makeFolder(place.folder, place.existing);
    } catch (...) {
        return false;
    }
}

std::string privateSettingsFolder() {
    const fs::path file = settingsFile();
    if (file.empty() || !makeSettingsFolder()) return {};
    const std::string settings = file.parent_path().string();
    return ownedAndPrivate(settings, false) ? settings : std::string();
}

std::string runtimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && ownedAndPrivate(runtime, true))
        return runtime;
    return privateSettingsFolder();
}

}  // namespace platform::posix
