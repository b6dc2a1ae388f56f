// The game screen on its own: the minute controls per level, stepping the
// hands with the arrows, judging with red hands and shrinking points, the
// spin and the next question, level and score changes made elsewhere, and
// the exit icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/ClockHands.h"
#include "figures/Text.h"
#include "screens/GameScreen.h"
#include "tests/screens/controls.h"
#include "tests/screens/screen_fixture.h"

using gametest::RecordingScreenListener;
using gametest::sounds;

namespace {

using namespace controls;

constexpr platform::Point DIAL_CENTRE{120, 110};
constexpr platform::Rect MINUTE_BUTTONS{190, 180, 230, 225};

constexpr platform::Colour HOUR_COLOUR = platform::rgb(131, 132, 1);
constexpr platform::Colour MINUTE_COLOUR = platform::rgb(56, 57, 1);
constexpr platform::Colour WRONG_HOUR = platform::rgb(129, 3, 0);
constexpr platform::Colour WRONG_MINUTE = platform::rgb(255, 64, 35);

// A point well inside the hour hand, clear of the centre disc.
platform::Point onHourHand(const Clock& clock) {
    return gametest::along(DIAL_CENTRE, hourHandEnd(clock.hour, clock.minute, DIAL_CENTRE, 40), 0.6);
}

// A point of the minute hand beyond the reach of the hour hand.
platform::Point onMinuteHand(const Clock& clock) {
    return gametest::along(DIAL_CENTRE, minuteHandEnd(clock.minute, DIAL_CENTRE, 64), 0.85);
}

// How a colour vision sees linear RGB: the identity, or Machado, Oliveira
// and Fernandes' (2009) simulation of a dichromacy at severity 1.0.
using Vision = std::array<std::array<double, 3>, 3>;
struct NamedVision {
    const char* name;
    Vision matrix;
};
constexpr NamedVision VISIONS[] = {
    {"normal vision", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
    {"deuteranopia",
     {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
    {"protanopia",
     {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
};

// CIE L* (0 to 100) of an sRGB colour as the vision sees it.
double lightness(platform::Colour colour, const Vision& vision) {
    auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double rgb[3] = {linear(platform::redOf(colour)), linear(platform::greenOf(colour)),
                           linear(platform::blueOf(colour))};
    double seen[3];
    for (int i = 0; i < 3; ++i)
        seen[i] = std::clamp(vision[i][0] * rgb[0] + vision[i][1] * rgb[1] + vision[i][2] * rgb[2], 0.0, 1.0);
    const double y = 0.2126 * seen[0] + 0.7152 * seen[1] + 0.0722 * seen[2];
    return y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389.0 / 27;
}

class GameScreenTest : public gametest::ScreenFixture {
protected:
    std::unique_ptr<GameScreen> makeScreen() {
        auto screen = std::make_unique<GameScreen>(window, platform::moduleHandle(), nullptr);
        screen->listeners.append(&listener);
        return screen;
    }

    void pressAt(GameScreen& screen, platform::Point point) { tap(screen, point.x, point.y); }

    // Turns the hands to the target with the arrow buttons, minutes first
    // because stepping minutes may carry into the hour.
    void setHandsToTarget(GameScreen& screen) {
        for (int i = 0; i < 60 && screen.clock->minute != screen.targetMinute; ++i) pressAt(screen, MINUTE_FORWARD);
        for (int i = 0; i < 12 && screen.clock->hour != screen.targetHour; ++i) pressAt(screen, HOUR_FORWARD);
        ASSERT_EQ(screen.clock->hour, screen.targetHour);
        ASSERT_EQ(screen.clock->minute, screen.targetMinute);
    }

    // Ticks 84 ms apart until the spin has ended; the number of ticks it took.
    static int spinToEnd(GameScreen& screen) {
        for (int k = 1; k <= 40; ++k) {
            platform::headless::advanceTicks(84);
            screen.tick(platform::tickCount());
            if (!screen.clockAnim->visible) return k;
        }
        return -1;
    }

    void answerRight(GameScreen& screen) {
        setHandsToTarget(screen);
        pressAt(screen, CHECK);
        ASSERT_EQ(spinToEnd(screen), 30);
    }

    RecordingScreenListener listener;
};

TEST_F(GameScreenTest, LevelOneHidesTheMinuteControlsAndTheBackgroundShowsThere) {
    auto screen = makeScreen();
    EXPECT_EQ(screen->shownLevel, 1);
    EXPECT_FALSE(screen->minuteForwardButton->visible);
    EXPECT_FALSE(screen->minuteBackButton->visible);
    EXPECT_FALSE(screen->minuteLabel->visible);
    EXPECT_EQ(screen->clock->minuteStep, 0);
    EXPECT_EQ(screen->clock->minute, 0);
    EXPECT_EQ(screen->targetMinute, 0);

    platform::Picture shown = painted(*screen);
    platform::Picture background = gametest::bitmap(138);
    EXPECT_EQ(gametest::differences(shown, MINUTE_BUTTONS,
                                    gametest::composed(background, MINUTE_BUTTONS, nullptr, KEY_COLOUR)),
              0);

    // A press where the hidden button would be reaches nothing that reacts.
    std::int32_t hour = screen->clock->hour;
    pressAt(*screen, MINUTE_FORWARD);
    EXPECT_TRUE(sounds().empty());
    EXPECT_EQ(screen->clock->hour, hour);
    EXPECT_EQ(screen->clock->minute, 0);
}

TEST_F(GameScreenTest, LevelTwoShowsTheMinuteButtonsOverTheBackground) {
    plantLevel(2);
    auto screen = makeScreen();
    EXPECT_TRUE(screen->minuteForwardButton->visible);
    EXPECT_TRUE(screen->minuteForwardButton->enabled);
    EXPECT_TRUE(screen->minuteLabel->visible);

    platform::Picture shown = painted(*screen);
    platform::Picture background = gametest::bitmap(138);
    platform::Rect face{190, 180, 230, 200};
    platform::Picture expected =
        gametest::composed(background, face, screen->minuteForwardButton->imageDC(), KEY_COLOUR);
    EXPECT_EQ(gametest::differences(shown, face, expected), 0);
    EXPECT_GT(gametest::differences(shown, face, gametest::composed(background, face, nullptr, KEY_COLOUR)), 0)
        << "the arrow face should differ from the bare background";
}

TEST_F(GameScreenTest, LevelTwoMinuteStepIsThirtyAndCarriesIntoTheHour) {
    plantLevel(2);
    auto screen = makeScreen();
    ASSERT_EQ(screen->clock->minuteStep, 30);
    EXPECT_EQ(screen->targetMinute % 30, 0);

    screen->clock->setTime(11, 30);
    pressAt(*screen, MINUTE_FORWARD);
    EXPECT_EQ(screen->clock->hour, 0);
    EXPECT_EQ(screen->clock->minute, 0);
    pressAt(*screen, MINUTE_BACK);
    EXPECT_EQ(screen->clock->hour, 11);
    EXPECT_EQ(screen->clock->minute, 30);
    pressAt(*screen, HOUR_BACK);
    EXPECT_EQ(screen->clock->hour, 10);
    // Each arrow click is played to its end before the hands move.
    EXPECT_EQ(sounds(), (std::vector<std::string>{"20000/4", "20000/4", "20000/4"}));
}

TEST_F(GameScreenTest, WrongMinuteTurnsOnlyTheMinuteHandRed) {
    plantLevel(2);
    auto screen = makeScreen();
    screen->clock->setTime(screen->targetHour, (screen->targetMinute + 30) % 60);
    pressAt(*screen, CHECK);

    EXPECT_TRUE(screen->clock->minuteHighlighted);
    EXPECT_FALSE(screen->clock->hourHighlighted);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20005/5"});
    platform::Picture shown = painted(*screen);
    platform::Point minute = onMinuteHand(*screen->clock);
    platform::Point hour = onHourHand(*screen->clock);
    EXPECT_EQ(shown.pixel(minute.x, minute.y), WRONG_MINUTE) << "at " << minute.x << "," << minute.y;
    EXPECT_EQ(shown.pixel(hour.x, hour.y), HOUR_COLOUR) << "at " << hour.x << "," << hour.y;
}

// A child who cannot tell red from green still sees which hand is wrong:
// each red hand differs from its usual colour by 20 or more in lightness.
TEST_F(GameScreenTest, TheWrongHandsStandOutInLightnessForEveryVision) {
    plantLevel(2);
    auto screen = makeScreen();
    screen->clock->setTime((screen->targetHour + 1) % 12, (screen->targetMinute + 30) % 60);
    const platform::Point hands[] = {onHourHand(*screen->clock), onMinuteHand(*screen->clock)};
    platform::Picture usual = painted(*screen);
    pressAt(*screen, CHECK);
    platform::Picture wrong = painted(*screen);
    for (platform::Point at : hands) {
        const platform::Colour before = usual.pixel(at.x, at.y), after = wrong.pixel(at.x, at.y);
        EXPECT_NE(before, after);
        EXPECT_GT(platform::redOf(after), 2 * std::max(platform::greenOf(after), platform::blueOf(after)))
            << "the wrong hand stays red";
        for (const NamedVision& vision : VISIONS)
            EXPECT_GE(std::abs(lightness(after, vision.matrix) - lightness(before, vision.matrix)), 20.0)
                << vision.name << " at " << at.x << "," << at.y;
    }
}

TEST_F(GameScreenTest, WrongHourTurnsOnlyTheHourHandDarkRedUntilTheNextQuestion) {
    plantLevel(3);
    auto screen = makeScreen();
    screen->clock->setTime((screen->targetHour + 1) % 12, screen->targetMinute);
    pressAt(*screen, CHECK);

    EXPECT_TRUE(screen->clock->hourHighlighted);
    EXPECT_FALSE(screen->clock->minuteHighlighted);
    platform::Picture shown = painted(*screen);
    platform::Point hour = onHourHand(*screen->clock);
    platform::Point minute = onMinuteHand(*screen->clock);
    EXPECT_EQ(shown.pixel(hour.x, hour.y), WRONG_HOUR);
    EXPECT_EQ(shown.pixel(minute.x, minute.y), MINUTE_COLOUR);

    // Correcting the hands keeps the highlight; the right answer's next question clears it.
    answerRight(*screen);
    EXPECT_FALSE(screen->clock->hourHighlighted);
    shown = painted(*screen);
    hour = onHourHand(*screen->clock);
    EXPECT_EQ(shown.pixel(hour.x, hour.y), HOUR_COLOUR);
}

TEST_F(GameScreenTest, ThreeWrongAnswersBeforeTheRightOneEarnNothingAndAreNotClean) {
    auto screen = makeScreen();
    // The clock never starts at the target hour, so checking at once is wrong.
    pressAt(*screen, CHECK);
    EXPECT_EQ(screen->store->points, 4);
    pressAt(*screen, CHECK);
    EXPECT_EQ(screen->store->points, 1);
    pressAt(*screen, CHECK);
    EXPECT_EQ(screen->store->points, 0);
    EXPECT_FALSE(screen->noWrongAnswer);

    answerRight(*screen);
    EXPECT_EQ(screen->store->score, 0);
    EXPECT_EQ(registry->text("score"), "0");
    EXPECT_EQ(registry->stat(1), std::make_pair(0, 1));
    EXPECT_TRUE(screen->noWrongAnswer);
    EXPECT_EQ(screen->store->points, 12);

    // The next question starts at full points again.
    answerRight(*screen);
    EXPECT_EQ(registry->text("score"), "12");
    EXPECT_EQ(registry->stat(1), std::make_pair(1, 2));
}

TEST_F(GameScreenTest, PressesDuringTheSpinDoNothingButTheMenuStillReports) {
    plantLevel(2);
    auto screen = makeScreen();
    setHandsToTarget(*screen);
    platform::headless::clearPlayedSounds();
    pressAt(*screen, CHECK);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20004/5"});
    EXPECT_FALSE(screen->clock->visible);
    EXPECT_TRUE(screen->clockAnim->visible);
    EXPECT_EQ(screen->clockAnim->hour, screen->targetHour);

    listener.log.clear();
    std::int32_t animHour = screen->clockAnim->hour;
    for (platform::Point control : {HOUR_FORWARD, HOUR_BACK, MINUTE_FORWARD, MINUTE_BACK, CHECK})
        pressAt(*screen, control);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20004/5"});
    EXPECT_EQ(screen->clockAnim->hour, animHour);
    EXPECT_EQ(screen->clock->hour, screen->targetHour);
    EXPECT_EQ(screen->clock->minute, screen->targetMinute);
    EXPECT_FALSE(screen->clock->visible);
    EXPECT_EQ(screen->store->score, 12) << "a second check must not score again";
    EXPECT_TRUE(listener.log.empty());

    pressAt(*screen, MENU);
    EXPECT_EQ(listener.log, (std::vector<std::string>{"press Button 120", "release Button 120"}));
}

TEST_F(GameScreenTest, TheSpinRunsThirtyStepsThenTheNextQuestionArrives) {
    auto screen = makeScreen();
    setHandsToTarget(*screen);
    pressAt(*screen, CHECK);

    int steps = 0;
    for (; steps < 29; ++steps) {
        platform::headless::advanceTicks(84);
        screen->tick(platform::tickCount());
        ASSERT_TRUE(screen->clockAnim->visible) << "ended after " << steps + 1;
    }
    EXPECT_FALSE(screen->clock->visible);
    EXPECT_FALSE(screen->checkButton->enabled);
    platform::headless::advanceTicks(84);
    screen->tick(platform::tickCount());

    EXPECT_FALSE(screen->clockAnim->visible);
    EXPECT_FALSE(screen->tickers.contains(screen->clockAnim));
    EXPECT_TRUE(screen->clock->visible);
    EXPECT_TRUE(screen->hourForwardButton->enabled);
    EXPECT_TRUE(screen->checkButton->enabled);
    // The hands stood on the old target; a new question puts them off its own target.
    EXPECT_NE(screen->clock->hour, screen->targetHour);
}

TEST_F(GameScreenTest, AutomaticLevelUpCheersWhenTheNextQuestionIsMade) {
    auto screen = makeScreen();
    for (int i = 0; i < 4; ++i) answerRight(*screen);
    EXPECT_EQ(screen->store->level, 1);

    setHandsToTarget(*screen);
    platform::headless::clearPlayedSounds();
    pressAt(*screen, CHECK);
    EXPECT_EQ(screen->store->level, 2);
    EXPECT_EQ(registry->text("level"), "2");
    EXPECT_EQ(sounds(), std::vector<std::string>{"20004/5"}) << "no cheer before the spin ends";
    EXPECT_FALSE(screen->levelMarkers[1]->visible);

    ASSERT_EQ(spinToEnd(*screen), 30);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"20004/5", "20002/5"}));
    EXPECT_TRUE(screen->levelMarkers[1]->visible);
    EXPECT_FALSE(screen->levelMarkers[2]->visible);
    EXPECT_TRUE(screen->minuteForwardButton->visible);
    EXPECT_EQ(screen->clock->minuteStep, 30);
}

TEST_F(GameScreenTest, ALevelChosenElsewhereStartsANewQuestionAtTheNextPaint) {
    auto screen = makeScreen();
    screen->store->setLevel(4);
    EXPECT_EQ(screen->clock->minuteStep, 0) << "nothing happens before the paint";

    platform::Picture shown = painted(*screen);
    EXPECT_FALSE(screen->store->levelChanged);
    EXPECT_EQ(screen->shownLevel, 4);
    EXPECT_EQ(screen->clock->minuteStep, 5);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20002/5"});
    for (int i = 0; i < GameScreen::LEVEL_MARKERS; ++i) EXPECT_EQ(screen->levelMarkers[i]->visible, i < 4) << i;

    // The markers fill the row from the right: the one for level 4 at x 175.
    platform::Picture background = gametest::bitmap(138);
    platform::Picture marker = gametest::bitmap(118);
    platform::Rect fourth{175, 300, 190, 315};
    platform::Rect fifth{160, 300, 175, 315};
    EXPECT_EQ(gametest::differences(shown, fourth, gametest::composed(background, fourth, &marker, KEY_COLOUR)), 0);
    EXPECT_EQ(gametest::differences(shown, fifth, gametest::composed(background, fifth, nullptr, KEY_COLOUR)), 0);

    // Going down is not cheered.
    platform::headless::clearPlayedSounds();
    screen->store->setLevel(1);
    painted(*screen);
    EXPECT_TRUE(sounds().empty());
    EXPECT_FALSE(screen->levelMarkers[1]->visible);
    EXPECT_FALSE(screen->minuteForwardButton->visible);
}

TEST_F(GameScreenTest, AScoreResetShowsZeroAtTheNextPaint) {
    auto screen = makeScreen();
    answerRight(*screen);
    ASSERT_EQ(screen->store->score, 12);
    screen->store->resetScore();
    painted(*screen);
    EXPECT_FALSE(screen->store->scoreReset);

    Text zero(screen.get(), window, L"0", platform::rgb(128, 0, 0), screen->scoreFont);
    EXPECT_TRUE(gametest::samePixels(*screen->scoreText->imageDC(), *zero.imageDC()));
    Text twelve(screen.get(), window, L"12", platform::rgb(128, 0, 0), screen->scoreFont);
    EXPECT_FALSE(gametest::samePixels(*screen->scoreText->imageDC(), *twelve.imageDC()));
    // The number stands clear after its caption, at 130 at the earliest.
    EXPECT_GE(screen->scoreText->getX(), 130);
    EXPECT_GT(screen->scoreText->getX(), screen->scoreCaption->getX() + screen->scoreCaption->getWidth());
}

TEST_F(GameScreenTest, TheExitIconPlaysItsClickToTheEndThenAsksTheWindowToGo) {
    auto screen = makeScreen();
    screen->stylusDown(EXIT.x, EXIT.y);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20000/4"});
    EXPECT_EQ(listener.log, std::vector<std::string>{"press Image 148"});
    platform::Message message;
    ASSERT_TRUE(platform::peekMessage(message, platform::PM_REMOVE));
    EXPECT_EQ(message.message, platform::WM_DESTROY);
    EXPECT_EQ(message.window, window);
}

TEST_F(GameScreenTest, ATapOnTheDialReachesNothing) {
    auto screen = makeScreen();
    std::int32_t hour = screen->clock->hour;
    pressAt(*screen, DIAL_CENTRE);
    EXPECT_TRUE(listener.log.empty());
    EXPECT_TRUE(sounds().empty());
    EXPECT_EQ(screen->clock->hour, hour);
}

TEST_F(GameScreenTest, RelativeQuestionsShowTheGreyClockAtTheStartTime) {
    plantLevel(9);
    auto screen = makeScreen();
    EXPECT_TRUE(screen->referenceClock->visible);
    EXPECT_EQ(screen->referenceClock->hour, screen->clock->hour);
    EXPECT_EQ(screen->referenceClock->minute, screen->clock->minute);

    answerRight(*screen);
    EXPECT_TRUE(screen->referenceClock->visible);
    screen->store->setLevel(4);
    painted(*screen);
    EXPECT_FALSE(screen->referenceClock->visible);
}

}  // namespace
