// The spinning clock: a step at most every 84 ms (an hour plus the minute
// step, with carry), the order of its notifications over a run, and leaving
// the tickers hidden when the run ends.
#include <gtest/gtest.h>

#include "figures/ClockAnim.h"
#include "tests/figures/figure_test_support.h"

namespace {

constexpr platform::Colour GREY = platform::rgb(128, 128, 128);

class RecordingAnimationListener : public AnimationListener {
public:
    explicit RecordingAnimationListener(std::vector<std::string>* log) : log(log) {}
    void animationStarted(Figure*) override { log->push_back("started"); }
    void animationWrapped(Figure* source) override {
        log->push_back(std::string("wrapped") + (source->visible ? " visible" : " hidden"));
    }
    void animationFrame(Figure*, std::int32_t step) override { log->push_back("frame " + std::to_string(step)); }
    std::vector<std::string>* log;
};

class ClockAnimTest : public figuretest::FigureTest {
protected:
    void SetUp() override { platform::headless::setTickCount(1000); }
    RecordingAnimationListener listener{&log};
};

TEST_F(ClockAnimTest, NewSpinningClockIsHiddenAtTwelve) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 30);
    EXPECT_EQ(anim.hour, 0);
    EXPECT_EQ(anim.minute, 0);
    EXPECT_EQ(anim.minuteStep, 10);
    EXPECT_FALSE(anim.visible);
    EXPECT_STREQ(anim.typeName(), L"ClockAnim");
}

TEST_F(ClockAnimTest, StepsOnlyAfter83Milliseconds) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 30);
    anim.setTime(3, 50);
    anim.start();
    screen.tick(1083);
    EXPECT_EQ(anim.hour, 3);
    EXPECT_EQ(anim.minute, 50);
    screen.tick(1084);
    EXPECT_EQ(anim.hour, 5) << "one hour for the step, one for the carry";
    EXPECT_EQ(anim.minute, 0);
    screen.tick(1167);
    EXPECT_EQ(anim.hour, 5);
    screen.tick(1168);
    EXPECT_EQ(anim.hour, 6);
    EXPECT_EQ(anim.minute, 10);
}

TEST_F(ClockAnimTest, KeepsItsPaceWhileTheTickCounterWraps) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 30);
    anim.setTime(3, 50);
    platform::headless::setTickCount(0xFFFFFFF0u);
    anim.start();
    screen.tick(0xFFFFFFF0u + 40);
    EXPECT_EQ(anim.hour, 3) << "40 ms after the start is too early, even near the wrap";
    screen.tick(0xFFFFFFF0u + 84);  // 0x44 once wrapped
    EXPECT_EQ(anim.hour, 5);

    platform::headless::setTickCount(0xFFFFFF00u);
    anim.start();
    screen.tick(0x10);  // 272 ms later, past the wrap
    EXPECT_EQ(anim.hour, 6) << "the spin goes on after the counter wraps";
}

TEST_F(ClockAnimTest, StartShowsJoinsTheTickersOnceAndKeepsTheTime) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 30);
    anim.setTime(7, 20);
    anim.start();
    anim.start();
    EXPECT_TRUE(anim.visible);
    EXPECT_EQ(screen.tickers.count(), 1);
    EXPECT_EQ(anim.hour, 7);
    EXPECT_EQ(anim.minute, 20);
}

TEST_F(ClockAnimTest, RunOfOneStep) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 1);
    anim.addAnimationListener(&listener);
    anim.start();
    EXPECT_EQ(log, (std::vector<std::string>{"started", "frame 0"}));
    screen.tick(1084);
    EXPECT_EQ(log, (std::vector<std::string>{"started", "frame 0", "wrapped hidden"}));
    EXPECT_FALSE(anim.visible);
    EXPECT_FALSE(screen.tickers.contains(&anim));
    EXPECT_EQ(anim.hour, 1);
    EXPECT_EQ(anim.minute, 10);
}

TEST_F(ClockAnimTest, RunOfThreeStepsReportsEachFrame) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 3);
    anim.addAnimationListener(&listener);
    anim.start();
    for (std::uint32_t now = 1100; now < 1500; now += 100) screen.tick(now);
    EXPECT_EQ(log, (std::vector<std::string>{"started", "frame 0", "frame 1", "frame 2", "wrapped hidden"}));
    EXPECT_EQ(anim.hour, 3) << "after the run the hands stay where it ended";
    EXPECT_EQ(anim.minute, 30);
}

TEST_F(ClockAnimTest, RestartCountsFromZeroAgain) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 2);
    anim.addAnimationListener(&listener);
    anim.start();
    screen.tick(1100);
    platform::headless::setTickCount(1100);
    anim.start();
    screen.tick(1200);
    EXPECT_EQ(log, (std::vector<std::string>{"started", "frame 0", "frame 1", "started", "frame 0", "frame 1"}));
}

TEST_F(ClockAnimTest, ListenersAreKeptOnce) {
    ClockAnim anim(&screen, window, {40, 60, 200, 220}, GREY, GREY, GREY, 1);
    anim.addAnimationListener(&listener);
    anim.addAnimationListener(&listener);
    anim.start();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_TRUE(anim.removeAnimationListener(&listener));
    EXPECT_FALSE(anim.removeAnimationListener(&listener));
}

}  // namespace
