// The program's resources as the game finds them: every string, picture and
// sound of the resource table at its size, colour depth and format, strings
// cut to their buffer, and nothing for what is not there.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/formats/resource_file.h"
#include "platform/core/resources_internal.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

using namespace platform;

std::uint32_t le(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

TEST(Strings, TableEntriesAreThereWordForWord) {
    Instance* module = moduleHandle();
    EXPECT_EQ(loadString(module, 1, 100), L"Horalia");
    EXPECT_EQ(loadString(module, 3, 100), L"VARDO");
    EXPECT_EQ(loadString(module, 104, 100), L"Tools");
    EXPECT_EQ(loadString(module, 302, 50), L"Set time to %d:%02d");
    EXPECT_EQ(loadString(module, 303, 50), L"Set time to %d:%02d from now");
    EXPECT_EQ(loadString(module, 304, 50), L"Set time to %d:%02d in the past");
    EXPECT_EQ(loadString(module, 305, 20), L"v. 1.1");
    EXPECT_EQ(loadString(module, 307, 80), L"Score");
    const std::wstring notice = loadString(module, 306, 100);
    EXPECT_FALSE(notice.empty());
    EXPECT_LE(notice.size(), 19u) << "the notice line must fit its 20-character buffer";
}

TEST(Strings, EntryIsCutToItsBufferAndMissingEntriesAreEmpty) {
    EXPECT_EQ(loadString(moduleHandle(), 304, 12), L"Set time to");
    EXPECT_EQ(loadString(moduleHandle(), 1, 1), L"");
    EXPECT_EQ(loadString(moduleHandle(), 1, 0), L"");
    EXPECT_EQ(loadString(moduleHandle(), 2, 100), L"");
    EXPECT_EQ(loadString(moduleHandle(), 999, 100), L"");
}

struct BitmapRow {
    const char* name;
    std::uint32_t id;
    int width, height, bitsPerPixel;
};

class Bitmaps : public ::testing::TestWithParam<BitmapRow> {};

TEST_P(Bitmaps, HaveTheirSizeAndDepth) {
    const BitmapRow row = GetParam();
    const auto* entry = formats::findResource(core::programResources(), formats::BITMAP_TYPE, row.id);
    ASSERT_NE(entry, nullptr) << "bitmap " << row.id;
    ASSERT_GE(entry->data.size(), 40u);
    EXPECT_EQ(le(entry->data, 0, 4), 40u) << "a plain BITMAPINFOHEADER";
    EXPECT_EQ(static_cast<int>(le(entry->data, 4, 4)), row.width);
    EXPECT_EQ(static_cast<int>(le(entry->data, 8, 4)), row.height) << "stored bottom-up";
    EXPECT_EQ(static_cast<int>(le(entry->data, 14, 2)), row.bitsPerPixel);
    // 8-bit pictures are stored run-length coded (BI_RLE8), the smaller ones plain.
    EXPECT_EQ(le(entry->data, 16, 4), row.bitsPerPixel == 8 ? 1u : 0u) << "compression";

    const auto picture = loadBitmap(moduleHandle(), row.id);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width(), row.width);
    EXPECT_EQ(picture->height(), row.height);
}

INSTANTIATE_TEST_SUITE_P(
    ResourceTable, Bitmaps,
    ::testing::Values(BitmapRow{"LevelMarker", IDB_LEVEL_MARKER, 15, 15, 4},
                      BitmapRow{"MenuButton", IDB_MENU_BUTTON, 60, 30, 8},
                      BitmapRow{"Tick", IDB_TICK, 10, 10, 4},
                      BitmapRow{"LevelBackground", IDB_LEVEL_BACKGROUND, 240, 320, 8},
                      BitmapRow{"OkButton", IDB_OK_BUTTON, 120, 30, 4},
                      BitmapRow{"ResetButton", IDB_RESET_BUTTON, 120, 30, 4},
                      BitmapRow{"Title", IDB_TITLE, 240, 320, 8},
                      BitmapRow{"GameBackground", IDB_GAME_BACKGROUND, 240, 320, 8},
                      BitmapRow{"ArrowDown", IDB_ARROW_DOWN, 80, 20, 8},
                      BitmapRow{"ArrowUp", IDB_ARROW_UP, 80, 20, 8},
                      BitmapRow{"CheckButton", IDB_CHECK_BUTTON, 120, 30, 8},
                      BitmapRow{"ExitIcon", IDB_EXIT_ICON, 20, 20, 4},
                      BitmapRow{"GameCaption", IDB_GAME_CAPTION, 84, 23, 8},
                      BitmapRow{"TitleCaption", IDB_TITLE_CAPTION, 240, 28, 8}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Bitmaps, CutOutsHaveExactlyKeyColouredTransparentAreas) {
    const Colour key = rgb(246, 140, 197);
    for (int id : {IDB_LEVEL_MARKER, IDB_TICK, IDB_EXIT_ICON}) {
        const auto picture = loadBitmap(moduleHandle(), id);
        ASSERT_TRUE(picture.has_value());
        int keyed = 0;
        for (int y = 0; y < picture->height(); ++y)
            for (int x = 0; x < picture->width(); ++x) keyed += picture->pixel(x, y) == key;
        EXPECT_EQ(picture->pixel(0, 0), key) << "bitmap " << id << " has a transparent corner";
        EXPECT_GT(keyed, 0);
        EXPECT_LT(keyed, picture->width() * picture->height()) << "bitmap " << id << " shows something";
    }
}

TEST(Bitmaps, MissingBitmapGivesNothing) { EXPECT_FALSE(loadBitmap(moduleHandle(), 119).has_value()); }

struct WaveRow {
    const char* name;
    std::uint32_t id;
    int rate, bits;
    std::size_t fileSize;  // 0 where only the length matters
    int milliseconds;
};

class Waves : public ::testing::TestWithParam<WaveRow> {};

TEST_P(Waves, AreMonoPcmAtTheirRateWidthAndLength) {
    const WaveRow row = GetParam();
    const auto wave = loadResource(moduleHandle(), L"WAVE", row.id);
    ASSERT_GE(wave.size(), 44u) << "WAVE " << row.id;
    ASSERT_EQ(std::memcmp(wave.data(), "RIFF", 4), 0);
    ASSERT_EQ(std::memcmp(wave.data() + 8, "WAVE", 4), 0);
    EXPECT_EQ(le(wave, 4, 4) + 8, wave.size()) << "the RIFF size covers the whole file";
    ASSERT_EQ(std::memcmp(wave.data() + 12, "fmt ", 4), 0);
    EXPECT_EQ(le(wave, 20, 2), 1u) << "PCM";
    EXPECT_EQ(le(wave, 22, 2), 1u) << "mono";
    EXPECT_EQ(static_cast<int>(le(wave, 24, 4)), row.rate);
    EXPECT_EQ(static_cast<int>(le(wave, 34, 2)), row.bits);
    if (row.fileSize) {
        EXPECT_EQ(wave.size(), row.fileSize);
    }
    const double seconds = double(wave.size() - 44) / (row.rate * row.bits / 8);
    EXPECT_NEAR(seconds * 1000, row.milliseconds, row.milliseconds * 0.25);
    EXPECT_TRUE(playSound(wave, SND_ASYNC | SND_MEMORY));
}

INSTANTIATE_TEST_SUITE_P(
    ResourceTable, Waves,
    ::testing::Values(WaveRow{"Click", IDW_CLICK, 11025, 16, 638, 27},
                      WaveRow{"LevelUp", IDW_LEVEL_UP, 22050, 8, 0, 1700},
                      WaveRow{"Switch", IDW_SWITCH, 22050, 16, 5824, 131},
                      WaveRow{"Right", IDW_RIGHT, 11025, 8, 0, 3300},
                      WaveRow{"Wrong", IDW_WRONG, 22050, 16, 0, 69},
                      WaveRow{"Opening", IDW_OPENING, 11025, 8, 19040, 1723}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Waves, MissingWaveIsEmptyAndNothingPlays) {
    EXPECT_TRUE(loadResource(moduleHandle(), L"WAVE", 20001).empty());
    EXPECT_FALSE(playSound({}, SND_ASYNC | SND_MEMORY));
    const std::uint8_t junk[64] = {'R', 'I', 'F', 'F'};
    EXPECT_FALSE(playSound(junk, SND_ASYNC | SND_MEMORY));
}

TEST(IconGroup, HoldsA32And16PixelIconOf16Colours) {
    const auto* group = formats::findResource(core::programResources(), 14, 101);
    ASSERT_NE(group, nullptr);
    ASSERT_GE(group->data.size(), 6u);
    const std::uint32_t count = le(group->data, 4, 2);
    ASSERT_EQ(count, 2u);
    ASSERT_GE(group->data.size(), 6u + 14 * count);
    std::vector<int> sizes;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 14 * i;
        sizes.push_back(group->data[at]);
        EXPECT_EQ(le(group->data, at + 6, 2), 4u) << "16 colours";
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

}  // namespace
