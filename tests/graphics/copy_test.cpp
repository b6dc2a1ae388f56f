// Plain and keyed block copies: what is copied, what is left out, and
// clipping to both pictures for any coordinates.
#include <gtest/gtest.h>

#include <climits>

#include "platform/platform.h"
#include "tests/graphics/picture_testing.h"

using namespace platform;
using graphics_testing::count;
using graphics_testing::filled;
using graphics_testing::patterned;

namespace {

constexpr Colour KEY = rgb(246, 140, 197);
constexpr Colour PAPER = rgb(3, 4, 5);

// What a copy must produce, pixel by pixel: every block pixel whose target
// and source both lie in their pictures is copied (unless it is the key).
Picture expectedCopy(const Picture& before, long long dx, long long dy, long long w, long long h,
                     const Picture& source, long long sx, long long sy, const Colour* key) {
    Picture out = before;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const long long i = x - dx, j = y - dy;
            if (i < 0 || j < 0 || i >= w || j >= h) continue;
            const long long u = sx + i, v = sy + j;
            if (u < 0 || v < 0 || u >= source.width() || v >= source.height()) continue;
            const Colour c = source.pixel(static_cast<int>(u), static_cast<int>(v));
            if (key == nullptr || c != *key) out.setPixel(x, y, c);
        }
    return out;
}

void expectSame(const Picture& actual, const Picture& expected, const char* what) {
    ASSERT_EQ(actual.width(), expected.width());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y))
                << what << " at (" << x << ", " << y << ")";
}

// A source with key pixels in a scattered pattern.
Picture keyedSource(int w, int h) {
    Picture s = patterned(w, h, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x * 7 + y * 3) % 5 < 2) s.setPixel(x, y, KEY);
    return s;
}

}  // namespace

TEST(Copy, CopiesTheBlockAndNothingElse) {
    Picture target = filled(10, 10, PAPER);
    const Picture source = patterned(40, 30, 1);
    copy(target, 2, 3, 5, 4, source, 30, 20);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
            const Colour want = inside ? source.pixel(x - 2 + 30, y - 3 + 20) : PAPER;
            ASSERT_EQ(target.pixel(x, y), want) << x << ", " << y;
        }
}

TEST(Copy, ClipsToBothPicturesAtEveryEdge) {
    const Picture source = patterned(7, 9, 1);
    for (int dx = -12; dx <= 12; dx += 3)
        for (int dy = -12; dy <= 12; dy += 4)
            for (int sx = -9; sx <= 9; sx += 3)
                for (int sy = -10; sy <= 10; sy += 5)
                    for (int size : {1, 4, 11, 25}) {
                        Picture target = filled(10, 10, PAPER);
                        const Picture expected =
                            expectedCopy(target, dx, dy, size, size - 1, source, sx, sy, nullptr);
                        copy(target, dx, dy, size, size - 1, source, sx, sy);
                        expectSame(target, expected, "copy");
                    }
}

TEST(Copy, ExtremeCoordinatesTouchNothingOutside) {
    const Picture source = patterned(10, 10, 1);
    const int values[] = {INT_MIN, INT_MIN + 1, -1000000000, -5,     0,
                          5,       1000000000,  INT_MAX - 1, INT_MAX};
    for (int a : values)
        for (int b : values)
            for (int size : {INT_MAX, 20, INT_MIN}) {
                Picture target = filled(10, 10, PAPER);
                const Picture expected =
                    expectedCopy(target, a, b, size, size, source, b, a, nullptr);
                copy(target, a, b, size, size, source, b, a);
                expectSame(target, expected, "extreme copy");
                copyKeyed(target, a, b, size, size, source, b, a, KEY);
                expectSame(target, expected, "extreme keyed copy");
            }
}

TEST(Copy, FromAnEmptyPictureDoesNothing) {
    Picture target = filled(10, 10, PAPER);
    copy(target, 0, 0, 10, 10, Picture(), 0, 0);
    EXPECT_EQ(count(target, PAPER), 100);
}

TEST(Copy, OverlappingBlockWithinOnePictureReadsBeforeWriting) {
    for (auto [dx, dy] : {std::pair{1, 1}, {-1, -1}, {3, 0}, {-3, 0}, {0, 2}, {0, -2}, {2, -1}}) {
        Picture p = patterned(10, 10, 3);
        const Picture expected = expectedCopy(p, 2 + dx, 2 + dy, 6, 6, Picture(p), 2, 2, nullptr);
        copy(p, 2 + dx, 2 + dy, 6, 6, p, 2, 2);
        expectSame(p, expected, "overlapping copy");
    }
}

TEST(CopyKeyed, NeverCopiesTheKeyAndCopiesEveryOtherPixel) {
    const Picture source = keyedSource(40, 30);
    Picture target = filled(40, 30, PAPER);
    copyKeyed(target, 0, 0, 40, 30, source, 0, 0, KEY);
    int kept = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            if (source.pixel(x, y) == KEY) {
                ASSERT_EQ(target.pixel(x, y), PAPER) << x << ", " << y;
                ++kept;
            } else {
                ASSERT_EQ(target.pixel(x, y), source.pixel(x, y)) << x << ", " << y;
            }
        }
    EXPECT_GT(kept, 100);
    EXPECT_EQ(count(target, KEY), 0);
}

TEST(CopyKeyed, ComparesTheKeyExactly) {
    Picture source(6, 1);
    const Colour near[] = {KEY,
                           rgb(247, 140, 197),
                           rgb(245, 140, 197),
                           rgb(246, 141, 197),
                           rgb(246, 139, 197),
                           rgb(246, 140, 196)};
    for (int x = 0; x < 6; ++x) source.setPixel(x, 0, near[x]);
    Picture target = filled(6, 1, PAPER);
    copyKeyed(target, 0, 0, 6, 1, source, 0, 0, KEY);
    EXPECT_EQ(target.pixel(0, 0), PAPER);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(target.pixel(x, 0), near[x]) << x;
}

TEST(CopyKeyed, ClipsToBothPicturesAtEveryEdge) {
    const Picture source = keyedSource(7, 9);
    const Colour key = KEY;
    for (int dx = -12; dx <= 12; dx += 3)
        for (int dy = -12; dy <= 12; dy += 4)
            for (int sx = -9; sx <= 9; sx += 3)
                for (int sy = -10; sy <= 10; sy += 5)
                    for (int size : {1, 4, 11, 25}) {
                        Picture target = filled(10, 10, PAPER);
                        const Picture expected =
                            expectedCopy(target, dx, dy, size - 1, size, source, sx, sy, &key);
                        copyKeyed(target, dx, dy, size - 1, size, source, sx, sy, KEY);
                        expectSame(target, expected, "keyed copy");
                    }
}

TEST(CopyKeyed, OverlappingBlockWithinOnePictureReadsBeforeWriting) {
    const Colour key = KEY;
    for (auto [dx, dy] : {std::pair{1, 1}, {-1, -1}, {3, 0}, {-3, 0}, {0, 2}, {0, -2}}) {
        Picture p = keyedSource(10, 10);
        const Picture expected = expectedCopy(p, 2 + dx, 2 + dy, 6, 6, Picture(p), 2, 2, &key);
        copyKeyed(p, 2 + dx, 2 + dy, 6, 6, p, 2, 2, KEY);
        expectSame(p, expected, "overlapping keyed copy");
    }
}
