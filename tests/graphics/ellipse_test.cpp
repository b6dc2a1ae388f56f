// Ellipses: the fill inscribed in the box (right and bottom outside it),
// one-pixel outlines on the fill's edge, wide pens as a band centred on
// the edge, and clipping.
#include <gtest/gtest.h>

#include <climits>

#include "platform/platform.h"
#include "tests/graphics/picture_testing.h"

using namespace platform;
using graphics_testing::count;
using graphics_testing::expectClipsLikeWindow;
using graphics_testing::filled;
using graphics_testing::sketch;

namespace {

constexpr Colour PAPER = rgb(3, 4, 5);
constexpr Colour INK = rgb(200, 10, 20);
constexpr Colour FILL = rgb(30, 160, 90);

Pen pen(int width) {
    return Pen{Pen::Style::solid, width, INK};
}
const Pen NO_PEN{Pen::Style::null, 1, INK};

}  // namespace

TEST(Ellipse, FillFitsTheBoxAndTouchesItsEdges) {
    Picture p = filled(12, 12, PAPER);
    ellipse(p, {1, 1, 11, 9}, NO_PEN, FILL);
    // Leftmost and rightmost columns 1 and 10, top and bottom rows 1 and 8:
    // the ellipse reaches the outer edges of the box's outermost pixels.
    EXPECT_EQ(p.pixel(1, 4), FILL);
    EXPECT_EQ(p.pixel(10, 4), FILL);
    EXPECT_EQ(p.pixel(5, 1), FILL);
    EXPECT_EQ(p.pixel(5, 8), FILL);
    EXPECT_EQ(p.pixel(0, 4), PAPER);
    EXPECT_EQ(p.pixel(11, 4), PAPER);
    EXPECT_EQ(p.pixel(5, 0), PAPER);
    EXPECT_EQ(p.pixel(5, 9), PAPER);
    EXPECT_EQ(p.pixel(1, 1), PAPER);  // corners are outside
    EXPECT_EQ(p.pixel(10, 8), PAPER);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(p.pixel(x, y), p.pixel(11 - x, y))
                << x << ", " << y;  // symmetric about x = 5.5
            if (y <= 9) {
                ASSERT_EQ(p.pixel(x, y), p.pixel(x, 9 - y)) << x << ", " << y;  // about y = 4.5
            }
        }
}

TEST(Ellipse, ThinOutlineLiesOnTheFillsEdge) {
    Picture p = filled(12, 12, PAPER);
    ellipse(p, {0, 0, 12, 12}, pen(1), FILL);
    Picture fillOnly = filled(12, 12, PAPER);
    ellipse(fillOnly, {0, 0, 12, 12}, NO_PEN, FILL);
    // The outline is exactly the filled pixels with a four-neighbour outside.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const auto in = [&](int u, int v) {
                return u >= 0 && v >= 0 && u < 12 && v < 12 && fillOnly.pixel(u, v) == FILL;
            };
            const bool edge =
                in(x, y) && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1));
            const Colour want = edge ? INK : in(x, y) ? FILL : PAPER;
            ASSERT_EQ(p.pixel(x, y), want) << x << ", " << y << "\n" << sketch(p, INK);
        }
    EXPECT_EQ(p.pixel(0, 6), INK);
    EXPECT_EQ(p.pixel(11, 5), INK);
    EXPECT_EQ(p.pixel(6, 6), FILL);
}

TEST(Ellipse, ClockCentreDiscIsRound) {
    // The box (76, 76)-(84, 84) holds a circle of radius 4 about (79.5, 79.5);
    // the width-7 pen centred on it covers every pixel within 7.5 of that
    // centre (and leaves no hole, as no pixel centre is within 0.5): a solid disc.
    Picture p = filled(160, 160, PAPER);
    ellipse(p, {76, 76, 84, 84}, pen(7), WHITE);
    int inside = 0;
    for (int y = 60; y < 100; ++y)
        for (int x = 60; x < 100; ++x) {
            const int u = 2 * x - 159, v = 2 * y - 159;
            const bool disc = u * u + v * v <= 15 * 15;
            ASSERT_EQ(p.pixel(x, y), disc ? INK : PAPER) << x << ", " << y;
            inside += disc;
        }
    EXPECT_EQ(count(p, WHITE), 0);
    EXPECT_EQ(count(p, INK), inside);
    // It spans columns and rows 73..86 and is symmetric in both axes and the diagonal.
    EXPECT_EQ(p.pixel(73, 79), INK);
    EXPECT_EQ(p.pixel(72, 79), PAPER);
    EXPECT_EQ(p.pixel(86, 80), INK);
    EXPECT_EQ(p.pixel(87, 80), PAPER);
    for (int y = 70; y < 90; ++y)
        for (int x = 70; x < 90; ++x) {
            ASSERT_EQ(p.pixel(x, y), p.pixel(159 - x, y));
            ASSERT_EQ(p.pixel(x, y), p.pixel(y, x));
        }
}

TEST(Ellipse, WidePenIsABandAroundTheEdge) {
    Picture p = filled(40, 30, PAPER);
    ellipse(p, {5, 5, 35, 25}, pen(3), FILL);
    // Doubled coordinates: centre (39, 29), radii 30 and 20, band +-3.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const long long u = 2 * x - 39, v = 2 * y - 29;
            const auto within = [&](long long a, long long b) {
                return u * u * b * b + v * v * a * a <= a * a * b * b;
            };
            const auto strictlyWithin = [&](long long a, long long b) {
                return u * u * b * b + v * v * a * a < a * a * b * b;
            };
            const bool band = within(33, 23) && !strictlyWithin(27, 17);
            const bool fill = within(30, 20);
            ASSERT_EQ(p.pixel(x, y), band ? INK : fill ? FILL : PAPER) << x << ", " << y;
        }
    EXPECT_EQ(p.pixel(20, 15), FILL);
    EXPECT_EQ(p.pixel(3, 15), PAPER);
    EXPECT_EQ(p.pixel(4, 14), INK);  // the band reaches one pixel outside the box
}

TEST(Ellipse, NoFillLeavesTheInsideAlone) {
    Picture p = filled(12, 12, PAPER);
    ellipse(p, {0, 0, 12, 12}, pen(1), std::nullopt);
    EXPECT_EQ(p.pixel(6, 6), PAPER);
    EXPECT_EQ(p.pixel(0, 6), INK);
    Picture q = filled(12, 12, PAPER);
    ellipse(q, {0, 0, 12, 12}, NO_PEN, std::nullopt);
    EXPECT_EQ(count(q, PAPER), 144);
}

TEST(Ellipse, EmptyBoxDrawsNothingAndInvertedBoxIsNormalised) {
    Picture p = filled(10, 10, PAPER);
    ellipse(p, {3, 3, 3, 8}, pen(7), FILL);
    ellipse(p, {3, 3, 8, 3}, pen(1), FILL);
    EXPECT_EQ(count(p, PAPER), 100);
    Picture a = filled(10, 10, PAPER), b = filled(10, 10, PAPER);
    ellipse(a, {1, 2, 9, 7}, pen(1), FILL);
    ellipse(b, {9, 7, 1, 2}, pen(1), FILL);
    EXPECT_EQ(sketch(a, INK), sketch(b, INK));
    EXPECT_EQ(sketch(a, FILL), sketch(b, FILL));
}

TEST(Ellipse, OnePixelBoxesAreDotsAndLines) {
    Picture p = filled(10, 10, PAPER);
    ellipse(p, {4, 4, 5, 5}, NO_PEN, FILL);
    EXPECT_EQ(count(p, FILL), 1);
    EXPECT_EQ(p.pixel(4, 4), FILL);
    ellipse(p, {2, 1, 3, 9}, pen(1), std::nullopt);
    EXPECT_EQ(count(p, INK), 8);
}

TEST(Ellipse, ClipsLikeAnUnclippedEllipse) {
    for (int width : {1, 2, 7})
        for (int a = -12; a <= 12; a += 3)
            for (int b = -11; b <= 12; b += 4)
                for (auto [w, h] : {std::pair{8, 8}, {15, 6}, {5, 17}, {30, 30}}) {
                    expectClipsLikeWindow(
                        10, 10, 40,
                        [&](Picture& p, int o) {
                            ellipse(p, {a + o, b + o, a + o + w, b + o + h}, pen(width), FILL);
                        },
                        "ellipse");
                }
}

TEST(Ellipse, HugeBoxesAreSafe) {
    Picture p = filled(10, 10, PAPER);
    ellipse(p, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, pen(7), FILL);
    EXPECT_EQ(count(p, FILL), 100);  // the picture sits near the middle
    Picture q = filled(10, 10, PAPER);
    ellipse(q, {INT_MIN, INT_MIN, 5, 5}, pen(INT_MAX), FILL);
    ellipse(q, {-20, INT_MIN, 30, INT_MAX}, pen(1), std::nullopt);
    ellipse(q, {INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX}, pen(7), FILL);
    ellipse(q, {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10}, pen(7), FILL);
    SUCCEED();
}
