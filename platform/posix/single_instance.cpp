// The one-copy claim of the POSIX hosts: a lock on a lock file beside the
// progress file (an open-file-description lock, which another process can ask
// about without taking it), so that copies sharing one progress file find
// each other whatever their environments say; and a filesystem socket in the
// user's runtime folder, whose path the holder writes into the lock file, for
// requests to come to the front. Both folders are ones only the user can
// reach, and the peer's user is checked as well. Nothing here blocks the
// game's thread: the listener and its connections are non-blocking, each call
// does a bounded amount of work, and a flood of connections costs the holder
// nothing while its waiting slots are full.
#include "platform/posix/single_instance.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/core/host.h"
#include "platform/core/input.h"
#include "platform/formats/unicode.h"
#include "platform/posix/xdg_folders.h"

namespace platform::posix::singleInstance {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int MAX_ACCEPTS_PER_POLL = 8;
constexpr std::size_t MAX_PENDING = 8;
// A copy says its request as soon as it is connected: one that has not spoken
// by then is dropped, so that silent ones give their slots up quickly.
constexpr auto TIME_TO_SPEAK = 250ms;
constexpr auto TIME_TO_BE_HEARD = 1000ms;  // how long a second copy waits for an answer
constexpr auto TIME_TO_LEAVE = 3000ms;     // for a copy that shows nothing to end
constexpr auto RETRY_PAUSE = 20ms;
// Requests are five bytes; the holder answers each with one byte.
constexpr std::size_t REQUEST_SIZE = 5;
constexpr char RAISE[] = "raise";  // come to the front, and say whether a window shows
constexpr char ASK[] = "shows";    // only say whether a window shows
constexpr char SHOWN = 'y';
constexpr char NOT_SHOWN = 'n';

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
    bool listening = false;  // the listener is in the waiter's set
    // Readable when a request waits (the listener, a waiting connection that
    // spoke, a waiting connection's time ran out) or the lock file was
    // touched: what a host that sleeps between events waits on.
    int waiter = -1;
    int timer = -1;    // fires at the earliest deadline of the waiting connections
    int changes = -1;  // inotify: the lock file lost its name
    pid_t owner = 0;   // the process that made the descriptors above
    std::string socketPath;
    std::vector<Pending> pending;
    Clock::time_point timerSetFor{};
    bool leaving = false;  // this copy shows nothing and gave way to another
    int raises = 0;
    std::string space = "desktop";
    // A holder that did not answer in time: further questions of this
    // process give up at once rather than wait another second.
    pid_t unansweredBy = 0;
    Clock::time_point unansweredUntil{};

    // A process that ends normally leaves no files behind.
    ~State();
};

State& state() {
    static State instance;
    return instance;
}

bool ownsDescriptors(const State& s) { return s.owner == ::getpid(); }

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

// A short tag of the progress file's path (FNV-1a), for names that must
// differ between progress files within one folder.
std::string tagOf(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    static const char digits[] = "0123456789abcdef";
    std::string tag(8, '0');
    for (int i = 7; i >= 0; --i, hash >>= 4) tag[static_cast<std::size_t>(i)] = digits[hash & 0xF];
    return tag;
}

// The claim's files; empty when no private folder can be had. The lock lies
// beside the progress file, so that every copy that would write that file
// meets it; only when that folder is not private does it go to the runtime
// folder, named after the progress file.
Names namesOf(std::wstring_view className, std::wstring_view title) {
    const std::string file = settingsFile().string();
    if (file.empty()) return {};
    const std::string stem = "horalia." + state().space + "." + fileSafe(className) + "." + fileSafe(title);
    const std::string tag = tagOf(file);
    std::string lock;
    if (const std::string beside = privateSettingsFolder(); !beside.empty())
        lock = beside + "/" + stem + ".lock";
    const std::string runtime = runtimeFolder();
    if (runtime.empty()) return {};
    if (lock.empty()) lock = runtime + "/" + stem + "." + tag + ".lock";
    return {lock, runtime + "/" + stem + "." + tag + ".socket"};
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    if (path.empty() || path.front() != '/' || path.size() + 1 > sizeof address.sun_path) return false;
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

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Something other than a lock file of ours sits at the lock's path (a
// directory, a link, a socket, a file this user may not write): the folder is
// the user's own, so it goes. A directory with something in it is moved
// aside rather than emptied. False when nothing could be done.
bool clearSquatter(const std::string& path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;  // gone meanwhile: try again
    if (!S_ISDIR(info.st_mode)) return ::unlink(path.c_str()) == 0 || errno == ENOENT;
    if (::rmdir(path.c_str()) == 0) return true;
    const std::string aside = path + ".damaged-" + std::to_string(::getpid());
    return ::rename(path.c_str(), aside.c_str()) == 0;
}

// Errors of open that say the path holds something that is no lock file.
bool squatted(int error) {
    return error == ELOOP || error == EISDIR || error == ENXIO || error == EACCES || error == EPERM ||
           error == EOPNOTSUPP || error == ETXTBSY;
}

// Takes the lock file's lock without waiting: its descriptor, HELD_ELSEWHERE
// when another process holds it, or NO_LOCK when no lock can be had here.
int takeLock(const std::string& path) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat mine;
        if (fd < 0 || ::fstat(fd, &mine) != 0 || !S_ISREG(mine.st_mode)) {
            const int error = fd < 0 ? errno : EISDIR;
            if (fd >= 0) ::close(fd);
            if (error == EINTR) continue;
            if (!squatted(error) || !clearSquatter(path)) return NO_LOCK;
            continue;
        }
        struct flock lock = wholeFile();
        if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EAGAIN || error == EACCES ? HELD_ELSEWHERE : NO_LOCK;
        }
        // A holder that was just leaving removes the name before letting go;
        // only the file that still carries the name is the claim.
        struct stat named;
        if (::lstat(path.c_str(), &named) == 0 && sameFile(mine, named)) return fd;
        ::close(fd);
    }
    return NO_LOCK;
}

// What the lock file says: whether another process holds it (asked without
// taking it), and where the holder listens.
struct Holder {
    bool held = false;
    std::string socket;
};

Holder lookAtLock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return {};  // no lock file: nobody claimed here
    Holder holder;
    struct stat info;
    struct flock lock = wholeFile();
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::fcntl(fd, F_OFD_GETLK, &lock) == 0 &&
        lock.l_type != F_UNLCK) {
        holder.held = true;
        char text[sizeof(sockaddr_un::sun_path) + 1];
        const ssize_t got = ::pread(fd, text, sizeof text, 0);
        if (got > 0) holder.socket.assign(text, static_cast<std::size_t>(got));
        holder.socket.resize(std::min(holder.socket.find('\n'), holder.socket.size()));
    }
    ::close(fd);
    return holder;
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

// ------------------------------------------------------------ the holder

void watch(int fd) {
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    event.data.fd = fd;
    ::epoll_ctl(state().waiter, EPOLL_CTL_ADD, fd, &event);
}

void unwatch(int fd) { ::epoll_ctl(state().waiter, EPOLL_CTL_DEL, fd, nullptr); }

// The waiter and what it always watches: the timer and the lock file's changes.
bool makeWaiter(State& s) {
    if (s.waiter >= 0) return true;
    s.waiter = ::epoll_create1(EPOLL_CLOEXEC);
    s.timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    s.changes = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    s.owner = ::getpid();
    if (s.waiter < 0) return false;
    if (s.timer >= 0) watch(s.timer);
    if (s.changes >= 0) watch(s.changes);
    return true;
}

// The holder writes where it listens into its lock file, for the copies that
// come later; and asks to hear when the file loses its name.
void markLock(const Claim& claim, const std::string& socketPath) {
    const std::string text = socketPath.empty() ? std::string() : socketPath + "\n";
    if (::ftruncate(claim.fd, 0) == 0 && !text.empty()) (void)!::pwrite(claim.fd, text.data(), text.size(), 0);
    if (state().changes >= 0)
        ::inotify_add_watch(state().changes, claim.lock.c_str(), IN_ATTRIB | IN_MOVE_SELF | IN_DONT_FOLLOW);
}

// A lock file that someone removed or replaced while this copy runs is made
// again, so that the next copy still finds the claim.
void keepClaims(State& s) {
    char events[4096];
    bool touched = false;
    while (s.changes >= 0 && ::read(s.changes, events, sizeof events) > 0) touched = true;
    if (!touched) return;
    for (Claim& claim : s.claims) {
        struct stat mine, named;
        if (claim.owner != ::getpid()) continue;
        if (::fstat(claim.fd, &mine) == 0 && ::lstat(claim.lock.c_str(), &named) == 0 && sameFile(mine, named))
            continue;
        const int fd = takeLock(claim.lock);
        if (fd < 0) continue;  // another copy was quicker, or no lock can be had: keep the old one
        ::close(claim.fd);
        claim.fd = fd;
        markLock(claim, s.socketPath);
    }
}

// Reads what the connection has said so far; true when it is finished with
// (request heard and answered, closed, failed, or its time is up).
bool serve(State& s, Pending& connection, Clock::time_point now) {
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
    const bool raise = connection.said.compare(0, REQUEST_SIZE, RAISE) == 0;
    if (!raise && connection.said.compare(0, REQUEST_SIZE, ASK) != 0) return true;
    if (raise) {
        ++s.raises;
        host::raiseWindow();
    }
    // A copy whose window can be seen by nobody gives way to the one that asks.
    const bool shows = host::windowShows();
    const char answer = shows ? SHOWN : NOT_SHOWN;
    (void)::send(connection.fd, &answer, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (!shows && !s.leaving) {
        s.leaving = true;
        core::closeRequested();
    }
    return true;
}

// The timer fires when the first waiting connection's time is up.
void setTimer(State& s) {
    if (s.timer < 0) return;
    Clock::time_point first{};
    for (const Pending& connection : s.pending)
        if (first == Clock::time_point{} || connection.deadline < first) first = connection.deadline;
    if (first == s.timerSetFor) return;
    itimerspec when{};
    if (first != Clock::time_point{}) {
        const auto since = std::chrono::duration_cast<std::chrono::nanoseconds>(first.time_since_epoch()).count();
        when.it_value.tv_sec = static_cast<time_t>(since / 1000000000);
        when.it_value.tv_nsec = static_cast<long>(since % 1000000000);
        if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0) when.it_value.tv_nsec = 1;
    }
    ::timerfd_settime(s.timer, TFD_TIMER_ABSTIME, &when, nullptr);
    s.timerSetFor = first;
}

void closeIfOpen(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

void closeListener(State& s) {
    // Descriptors inherited across fork are only closed: the name, the set
    // of watched connections and the lock file's watch stay with their owner.
    const bool owner = ownsDescriptors(s);
    for (Pending& connection : s.pending) {
        if (owner) unwatch(connection.fd);
        ::close(connection.fd);
    }
    s.pending.clear();
    if (s.listener >= 0 && owner) ::unlink(s.socketPath.c_str());
    closeIfOpen(s.listener);
    s.listening = false;
    s.socketPath.clear();
}

void giveUp(State& s) {
    closeListener(s);
    for (Claim& claim : s.claims) {
        if (claim.owner == ::getpid()) ::unlink(claim.lock.c_str());  // before letting go, see takeLock
        ::close(claim.fd);
    }
    s.claims.clear();
    closeIfOpen(s.waiter);
    closeIfOpen(s.timer);
    closeIfOpen(s.changes);
    s.timerSetFor = {};
    s.leaving = false;
}

State::~State() { giveUp(*this); }

// Listens for other copies' requests in the runtime folder; without a socket
// the claim alone still keeps one copy. Returns the socket's path, or empty.
std::string startListening(State& s, const Names& names) {
    sockaddr_un address;
    if (!socketAddress(names.socket, address)) return {};
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return {};
    // Whatever has the name now was left by a copy that ended: the claim is ours.
    ::unlink(names.socket.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, static_cast<int>(MAX_PENDING)) != 0) {
        ::close(fd);
        return {};
    }
    s.listener = fd;
    s.socketPath = names.socket;
    watch(fd);
    s.listening = true;
    return names.socket;
}

// ------------------------------------------------------------ the asker

enum class Answer { shown, notShown, unanswered, nobody };

// Says a request to the socket if it takes the connection at once.
bool sendAtOnce(const std::string& socket, const char* request) {
    sockaddr_un address;
    if (!socketAddress(socket, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && sameUser(fd) &&
                      ::send(fd, request, REQUEST_SIZE, MSG_DONTWAIT | MSG_NOSIGNAL) ==
                          static_cast<ssize_t>(REQUEST_SIZE);
    ::close(fd);
    return sent;
}

// Sends a request to the holder of the lock and, when asked to, waits for
// its answer; for about a second at most whatever the holder does (stopped,
// flooded, busy).
Answer ask(const std::string& lock, const char* request, bool waitForAnswer) {
    State& s = state();
    const auto deadline = Clock::now() + TIME_TO_BE_HEARD;
    if (s.unansweredBy == ::getpid() && Clock::now() < s.unansweredUntil) {
        // The holder did not answer a moment ago: one try that waits for
        // nothing, so that a busy holder still finds the request later.
        const Holder holder = lookAtLock(lock);
        if (!holder.held) return Answer::nobody;
        return !waitForAnswer && sendAtOnce(holder.socket, request) ? Answer::shown : Answer::unanswered;
    }
    auto unanswered = [&s] {
        s.unansweredBy = ::getpid();
        s.unansweredUntil = Clock::now() + TIME_TO_BE_HEARD;
        return Answer::unanswered;
    };
    for (;; std::this_thread::sleep_for(RETRY_PAUSE)) {
        const Holder holder = lookAtLock(lock);
        if (!holder.held) return Answer::nobody;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (left <= 0) return unanswered();
        sockaddr_un address;
        if (!socketAddress(holder.socket, address)) continue;  // not listening yet
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return unanswered();
        // Blocking with a time limit: a connection waits in the kernel for a
        // slot in a full queue and is let in as soon as one frees, ahead of
        // a flood that keeps retrying.
        const timeval limit{static_cast<time_t>(left / 1000000), static_cast<suseconds_t>(left % 1000000)};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            const int error = errno;
            ::close(fd);
            // A full queue, or a holder that has not bound its socket yet: try
            // again while there is time.
            if (error == EAGAIN || error == ECONNREFUSED || error == ENOENT || error == EINTR) continue;
            return unanswered();
        }
        // A request to come to the front needs no answer: whether the holder
        // shows a window was asked before.
        char answer = SHOWN;
        const bool heard = sameUser(fd) &&
                           ::send(fd, request, REQUEST_SIZE, MSG_NOSIGNAL) == static_cast<ssize_t>(REQUEST_SIZE) &&
                           (!waitForAnswer || ::recv(fd, &answer, 1, 0) == 1);
        ::close(fd);
        if (!heard) return unanswered();
        return answer == SHOWN ? Answer::shown : Answer::notShown;
    }
}

}  // namespace

void poll() {
    State& s = state();
    if (s.waiter < 0) return;
    if (!ownsDescriptors(s)) {
        giveUp(s);  // inherited across fork: the claim is the parent's
        return;
    }
    std::uint64_t expirations;
    if (s.timer >= 0) (void)!::read(s.timer, &expirations, sizeof expirations);
    keepClaims(s);
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
        if (serve(s, s.pending[i], now)) {
            unwatch(s.pending[i].fd);
            ::close(s.pending[i].fd);
            s.pending.erase(s.pending.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    // While every slot is taken, new connections wait in the kernel's queue
    // and cost nothing; the timer frees the slots of the silent ones.
    const bool room = s.pending.size() < MAX_PENDING;
    if (room != s.listening) {
        room ? watch(s.listener) : unwatch(s.listener);
        s.listening = room;
    }
    setTimer(s);
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
    if (names.lock.empty() || holds(names.lock)) return false;
    const Answer answer = ask(names.lock, ASK, true);
    if (answer == Answer::nobody) return false;
    if (answer != Answer::notShown) return true;  // it shows a window, or it is stuck: it runs
    // A copy that can show nothing ends when asked; its claim then is free.
    for (const auto deadline = Clock::now() + TIME_TO_LEAVE; Clock::now() < deadline;) {
        std::this_thread::sleep_for(RETRY_PAUSE);
        if (!lookAtLock(names.lock).held) return false;
    }
    return true;
}

bool claimOneCopy(std::wstring_view className, std::wstring_view title) {
    State& s = state();
    if (s.listener >= 0) return true;  // this process answers already
    const Names names = namesOf(className, title);
    if (names.lock.empty()) return true;  // no private folder: better two copies than none
    if (holds(names.lock)) return true;
    const int fd = takeLock(names.lock);
    if (fd == HELD_ELSEWHERE) return false;
    if (fd < 0) return true;  // no lock can be had here: this copy runs all the same
    if (!ownsDescriptors(s)) giveUp(s);  // descriptors inherited across fork
    s.claims.push_back({names.lock, fd, ::getpid()});
    if (!makeWaiter(s)) return true;
    markLock(s.claims.back(), startListening(s, names));
    return true;
}

void releaseOneCopy() { giveUp(state()); }

bool askOtherCopyToRaise(std::wstring_view className, std::wstring_view title) {
    const Names names = namesOf(className, title);
    return !names.lock.empty() && ask(names.lock, RAISE, false) == Answer::shown;
}

}  // namespace platform::host
