// The clock's time: setTime ignoring an out-of-range component, stepping
// with carry for any minute step, and the drawn picture (key colour around
// the hands, highlight colours for wrong hands).
#include <gtest/gtest.h>

#include "figures/Clock.h"
#include "tests/figures/figure_test_support.h"

namespace {

constexpr platform::Colour HOUR = platform::rgb(0, 0, 128);
constexpr platform::Colour MINUTE = platform::rgb(0, 128, 0);
constexpr platform::Colour CENTRE = platform::rgb(40, 40, 40);

class ClockTest : public figuretest::FigureTest {
protected:
    Clock clock{&screen, window, {40, 60, 200, 220}, HOUR, MINUTE, CENTRE};
};

TEST_F(ClockTest, NewClockShowsOneOClockVisibleInItsRectangle) {
    EXPECT_EQ(clock.hour, 1);
    EXPECT_EQ(clock.minute, 0);
    EXPECT_EQ(clock.minuteStep, 5);
    EXPECT_TRUE(clock.visible);
    EXPECT_FALSE(clock.enabled);
    EXPECT_EQ(clock.bounds(), (platform::Rect{40, 60, 200, 220}));
    EXPECT_STREQ(clock.typeName(), L"Clock");
}

TEST_F(ClockTest, SetTimeAppliesOnlyTheComponentsInRange) {
    clock.setTime(4, 10);
    clock.setTime(12, 30);
    EXPECT_EQ(clock.hour, 4);
    EXPECT_EQ(clock.minute, 30);
    clock.setTime(5, 60);
    EXPECT_EQ(clock.hour, 5);
    EXPECT_EQ(clock.minute, 30);
    screen.forgetDirty();
    clock.setTime(-1, -1);
    EXPECT_EQ(clock.hour, 5);
    EXPECT_EQ(clock.minute, 30);
    EXPECT_EQ(screen.dirtyArea(), (platform::Rect{40, 60, 200, 220})) << "still marked dirty";
}

TEST_F(ClockTest, HoursWrapBothWays) {
    clock.setTime(11, 0);
    clock.nextHour();
    EXPECT_EQ(clock.hour, 0);
    clock.previousHour();
    EXPECT_EQ(clock.hour, 11);
}

TEST_F(ClockTest, QuarterStepForwardCarriesIntoTwelve) {
    clock.minuteStep = 15;
    clock.setTime(11, 45);
    clock.stepMinuteForward();
    EXPECT_EQ(clock.hour, 0);
    EXPECT_EQ(clock.minute, 0);
}

TEST_F(ClockTest, FiveStepBackBorrowsFromTwelve) {
    clock.setTime(0, 0);
    clock.stepMinuteBack();
    EXPECT_EQ(clock.hour, 11);
    EXPECT_EQ(clock.minute, 55);
}

TEST_F(ClockTest, ZeroStepChangesNothing) {
    clock.minuteStep = 0;
    clock.setTime(7, 20);
    clock.stepMinuteForward();
    clock.stepMinuteBack();
    EXPECT_EQ(clock.hour, 7);
    EXPECT_EQ(clock.minute, 20);
}

TEST_F(ClockTest, HourLongStepKeepsTheMinuteAndMovesTheHour) {
    clock.minuteStep = 60;
    clock.setTime(3, 59);
    clock.stepMinuteForward();
    EXPECT_EQ(clock.hour, 4);
    EXPECT_EQ(clock.minute, 59);
    clock.setTime(0, 0);
    clock.stepMinuteBack();
    EXPECT_EQ(clock.hour, 11);
    EXPECT_EQ(clock.minute, 0);
}

// At 3:00 the hour hand runs right along y 80 and the minute hand up along x 80.
TEST_F(ClockTest, HandsInTheirColoursOnTheKeyColour) {
    clock.setTime(3, 0);
    platform::Picture* picture = clock.imageDC();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width(), 160);
    EXPECT_EQ(picture->pixel(0, 0), KEY_COLOUR);
    EXPECT_EQ(picture->pixel(159, 159), KEY_COLOUR);
    EXPECT_EQ(picture->pixel(105, 80), HOUR);
    EXPECT_EQ(picture->pixel(80, 40), MINUTE);
    EXPECT_EQ(picture->pixel(80, 86), CENTRE) << "the disc's outline";
}

TEST_F(ClockTest, HighlightedHourHandOnlyTurnsRed) {
    clock.setTime(3, 0);
    clock.hourHighlighted = true;
    platform::Picture* picture = clock.imageDC();
    EXPECT_EQ(picture->pixel(105, 80), platform::rgb(129, 3, 0));
    EXPECT_EQ(picture->pixel(80, 40), MINUTE);
    clock.minuteHighlighted = true;
    picture = clock.imageDC();
    EXPECT_EQ(picture->pixel(80, 40), platform::rgb(255, 64, 35));
}

TEST_F(ClockTest, PictureFollowsTheTimeWhenComposed) {
    clock.setTime(3, 0);
    clock.imageDC();
    clock.setTime(9, 0);
    platform::Picture* picture = clock.imageDC();
    EXPECT_EQ(picture->pixel(105, 80), KEY_COLOUR) << "the old hand is erased";
    EXPECT_EQ(picture->pixel(55, 80), HOUR);
}

}  // namespace
