// Finding the running copy from another process: the second process finds
// the window by class and title and asks it to come to the front; a copy that
// has ended leaves nothing in the way; and nobody else (a squatter, a flood
// of silent connections, a stopped first copy, another user) can freeze the
// game, keep it from starting or make a second copy hang.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/posix/single_instance.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

std::intptr_t quietProcedure(Window* window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam, Point point) {
    return defWindowProc(window, message, wParam, lParam, point);
}

Window* openWindow(const wchar_t* title) {
    registerClass({0, quietProcedure, moduleHandle(), L"VARDO"});
    return createWindow(L"VARDO", title, WS_VISIBLE, moduleHandle());
}

void pumpOnce() {
    Message message;
    peekMessage(message, PM_NOREMOVE);
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs body in a child process and returns its exit code (-1 when killed);
// meanwhile this process answers other copies, as a running game does.
template <typename Body>
int inChild(Body body) {
    const pid_t child = fork();
    if (child == 0) {
        headless::reset();  // the child starts with no windows of its own
        alarm(10);          // a child that hangs fails instead of stopping the suite
        _exit(body());
    }
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        pumpOnce();
        usleep(1000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A first copy in a child process: its window is open when this returns. It
// answers requests until killed or closed (then it ends with 0), or never
// looks at them when silent; one that shows nothing is closed by the next start.
pid_t startFirstCopy(const wchar_t* title, bool silent = false, bool shows = true) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        headless::reset();
        headless::setWindowShows(shows);
        close(ready[0]);
        const char opened = openWindow(title) ? 'y' : 'n';
        (void)!write(ready[1], &opened, 1);
        for (Message message;;) {
            if (silent) pause();
            while (peekMessage(message, PM_REMOVE)) {
                dispatchMessage(message);
                if (message.message == WM_CLOSE) _exit(0);
            }
            usleep(1000);
        }
    }
    close(ready[1]);
    char opened = 0;
    const bool ok = read(ready[0], &opened, 1) == 1 && opened == 'y';
    close(ready[0]);
    if (!ok) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

void endProcess(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// A connection to a socket file that says nothing; -1 when refused.
int silentConnection(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
}

// Every test has a runtime folder and a settings folder of its own.
class SingleInstance : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        ASSERT_FALSE(runtime.path().empty());
        ASSERT_FALSE(settings.path().empty());
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        headless::setRegistryFolder(settings.path());
    }
    void TearDown() override {
        headless::reset();
        headless::setRegistryFolder({});
    }

    std::vector<fs::path> filesIn(const fs::path& folder, const std::string& ending) const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().string().ends_with(ending)) found.push_back(entry.path());
        return found;
    }
    // The one socket of the runtime folder, where the first copy listens.
    std::string socketPath() const {
        const auto sockets = filesIn(runtime.path(), ".socket");
        return sockets.size() == 1 ? sockets.front().string() : std::string();
    }

    TempFolder runtime{"runtime"};
    TempFolder settings{"settings"};
};

TEST_F(SingleInstance, AnotherProcessFindsTheWindowAndRaisesIt) {
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    const int before = headless::raiseRequests();

    const int found = inChild([] {
        Window* running = findWindow(L"VARDO", L"Horalia");
        return running && setForegroundWindow(running) ? 0 : 1;
    });
    EXPECT_EQ(found, 0);
    pumpOnce();
    EXPECT_EQ(headless::raiseRequests(), before + 1);

    EXPECT_EQ(inChild([] { return findWindow(L"VARDO", L"Other") ? 1 : 0; }), 0)
        << "another title is another program";
}

TEST_F(SingleInstance, ACopyThatWasKilledLeavesNothingInTheWayOfTheNext) {
    const pid_t first = startFirstCopy(L"Crashing");
    ASSERT_GT(first, 0);
    endProcess(first);
    ASSERT_FALSE(socketPath().empty()) << "the killed copy left its socket behind";

    EXPECT_EQ(findWindow(L"VARDO", L"Crashing"), nullptr);
    ASSERT_NE(openWindow(L"Crashing"), nullptr);
    const int before = headless::raiseRequests();
    EXPECT_EQ(inChild([] {
        Window* running = findWindow(L"VARDO", L"Crashing");
        return running && setForegroundWindow(running) ? 0 : 1;
    }), 0);
    pumpOnce();
    EXPECT_EQ(headless::raiseRequests(), before + 1) << "the new copy answers on the old name";
}

TEST_F(SingleInstance, NeitherASquatterNorAnUnsafeRuntimeFolderKeepsTheGameFromStarting) {
    // Someone listens on the abstract name that a copy of this user could be
    // expected at, and accepts everything.
    const int squatter = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "horalia.headless." + std::to_string(getpid()) + "." +
                             std::to_string(getuid()) + ".VARDO.Horalia";
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    ASSERT_EQ(bind(squatter, reinterpret_cast<sockaddr*>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())), 0);
    ASSERT_EQ(listen(squatter, 64), 0);
    // And the runtime folder is open to everyone.
    chmod(runtime.path().c_str(), 0777);

    EXPECT_EQ(findWindow(L"VARDO", L"Horalia"), nullptr) << "the game starts";
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    EXPECT_TRUE(filesIn(runtime.path(), ".lock").empty()) << "nothing is claimed in an open folder";
    EXPECT_EQ(filesIn(settings.path(), ".lock").size(), 1u) << "the private settings folder holds the claim";
    EXPECT_EQ(inChild([] { return findWindow(L"VARDO", L"Horalia") ? 0 : 1; }), 0)
        << "a second copy still finds the first";
    close(squatter);
}

TEST_F(SingleInstance, CopiesOfOneProgressFileFindEachOtherWhateverTheirRuntimeFolders) {
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    TempFolder other("other-runtime"), open("open-runtime");
    chmod(open.path().c_str(), 0777);
    for (const char* folder : {static_cast<const char*>(nullptr), other.path().c_str(), open.path().c_str()}) {
        const int before = headless::raiseRequests();
        EXPECT_EQ(inChild([folder] {
            folder ? setenv("XDG_RUNTIME_DIR", folder, 1) : unsetenv("XDG_RUNTIME_DIR");
            Window* running = findWindow(L"VARDO", L"Horalia");
            return running && setForegroundWindow(running) ? 0 : 1;
        }), 0) << (folder ? folder : "XDG_RUNTIME_DIR unset");
        for (int i = 0; i < 100 && headless::raiseRequests() == before; ++i) pumpOnce();
        EXPECT_EQ(headless::raiseRequests(), before + 1);
    }
}

TEST_F(SingleInstance, TheClaimOutlastsSquattersAtItsLockAndTheLockFilesRemoval) {
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    auto locks = filesIn(settings.path(), ".lock");
    for (const auto& lock : filesIn(runtime.path(), ".lock")) locks.push_back(lock);
    ASSERT_EQ(locks.size(), 1u);
    const fs::path lock = locks.front();
    auto anotherCopyIsFound = [] { return inChild([] { return findWindow(L"VARDO", L"Horalia") ? 0 : 1; }) == 0; };

    // The lock file goes while the game runs.
    fs::remove(lock);
    pumpOnce();
    EXPECT_TRUE(anotherCopyIsFound()) << "after the lock file was deleted";

    // Something of the user's own sits where the lock belongs when the game starts.
    const std::vector<std::pair<const char*, std::function<void()>>> squatters = {
        {"a directory", [&] { fs::create_directory(lock); std::ofstream(lock / "kept") << "kept"; }},
        {"a symbolic link", [&] { fs::create_symlink(settings.path() / "elsewhere", lock); }},
        {"a socket", [&] {
             const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::snprintf(address.sun_path, sizeof address.sun_path, "%s", lock.c_str());
             bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
             close(listener);
         }},
    };
    for (const auto& [kind, squat] : squatters) {
        headless::reset();
        fs::remove(lock);
        squat();
        ASSERT_NE(openWindow(L"Horalia"), nullptr) << kind;
        EXPECT_TRUE(anotherCopyIsFound()) << "with " << kind << " at the lock's path";
    }
    std::ifstream kept(lock.string() + ".damaged-" + std::to_string(getpid()) + "/kept");
    EXPECT_TRUE(kept.is_open()) << "the directory's content is kept aside";
}

TEST_F(SingleInstance, ACopyThatShowsNothingGivesWayToTheNextStart) {
    const pid_t first = startFirstCopy(L"Horalia", false, false);
    ASSERT_GT(first, 0);
    EXPECT_EQ(findWindow(L"VARDO", L"Horalia"), nullptr) << "a copy nobody sees is not the running game";
    EXPECT_NE(openWindow(L"Horalia"), nullptr) << "the new start opens its window";
    int status = -1;
    waitpid(first, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first copy was closed";
}

TEST_F(SingleInstance, AFloodOfSilentConnectionsNeverHoldsTheGameUp) {
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    const std::string path = socketPath();
    ASSERT_FALSE(path.empty());
    const int before = headless::raiseRequests();

    // The flood: up to 300 connections in 3 s that never speak, as fast as they
    // are taken, then one real request.
    const pid_t flood = fork();
    if (flood == 0) {
        std::vector<int> held;
        const auto end = Clock::now() + std::chrono::seconds(3);
        while (held.size() < 300 && Clock::now() < end) {
            if (int fd = silentConnection(path); fd >= 0) held.push_back(fd);
            else usleep(1000);
        }
        headless::reset();
        Window* running = findWindow(L"VARDO", L"Horalia");
        _exit(running && setForegroundWindow(running) ? 0 : 1);
    }
    double slowest = 0;
    int status = -1;
    const auto end = Clock::now() + std::chrono::seconds(15);
    // A busy machine may take the processor away in the middle of a pass;
    // only passes that kept it show what the game's own work costs.
    auto preempted = [] {
        rusage used{};
        getrusage(RUSAGE_THREAD, &used);
        return used.ru_nivcsw;
    };
    while (Clock::now() < end) {
        const auto start = Clock::now();
        const long switches = preempted();
        pumpOnce();
        if (preempted() == switches) slowest = std::max(slowest, millisecondsSince(start));
        if (waitpid(flood, &status, WNOHANG) == flood) break;
    }
    for (int i = 0; i < 100 && headless::raiseRequests() == before; ++i) {
        pumpOnce();
        usleep(10000);
    }
    std::printf("slowest pass of the loop during the flood: %.1f ms\n", slowest);
    // A loop held up by the flood waited seconds; a busy machine's page faults
    // and cache misses add tens of milliseconds even to passes it did not take
    // the processor from, so the bound sits well between the two.
    EXPECT_LT(slowest, 300.0) << "a tap waits no longer than a blink";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(headless::raiseRequests(), before + 1) << "the real request got through";
}

TEST_F(SingleInstance, AFloodCostsASleepingHostNothingAndARealCopyIsHeardDuringIt) {
    // The first copy sleeps on its listener between events, as the desktop
    // host does, until told to stop; then it reports its processor time.
    int stop[2], report[2];
    ASSERT_EQ(pipe(stop), 0);
    ASSERT_EQ(pipe(report), 0);
    const pid_t first = fork();
    if (first == 0) {
        headless::reset();
        close(stop[1]);
        const bool opened = openWindow(L"Horalia") != nullptr;
        const int before = headless::raiseRequests();
        (void)!write(report[1], &opened, sizeof opened);
        for (;;) {
            pollfd waits[2] = {{posix::singleInstance::listenerDescriptor(), POLLIN, 0}, {stop[0], POLLIN, 0}};
            ::poll(waits, 2, 1000);
            if (waits[1].revents) break;
            pumpOnce();
        }
        rusage used{};
        getrusage(RUSAGE_SELF, &used);
        const int figures[2] = {headless::raiseRequests() - before,
                                static_cast<int>(used.ru_utime.tv_sec * 1000 + used.ru_utime.tv_usec / 1000 +
                                                 used.ru_stime.tv_sec * 1000 + used.ru_stime.tv_usec / 1000)};
        (void)!write(report[1], figures, sizeof figures);
        _exit(0);
    }
    close(stop[0]);
    close(report[1]);
    bool opened = false;
    ASSERT_EQ(read(report[0], &opened, sizeof opened), static_cast<ssize_t>(sizeof opened));
    ASSERT_TRUE(opened);
    const std::string path = socketPath();

    // Three seconds of silent connections, as many as the queue takes.
    const pid_t flood = fork();
    if (flood == 0) {
        std::vector<int> held;
        for (const auto end = Clock::now() + std::chrono::seconds(3); Clock::now() < end && held.size() < 900;) {
            if (int fd = silentConnection(path); fd >= 0) held.push_back(fd);
            else usleep(1000);
        }
        _exit(0);
    }
    usleep(1000 * 1000);
    const auto asked = Clock::now();
    const int second = inChild([] {
        Window* running = findWindow(L"VARDO", L"Horalia");
        return running && setForegroundWindow(running) ? 0 : 1;
    });
    const double heardAfter = millisecondsSince(asked);
    waitpid(flood, nullptr, 0);
    close(stop[1]);
    int figures[2] = {-1, -1};
    ASSERT_EQ(read(report[0], figures, sizeof figures), static_cast<ssize_t>(sizeof figures));
    waitpid(first, nullptr, 0);
    close(report[0]);
    std::printf("a 3 s flood cost the first copy %d ms of processor time; the second copy took %.0f ms\n",
                figures[1], heardAfter);
    EXPECT_EQ(second, 0) << "the second copy found the first";
    EXPECT_EQ(figures[0], 1) << "its request to come to the front was heard";
    EXPECT_LT(figures[1], 300) << "the flood kept the first copy busy";
}

TEST_F(SingleInstance, AHostSleepingOnTheListenerWakesForARequestSaidAfterItsConnectionWasTaken) {
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    const int asker = silentConnection(socketPath());
    ASSERT_GE(asker, 0);
    pumpOnce();  // the connection is taken; it has said nothing yet
    const int before = headless::raiseRequests();
    auto wakes = [] {
        pollfd waiting{posix::singleInstance::listenerDescriptor(), POLLIN, 0};
        return ::poll(&waiting, 1, 100) == 1;
    };
    EXPECT_FALSE(wakes()) << "nothing to do yet";

    ASSERT_EQ(send(asker, "raise", 5, 0), 5);
    EXPECT_TRUE(wakes());
    pumpOnce();
    EXPECT_EQ(headless::raiseRequests(), before + 1);
    close(asker);
}

TEST_F(SingleInstance, SecondCopiesGiveUpOnAStoppedFirstCopyWithinAboutASecond) {
    const pid_t first = startFirstCopy(L"Horalia", true);
    ASSERT_GT(first, 0);
    kill(first, SIGSTOP);
    // Twelve second copies at once: the first ones fill its queue of waiting
    // connections, which nobody empties; none of them may wait for ever.
    const auto start = Clock::now();
    std::vector<pid_t> seconds;
    for (int i = 0; i < 12; ++i) {
        const pid_t second = fork();
        if (second == 0) {
            headless::reset();
            alarm(10);
            Window* running = findWindow(L"VARDO", L"Horalia");
            if (!running) _exit(1);  // it must not start a second game
            setForegroundWindow(running);  // unheard, but it returns
            _exit(0);
        }
        seconds.push_back(second);
    }
    int ended = 0;
    for (pid_t second : seconds) {
        int status = -1;
        waitpid(second, &status, 0);
        ended += WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    const double took = millisecondsSince(start);
    EXPECT_EQ(ended, 12);
    EXPECT_LT(took, 2000.0);
    kill(first, SIGCONT);
    endProcess(first);
}

TEST_F(SingleInstance, ExactlyOneOfThirtyCopiesStartedAtOnceOpensItsWindow) {
    int go[2], told[2];
    ASSERT_EQ(pipe(go), 0);
    ASSERT_EQ(pipe(told), 0);
    std::vector<pid_t> copies;
    for (int i = 0; i < 30; ++i) {
        const pid_t copy = fork();
        if (copy == 0) {
            headless::reset();
            alarm(10);  // a copy that hangs stops answering the test
            close(go[1]);
            char nothing;
            (void)!read(go[0], &nothing, 1);  // all start when the pipe closes
            // What the program's entry does: look for the running copy, else open the window.
            const char opened = !findWindow(L"VARDO", L"Horalia") && openWindow(L"Horalia") ? 'w' : '-';
            (void)!write(told[1], &opened, 1);
            pause();  // the copy keeps running until the test ends it
            _exit(0);
        }
        copies.push_back(copy);
    }
    close(go[0]);
    close(told[1]);
    close(go[1]);
    int windows = 0, answers = 0;
    char opened;
    while (answers < 30 && read(told[0], &opened, 1) == 1) {
        ++answers;
        windows += opened == 'w';
    }
    close(told[0]);
    for (pid_t copy : copies) endProcess(copy);
    EXPECT_EQ(answers, 30);
    EXPECT_EQ(windows, 1);
}

TEST_F(SingleInstance, AnotherUsersCopyRunsBesideOurs) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can start a copy as another user";
    ASSERT_NE(openWindow(L"Horalia"), nullptr);
    // The other user's settings folder is theirs; the runtime folder is ours.
    TempFolder theirs("theirs");
    ASSERT_EQ(chown(theirs.path().c_str(), 65534, 65534), 0);
    const std::string folder = theirs.path();
    EXPECT_EQ(inChild([&folder] {
        headless::setRegistryFolder(folder);
        if (setgid(65534) != 0 || setuid(65534) != 0) return 2;
        return !findWindow(L"VARDO", L"Horalia") && openWindow(L"Horalia") ? 0 : 1;
    }), 0);
}

}  // namespace
