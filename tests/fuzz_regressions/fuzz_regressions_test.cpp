// Runs each file of fuzz/corpus/<target>/ through that target's entry function:
// it must be handled without a broken promise, a crash, or (for a few
// kilobytes of input) hundreds of megabytes of memory put to use.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "fuzz/fuzz_entries.h"

namespace horalia::fuzz {
// Names the target in gtest's messages instead of dumping the bytes.
void PrintTo(const Entry& entry, std::ostream* out) { *out << entry.name; }
}  // namespace horalia::fuzz

namespace {

namespace fs = std::filesystem;

// The most memory a single input may newly put to use, in the largest resident
// size of the process; far above what any reader needs for a small file.
constexpr long MEMORY_ALLOWANCE_KB = 512 * 1024;

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::vector<std::uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzCorpus : public testing::TestWithParam<horalia::fuzz::Entry> {};

TEST_P(FuzzCorpus, EveryInputIsHandled) {
    const horalia::fuzz::Entry& entry = GetParam();
    const fs::path folder = fs::path(HORALIA_FUZZ_CORPUS) / entry.name;
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    std::vector<fs::path> files;
    for (const auto& item : fs::directory_iterator(folder))
        if (item.is_regular_file()) files.push_back(item.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no inputs in " << folder;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::vector<std::uint8_t> bytes = readAll(file);
        const long before = peakResidentKb();
        if (const char* problem = entry.run(bytes)) ADD_FAILURE() << problem;
        const long grown = peakResidentKb() - before;
        EXPECT_LT(grown, MEMORY_ALLOWANCE_KB)
            << bytes.size() << " bytes of input put " << grown / 1024 << " MB of memory to use";
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, testing::ValuesIn(horalia::fuzz::ENTRIES),
                         [](const testing::TestParamInfo<horalia::fuzz::Entry>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
