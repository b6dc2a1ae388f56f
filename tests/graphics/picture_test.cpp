// Pictures: their size and their first colour, and that every primitive
// leaves an empty picture alone.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/graphics/picture_testing.h"

using namespace platform;

TEST(Picture, NewPictureIsBlack) {
    Picture p(10, 7);
    EXPECT_EQ(p.width(), 10);
    EXPECT_EQ(p.height(), 7);
    EXPECT_FALSE(p.empty());
    EXPECT_EQ(graphics_testing::count(p, BLACK), 70);
}

TEST(Picture, ZeroOrNegativeSizeIsEmpty) {
    for (auto [w, h] : {std::pair{0, 0}, {-1, 5}, {5, -1}, {0, 5}, {5, 0}, {-10, -10}}) {
        Picture p(w, h);
        EXPECT_TRUE(p.empty()) << w << " x " << h;
        EXPECT_EQ(p.width(), 0);
        EXPECT_EQ(p.height(), 0);
    }
}

TEST(Picture, DefaultPictureIsEmpty) {
    EXPECT_TRUE(Picture().empty());
}

TEST(Picture, DrawingIntoAnEmptyPictureDoesNothing) {
    Picture empty(-3, 4);
    const Picture source = graphics_testing::patterned(4, 4, 1);
    copy(empty, 0, 0, 4, 4, source, 0, 0);
    copyKeyed(empty, 0, 0, 4, 4, source, 0, 0, BLACK);
    fillRect(empty, {0, 0, 4, 4}, WHITE);
    const Point line[] = {{0, 0}, {3, 3}};
    polyline(empty, line, Pen{Pen::Style::solid, 7, WHITE});
    ellipse(empty, {0, 0, 4, 4}, Pen{}, WHITE);
    EXPECT_TRUE(empty.empty());
}
