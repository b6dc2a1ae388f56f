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

#include "platform/posix/xdg_folders.h"
#include "platform/formats/registry_format.h"
#include "platform/registry/kept_document.h"

namespace platform::registry {
namespace {

// The game's own file stays under 1 KB; one over 2 MiB is not a settings
// file, and reading it would only cost the child seconds at every tap.
constexpr off_t MAX_FILE_SIZE = 2 * 1024 * 1024;

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

// The file as last read or written: its bytes and their parsed document,
// and what tells that version of the file from another.
struct Cache : KeptDocument {
    std::filesystem::path file;
    FileIdentity identity;
    // True when the file had last changed more than a timestamp tick before
    // it was looked at: a second change within the same tick could keep every
    // part of the identity, so until then the bytes are compared as well.
    bool settled = false;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

// File times advance in coarse ticks of a few milliseconds at most.
bool changedLongAgo(const struct stat& info) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long age =
        (now.tv_sec - info.st_ctim.tv_sec) * 1000LL + (now.tv_nsec - info.st_ctim.tv_nsec) / 1000000;
    return age > 50;
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

Document* loadDocument() {
    std::filesystem::path file = filePath();
    if (file.empty()) return nullptr;

    struct stat info;
    if (::stat(file.c_str(), &info) != 0) {
        // No file, or no folder that could hold one: nothing stored yet.
        if (errno == ENOENT || errno == ENOTDIR) return cache().nothingStored();
        return nullptr;
    }
    Cache& c = cache();
    const bool known = c.valid && c.file == file;
    if (known && c.settled && c.identity == FileIdentity(info)) return &c.document;

    if (S_ISREG(info.st_mode) && info.st_size <= MAX_FILE_SIZE) {
        // Non-blocking, in case something else took the file's place meanwhile.
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return nullptr;
        struct stat opened;
        std::optional<std::string> text = ::fstat(fd, &opened) == 0 ? readAll(fd) : std::nullopt;
        ::close(fd);
        if (!text) return nullptr;
        if (static_cast<off_t>(text->size()) <= MAX_FILE_SIZE) {
            c.identity = FileIdentity(opened);
            c.settled = changedLongAgo(opened);
            if (known && *text == c.text) return &c.document;  // touched, not changed
            if (std::optional<Document> document = parseDocument(*text)) {
                c.valid = true;
                c.file = file;
                c.text = std::move(*text);
                c.document = std::move(*document);
                return &c.document;
            }
        }
    }
    // Damaged, too large, or not a file at all: keep it aside and start empty.
    if (!moveAside(file)) return nullptr;
    return cache().nothingStored();
}

bool saveDocument(const Document& document) {
    cache().valid = false;  // until the new file is known to be in place
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
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    // The renamed file's identity, from the file itself: a change that some
    // other program makes after this moment is seen by the next load.
    struct stat info;
    const bool identified = ::fstat(fd, &info) == 0;
    ::close(fd);
    bool synced = syncFolder(folder);
    removeStaleTemporaries(file);
    if (identified) {
        Cache& c = cache();
        if (&document != &c.document) c.document = document;
        c.valid = true;
        c.file = file;
        c.identity = FileIdentity(info);
        c.settled = changedLongAgo(info);
        c.text = std::move(text);
    }
    return synced;
}

}  // namespace platform::registry
