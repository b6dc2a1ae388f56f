// The settings text of the POSIX hosts: one file in the settings folder,
// read, replaced and set aside with plain POSIX calls, so that every step
// that matters for durability is visible. The file is read again only when it
// changed.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/core/host.h"
#include "platform/posix/xdg_folders.h"

namespace platform::posix {
namespace {

// What tells one version of the file from another without reading it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};

    FileIdentity() = default;
    explicit FileIdentity(const struct stat& info)
        : device(info.st_dev), inode(info.st_ino), size(info.st_size), modified(info.st_mtim),
          changed(info.st_ctim) {}

    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// The version of the file last read or written.
struct Seen {
    bool known = false;
    std::filesystem::path file;
    FileIdentity identity;
    // True when the file had last changed more than a timestamp tick before
    // it was looked at: a second change within the same tick could keep every
    // part of the identity, so until then the bytes are read again.
    bool settled = false;
};

Seen& seen() {
    static Seen instance;
    return instance;
}

// What went wrong last with the file, for the user: the path and the error.
std::string& lastProblem() {
    static std::string problem;
    return problem;
}

template <typename Result>
Result failing(Result result, const std::filesystem::path& path) {
    lastProblem() = path.string() + ": " + std::strerror(errno);
    return result;
}

// Whether a time of the file lies a whole tick of its file system in the
// past. Most file systems keep times to a few milliseconds; a time without a
// fraction of a second comes from one that keeps whole seconds (ext4 with small
// inodes, ext3) or two (FAT), where a change in the same second keeps it.
bool tickAgo(const timespec& time, const timespec& now) {
    const long long tick = time.tv_nsec == 0 ? 2050 : 50;
    const long long age = (now.tv_sec - time.tv_sec) * 1000LL + (now.tv_nsec - time.tv_nsec) / 1000000;
    return age > tick;
}

bool changedLongAgo(const struct stat& info) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return tickAgo(info.st_mtim, now) && tickAgo(info.st_ctim, now);
}

// The prefix of temporary files; the writer's process id follows, so that
// files left by a killed writer can be told from those of a live one.
std::string temporaryPrefix(const std::filesystem::path& file) {
    return file.filename().string() + ".tmp-";
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The whole file, or more than limit bytes of it when it is longer.
std::optional<std::string> readAll(int fd, std::size_t limit) {
    std::string text;
    char buffer[65536];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > limit) return text;
    }
}

bool syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Renames without ever replacing an existing file; falls back to a check
// before the rename on file systems without RENAME_NOREPLACE.
bool renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat existing;
    if (::lstat(to.c_str(), &existing) == 0 || errno != ENOENT) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// Keeps a damaged file (or whatever stands in its place) under a new name.
bool moveAside(const std::filesystem::path& file) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = file.string() + ".damaged-" + stamp;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string target = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (renameNoReplace(file.string(), target)) {
            syncFolder(file.parent_path());
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

// Removes temporary files whose writer no longer runs (killed mid-write).
void removeStaleTemporaries(const std::filesystem::path& file) {
    std::string prefix = temporaryPrefix(file);
    DIR* folder = ::opendir(file.parent_path().c_str());
    if (!folder) return;
    while (dirent* entry = ::readdir(folder)) {
        std::string name = entry->d_name;
        if (!name.starts_with(prefix)) continue;
        char* end = nullptr;
        long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (pid <= 0 || !end || *end != '-' || pid == ::getpid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(folder), name.c_str(), 0);
    }
    ::closedir(folder);
}

}  // namespace
}  // namespace platform::posix

namespace platform::host {

using namespace posix;

StoredSettings readSettings(std::size_t limit, bool unchangedWillDo) {
    const std::filesystem::path file = settingsFile();
    if (file.empty()) {
        lastProblem() = "no home folder";
        return {StoredSettings::failed, {}};
    }
    Seen& last = seen();
    struct stat info;
    if (::stat(file.c_str(), &info) != 0) {
        last.known = false;
        // No file, or no folder that could hold one: nothing stored yet.
        if (errno == ENOENT || errno == ENOTDIR) return {StoredSettings::missing, {}};
        // A link that leads round in a circle, or to a file this user may
        // not reach, is no settings file of theirs.
        if (errno == ELOOP || errno == EACCES) return {StoredSettings::unusable, {}};
        return failing(StoredSettings{StoredSettings::failed, {}}, file);
    }
    if (unchangedWillDo && last.known && last.file == file && last.settled && last.identity == FileIdentity(info))
        return {StoredSettings::unchanged, {}};
    if (!S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > limit)
        return {StoredSettings::unusable, {}};
    // Non-blocking, in case something else took the file's place meanwhile.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    // A file that this user may not read (no read permission, another user's,
    // a link to one) would keep the game from saving for good: set aside.
    if (fd < 0 && (errno == EACCES || errno == EPERM)) return {StoredSettings::unusable, {}};
    if (fd < 0) return failing(StoredSettings{StoredSettings::failed, {}}, file);
    struct stat opened;
    std::optional<std::string> text = ::fstat(fd, &opened) == 0 ? readAll(fd, limit) : std::nullopt;
    if (!text) lastProblem() = file.string() + ": " + std::strerror(errno);
    ::close(fd);
    if (!text) return {StoredSettings::failed, {}};
    if (text->size() > limit) return {StoredSettings::unusable, {}};
    last = Seen{true, file, FileIdentity(opened), changedLongAgo(opened)};
    return {StoredSettings::present, std::move(*text)};
}

bool writeSettings(const std::string& text) {
    Seen& last = seen();
    last.known = false;  // until the new file is known to be in place
    const std::filesystem::path file = settingsFile();
    if (file.empty()) {
        lastProblem() = "no home folder";
        return false;
    }
    const std::filesystem::path folder = file.parent_path();
    if (!makeSettingsFolder()) return failing(false, folder);

    std::string temporary = (folder / temporaryPrefix(file)).string() + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return failing(false, folder);
    const bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        failing(false, file);
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    // The renamed file's identity, from the file itself: a change that some
    // other program makes after this moment is seen by the next read.
    struct stat info;
    if (::fstat(fd, &info) == 0) last = Seen{true, file, FileIdentity(info), changedLongAgo(info)};
    ::close(fd);
    const bool synced = syncFolder(folder);
    removeStaleTemporaries(file);
    return synced;
}

bool setSettingsAside() {
    seen().known = false;
    const std::filesystem::path file = settingsFile();
    return !file.empty() && (moveAside(file) || failing(false, file));
}

void settingsTrouble(const std::string& what) {
    std::fprintf(stderr, "horalia: %s (%s)\n", what.c_str(), lastProblem().c_str());
}

}  // namespace platform::host
