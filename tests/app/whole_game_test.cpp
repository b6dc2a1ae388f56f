// The whole program in the headless host, played as a child would: stylus
// presses and releases at screen points, the tick counter moved by hand, and
// the display, the sounds and the registry file checked after every step.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/ClockHands.h"
#include "figures/Image.h"
#include "figures/Text.h"
#include "progress/ProgressStore.h"
#include "screens/GameScreen.h"
#include "screens/LevelScreen.h"
#include "screens/Questions.h"
#include "screens/TitleScreen.h"
#include "tests/app/game_driver.h"
#include "tests/screens/game_test_support.h"

using gametest::sounds;
using platform::Point;
using platform::Rect;
using namespace gamedriver;

namespace {

constexpr Point DIAL_CENTRE{120, 110};
constexpr Rect MINUTE_BUTTONS{190, 180, 230, 225};
constexpr Point VERSION_LINE{8, 305};

constexpr platform::Colour HOUR_COLOUR = platform::rgb(131, 132, 1);
constexpr platform::Colour WRONG_HOUR = platform::rgb(129, 3, 0);

// The level marker of the game screen for level (1 to 10), from the right.
Rect gameMarker(int level) {
    int x = 240 - (level - 1) * 15 - 20;
    return {x, 300, x + 15, 315};
}

// The box of a level (1 to 10) on the level screen.
Rect levelBox(int level) {
    int x = ((level - 1) % 5 + 1) * 30;
    int y = ((level - 1) / 5 + 4) * 20;
    return {x, y, x + 10, y + 10};
}

class WholeGame : public ::testing::Test, protected GameDriver {
protected:
    void SetUp() override {
        platform::headless::reset();
        platform::headless::setTickCount(50000);
        registry = std::make_unique<gametest::RegistryFolder>();
    }

    void TearDown() override {
        stop();
        platform::headless::reset();
        registry.reset();
    }

    // Starts the program as its entry does, and lets the opening paint happen.
    void start() { ASSERT_TRUE(launch()); }

    // Lets time pass so that the screen copies its changes to the display.
    void letTimePass(std::uint32_t milliseconds) {
        for (std::uint32_t t = 0; t < milliseconds && !exitCode; t += 20) {
            platform::headless::advanceTicks(20);
            exitCode = loop->pass();
        }
    }

    GameScreen& game() { return *application->gameScreen; }
    LevelScreen& levels() { return *application->levelScreen; }
    const platform::Picture& display() { return platform::headless::display(); }

    // Turns the hands to the target with the arrows, minutes first (they carry into the hour).
    void setHandsToTarget() {
        for (int i = 0; i < 12 && game().clock->minute != game().targetMinute; ++i) tap(MINUTE_FORWARD);
        for (int i = 0; i < 12 && game().clock->hour != game().targetHour; ++i) tap(HOUR_FORWARD);
        ASSERT_EQ(game().clock->hour, game().targetHour);
        ASSERT_EQ(game().clock->minute, game().targetMinute);
    }

    // Passes 84 ms apart until the spin has ended; how many it took.
    int spinToEnd() {
        for (int k = 1; k <= 40; ++k) {
            platform::headless::advanceTicks(84);
            exitCode = loop->pass();
            if (!game().clockAnim->visible) {
                settle();
                return k;
            }
        }
        return -1;
    }

    // The display at area compared with a bitmap, with a keyed overlay bitmap or none.
    int differencesFrom(Rect area, std::uint32_t backgroundId, std::optional<std::uint32_t> overlayId) {
        platform::Picture background = gametest::bitmap(backgroundId);
        platform::Picture overlay = overlayId ? gametest::bitmap(*overlayId) : platform::Picture();
        return gametest::differences(
            display(), area, gametest::composed(background, area, overlayId ? &overlay : nullptr, KEY_COLOUR));
    }

    Point onHourHand() {
        return gametest::along(DIAL_CENTRE, hourHandEnd(game().clock->hour, game().clock->minute, DIAL_CENTRE, 40),
                               0.6);
    }

    std::unique_ptr<gametest::RegistryFolder> registry;
};

TEST_F(WholeGame, StartsOnTheTitleWithTheOpeningSound) {
    start();
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(application->currentScreen, application->titleScreen);
    EXPECT_TRUE(application->titleScreen->active);
    EXPECT_FALSE(application->gameScreen->active);
    EXPECT_FALSE(application->levelScreen->active);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20006/5"});
    for (LinkedList<ScreenListener*>* listeners :
         {&application->gameScreen->listeners, &application->levelScreen->listeners,
          &application->titleScreen->listeners}) {
        ASSERT_EQ(listeners->count(), 1);
        EXPECT_EQ(listeners->valueAt(0), application);
    }
    // The title picture is on the display above its two lines of text.
    EXPECT_EQ(differencesFrom({0, 0, 240, 290}, 127, std::nullopt), 0);
    // A fresh start writes nothing.
    EXPECT_FALSE(registry->text("score").has_value());
    EXPECT_FALSE(registry->text("level").has_value());
}

TEST_F(WholeGame, TheSameSecondOfTheSameDaySeedsTheSameQuestions) {
    platform::headless::setLocalTime({2025, 3, 2, 17, 13, 45, 12, 999});
    start();
    std::int32_t targetHour = game().targetHour;
    int next = platform::random();

    platform::seedRandom(17 * 86400 + 13 * 3600 + 45 * 60 + 12);
    std::optional<Question> question = makeQuestion(1);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->targetHour, targetHour);
    EXPECT_EQ(platform::random(), next);
}

TEST_F(WholeGame, ATapOnTheVersionLineDoesNotStartTheGame) {
    start();
    tap(VERSION_LINE);
    EXPECT_EQ(application->currentScreen, application->titleScreen);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20006/5"});
    tap(TITLE);
    EXPECT_EQ(application->currentScreen, application->gameScreen);
}

TEST_F(WholeGame, TheGameStartsOnThePressAndItsReleaseGoesToTheGame) {
    start();
    press(TITLE);
    EXPECT_EQ(application->currentScreen, application->gameScreen);
    EXPECT_TRUE(application->gameScreen->active);
    EXPECT_FALSE(application->titleScreen->active);
    EXPECT_EQ(sounds(), (std::vector<std::string>{"20006/5", "20003/5"}));
    release(TITLE);
    EXPECT_EQ(application->currentScreen, application->gameScreen);
    // Level 1: no minute buttons, the background shows where they would be.
    EXPECT_EQ(differencesFrom(MINUTE_BUTTONS, 138, std::nullopt), 0);
    Point hour = onHourHand();
    EXPECT_EQ(display().pixel(hour.x, hour.y), HOUR_COLOUR);
}

TEST_F(WholeGame, TheMenuButtonSwitchesEvenWhenTheStylusSlidesOffIt) {
    start();
    tap(TITLE);
    platform::headless::clearPlayedSounds();
    press(MENU);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20003/5"});
    EXPECT_EQ(application->currentScreen, application->gameScreen);
    release({120, 300});
    EXPECT_EQ(application->currentScreen, application->levelScreen);
}

TEST_F(WholeGame, ASwitchDuringAReleaseLetsThatReleaseFinishOnTheOldScreen) {
    start();
    tap(TITLE);
    // Heard after the App, so it learns whether the game screen's dispatch went on after the switch.
    gametest::RecordingScreenListener afterApp, onLevels;
    game().listeners.append(&afterApp);
    levels().listeners.append(&onLevels);
    press(MENU);
    release(MENU);
    EXPECT_EQ(application->currentScreen, application->levelScreen);
    EXPECT_EQ(afterApp.log, (std::vector<std::string>{"press Button 120", "release Button 120"}));
    EXPECT_TRUE(onLevels.log.empty()) << "the release is not dispatched again on the new screen";
    EXPECT_FALSE(game().active);
    letTimePass(100);
    EXPECT_EQ(differencesFrom({0, 112, 240, 138}, 123, std::nullopt), 0) << "the level screen is painted whole";
    game().listeners.remove(&afterApp);
    levels().listeners.remove(&onLevels);
}

TEST_F(WholeGame, ResetOnTheLevelScreenNeitherClicksThroughTheAppNorSwitches) {
    start();
    tap(TITLE);
    tap(MENU);
    platform::headless::clearPlayedSounds();
    tap(RESET_BUTTON);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20003/5"}) << "only the screen's own reset sound";
    EXPECT_EQ(application->currentScreen, application->levelScreen);
}

TEST_F(WholeGame, TheExitIconOfTheGameEndsTheProgramWithZero) {
    start();
    tap(TITLE);
    platform::headless::clearPlayedSounds();
    press(EXIT);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20000/4"});
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(application, nullptr);
}

TEST_F(WholeGame, TheExitIconDuringTheSpinEndsTheProgramWithZeroAndKeepsTheScore) {
    start();
    tap(TITLE);
    setHandsToTarget();
    tap(CHECK);
    ASSERT_TRUE(game().clockAnim->visible);
    press(EXIT);
    EXPECT_EQ(sounds().back(), "20000/4");
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(application, nullptr);
    EXPECT_EQ(registry->text("score"), "12");
    EXPECT_EQ(registry->stat(1), std::make_pair(1, 1));
}

TEST_F(WholeGame, ALevelChosenDuringTheSpinIsAskedWhenTheSpinEnds) {
    start();
    tap(TITLE);
    setHandsToTarget();
    tap(CHECK);
    const std::int32_t hour = game().clock->hour, minute = game().clock->minute;
    tap(MENU);
    tap(levelBoxTap(3));
    tap(OK_BUTTON);
    ASSERT_EQ(application->currentScreen, application->gameScreen);
    ASSERT_TRUE(game().clockAnim->visible) << "the spin must still run for this test";
    EXPECT_EQ(game().shownLevel, 1) << "no question is asked under the spin";
    EXPECT_FALSE(game().clock->visible);

    platform::headless::clearPlayedSounds();
    for (Point control : {HOUR_FORWARD, HOUR_BACK, MINUTE_FORWARD, MINUTE_BACK, CHECK}) tap(control);
    ASSERT_TRUE(game().clockAnim->visible);
    EXPECT_TRUE(sounds().empty()) << "the controls are off during the spin";
    EXPECT_EQ(game().clock->hour, hour);
    EXPECT_EQ(game().clock->minute, minute);
    EXPECT_EQ(registry->text("score"), "12");
    EXPECT_EQ(registry->stat(1), std::make_pair(1, 1));
    EXPECT_EQ(registry->stat(3), std::make_pair(0, 0));
    EXPECT_EQ(game().store->points, ProgressStore::FULL_POINTS);

    EXPECT_GT(spinToEnd(), 0);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20002/5"}) << "one new question, cheered once";
    EXPECT_EQ(game().shownLevel, 3);
    EXPECT_EQ(game().clock->minuteStep, 15);
    EXPECT_TRUE(game().clock->visible);
    EXPECT_TRUE(game().checkButton->enabled);
    EXPECT_FALSE(game().store->levelChanged);
    EXPECT_EQ(differencesFrom(gameMarker(3), 138, 118u), 0);
    Point onHour = onHourHand();
    EXPECT_EQ(display().pixel(onHour.x, onHour.y), HOUR_COLOUR);
}

TEST_F(WholeGame, AChildPlaysThroughTheWholeGame) {
    {
        SCOPED_TRACE("start and tap the title");
        start();
        tap(TITLE);
        ASSERT_EQ(application->currentScreen, application->gameScreen);
        EXPECT_EQ(sounds(), (std::vector<std::string>{"20006/5", "20003/5"}));
        EXPECT_EQ(game().shownLevel, 1);
    }
    {
        SCOPED_TRACE("answer the first question right");
        platform::headless::clearPlayedSounds();
        setHandsToTarget();
        std::vector<std::string> clicks = sounds();
        for (const std::string& click : clicks) EXPECT_EQ(click, "20000/4");
        press(CHECK);
        EXPECT_EQ(sounds().back(), "20004/5");
        release(CHECK);
        EXPECT_EQ(registry->text("score"), "12");
        EXPECT_EQ(registry->stat(1), std::make_pair(1, 1));
        EXPECT_FALSE(game().clock->visible);
        EXPECT_TRUE(game().clockAnim->visible);
    }
    {
        SCOPED_TRACE("the spin runs 30 steps, then the next question");
        EXPECT_EQ(spinToEnd(), 30);
        EXPECT_TRUE(game().clock->visible);
        EXPECT_NE(game().clock->hour, game().targetHour);
        Point hour = onHourHand();
        EXPECT_EQ(display().pixel(hour.x, hour.y), HOUR_COLOUR);
    }
    {
        SCOPED_TRACE("three wrong answers, then the right one");
        platform::headless::clearPlayedSounds();
        tap(CHECK);
        letTimePass(100);
        Point hour = onHourHand();
        EXPECT_EQ(display().pixel(hour.x, hour.y), WRONG_HOUR);
        tap(CHECK);
        tap(CHECK);
        EXPECT_EQ(sounds(), (std::vector<std::string>{"20005/5", "20005/5", "20005/5"}));
        setHandsToTarget();
        tap(CHECK);
        EXPECT_EQ(registry->text("score"), "12") << "three wrong answers leave nothing to earn";
        EXPECT_EQ(registry->stat(1), std::make_pair(1, 2)) << "the result is not clean";
        EXPECT_EQ(spinToEnd(), 30);
    }
    {
        SCOPED_TRACE("choose level 3 on the level screen");
        platform::headless::clearPlayedSounds();
        tap(MENU);
        ASSERT_EQ(application->currentScreen, application->levelScreen);
        EXPECT_EQ(differencesFrom(levelBox(1), 123, 122u), 0);
        tap(levelBoxTap(3));
        EXPECT_EQ(registry->text("level"), "3");
        letTimePass(100);
        EXPECT_EQ(differencesFrom(levelBox(3), 123, 122u), 0);
        EXPECT_EQ(differencesFrom(levelBox(1), 123, std::nullopt), 0);
        tap(OK_BUTTON);
        ASSERT_EQ(application->currentScreen, application->gameScreen);
        EXPECT_EQ(sounds(), (std::vector<std::string>{"20003/5", "20000/5", "20003/5", "20002/5"}));
        EXPECT_EQ(game().shownLevel, 3);
        EXPECT_EQ(differencesFrom(gameMarker(3), 138, 118u), 0);
        EXPECT_EQ(differencesFrom(gameMarker(4), 138, std::nullopt), 0);
        EXPECT_NE(differencesFrom(MINUTE_BUTTONS, 138, std::nullopt), 0) << "the minute buttons are back";
    }
    {
        SCOPED_TRACE("answer at level 3 with the minute buttons");
        ASSERT_EQ(game().clock->minuteStep, 15);
        setHandsToTarget();
        tap(CHECK);
        EXPECT_EQ(registry->text("score"), "24");
        EXPECT_EQ(registry->stat(3), std::make_pair(1, 1));
        EXPECT_EQ(spinToEnd(), 30);
    }
    {
        SCOPED_TRACE("reset the score and statistics");
        tap(MENU);
        ASSERT_EQ(application->currentScreen, application->levelScreen);
        tap(RESET_BUTTON);
        EXPECT_EQ(registry->text("score"), "0");
        for (int level = 1; level <= 10; ++level) EXPECT_EQ(registry->stat(level), std::make_pair(0, 0)) << level;
        EXPECT_EQ(registry->text("level"), "3");
        tap(OK_BUTTON);
        ASSERT_EQ(application->currentScreen, application->gameScreen);
        EXPECT_EQ(game().store->score, 0);
        EXPECT_FALSE(game().store->scoreReset) << "the game's paint has taken the reset";
    }
    {
        SCOPED_TRACE("switch automatic levelling off");
        tap(MENU);
        tap(AUTO_BOX);
        EXPECT_EQ(registry->text("auto"), "1");
        letTimePass(100);
        EXPECT_EQ(differencesFrom({30, 40, 40, 50}, 123, std::nullopt), 0) << "the tick is gone";
    }
    {
        SCOPED_TRACE("leave by the level screen's exit icon");
        platform::headless::clearPlayedSounds();
        press(EXIT);
        EXPECT_EQ(sounds(), std::vector<std::string>{"20000/4"});
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(application, nullptr);
        EXPECT_EQ(registry->text("level"), "3");
        EXPECT_EQ(registry->text("auto"), "1");
    }
    {
        SCOPED_TRACE("a new start picks up where the child left");
        platform::headless::reset();
        platform::headless::setTickCount(90000);
        start();
        ASSERT_NE(application, nullptr);
        EXPECT_EQ(game().shownLevel, 3);
        EXPECT_EQ(game().store->score, 0);
        EXPECT_FALSE(game().store->autoAdjust);
        EXPECT_FALSE(levels().autoTick->visible);
        for (int i = 0; i < GameScreen::LEVEL_MARKERS; ++i) EXPECT_EQ(game().levelMarkers[i]->visible, i < 3) << i;
        tap(TITLE);
        EXPECT_EQ(differencesFrom(gameMarker(3), 138, 118u), 0);
        EXPECT_EQ(game().clock->minuteStep, 15);
    }
}

// One control as a child reaches it: a tap on it, or the keys that do the
// same (each with Shift held or not).
struct Control {
    Point tap;
    std::vector<std::pair<int, bool>> keys;
};

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_TAB;
using platform::VK_UP;

const Control START{TITLE, {{'H', false}}};
const Control CHECK_BY_ENTER{CHECK, {{VK_RETURN, false}}};
const Control CHECK_BY_SPACE{CHECK, {{VK_SPACE, false}}};
const Control HOUR_UP{HOUR_FORWARD, {{VK_UP, false}}};
// The focus goes from the check button to the hour arrow, presses it and goes back.
const Control HOUR_UP_BY_FOCUS{HOUR_FORWARD, {{VK_TAB, false}, {VK_RETURN, false}, {VK_TAB, true}}};
const Control MINUTE_UP{MINUTE_FORWARD, {{VK_RIGHT, false}}};
const Control LEVELS_BY_M{MENU, {{'M', false}}};
const Control LEVELS_BY_ESCAPE{MENU, {{VK_ESCAPE, false}}};
// The arrows move from the current level's box: across by one, down by five.
const Control LEVEL_TWO_FROM_ONE{levelBoxTap(2), {{VK_RIGHT, false}}};
const Control LEVEL_SEVEN_FROM_TWO{levelBoxTap(7), {{VK_DOWN, false}}};
const Control LEVEL_SIX_FROM_SEVEN{levelBoxTap(6), {{VK_LEFT, false}}};
const Control LEVEL_TEN{levelBoxTap(10), {{'0', false}}};
const Control LEVEL_THREE{levelBoxTap(3), {{'3', false}}};
// The focus goes from the OK button to the automatic-levelling box.
const Control AUTOMATIC_BY_FOCUS{AUTO_BOX, {{VK_TAB, false}, {VK_SPACE, false}}};
const Control RESET{RESET_BUTTON, {{'R', false}}};
const Control OK_BY_FOCUS{OK_BUTTON, {{VK_TAB, true}, {VK_RETURN, false}}};
const Control OK_BY_ESCAPE{OK_BUTTON, {{VK_ESCAPE, false}}};

// Where the focus ring around the check button runs above it.
constexpr Rect ABOVE_CHECK{86, 226, 154, 230};

class ByKeys : public WholeGame {
protected:
    // What the screen reader was given to say last; empty when nothing since the start.
    static std::wstring said() {
        const auto& all = platform::headless::announcements();
        return all.empty() ? L"" : all.back();
    }

    // Plays one game with taps or with keys alone: a wrong answer, the right
    // one, levels 2 and 3 chosen, automatic levelling off, the reset, a
    // question at level 3. After each step: the sounds heard, what was said
    // and the file kept.
    std::vector<std::wstring> play(bool byKeys) {
        std::vector<std::wstring> log;
        auto use = [&](const Control& control) {
            if (!byKeys) tap(control.tap);
            for (auto [key, shift] : byKeys ? control.keys : std::vector<std::pair<int, bool>>{}) stroke(key, shift);
            letTimePass(100);
            std::wstring heard;
            for (const std::string& sound : sounds()) heard += std::wstring(sound.begin(), sound.end()) + L" ";
            for (const std::wstring& text : platform::headless::announcements()) heard += L"/ " + text;
            const std::string kept = registry->fileText();
            log.push_back(heard + L" | " + std::wstring(kept.begin(), kept.end()));
        };
        auto setHands = [&] {
            for (int i = 0; i < 12 && game().clock->minute != game().targetMinute; ++i) use(MINUTE_UP);
            for (int i = 0; i < 12 && game().clock->hour != game().targetHour; ++i) use(HOUR_UP);
        };
        start();
        use(START);
        EXPECT_EQ(application->currentScreen, application->gameScreen);
        const std::int32_t hour = game().targetHour == 0 ? 12 : game().targetHour;
        EXPECT_EQ(said(), L"Score: 0. Level 1. Set time to " + std::to_wstring(hour) + L":00");
        EXPECT_EQ(differencesFrom(ABOVE_CHECK, 138, std::nullopt) == 0, !byKeys)
            << "the focus ring shows once a key has been used, and only then";
        use(CHECK_BY_ENTER);
        EXPECT_TRUE(game().clock->hourHighlighted) << "the clock never starts at the target hour";
        EXPECT_EQ(said(), L"Try again: the hour hand is wrong.");
        const std::int32_t minute = game().clock->minute;
        use(MINUTE_UP);
        EXPECT_EQ(game().clock->minute, minute) << "level 1 has no minute arrows";
        use(HOUR_UP_BY_FOCUS);
        setHands();
        use(CHECK_BY_SPACE);
        EXPECT_EQ(said(), L"Try again: the hour hand is wrong.") << "nothing is said during the spin";
        EXPECT_GT(spinToEnd(), 0);
        EXPECT_EQ(said().rfind(L"Right! Score: 4. Set time to ", 0), 0u) << said();
        use(LEVELS_BY_M);
        EXPECT_EQ(application->currentScreen, application->levelScreen);
        for (const Control& control : {LEVEL_TWO_FROM_ONE, LEVEL_SEVEN_FROM_TWO, LEVEL_SIX_FROM_SEVEN, LEVEL_TEN,
                                       LEVEL_THREE, AUTOMATIC_BY_FOCUS, RESET, OK_BY_FOCUS})
            use(control);
        EXPECT_EQ(application->currentScreen, application->gameScreen);
        EXPECT_EQ(game().shownLevel, 3);
        setHands();
        use(CHECK_BY_ENTER);
        EXPECT_GT(spinToEnd(), 0);
        use(LEVELS_BY_ESCAPE);
        use(OK_BY_ESCAPE);
        EXPECT_EQ(application->currentScreen, application->gameScreen);
        EXPECT_EQ(registry->text("score"), "12");
        EXPECT_EQ(registry->text("level"), "3");
        EXPECT_EQ(registry->text("auto"), "1");
        EXPECT_EQ(registry->stat(1), std::make_pair(0, 0)) << "the reset came after level 1's answer";
        EXPECT_EQ(registry->stat(3), std::make_pair(1, 1));
        return log;
    }
};

TEST_F(ByKeys, KeysAlonePlayAsTapsDoWithTheSameSoundsAndRecords) {
    const std::vector<std::wstring> byTaps = play(false);
    TearDown();
    SetUp();
    const std::vector<std::wstring> byKeys = play(true);
    EXPECT_EQ(byKeys, byTaps);
}

}  // namespace
