// The one-copy claim of the POSIX hosts: a lock on a lock file (an
// open-file-description lock, which another process can ask about without
// taking it), and a filesystem socket beside it that only the claim's holder
// binds. Both live in a folder only the user can reach; the peer's user is
// checked as well. Nothing here blocks the game's thread: the listener and its
// connections are non-blocking and each call does a bounded amount of work.
#include "platform/posix/single_instance.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/core/host.h"
#include "platform/formats/unicode.h"
#include "platform/posix/xdg_folders.h"

namespace platform::posix::singleInstance {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int MAX_ACCEPTS_PER_POLL = 8;
constexpr std::size_t MAX_PENDING = 8;
constexpr auto TIME_TO_SPEAK = 500ms;       // a connection that has not spoken by then is dropped
constexpr auto TIME_TO_BE_HEARD = 1000ms;   // how long a second copy keeps trying
constexpr auto RETRY_PAUSE = 20ms;
constexpr char REQUEST[] = "raise";
constexpr std::size_t REQUEST_SIZE = sizeof REQUEST - 1;

// The files of one class and title's claim.
struct Names {
    std::string lock;
    std::string socket;
};

// A claim this process holds (or inherited across fork: then owner differs).
struct Claim {
    std::string lock;
    int fd = -1;
    pid_t owner = 0;
};

// A connection that has not said its request yet.
struct Pending {
    int fd = -1;
    Clock::time_point deadline;
    std::string said;
};

struct State {
    std::vector<Claim> claims;
    int listener = -1;
    // Readable when the listener or a waiting connection is: what a host
    // that sleeps between events waits on.
    int waiter = -1;
    std::string socketPath;
    pid_t listenerOwner = 0;
    std::vector<Pending> pending;
    int raises = 0;
    std::string space = "desktop";

    // A process that ends normally leaves no files behind.
    ~State();
};

State& state() {
    static State instance;
    return instance;
}

// Class and title become part of a file name: anything but letters, digits,
// '.', '-' and '_' is replaced.
std::string fileSafe(std::wstring_view text) {
    std::string name = formats::utf8(text);
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    return name;
}

// The claim's files; empty when no private folder can be had.
Names namesOf(std::wstring_view className, std::wstring_view title) {
    const std::string folder = runtimeFolder();
    if (folder.empty()) return {};
    const std::string stem = folder + "/horalia." + state().space + "." + fileSafe(className) + "." +
                             fileSafe(title);
    return {stem + ".lock", stem + ".socket"};
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    if (path.empty() || path.size() + 1 > sizeof address.sun_path) return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

enum : int { HELD_ELSEWHERE = -1, NO_LOCK = -2 };

// The lock over the whole file, for writing: the claim.
struct flock wholeFile() {
    struct flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return lock;
}

// Takes the lock file's lock without waiting: its descriptor, HELD_ELSEWHERE
// when another process holds it, or NO_LOCK when no lock can be had here.
int takeLock(const std::string& path) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return NO_LOCK;
        struct flock lock = wholeFile();
        if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EAGAIN || error == EACCES ? HELD_ELSEWHERE : NO_LOCK;
        }
        // A holder that was just leaving removes the name before letting go;
        // only the file that still carries the name is the claim.
        struct stat mine, named;
        if (::fstat(fd, &mine) == 0 && ::stat(path.c_str(), &named) == 0 && mine.st_dev == named.st_dev &&
            mine.st_ino == named.st_ino)
            return fd;
        ::close(fd);
    }
    return NO_LOCK;
}

// Whether another process holds the lock, asked without taking it.
bool heldElsewhere(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;  // no lock file: nobody ever claimed here
    struct flock lock = wholeFile();
    const bool held = ::fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

bool holds(const std::string& lock) {
    for (const Claim& claim : state().claims)
        if (claim.lock == lock && claim.owner == ::getpid()) return true;
    return false;
}

// The peer is trusted only when it runs as this process's user.
bool sameUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

// Reads what the connection has said so far; true when it is finished with
// (request heard, closed, failed, or its time is up).
bool serve(Pending& connection, Clock::time_point now) {
    char bytes[16];
    for (;;) {
        const ssize_t got = ::recv(connection.fd, bytes, sizeof bytes, MSG_DONTWAIT);
        if (got > 0) {
            connection.said.append(bytes, static_cast<std::size_t>(got));
            if (connection.said.size() >= REQUEST_SIZE) break;
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return now >= connection.deadline;
        return true;  // closed or failed before the whole request came
    }
    if (connection.said.compare(0, REQUEST_SIZE, REQUEST) == 0) {
        ++state().raises;
        host::raiseWindow();
    }
    return true;
}

void watch(int fd) {
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    event.data.fd = fd;
    ::epoll_ctl(state().waiter, EPOLL_CTL_ADD, fd, &event);
}

void drop(State& s, const Pending& connection) {
    ::epoll_ctl(s.waiter, EPOLL_CTL_DEL, connection.fd, nullptr);
    ::close(connection.fd);
}

void closeListener(State& s) {
    // Descriptors inherited across fork are only closed: the name and the
    // set of watched connections stay with their owner.
    const bool owner = s.listenerOwner == ::getpid();
    for (Pending& connection : s.pending) owner ? drop(s, connection) : (void)::close(connection.fd);
    s.pending.clear();
    if (s.listener >= 0) {
        if (owner) ::unlink(s.socketPath.c_str());
        ::close(s.listener);
    }
    if (s.waiter >= 0) ::close(s.waiter);
    s.listener = -1;
    s.waiter = -1;
    s.socketPath.clear();
}

void giveUp(State& s) {
    closeListener(s);
    for (Claim& claim : s.claims) {
        if (claim.owner == ::getpid()) ::unlink(claim.lock.c_str());  // before letting go, see takeLock
        ::close(claim.fd);
    }
    s.claims.clear();
}

State::~State() { giveUp(*this); }

// Listens for other copies' requests beside the claim; without a socket the
// claim alone still keeps one copy.
void startListening(const Names& names) {
    State& s = state();
    sockaddr_un address;
    if (!socketAddress(names.socket, address)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // Whatever has the name now was left by a copy that ended: the claim is ours.
    ::unlink(names.socket.c_str());
    const int waiter = ::epoll_create1(EPOLL_CLOEXEC);
    if (waiter < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, static_cast<int>(MAX_PENDING)) != 0) {
        if (waiter >= 0) ::close(waiter);
        ::close(fd);
        return;
    }
    s.listener = fd;
    s.waiter = waiter;
    watch(fd);
    s.socketPath = names.socket;
    s.listenerOwner = ::getpid();
}

bool askToRaise(std::wstring_view className, std::wstring_view title) {
    sockaddr_un address;
    if (!socketAddress(namesOf(className, title).socket, address)) return false;
    const auto deadline = Clock::now() + TIME_TO_BE_HEARD;
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const bool sent = ::send(fd, REQUEST, REQUEST_SIZE, MSG_DONTWAIT | MSG_NOSIGNAL) ==
                              static_cast<ssize_t>(REQUEST_SIZE);
            ::close(fd);
            return sent;
        }
        const int error = errno;
        ::close(fd);
        // A full queue (a stopped or busy holder) or a holder that has not
        // bound its socket yet: try again for a while, never for ever.
        const bool worthRetrying = error == EAGAIN || error == ECONNREFUSED || error == ENOENT || error == EINTR;
        if (!worthRetrying || Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(RETRY_PAUSE);
    }
}

}  // namespace

void poll() {
    State& s = state();
    if (s.listener < 0) return;
    const auto now = Clock::now();
    for (int i = 0; i < MAX_ACCEPTS_PER_POLL && s.pending.size() < MAX_PENDING; ++i) {
        const int client = ::accept4(s.listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0) break;
        if (!sameUser(client)) {
            ::close(client);
            continue;
        }
        s.pending.push_back({client, now + TIME_TO_SPEAK, {}});
        watch(client);
    }
    for (std::size_t i = 0; i < s.pending.size();) {
        if (serve(s.pending[i], now)) {
            drop(s, s.pending[i]);
            s.pending.erase(s.pending.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

int listenerDescriptor() { return state().waiter; }

int raiseRequests() { return state().raises; }

void setNamespace(std::string name) {
    giveUp(state());
    state().space = std::move(name);
}

}  // namespace platform::posix::singleInstance

namespace platform::host {

using namespace posix::singleInstance;

bool anotherCopyRuns(std::wstring_view className, std::wstring_view title) {
    const Names names = namesOf(className, title);
    return !names.lock.empty() && !holds(names.lock) && heldElsewhere(names.lock);
}

bool claimOneCopy(std::wstring_view className, std::wstring_view title) {
    State& s = state();
    if (s.listener >= 0) return true;  // this process answers already
    const Names names = namesOf(className, title);
    if (names.lock.empty()) return true;  // no private folder: better two copies than none
    if (!holds(names.lock)) {
        const int fd = takeLock(names.lock);
        if (fd == HELD_ELSEWHERE) return false;
        if (fd < 0) return true;  // no lock can be had here: this copy runs all the same
        s.claims.push_back({names.lock, fd, ::getpid()});
    }
    startListening(names);
    return true;
}

void releaseOneCopy() { giveUp(state()); }

bool askOtherCopyToRaise(std::wstring_view className, std::wstring_view title) {
    return askToRaise(className, title);
}

}  // namespace platform::host
