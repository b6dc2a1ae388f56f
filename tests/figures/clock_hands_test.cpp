// Every hand end point of a 160 x 160 clock (centre (80, 80), hour hand 40,
// minute hand 64), including the ones that truncation puts a pixel short
// of the full length.
#include <gtest/gtest.h>

#include "figures/ClockHands.h"
#include "tests/scene/scene_test_support.h"

namespace {

constexpr platform::Point CENTRE{80, 80};
constexpr int HOUR_LENGTH = 40;
constexpr int MINUTE_LENGTH = 64;

platform::Point hourEnd(int hour, int minute) { return hourHandEnd(hour, minute, CENTRE, HOUR_LENGTH); }
platform::Point minuteEnd(int minute) { return minuteHandEnd(minute, CENTRE, MINUTE_LENGTH); }

TEST(ClockHands, TwelveOClockFallsOnePixelShort) {
    EXPECT_EQ(hourEnd(0, 0), (platform::Point{80, 41}));
    EXPECT_EQ(minuteEnd(0), (platform::Point{80, 17}));
}

TEST(ClockHands, HourHandAtTheQuarters) {
    EXPECT_EQ(hourEnd(3, 0), (platform::Point{120, 80}));
    EXPECT_EQ(hourEnd(6, 0), (platform::Point{80, 119}));
    EXPECT_EQ(hourEnd(9, 0), (platform::Point{40, 80}));
}

TEST(ClockHands, MinuteHandAroundTheDial) {
    EXPECT_EQ(minuteEnd(15), (platform::Point{144, 80}));
    EXPECT_EQ(minuteEnd(30), (platform::Point{80, 143}));
    EXPECT_EQ(minuteEnd(45), (platform::Point{16, 80}));
    EXPECT_EQ(minuteEnd(5), (platform::Point{112, 25}));
    EXPECT_EQ(minuteEnd(55), (platform::Point{48, 25}));
}

TEST(ClockHands, HourHandFollowsTheMinute) {
    EXPECT_EQ(hourEnd(1, 30), (platform::Point{108, 52}));
    EXPECT_EQ(hourEnd(4, 30), (platform::Point{108, 108}));
    EXPECT_EQ(hourEnd(7, 30), (platform::Point{52, 108}));
    EXPECT_EQ(hourEnd(10, 30), (platform::Point{52, 52}));
    EXPECT_EQ(hourEnd(2, 15), (platform::Point{116, 65}));
}

TEST(ClockHands, OneMinuteToTwelve) {
    EXPECT_EQ(hourEnd(11, 59), (platform::Point{80, 41}));
    EXPECT_EQ(minuteEnd(59), (platform::Point{74, 17}));
}

}  // namespace
