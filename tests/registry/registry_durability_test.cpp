// The durable write: a child process that keeps changing a value is killed
// with SIGKILL at random moments; every time the file must still parse and
// hold either the value being replaced or the one replacing it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "platform/formats/registry_format.h"
#include "tests/registry/registry_sandbox.h"

using platform::RegistryKey;
using platform::ValueType;

using RegistryDurability = RegistrySandbox;

namespace {

std::vector<std::uint8_t> counterBytes(std::int64_t value) {
    std::string text = std::to_string(value);
    return utf16z(std::u16string(text.begin(), text.end()));
}

// The counter's value in the file, or -1 when it cannot be read.
std::int64_t storedCounter() {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    if (!key) return -1;
    std::uint8_t buffer[64];
    platform::ValueInfo info;
    if (key->query(L"counter", buffer, &info) != platform::RegistryResult::ok) return -1;
    std::string digits;
    for (std::uint32_t i = 0; i + 1 < info.size; i += 2)
        if (buffer[i]) digits.push_back(static_cast<char>(buffer[i]));
    return digits.empty() ? -1 : std::stoll(digits);
}

// The child: announces each value on the pipe before it starts writing it.
[[noreturn]] void writeForever(int announce, std::int64_t from) {
    std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
    if (!key) _exit(2);
    for (std::int64_t value = from;; ++value) {
        if (write(announce, &value, sizeof value) != sizeof value) _exit(3);
        if (!key->set(L"counter", ValueType::text, counterBytes(value))) _exit(4);
    }
}

}  // namespace

TEST_F(RegistryDurability, KilledWriterLeavesTheOldOrTheNewFile) {
    const std::vector<std::uint8_t> padding = byteRange(4000);
    {
        std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->set(L"padding", ValueType::binary, padding));
        ASSERT_TRUE(key->set(L"counter", ValueType::text, counterBytes(0)));
    }
    // Kills spread over about three writes, whatever one write costs here.
    const auto timingStart = std::chrono::steady_clock::now();
    {
        std::optional<RegistryKey> key = RegistryKey::createOrOpen(HORALIA_KEY);
        ASSERT_TRUE(key);
        for (int i = 0; i < 20; ++i) ASSERT_TRUE(key->set(L"counter", ValueType::text, counterBytes(0)));
    }
    const auto writeMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::steady_clock::now() - timingStart).count() / 20;
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> delayMicroseconds(0, static_cast<int>(3 * writeMicroseconds) + 100);
    std::int64_t committed = 0;
    int trials = 0;
    int changedTrials = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);

    for (; trials < 300 && std::chrono::steady_clock::now() < deadline; ++trials) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeEnds[0]);
            writeForever(pipeEnds[1], committed + 1);
        }
        close(pipeEnds[1]);
        // The kill lands at a random moment after the child began writing,
        // however long the child took to start.
        std::int64_t announced = committed;
        bool started = read(pipeEnds[0], &announced, sizeof announced) == sizeof announced;
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(started && WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        // The last value the child started to write.
        for (std::int64_t value; read(pipeEnds[0], &value, sizeof value) == sizeof value;) announced = value;
        close(pipeEnds[0]);

        ASSERT_TRUE(platform::registry::parseDocument(fileText()).has_value())
            << "trial " << trials << ": the file does not parse:\n" << fileText();
        std::int64_t stored = storedCounter();
        ASSERT_TRUE(stored == announced || stored == announced - 1)
            << "trial " << trials << ": stored " << stored << ", announced " << announced;
        ASSERT_EQ(readBack(HORALIA_KEY, L"padding"), padding) << "trial " << trials;
        ASSERT_TRUE(damagedCopies().empty()) << "trial " << trials;
        if (stored != committed) ++changedTrials;
        committed = stored;
    }
    EXPECT_GE(trials, 100);
    // Many kills must come after a completed write, or the test proves little.
    EXPECT_GT(changedTrials, trials / 4);
}
