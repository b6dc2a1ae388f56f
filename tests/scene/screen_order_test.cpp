// Stacking order: a newcomer goes below figures of equal z, setZ re-sorts
// even to the same z, and removal and destruction of figures.
#include <gtest/gtest.h>

#include "tests/scene/scene_test_support.h"

namespace {

using scenetest::TestFigure;
using scenetest::TestScreen;

class ScreenOrderTest : public ::testing::Test {
protected:
    TestScreen screen{scenetest::openWindow()};
    TestFigure first{&screen, {0, 0, 10, 10}, platform::BLACK};
    TestFigure second{&screen, {0, 0, 10, 10}, platform::BLACK};
    TestFigure third{&screen, {0, 0, 10, 10}, platform::BLACK};
};

TEST_F(ScreenOrderTest, EqualZNewcomerGoesBelow) {
    second.setZ(5);
    screen.addFigure(&first);
    screen.addFigure(&second);
    screen.addFigure(&third);
    EXPECT_EQ(screen.order(), (std::vector<Figure*>{&second, &third, &first}));
}

TEST_F(ScreenOrderTest, HigherZGoesOnTop) {
    third.setZ(20);
    screen.addFigure(&third);
    screen.addFigure(&first);
    EXPECT_EQ(screen.order(), (std::vector<Figure*>{&first, &third}));
}

TEST_F(ScreenOrderTest, SetZToTheSameValueMovesBelowEquals) {
    screen.addFigure(&first);
    screen.addFigure(&second);  // below first
    first.setZ(10);
    EXPECT_EQ(screen.order(), (std::vector<Figure*>{&first, &second}));
}

TEST_F(ScreenOrderTest, SetZReportsTheBoundsAndResorts) {
    screen.addFigure(&first);
    screen.addFigure(&second);
    second.setX(100);
    screen.forgetDirty();
    second.setZ(30);
    EXPECT_EQ(screen.order(), (std::vector<Figure*>{&first, &second}));
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{100, 0, 110, 10}));
}

TEST_F(ScreenOrderTest, SetZOfAFigureOutsideTheScreenLeavesItOut) {
    screen.addFigure(&first);
    second.setZ(3);
    EXPECT_EQ(screen.order(), (std::vector<Figure*>{&first}));
}

TEST_F(ScreenOrderTest, RemoveFigureReportsAVisibleFigure) {
    screen.addFigure(&first);
    first.setX(20);
    screen.forgetDirty();
    screen.removeFigure(&first, false);
    EXPECT_TRUE(screen.order().empty());
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{20, 0, 30, 10}));
}

TEST_F(ScreenOrderTest, RemoveFigureOfAHiddenFigureReportsNothing) {
    screen.addFigure(&first);
    first.setVisible(false);
    screen.forgetDirty();
    screen.removeFigure(&first, false);
    EXPECT_EQ(screen.dirtyArea().left, -1);
}

TEST_F(ScreenOrderTest, RemoveFigureDestroysEvenWhenAbsent) {
    bool destroyed = false;
    auto* loose = new TestFigure(&screen, {0, 0, 5, 5}, platform::BLACK);
    loose->destroyed = &destroyed;
    screen.removeFigure(loose, true);
    EXPECT_TRUE(destroyed);
    screen.removeFigure(nullptr, true);  // nothing happens
}

TEST_F(ScreenOrderTest, DestroyAllFiguresDestroysEachAndEmptiesTheList) {
    bool destroyed[2] = {false, false};
    for (bool& flag : destroyed) {
        auto* figure = new TestFigure(&screen, {0, 0, 5, 5}, platform::BLACK);
        figure->destroyed = &flag;
        screen.addFigure(figure);
    }
    screen.destroyAllFigures();
    EXPECT_TRUE(destroyed[0]);
    EXPECT_TRUE(destroyed[1]);
    EXPECT_TRUE(screen.order().empty());
}

}  // namespace
