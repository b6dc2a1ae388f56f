// Reading, replacing and setting aside the registry file with plain POSIX
// calls, so that every step that matters for durability is visible.
#include "platform/registry/registry_storage.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/registry/registry_folder.h"
#include "platform/registry/registry_format.h"

namespace platform::registry {
namespace {

// Far beyond anything the game stores; a larger file is not one of ours.
constexpr off_t MAX_FILE_SIZE = 64 * 1024 * 1024;

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

std::optional<std::string> readAll(int fd) {
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
        if (static_cast<off_t>(text.size()) > MAX_FILE_SIZE) return text;  // parsed as damaged
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

std::optional<Document> loadDocument() {
    std::filesystem::path file = filePath();
    if (file.empty()) return std::nullopt;

    struct stat info;
    if (::stat(file.c_str(), &info) != 0) {
        // No file, or no folder that could hold one: nothing stored yet.
        if (errno == ENOENT || errno == ENOTDIR) return Document{};
        return std::nullopt;
    }
    if (S_ISREG(info.st_mode) && info.st_size <= MAX_FILE_SIZE) {
        // Non-blocking, in case something else took the file's place meanwhile.
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return std::nullopt;
        std::optional<std::string> text = readAll(fd);
        ::close(fd);
        if (!text) return std::nullopt;
        if (std::optional<Document> document = parseDocument(*text)) return document;
    }
    // Damaged, too large, or not a file at all: keep it aside and start empty.
    if (!moveAside(file)) return std::nullopt;
    return Document{};
}

bool saveDocument(const Document& document) {
    std::filesystem::path file = filePath();
    if (file.empty()) return false;
    std::filesystem::path folder = file.parent_path();
    if (!makeFolder(folder)) return false;

    std::string text = formatDocument(document);
    if (text.empty()) return false;

    std::string temporary = (folder / temporaryPrefix(file)).string() + std::to_string(::getpid()) + "-XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool written = writeAll(fd, text) && ::fsync(fd) == 0;
    written = (::close(fd) == 0) && written;
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    bool synced = syncFolder(folder);
    removeStaleTemporaries(file);
    return synced;
}

}  // namespace platform::registry
