// Chooses the private folder of the one-copy claim. /tmp is never used: anyone
// may create names there first.
#include "platform/posix/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/xdg_folders.h"

namespace platform::core {
namespace {

bool ownedAndPrivate(const std::string& folder, bool exactly0700) {
    struct stat info;
    if (folder.empty() || folder.front() != '/' || ::lstat(folder.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return false;
    return exactly0700 ? (info.st_mode & 07777) == 0700 : (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

std::string runtimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && ownedAndPrivate(runtime, true))
        return runtime;
    const std::filesystem::path file = registry::filePath();
    if (file.empty() || !registry::makeFolder(file.parent_path())) return {};
    const std::string settings = file.parent_path().string();
    return ownedAndPrivate(settings, false) ? settings : std::string();
}

}  // namespace platform::core
