// The settings file at scale: the game's start (the progress store loading
// every value) and one level tap (a level saved) with settings files of
// 1 KB, 1 MB and the largest size the game accepts, the game's own key among
// thousands of others as a registry editor's export would have them.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/headless/headless.h"
#include "progress/ProgressStore.h"

namespace {

constexpr std::size_t LARGEST_ACCEPTED = 2 * 1024 * 1024;

// The 80 bytes of the statistics value as the game writes them, wrapped.
std::string statBytes() {
    std::string bytes;
    for (int i = 0; i < 80; ++i) {
        bytes += i + 1 < 80 ? "00," : "00";
        if (i % 25 == 24) bytes += "\\\n  ";
    }
    return bytes;
}

// A settings folder holding a file of about the given size (never above it):
// the game's key first, then as many keys of other programs as fit.
class SettingsFile {
public:
    explicit SettingsFile(std::size_t size) {
        std::string pattern = (std::filesystem::temp_directory_path() / "horalia-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        folder = pattern;
        file = folder / "registry.reg";
        text =
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n"
            "\"level\"=\"3\"\n\"score\"=\"120\"\n\"auto\"=\"0\"\n"
            "\"stat\"=hex:" + statBytes() + "\n\n";
        for (int key = 0;; ++key) {
            const std::string block = "[HKEY_CURRENT_USER\\Software\\Vendor\\Program" + std::to_string(key) +
                                      "]\n\"Setting\"=\"some text\"\n\n";
            // A little room for the game's numbers to grow by a digit or two.
            if (text.size() + block.size() + 16 > size) break;
            text += block;
        }
        std::ofstream(file, std::ios::binary) << text;
        platform::headless::setRegistryFolder(folder);
    }
    ~SettingsFile() {
        platform::headless::setRegistryFolder({});
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Another program changes the score in place, so that the file must be
    // read and parsed afresh as at a start; then the clock moves on, since a
    // game starts well after the last edit of its file.
    void edit() {
        const std::size_t at = text.find("\"score\"=\"12") + 11;
        text[at] = text[at] == '0' ? '1' : '0';
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
        usleep(60000);
    }

    std::filesystem::path folder;
    std::filesystem::path file;
    std::string text;
};

// The game's start: the store is made and loads every value from a file that
// this process has not read yet.
void storeStartUp(benchmark::State& state) {
    SettingsFile settings(static_cast<std::size_t>(state.range(0)));
    state.counters["file bytes"] = static_cast<double>(std::filesystem::file_size(settings.file));
    for (auto _ : state) {
        state.PauseTiming();
        settings.edit();
        state.ResumeTiming();
        ProgressStore* store = ProgressStore::acquire();
        benchmark::DoNotOptimize(store->level);
        ProgressStore::release();
    }
    if (!std::filesystem::exists(settings.file)) state.SkipWithError("the file was refused");
}
// A fixed count: the pause after each edit does not count as timed work.
BENCHMARK(storeStartUp)
    ->Arg(1024)
    ->Arg(1024 * 1024)
    ->Arg(LARGEST_ACCEPTED)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// A tap on a level box: the new level saved while the game runs.
void levelTap(benchmark::State& state) {
    SettingsFile settings(static_cast<std::size_t>(state.range(0)));
    ProgressStore* store = ProgressStore::acquire();
    std::int32_t level = 1;
    for (auto _ : state) {
        level = level % ProgressStore::LEVELS + 1;
        store->setLevel(level);
    }
    ProgressStore::release();
}
BENCHMARK(levelTap)->Arg(1024)->Arg(1024 * 1024)->Arg(LARGEST_ACCEPTED)->Unit(benchmark::kMillisecond);

}  // namespace
