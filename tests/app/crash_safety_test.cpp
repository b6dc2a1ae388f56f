// Progress writes survive a sudden death: a child process plays the whole
// headless game, changing the level again and again, and is killed with
// SIGKILL at a random moment; every time the registry file must still parse
// and hold either the level before the write or the one being written.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "platform/headless/headless.h"
#include "platform/formats/registry_format.h"
#include "progress/ProgressStore.h"
#include "screens/LevelScreen.h"
#include "tests/app/game_driver.h"
#include "tests/soak/stored_progress.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr int DEFAULT_TRIALS = 300;
using namespace gamedriver;

// What the child is about to write: "level" goes from before to after.
struct Announcement {
    std::int32_t before;
    std::int32_t after;
};

void writeAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ::_exit(3);
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
}

// The child: the whole game on the level screen, tapping level boxes until it is killed.
[[noreturn]] void playUntilKilled(const fs::path& folder, int announcements, unsigned seed) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a parent that died itself
    platform::headless::reset();
    platform::headless::setTickCount(50000);
    platform::headless::setRegistryFolder(folder);
    GameDriver driver;
    if (!driver.launch()) ::_exit(4);
    // The program must never end by itself here.
    auto tap = [&](platform::Point p) {
        driver.tap(p);
        if (driver.exitCode) ::_exit(5);
    };
    tap(TITLE);
    tap(MENU);
    if (application == nullptr || application->currentScreen != application->levelScreen) ::_exit(6);
    std::mt19937 random(seed);
    for (int i = 0; i < 100000; ++i) {
        Announcement next{application->levelScreen->store->level, 0};
        do next.after = 1 + static_cast<std::int32_t>(random() % 10);
        while (next.after == next.before);
        writeAll(announcements, &next, sizeof next);  // 8 bytes: one atomic pipe write
        tap(levelBoxTap(next.after));                    // the press writes "level"
    }
    ::_exit(0);
}

// Everything that arrived on the pipe; waits up to timeoutMs for the first record.
std::vector<Announcement> readAnnouncements(int fd, int timeoutMs) {
    std::vector<Announcement> records;
    std::string bytes;
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, timeoutMs) <= 0) return records;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    for (std::size_t at = 0; at + sizeof(Announcement) <= bytes.size(); at += sizeof(Announcement)) {
        Announcement record;
        std::memcpy(&record, bytes.data() + at, sizeof record);
        records.push_back(record);
    }
    return records;
}

void sleepMicroseconds(long microseconds) {
    timespec wait{microseconds / 1000000, (microseconds % 1000000) * 1000};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {}
}

TEST(CrashSafety, EveryKillLeavesAReadableFileWithTheOldOrTheNewLevel) {
    int trials = DEFAULT_TRIALS;
    if (const char* text = std::getenv("HORALIA_CRASH_TRIALS"); text && *text) trials = std::atoi(text);
    unsigned seed = 20260101;
    if (const char* text = std::getenv("HORALIA_CRASH_SEED"); text && *text) seed = static_cast<unsigned>(std::atoll(text));
    std::printf("crash safety: %d trials, seed %u (HORALIA_CRASH_TRIALS, HORALIA_CRASH_SEED)\n", trials, seed);

    const TempFolder sandbox("horalia-crash");
    ASSERT_FALSE(sandbox.path().empty());
    const fs::path folder = sandbox.path();
    const fs::path file = folder / "registry.reg";
    platform::headless::setRegistryFolder(folder);
    // The host forgets the folder however the test ends, before the folder goes.
    struct Forget {
        ~Forget() { platform::headless::setRegistryFolder({}); }
    } forget;

    std::mt19937 random(seed);
    std::int32_t known = 1;  // the level the file holds; a fresh folder loads as 1
    int keptOld = 0, tookNew = 0, killedMidWrite = 0, announced = 0;
    // The kill comes within a few write cycles of the first announcement;
    // the window adapts so that kills spread over many writes.
    long window = 4000;
    auto began = std::chrono::steady_clock::now();

    for (int trial = 0; trial < trials && !::testing::Test::HasFailure(); ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        int pipeEnds[2];
        ASSERT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);
        std::fflush(nullptr);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            playUntilKilled(folder, pipeEnds[1], seed + static_cast<unsigned>(trial));
        }
        ::close(pipeEnds[1]);

        // Wait for the child to be in its write loop, then strike at random.
        pollfd ready{pipeEnds[0], POLLIN, 0};
        ASSERT_EQ(::poll(&ready, 1, 20000), 1) << "the child never announced a write";
        sleepMicroseconds(std::uniform_int_distribution<long>(0, window)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the child ended on its own (status " << status << ")";
        int fdFlags = ::fcntl(pipeEnds[0], F_GETFL);
        ::fcntl(pipeEnds[0], F_SETFL, fdFlags | O_NONBLOCK);
        std::vector<Announcement> records = readAnnouncements(pipeEnds[0], 0);
        ::close(pipeEnds[0]);
        ASSERT_FALSE(records.empty());
        announced += static_cast<int>(records.size());
        // Aim for a handful of writes per trial.
        if (records.size() < 3) window += window / 4;
        else if (records.size() > 8 && window > 500) window -= window / 4;

        // The child started from what the file held after the last kill.
        ASSERT_EQ(records.front().before, known) << "the game loaded another level than the file held";
        for (std::size_t i = 1; i < records.size(); ++i) ASSERT_EQ(records[i].before, records[i - 1].after);
        const Announcement& last = records.back();

        // The file parses as it lies there, before anything might touch it ...
        std::optional<std::string> bytes = storedprogress::fileBytes(file);
        ASSERT_TRUE(bytes.has_value()) << "the registry file is gone";
        ASSERT_TRUE(platform::registry::parseDocument(*bytes).has_value()) << "torn file:\n" << *bytes;
        if (!storedprogress::filesStartingWith(folder, "registry.reg.tmp-").empty()) ++killedMidWrite;
        // ... and through the platform's registry, as the next start reads it.
        std::optional<platform::RegistryKey> key = platform::RegistryKey::createOrOpen(ProgressStore::PROGRESS_KEY);
        ASSERT_TRUE(key.has_value());
        std::optional<std::vector<std::uint8_t>> level = storedprogress::keyValue(*key, L"level");
        std::int32_t now = storedprogress::number(level ? &*level : nullptr, 1, ProgressStore::LEVELS);
        ASSERT_TRUE(storedprogress::filesStartingWith(folder, "registry.reg.damaged-").empty())
            << "the file was taken for damaged";
        ASSERT_TRUE(now == last.before || now == last.after)
            << "\"level\" is " << now << ", neither the old " << last.before << " nor the new " << last.after;
        (now == last.before ? keptOld : tookNew) += 1;
        known = now;
    }

    // A clean write removes what killed writers left behind.
    if (!::testing::Test::HasFailure()) {
        std::optional<platform::RegistryKey> key = platform::RegistryKey::createOrOpen(ProgressStore::PROGRESS_KEY);
        ASSERT_TRUE(key.has_value());
        std::vector<std::uint8_t> text = {static_cast<std::uint8_t>('0' + known % 10), 0, 0, 0};
        if (known == 10) text = {'1', 0, '0', 0, 0, 0};
        ASSERT_TRUE(key->set(L"level", platform::ValueType::text, text));
        EXPECT_TRUE(storedprogress::filesStartingWith(folder, "registry.reg.tmp-").empty())
            << "temporary files of killed writers are left behind";
    }

    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("crash safety: %d trials in %.1f s, %d writes announced; file kept the old level %d times, "
                "the new one %d times; %d kills left a temporary file (inside a write)\n",
                keptOld + tookNew, seconds, announced, keptOld, tookNew, killedMidWrite);
}

}  // namespace
