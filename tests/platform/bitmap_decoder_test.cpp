// Run-length coded (BI_RLE8) bitmap resources: a stream of runs, blocks and
// line ends gives its pixels; a damaged stream gives no picture at all, and
// neither does a picture far larger than the game could show.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <string>
#include <vector>

#include "platform/formats/bitmap_decoder.h"

namespace {

using platform::Colour;
using platform::rgb;

const Colour PALETTE[] = {rgb(0, 0, 0), rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};

// A 4 x 2 (or other) bottom-up 8-bit resource (header, four colours) with
// these codes (run-length coded), or these plain pixels.
std::vector<std::uint8_t> resource(const std::vector<std::uint8_t>& codes, std::uint32_t width = 4,
                                   std::uint32_t height = 2, bool runLength = true) {
    std::vector<std::uint8_t> bytes(40, 0);
    auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, width);
    put32(8, height);
    bytes[12] = 1;   // planes
    bytes[14] = 8;   // bits per pixel
    put32(16, runLength ? 1 : 0);  // BI_RLE8 or BI_RGB
    put32(20, static_cast<std::uint32_t>(codes.size()));
    put32(32, 4);    // colours used
    for (Colour c : PALETTE) {
        // A Colour holds red in its low byte; a palette entry is blue, green, red, 0.
        bytes.push_back(static_cast<std::uint8_t>((c >> 16) & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(0);
    }
    bytes.insert(bytes.end(), codes.begin(), codes.end());
    return bytes;
}

TEST(RunLengthBitmap, RunsBlocksAndLineEndsGiveTheirPixels) {
    // Bottom row: two of colour 1, two of colour 2. Top row: a block of 2, 3, 1
    // (padded to a word), its last pixel left to colour 0.
    const auto picture = platform::formats::decodeBitmapResource(
        resource({2, 1, 2, 2, 0, 0, /* top */ 0, 3, 2, 3, 1, 0, 0, 1}));
    ASSERT_TRUE(picture.has_value());
    const int expected[2][4] = {{2, 3, 1, 0}, {1, 1, 2, 2}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(picture->pixel(x, y), PALETTE[expected[y][x]]) << x << "," << y;
}

struct Damage {
    const char* what;
    std::vector<std::uint8_t> codes;
};

class DamagedRunLength : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedRunLength, GivesNoPicture) {
    EXPECT_FALSE(platform::formats::decodeBitmapResource(resource(GetParam().codes)).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DamagedRunLength,
    ::testing::Values(Damage{"run_past_the_row", {5, 1, 0, 1}},
                      Damage{"block_past_the_row", {0, 5, 1, 2, 3, 1, 2, 0, 0, 1}},
                      Damage{"block_past_the_bytes", {0, 4, 1, 2}},
                      Damage{"move_past_the_right_edge", {0, 2, 5, 0, 0, 1}},
                      Damage{"move_below_the_picture", {0, 2, 0, 2, 0, 1}},
                      Damage{"more_lines_than_the_picture", {0, 0, 0, 0, 0, 0, 0, 1}},
                      Damage{"cut_off_before_the_end", {2, 1, 2, 2, 0, 0, 2, 1}},
                      Damage{"cut_inside_a_move", {0, 2, 1}}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace

TEST(BitmapSize, APictureLargerThanTheGameCouldShowIsRefusedBeforeAnythingIsMade) {
    // The peak is measured where getrusage reports it; the Windows build of
    // this suite checks the refusals alone.
    auto peakKb = [] {
#ifdef _WIN32
        return 0L;
#else
        rusage used{};
        getrusage(RUSAGE_SELF, &used);
        return used.ru_maxrss;
#endif
    };
    const long before = peakKb();
    // Two bytes of codes (the picture ends at once) for 4096 x 4096 and 8192 x 1
    // pixels; plain pixels of 2048 x 2048 that the bytes do not hold.
    EXPECT_FALSE(platform::formats::decodeBitmapResource(resource({0, 1}, 4096, 4096)).has_value());
    EXPECT_FALSE(platform::formats::decodeBitmapResource(resource({0, 1}, 8192, 1)).has_value());
    EXPECT_FALSE(platform::formats::decodeBitmapResource(resource({1, 2, 3, 4}, 2048, 2048, false)).has_value());
    EXPECT_LT(peakKb() - before, 4 * 1024) << "kilobytes put to use";
    EXPECT_TRUE(platform::formats::decodeBitmapResource(resource({0, 1}, 1024, 1024)).has_value());
}
