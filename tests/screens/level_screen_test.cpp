// The level screen on its own: percentages cut rather than rounded, the
// level boxes and their marker, the automatic-levelling switch, Reset, OK
// and the exit icon.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

#include "figures/Image.h"
#include "figures/Text.h"
#include "screens/LevelScreen.h"
#include "tests/screens/controls.h"
#include "tests/screens/screen_fixture.h"

using gametest::RecordingScreenListener;
using gametest::sounds;

namespace {

using namespace controls;

class LevelScreenTest : public gametest::ScreenFixture {
protected:
    std::unique_ptr<LevelScreen> makeScreen() {
        auto screen = std::make_unique<LevelScreen>(window, platform::moduleHandle(), nullptr);
        screen->listeners.append(&listener);
        return screen;
    }

    // Results of one level, counted in the statistics only.
    static void record(ProgressStore& store, int level, int right, int wrong) {
        store.setAutoAdjust(false);
        store.setLevel(level);
        for (int i = 0; i < right; ++i) store.recordResult(true);
        for (int i = 0; i < wrong; ++i) store.recordResult(false);
    }

    // Whether the text figure shows exactly this text in the percentage font and colour.
    bool shows(LevelScreen& screen, Text* text, const wchar_t* expected) {
        platform::FontDescription font;
        font.height = 12;
        font.weight = platform::FW_BOLD;
        font.pitchAndFamily = platform::FF_SWISS;
        Text reference(&screen, window, expected, platform::rgb(192, 0, 0), font);
        return gametest::samePixels(*text->imageDC(), *reference.imageDC());
    }

    RecordingScreenListener listener;
};

TEST_F(LevelScreenTest, NoPercentagesExistBeforeTheFirstPaint) {
    auto screen = makeScreen();
    EXPECT_EQ(screen->percentTexts.count(), 0);
    painted(*screen);
    EXPECT_EQ(screen->percentTexts.count(), 10);
    painted(*screen);
    EXPECT_EQ(screen->percentTexts.count(), 10) << "each paint replaces the texts, never adds to them";
}

TEST_F(LevelScreenTest, PercentagesAreCutNotRounded) {
    auto screen = makeScreen();
    record(*screen->store, 1, 2, 1);
    record(*screen->store, 2, 3, 1);
    painted(*screen);

    EXPECT_TRUE(shows(*screen, screen->percentTexts.valueAt(0), L"66"));
    EXPECT_FALSE(shows(*screen, screen->percentTexts.valueAt(0), L"67"));
    EXPECT_TRUE(shows(*screen, screen->percentTexts.valueAt(1), L"75"));
    for (int i = 2; i < 10; ++i) EXPECT_TRUE(shows(*screen, screen->percentTexts.valueAt(i), L"0")) << i;
}

// A damaged record can hold any counts; the percentage stays 0 to 100 and
// its conversion defined (the sanitized build checks the conversion).
TEST_F(LevelScreenTest, PercentagesOfADamagedRecordStayBetweenZeroAndAHundred) {
    auto screen = makeScreen();
    const LevelStat damaged[] = {{2000000000, 1}, {INT32_MAX, 3}, {-5, 1}, {INT32_MIN, 1}, {1, -1}, {7, 3}};
    const wchar_t* expected[] = {L"100", L"100", L"0", L"0", L"0", L"100"};
    for (std::size_t i = 0; i < std::size(damaged); ++i) screen->store->stats[i] = damaged[i];
    painted(*screen);
    for (std::size_t i = 0; i < std::size(damaged); ++i)
        EXPECT_TRUE(shows(*screen, screen->percentTexts.valueAt(static_cast<int>(i)), expected[i])) << i;
}

TEST_F(LevelScreenTest, PercentagesStandInThreeColumnsWithLevelTenFivePixelsRight) {
    auto screen = makeScreen();
    painted(*screen);
    const int xs[] = {66, 136, 206, 66, 136, 206, 66, 136, 206, 71};
    const int ys[] = {140, 140, 140, 160, 160, 160, 180, 180, 180, 200};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(screen->percentTexts.valueAt(i)->getX(), xs[i]) << "level " << i + 1;
        EXPECT_EQ(screen->percentTexts.valueAt(i)->getY(), ys[i]) << "level " << i + 1;
    }
}

TEST_F(LevelScreenTest, TappingTheCurrentLevelRewritesItWithoutAChange) {
    auto screen = makeScreen();
    ASSERT_FALSE(registry->text("level").has_value());
    tap(*screen, levelBoxTap(1).x, levelBoxTap(1).y);
    EXPECT_EQ(registry->text("level"), "1");
    EXPECT_FALSE(screen->store->levelChanged);
    EXPECT_EQ(screen->levelMarker->getX(), 30);
    EXPECT_EQ(screen->levelMarker->getY(), 80);
    // The box clicks by itself.
    EXPECT_EQ(sounds(), std::vector<std::string>{"20000/5"});
    EXPECT_EQ(listener.log, (std::vector<std::string>{"press Hotspot 1", "release Hotspot 1"}));
}

TEST_F(LevelScreenTest, TappingAnotherLevelMovesTheMarkAndTellsTheGame) {
    auto screen = makeScreen();
    tap(*screen, levelBoxTap(7).x, levelBoxTap(7).y);
    EXPECT_EQ(registry->text("level"), "7");
    EXPECT_TRUE(screen->store->levelChanged);

    platform::Picture shown = painted(*screen);
    platform::Picture background = gametest::bitmap(123);
    platform::Picture tick = gametest::bitmap(122);
    platform::Rect seventh{60, 100, 70, 110};
    platform::Rect first{30, 80, 40, 90};
    EXPECT_EQ(gametest::differences(shown, seventh, gametest::composed(background, seventh, &tick, KEY_COLOUR)), 0);
    EXPECT_EQ(gametest::differences(shown, first, gametest::composed(background, first, nullptr, KEY_COLOUR)), 0);
    EXPECT_GT(gametest::differences(shown, first, gametest::composed(background, first, &tick, KEY_COLOUR)), 0)
        << "the mark should be visible against the background";
}

TEST_F(LevelScreenTest, ThePaintShowsALevelRaisedElsewhere) {
    auto screen = makeScreen();
    screen->store->setLevel(10);
    painted(*screen);
    EXPECT_EQ(screen->levelMarker->getX(), 150);
    EXPECT_EQ(screen->levelMarker->getY(), 100);
}

TEST_F(LevelScreenTest, TheAutomaticBoxTogglesAndSavesEachTime) {
    auto screen = makeScreen();
    ASSERT_TRUE(screen->autoTick->visible);
    tap(*screen, AUTO_BOX.x, AUTO_BOX.y);
    EXPECT_FALSE(screen->store->autoAdjust);
    EXPECT_FALSE(screen->autoTick->visible);
    EXPECT_EQ(registry->text("auto"), "1");

    platform::Picture shown = painted(*screen);
    platform::Rect box{30, 40, 40, 50};
    EXPECT_EQ(gametest::differences(shown, box, gametest::composed(gametest::bitmap(123), box, nullptr, KEY_COLOUR)),
              0);

    tap(*screen, AUTO_BOX.x, AUTO_BOX.y);
    EXPECT_TRUE(screen->store->autoAdjust);
    EXPECT_TRUE(screen->autoTick->visible);
    EXPECT_EQ(registry->text("auto"), "0");
}

TEST_F(LevelScreenTest, ResetZeroesScoreAndPercentagesAtOnceAndKeepsTheLevel) {
    auto screen = makeScreen();
    record(*screen->store, 3, 1, 1);
    screen->store->awardPoints();
    painted(*screen);
    ASSERT_TRUE(shows(*screen, screen->percentTexts.valueAt(2), L"50"));
    platform::headless::clearPlayedSounds();

    screen->stylusDown(RESET_BUTTON.x, RESET_BUTTON.y);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20003/5"});
    EXPECT_EQ(listener.log, std::vector<std::string>{"press Button 125"});
    EXPECT_TRUE(shows(*screen, screen->percentTexts.valueAt(2), L"0")) << "before any paint";
    EXPECT_EQ(registry->text("score"), "0");
    EXPECT_EQ(registry->stat(3), std::make_pair(0, 0));
    EXPECT_EQ(registry->text("level"), "3");
    EXPECT_TRUE(screen->store->scoreReset);
    screen->stylusUp(RESET_BUTTON.x, RESET_BUTTON.y);
    EXPECT_EQ(listener.log, (std::vector<std::string>{"press Button 125", "release Button 125"}));
}

TEST_F(LevelScreenTest, OkDoesNothingHereButIsReported) {
    auto screen = makeScreen();
    tap(*screen, OK_BUTTON.x, OK_BUTTON.y);
    EXPECT_TRUE(sounds().empty());
    EXPECT_FALSE(registry->text("level").has_value());
    EXPECT_EQ(listener.log, (std::vector<std::string>{"press Button 124", "release Button 124"}));
}

TEST_F(LevelScreenTest, TheExitIconPlaysItsClickToTheEndThenAsksTheWindowToGo) {
    auto screen = makeScreen();
    screen->stylusDown(EXIT.x, EXIT.y);
    EXPECT_EQ(sounds(), std::vector<std::string>{"20000/4"});
    EXPECT_EQ(listener.log, std::vector<std::string>{"press Image 148"});
    platform::Message message;
    ASSERT_TRUE(platform::peekMessage(message, platform::PM_REMOVE));
    EXPECT_EQ(message.message, platform::WM_DESTROY);
}

}  // namespace
