// A figure's defaults, its dirty reports (old and new bounds), the hide rule
// that also disables, erasing to the key colour, and listener notification
// while listeners come and go.
#include <gtest/gtest.h>

#include <memory>

#include "tests/scene/scene_test_support.h"

namespace {

using scenetest::RecordingListener;
using scenetest::TestFigure;
using scenetest::TestScreen;

class FigureTest : public ::testing::Test {
protected:
    platform::Window* window = scenetest::openWindow();
    TestScreen screen{window};
    std::vector<std::string> log;
};

// A figure with the base's behaviour only.
class PlainFigure : public Figure {
public:
    using Figure::Figure;
    platform::Picture* imageDC() override { return nullptr; }
};

TEST_F(FigureTest, NewFigureIsHiddenDisabledAtOriginAndReportsAnEmptyRectangle) {
    PlainFigure figure(&screen, window);
    EXPECT_EQ(figure.getZ(), 10);
    EXPECT_EQ(figure.bounds(), (platform::Rect{0, 0, 0, 0}));
    EXPECT_FALSE(figure.visible);
    EXPECT_FALSE(figure.enabled);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{0, 0, 0, 0}));
    EXPECT_TRUE(screen.order().empty()) << "the owner inserts the figure, not the constructor";
    EXPECT_STREQ(figure.typeName(), L"Figure");
}

TEST_F(FigureTest, HidingDisablesAndReportsOnlyOnChange) {
    TestFigure figure(&screen, {10, 20, 40, 50}, platform::BLACK);
    screen.forgetDirty();
    figure.setVisible(false);
    EXPECT_FALSE(figure.enabled);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{10, 20, 40, 50}));
    screen.forgetDirty();
    figure.setVisible(false);
    EXPECT_EQ(screen.dirtyArea().left, -1) << "a second hide reports nothing";
}

TEST_F(FigureTest, ShowingDoesNotEnableAgain) {
    TestFigure figure(&screen, {0, 0, 10, 10}, platform::BLACK);
    figure.setVisible(false);
    figure.setVisible(true);
    EXPECT_TRUE(figure.visible);
    EXPECT_FALSE(figure.enabled);
}

TEST_F(FigureTest, MovingReportsOldAndNewBounds) {
    TestFigure figure(&screen, {10, 5, 30, 15}, platform::BLACK);
    screen.forgetDirty();
    figure.setX(50);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{10, 5, 70, 15}));
    screen.forgetDirty();
    figure.setY(100);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{50, 5, 70, 110}));
}

TEST_F(FigureTest, ResizingReportsOldAndNewBounds) {
    TestFigure figure(&screen, {10, 10, 40, 40}, platform::BLACK);
    screen.forgetDirty();
    figure.setWidth(5);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{10, 10, 40, 40})) << "the old, wider bounds are reported";
    screen.forgetDirty();
    figure.setHeight(50);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{10, 10, 15, 60}));
}

TEST_F(FigureTest, BoundsRightIsXPlusWidth) {
    TestFigure figure(&screen, {100, 10, 130, 40}, platform::BLACK);
    EXPECT_EQ(figure.bounds().right, 130);
}

TEST_F(FigureTest, EraseToKeyFillsOnlyTheFigureSizedCorner) {
    TestFigure figure(&screen, {0, 0, 10, 6}, platform::BLACK);
    platform::Picture picture(20, 20);
    figure.eraseToKey(picture);
    EXPECT_EQ(picture.pixel(0, 0), KEY_COLOUR);
    EXPECT_EQ(picture.pixel(9, 5), KEY_COLOUR);
    EXPECT_EQ(picture.pixel(10, 5), platform::BLACK);
    EXPECT_EQ(picture.pixel(9, 6), platform::BLACK);
}

TEST_F(FigureTest, ListenersHearPressAndReleaseInOrderWithThePoint) {
    TestFigure figure(&screen, {0, 0, 10, 10}, platform::BLACK);
    figure.tag = 7;
    RecordingListener a("A", &log), b("B", &log);
    figure.addListener(&a);
    figure.addListener(&b);
    figure.onPress(3, 4);
    figure.onRelease(5, 6);
    EXPECT_EQ(log, (std::vector<std::string>{"press A 7 3 4", "press B 7 3 4", "release A 7 5 6",
                                             "release B 7 5 6"}));
}

TEST_F(FigureTest, ListenerAddedTwiceIsCalledOnce) {
    TestFigure figure(&screen, {0, 0, 10, 10}, platform::BLACK);
    RecordingListener a("A", &log);
    figure.addListener(&a);
    figure.addListener(&a);
    figure.onPress(1, 1);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_TRUE(figure.removeListener(&a));
    EXPECT_FALSE(figure.removeListener(&a));
}

TEST_F(FigureTest, ListenerRemovedDuringThePassIsNotCalled) {
    TestFigure figure(&screen, {0, 0, 10, 10}, platform::BLACK);
    RecordingListener a("A", &log), b("B", &log);
    a.onPress = [&] { figure.removeListener(&b); };
    figure.addListener(&a);
    figure.addListener(&b);
    figure.onPress(1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"press A 0 1 1"}));
}

TEST_F(FigureTest, ListenerAddedDuringThePassWaitsForTheNext) {
    TestFigure figure(&screen, {0, 0, 10, 10}, platform::BLACK);
    RecordingListener a("A", &log), b("B", &log);
    a.onPress = [&] { figure.addListener(&b); };
    figure.addListener(&a);
    figure.onPress(1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"press A 0 1 1"}));
    figure.onPress(2, 2);
    EXPECT_EQ(log.back(), "press B 0 2 2");
}

}  // namespace
