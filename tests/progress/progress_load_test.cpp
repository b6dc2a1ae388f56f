// What a fresh store loads from the registry: defaults on a new installation,
// every accepted and rejected form of "score", "level" and "auto", and "stat"
// blocks of the right, a shorter and a longer size.
#include <gtest/gtest.h>

#include "tests/progress/store_sandbox.h"
#include "tests/support/test_names.h"

using platform::ValueType;

using ProgressLoad = StoreSandbox;

TEST_F(ProgressLoad, NewInstallationStartsWithDefaultsAndAnEmptyKey) {
    ProgressStore& store = acquire();
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.score, 0);
    EXPECT_EQ(store.points, 12);
    EXPECT_TRUE(store.autoAdjust);
    EXPECT_FALSE(store.levelChanged);
    EXPECT_FALSE(store.scoreReset);
    EXPECT_TRUE(store.history.count() == 0);
    for (const LevelStat& stat : store.stats) {
        EXPECT_EQ(stat.correct, 0);
        EXPECT_EQ(stat.attempts, 0);
    }
    EXPECT_EQ(fileText(),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Horalia]\n\n");
}

struct NumberCase {
    const wchar_t* value;
    std::u16string text;
    std::int32_t expected;
};

std::ostream& operator<<(std::ostream& out, const NumberCase& row) {
    out << (row.value[0] == L's' ? "score" : row.value[0] == L'l' ? "level" : "auto") << " \"";
    for (char16_t c : row.text) out << static_cast<char>(c);
    return out << "\" -> " << row.expected;
}

class ProgressLoadNumber : public StoreSandbox, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ProgressLoadNumber, LoadsAsTheTableSays) {
    const NumberCase& row = GetParam();
    plantText(row.value, row.text);
    ProgressStore& store = reload();
    std::int32_t loaded = std::wstring_view(row.value) == L"score"   ? store.score
                          : std::wstring_view(row.value) == L"level" ? store.level
                                                                     : (store.autoAdjust ? 0 : 1);
    EXPECT_EQ(loaded, row.expected);
}

// Each case is named by the stored text.
const auto NUMBER_NAME = [](const ::testing::TestParamInfo<NumberCase>& info) {
    return testnames::spelt(std::u16string_view(info.param.text));
};

INSTANTIATE_TEST_SUITE_P(
    Level, ProgressLoadNumber,
    ::testing::Values(NumberCase{L"level", u"7", 7}, NumberCase{L"level", u"10", 10},
                      NumberCase{L"level", u"1", 1}, NumberCase{L"level", u"7abc", 7},
                      NumberCase{L"level", u" +4", 4}, NumberCase{L"level", u"0", 1},
                      NumberCase{L"level", u"11", 1}, NumberCase{L"level", u"-5", 1},
                      NumberCase{L"level", u"abc", 1}, NumberCase{L"level", u"", 1},
                      NumberCase{L"level", u"000000009", 9},      // nine characters fit
                      NumberCase{L"level", u"0000000009", 1},    // ten do not: missing
                      NumberCase{L"level", u"+5", 5},
                      NumberCase{L"level", u" 7", 7},
                      NumberCase{L"level", u"-3", 1},
                      NumberCase{L"level", u"\t\n8", 8},
                      NumberCase{L"level", u"+-4", 1},
                      NumberCase{L"level", u"999999", 1},
                      NumberCase{L"level", u"1000000", 1},
                      NumberCase{L"level", u"-0", 1}),
    NUMBER_NAME);

INSTANTIATE_TEST_SUITE_P(
    Score, ProgressLoadNumber,
    ::testing::Values(NumberCase{L"score", u"12", 12}, NumberCase{L"score", u"999999", 999999},
                      NumberCase{L"score", u"1000000", 0}, NumberCase{L"score", u"-1", 0},
                      NumberCase{L"score", u"0", 0}, NumberCase{L"score", u"42 points", 42},
                      NumberCase{L"score", u"points", 0}, NumberCase{L"score", u"99999999999", 0},
                      NumberCase{L"score", u"+5", 5},
                      NumberCase{L"score", u" 7", 7},
                      NumberCase{L"score", u"-3", 0},
                      NumberCase{L"score", u"7abc", 7},
                      NumberCase{L"score", u"abc", 0},
                      NumberCase{L"score", u"", 0},
                      NumberCase{L"score", u"\t\n8", 8},
                      NumberCase{L"score", u"+-4", 0},
                      NumberCase{L"score", u"11", 11},
                      NumberCase{L"score", u"000000009", 9},
                      NumberCase{L"score", u"0000000009", 0},
                      NumberCase{L"score", u"-0", 0}),
    NUMBER_NAME);

// The stored flag is the inverse: "1" means adjustment is off (expected 1 here).
INSTANTIATE_TEST_SUITE_P(
    Auto, ProgressLoadNumber,
    ::testing::Values(NumberCase{L"auto", u"0", 0}, NumberCase{L"auto", u"1", 1},
                      NumberCase{L"auto", u"2", 0}, NumberCase{L"auto", u"-1", 0},
                      NumberCase{L"auto", u"off", 0}, NumberCase{L"auto", u"1x", 1},
                      NumberCase{L"auto", u"+1", 1},
                      NumberCase{L"auto", u" 1", 1},
                      NumberCase{L"auto", u"1abc", 1},
                      NumberCase{L"auto", u"abc", 0},
                      NumberCase{L"auto", u"", 0},
                      NumberCase{L"auto", u"\t\n1", 1},
                      NumberCase{L"auto", u"+-1", 0},
                      NumberCase{L"auto", u"11", 0},
                      NumberCase{L"auto", u"111111111", 0},
                      NumberCase{L"auto", u"1111111111", 0},
                      NumberCase{L"auto", u"111111", 0},
                      NumberCase{L"auto", u"1111111", 0}),
    NUMBER_NAME);

TEST_F(ProgressLoad, NumbersAreReadWhateverTheirStoredType) {
    plant(L"level", ValueType::binary, {'4', 0, 0, 0});
    plant(L"score", ValueType::text, {'3', 0, '5', 0});  // no terminating null
    ProgressStore& store = reload();
    EXPECT_EQ(store.level, 4);
    EXPECT_EQ(store.score, 35);
}

// As a registry editor writes numbers; the bounds hold as for text.
TEST_F(ProgressLoad, DwordsAreReadAsNumbers) {
    const std::vector<std::uint8_t> three{3, 0, 0, 0}, big{0x59, 0x01, 0, 0}, negative{0xFF, 0xFF, 0xFF, 0xFF};
    plant(L"level", ValueType::dword, three);
    plant(L"score", ValueType::dword, big);
    plant(L"auto", ValueType::dword, {1, 0, 0, 0});
    ProgressStore& store = reload();
    EXPECT_EQ(store.level, 3);
    EXPECT_EQ(store.score, 345);
    EXPECT_FALSE(store.autoAdjust);
    plant(L"level", ValueType::dword, big);
    plant(L"score", ValueType::dword, negative);
    EXPECT_EQ(reload().level, 1);
    EXPECT_EQ(reload().score, 0);
}

TEST_F(ProgressLoad, FullStatFillsEveryCounter) {
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    for (int i = 0; i < 10; ++i) pairs.push_back({i, 100 + i});
    pairs[9] = {-1, 0x7FFFFFFF};
    plant(L"stat", ValueType::binary, statImage(pairs));
    ProgressStore& store = reload();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(store.stats[i].correct, i);
        EXPECT_EQ(store.stats[i].attempts, 100 + i);
    }
    EXPECT_EQ(store.stats[9].correct, -1);
    EXPECT_EQ(store.stats[9].attempts, 0x7FFFFFFF);
}

TEST_F(ProgressLoad, ShortStatFillsOnlyItsLeadingCounters) {
    std::vector<std::uint8_t> image = statImage({{3, 4}, {5, 6}});
    image.resize(12);  // level 1 whole, level 2 only its correct count
    plant(L"stat", ValueType::binary, image);
    ProgressStore& store = reload();
    EXPECT_EQ(store.stats[0].correct, 3);
    EXPECT_EQ(store.stats[0].attempts, 4);
    EXPECT_EQ(store.stats[1].correct, 5);
    EXPECT_EQ(store.stats[1].attempts, 0);
    for (int i = 2; i < 10; ++i) EXPECT_EQ(store.stats[i].attempts, 0);
}

TEST_F(ProgressLoad, LongStatLoadsAsMissing) {
    std::vector<std::uint8_t> image = statImage(std::vector<std::pair<std::int32_t, std::int32_t>>(10, {1, 2}));
    image.resize(84, 0xFF);
    plant(L"stat", ValueType::binary, image);
    ProgressStore& store = reload();
    for (const LevelStat& stat : store.stats) {
        EXPECT_EQ(stat.correct, 0);
        EXPECT_EQ(stat.attempts, 0);
    }
}

TEST_F(ProgressLoad, UnusableRegistryGivesDefaultsAndTheGameGoesOn) {
    { std::ofstream(folder / "plain-file") << "x"; }
    platform::posix::setSettingsFolder(folder / "plain-file" / "horalia");
    ProgressStore& store = reload();
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.score, 0);
    store.awardPoints();
    store.setLevel(3);
    store.recordResult(true);
    EXPECT_EQ(store.score, 12);
    EXPECT_EQ(store.level, 3);
    EXPECT_EQ(store.stats[2].attempts, 1);
}
