// Polylines: one-pixel Bresenham segments without their last point, and
// wide pens as capsules (every pixel within width / 2 of the segment).
#include <gtest/gtest.h>

#include <climits>
#include <vector>

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

Pen pen(int width) {
    return Pen{Pen::Style::solid, width, INK};
}

Picture drawn(int w, int h, std::vector<Point> points, int width) {
    Picture p = filled(w, h, PAPER);
    polyline(p, points, pen(width));
    return p;
}

// The set of pixels of colour INK, as a sketch built from a predicate.
std::string sketchOf(int w, int h, auto covered) {
    Picture p = filled(w, h, PAPER);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (covered(x, y)) p.setPixel(x, y, INK);
    return sketch(p, INK);
}

}  // namespace

TEST(ThinLine, HorizontalLineLeavesOutItsLastPoint) {
    const Picture p = drawn(10, 10, {{1, 4}, {6, 4}}, 1);
    EXPECT_EQ(sketch(p, INK),
              sketchOf(10, 10, [](int x, int y) { return y == 4 && x >= 1 && x < 6; }));
}

TEST(ThinLine, FollowsBresenhamRounding) {
    // Offsets along the minor axis: floor((2 i dy + dx) / (2 dx)) for dx 5, dy 2.
    const Picture p = drawn(10, 10, {{0, 0}, {5, 2}}, 1);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int x, int y) {
                  return (y == 0 && (x == 0 || x == 1)) || (y == 1 && (x == 2 || x == 3)) ||
                         (y == 2 && x == 4);
              }));
    const Picture q = drawn(10, 10, {{9, 9}, {7, 2}}, 1);  // steep, towards the top left
    EXPECT_EQ(sketch(q, INK), sketchOf(10, 10, [](int x, int y) {
                  return (x == 9 && y >= 8) || (x == 8 && y >= 4 && y <= 7) || (x == 7 && y == 3);
              }));
}

TEST(ThinLine, WidthZeroIsOnePixelWide) {
    EXPECT_EQ(sketch(drawn(10, 10, {{0, 0}, {9, 9}}, 0), INK),
              sketch(drawn(10, 10, {{0, 0}, {9, 9}}, 1), INK));
    EXPECT_EQ(count(drawn(10, 10, {{0, 0}, {9, 9}}, 0), INK), 9);
}

TEST(ThinLine, PolylineJoinsSegmentsAndLeavesOutOnlyTheLastPoint) {
    const Picture p = drawn(10, 10, {{1, 1}, {5, 1}, {5, 5}}, 1);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int x, int y) {
                  return (y == 1 && x >= 1 && x <= 5) || (x == 5 && y >= 1 && y <= 4);
              }));
}

TEST(Polyline, NullPenOrSinglePointDrawsNothing) {
    Picture p = filled(10, 10, PAPER);
    const Point line[] = {{0, 0}, {9, 9}};
    polyline(p, line, Pen{Pen::Style::null, 7, INK});
    polyline(p, std::span<const Point>(line, 1), pen(7));
    polyline(p, std::span<const Point>(line, 1), pen(1));
    polyline(p, {}, pen(1));
    EXPECT_EQ(count(p, PAPER), 100);
}

TEST(ThinLine, ClipsLikeAnUnclippedLine) {
    for (int a = -6; a <= 15; a += 3)
        for (int b = -7; b <= 16; b += 2)
            for (auto [c, d] :
                 {std::pair{-5, 4}, {4, -5}, {14, 3}, {3, 14}, {-8, -8}, {17, 16}, {5, 5}}) {
                expectClipsLikeWindow(
                    10, 10, 20,
                    [&](Picture& p, int o) {
                        const Point pts[] = {{a + o, b + o}, {c + o, d + o}, {b + o, a + o}};
                        polyline(p, pts, pen(1));
                    },
                    "thin line");
            }
}

TEST(ThinLine, HugeEndPoints) {
    Picture p = drawn(10, 10, {{INT_MIN, 5}, {INT_MAX, 5}}, 1);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int, int y) { return y == 5; }));
    p = drawn(10, 10, {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}, 1);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int x, int y) { return x == y; }));
    p = drawn(10, 10, {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}}, 1);  // x + y = -1 throughout
    EXPECT_EQ(count(p, INK), 0);
    constexpr int k = 1 << 30;
    p = drawn(10, 10, {{9 + k, -k}, {9 - k, k}}, 1);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int x, int y) { return x + y == 9; }));
    p = drawn(10, 10, {{INT_MIN, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}}, 1);
    EXPECT_EQ(count(p, INK), 0);
}

TEST(WideLine, Width7HasRoundEndsAndIsSevenPixelsThick) {
    // Horizontal from (10, 15) to (30, 15): rows 12..18, the caps are the
    // discs of radius 3.5 about the end points.
    const Picture p = drawn(40, 30, {{10, 15}, {30, 15}}, 7);
    const std::string expected = sketchOf(40, 30, [](int x, int y) {
        const int e = y - 15;
        const int cap = x < 10 ? 10 - x : x > 30 ? x - 30 : 0;
        return 4 * (cap * cap + e * e) <= 49;
    });
    EXPECT_EQ(sketch(p, INK), expected);
    for (int x = 10; x <= 30; ++x) {
        int thickness = 0;
        for (int y = 0; y < 30; ++y) thickness += p.pixel(x, y) == INK;
        EXPECT_EQ(thickness, 7) << x;
    }
    // The ends reach 3 pixels beyond each end point on the axis, 1 at the corners.
    EXPECT_EQ(p.pixel(7, 15), INK);
    EXPECT_EQ(p.pixel(6, 15), PAPER);
    EXPECT_EQ(p.pixel(33, 15), INK);
    EXPECT_EQ(p.pixel(34, 15), PAPER);
    EXPECT_EQ(p.pixel(9, 12), INK);
    EXPECT_EQ(p.pixel(8, 12), PAPER);
    EXPECT_EQ(p.pixel(31, 18), INK);
    EXPECT_EQ(p.pixel(32, 18), PAPER);
    EXPECT_EQ(p.pixel(20, 11), PAPER);
    EXPECT_EQ(p.pixel(20, 19), PAPER);
}

TEST(WideLine, DiagonalCoverageIsTheDistanceRule) {
    const Picture p = drawn(40, 30, {{8, 5}, {31, 22}}, 7);
    const std::string expected = sketchOf(40, 30, [](int x, int y) {
        // Distance from (x, y) to the segment, squared, compared with 3.5^2.
        const double dx = 23, dy = 17, len2 = dx * dx + dy * dy;
        double t = ((x - 8) * dx + (y - 5) * dy) / len2;
        t = t < 0 ? 0 : t > 1 ? 1 : t;
        const double ex = x - (8 + t * dx), ey = y - (5 + t * dy);
        return ex * ex + ey * ey <= 12.25;
    });
    EXPECT_EQ(sketch(p, INK), expected);
}

TEST(WideLine, SameCoverageInEitherDirectionAndMirrored) {
    for (int width : {2, 3, 4, 7, 8}) {
        const Picture forward = drawn(40, 30, {{7, 6}, {29, 20}}, width);
        const Picture backward = drawn(40, 30, {{29, 20}, {7, 6}}, width);
        EXPECT_EQ(sketch(forward, INK), sketch(backward, INK)) << width;
        const Picture mirrored = drawn(40, 30, {{32, 6}, {10, 20}}, width);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(forward.pixel(x, y), mirrored.pixel(39 - x, y))
                    << width << ": " << x << ", " << y;
    }
}

TEST(WideLine, JoinsAreRound) {
    const Picture p = drawn(40, 30, {{5, 20}, {20, 20}, {20, 5}}, 7);
    // Around the corner (20, 20) the pen reaches 3.5 in every direction.
    for (int y = 15; y <= 25; ++y)
        for (int x = 15; x <= 25; ++x) {
            const int ex = x - 20, ey = y - 20;
            if (4 * (ex * ex + ey * ey) <= 49) {
                ASSERT_EQ(p.pixel(x, y), INK) << x << ", " << y;
            }
        }
    EXPECT_EQ(p.pixel(23, 23), PAPER);  // distance 4.24
    EXPECT_EQ(p.pixel(22, 22), INK);    // distance 2.83
}

TEST(WideLine, ZeroLengthDrawsADisc) {
    const Picture p = drawn(10, 10, {{5, 5}, {5, 5}}, 7);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int x, int y) {
                  return 4 * ((x - 5) * (x - 5) + (y - 5) * (y - 5)) <= 49;
              }));
}

TEST(WideLine, ClipsLikeAnUnclippedLine) {
    for (int width : {2, 7})
        for (int a = -9; a <= 18; a += 3)
            for (int b = -8; b <= 17; b += 5)
                for (auto [c, d] :
                     {std::pair{-5, 4}, {4, -5}, {14, 3}, {3, 14}, {-8, -8}, {17, 16}}) {
                    expectClipsLikeWindow(
                        10, 10, 20,
                        [&](Picture& p, int o) {
                            const Point pts[] = {{a + o, b + o}, {c + o, d + o}};
                            polyline(p, pts, pen(width));
                        },
                        "wide line");
                }
}

TEST(WideLine, HugeEndPointsAndPens) {
    Picture p = drawn(10, 10, {{INT_MIN, 5}, {INT_MAX, 5}}, 7);
    EXPECT_EQ(sketch(p, INK), sketchOf(10, 10, [](int, int y) { return y >= 2 && y <= 8; }));
    p = drawn(10, 10, {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}}, 3);
    EXPECT_EQ(p.pixel(0, 0), INK);
    EXPECT_EQ(p.pixel(9, 9), INK);
    EXPECT_EQ(p.pixel(9, 0), PAPER);
    p = drawn(10, 10, {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MIN, INT_MIN}}, 7);
    EXPECT_GT(count(p, INK), 0);
    p = drawn(10, 10, {{5, 5}, {6, 6}}, INT_MAX);
    EXPECT_EQ(count(p, INK), 100);
    p = drawn(10, 10, {{-100, -100}, {-100, 200}}, 7);
    EXPECT_EQ(count(p, INK), 0);
}
