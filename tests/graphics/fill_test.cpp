// Filled rectangles: the whole area with its right and bottom edges left
// out, clipped to the picture for any coordinates.
#include <gtest/gtest.h>

#include <climits>

#include "platform/platform.h"
#include "tests/graphics/picture_testing.h"

using namespace platform;
using graphics_testing::count;
using graphics_testing::filled;

namespace {
constexpr Colour PAPER = rgb(3, 4, 5);
constexpr Colour INK = rgb(200, 10, 20);
}  // namespace

TEST(FillRect, CoversTheAreaWithoutItsRightAndBottomEdges) {
    Picture p = filled(10, 10, PAPER);
    fillRect(p, {2, 3, 6, 8}, INK);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(p.pixel(x, y), (x >= 2 && x < 6 && y >= 3 && y < 8) ? INK : PAPER)
                << x << ", " << y;
}

TEST(FillRect, ClipsAtEveryEdge) {
    for (int left = -4; left <= 12; ++left)
        for (int top = -4; top <= 12; top += 2)
            for (int size : {0, 1, 3, 15}) {
                Picture p = filled(10, 10, PAPER);
                fillRect(p, {left, top, left + size, top + size + 1}, INK);
                for (int y = 0; y < 10; ++y)
                    for (int x = 0; x < 10; ++x) {
                        const bool in =
                            x >= left && x < left + size && y >= top && y < top + size + 1;
                        ASSERT_EQ(p.pixel(x, y), in ? INK : PAPER)
                            << left << " " << top << " " << size;
                    }
            }
}

TEST(FillRect, ExtremeCoordinates) {
    Picture p = filled(10, 10, PAPER);
    fillRect(p, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INK);
    EXPECT_EQ(count(p, INK), 100);

    Picture q = filled(10, 10, PAPER);
    fillRect(q, {INT_MAX, INT_MAX, INT_MIN, INT_MIN}, INK);
    fillRect(q, {INT_MIN, 0, -1, 10}, INK);
    fillRect(q, {10, 0, INT_MAX, 10}, INK);
    fillRect(q, {0, INT_MIN, 10, 0}, INK);
    fillRect(q, {0, 10, 10, INT_MAX}, INK);
    EXPECT_EQ(count(q, PAPER), 100);
}

TEST(FillRect, InvertedOrEmptyAreaDrawsNothing) {
    Picture p = filled(10, 10, PAPER);
    fillRect(p, {6, 2, 2, 6}, INK);
    fillRect(p, {2, 6, 6, 2}, INK);
    fillRect(p, {4, 4, 4, 8}, INK);
    EXPECT_EQ(count(p, PAPER), 100);
}
