// The main window and the game loop in the headless host: one copy only,
// stylus messages that come before the application or after its teardown,
// the end of the loop on a posted destroy, the swallowed accelerators, a
// double-click's press, and size messages.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <optional>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "figures/Button.h"
#include "figures/Clock.h"
#include "screens/GameScreen.h"
#include "screens/TitleScreen.h"
#include "tests/app/game_driver.h"
#include "tests/screens/game_test_support.h"

namespace {

using namespace gamedriver;

class MainWindowTest : public ::testing::Test, protected GameDriver {
protected:
    void SetUp() override {
        platform::headless::reset();
        platform::headless::setTickCount(10000);
        registry = std::make_unique<gametest::RegistryFolder>();
        ASSERT_TRUE(launch());
        window = application->window;
    }

    void TearDown() override {
        stop();
        platform::headless::reset();
        registry.reset();
    }

    // Runs passes while messages wait; the exit code if the loop ended.
    std::optional<int> drain() {
        settle();
        return exitCode;
    }

    void startGame() {
        tap(TITLE);
        ASSERT_EQ(application->currentScreen, static_cast<Screen*>(application->gameScreen));
    }

    std::unique_ptr<gametest::RegistryFolder> registry;
    platform::Window* window = nullptr;
};

TEST_F(MainWindowTest, WindowCoversTheDisplay) {
    EXPECT_EQ(platform::clientRect(window), (platform::Rect{0, 0, 240, 320}));
    EXPECT_EQ(screenWidth, 240);
    EXPECT_EQ(screenHeight, 320);
    EXPECT_EQ(windowProcedure(window, platform::WM_SIZE, 0, 0, {}), 0);
}

TEST_F(MainWindowTest, PostedDestroyEndsTheLoopWithZeroAfterTheWaitingMessages) {
    startGame();
    platform::headless::clearPlayedSounds();
    platform::postMessage(window, platform::WM_DESTROY, 0, 0);
    // A tap queued behind the destroy reaches no screen: the application is gone by then.
    platform::headless::advanceTicks(600);
    platform::headless::pressStylus(HOUR_FORWARD.x, HOUR_FORWARD.y);
    platform::headless::releaseStylus(HOUR_FORWARD.x, HOUR_FORWARD.y);
    EXPECT_EQ(drain(), 0);
    EXPECT_EQ(application, nullptr);
    EXPECT_TRUE(platform::headless::playedSounds().empty()) << "no arrow click after the teardown";
    // Passes after the teardown tick nothing and do not crash.
    platform::headless::advanceTicks(1000);
    EXPECT_EQ(loop->pass(), std::nullopt) << "and the loop goes on quietly";
}

TEST_F(MainWindowTest, StylusMessagesWithoutAnApplicationAreIgnored) {
    App* running = application;
    application = nullptr;
    EXPECT_EQ(windowProcedure(window, platform::WM_LBUTTONDOWN, 1, 0, {120, 150}), 0);
    EXPECT_EQ(windowProcedure(window, platform::WM_LBUTTONUP, 0, 0, {120, 150}), 0);
    application = running;
    EXPECT_EQ(application->currentScreen, static_cast<Screen*>(application->titleScreen))
        << "the tap reached no screen";
}

TEST_F(MainWindowTest, CtrlAAndCtrlQDoNothing) {
    startGame();
    platform::headless::pressKey('A', true);
    platform::headless::pressKey('Q', true);
    EXPECT_EQ(drain(), std::nullopt) << "Ctrl+Q does not end the program";
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(application->currentScreen, static_cast<Screen*>(application->gameScreen));
}

TEST_F(MainWindowTest, ASecondQuickPressIsADoubleClickThatReachesNoFigure) {
    startGame();
    GameScreen& game = *application->gameScreen;
    const int hour = game.clock->hour;
    platform::headless::advanceTicks(600);
    platform::headless::pressStylus(HOUR_FORWARD.x, HOUR_FORWARD.y);
    platform::headless::releaseStylus(HOUR_FORWARD.x, HOUR_FORWARD.y);
    platform::headless::advanceTicks(100);
    platform::headless::pressStylus(HOUR_FORWARD.x, HOUR_FORWARD.y);
    platform::headless::releaseStylus(HOUR_FORWARD.x, HOUR_FORWARD.y);
    drain();
    EXPECT_EQ(game.clock->hour, (hour + 1) % 12) << "only the first press stepped the hour";
    EXPECT_FALSE(game.hourForwardButton->pressed);
}

TEST_F(MainWindowTest, ASecondCopyBringsTheFirstToTheFrontAndEndsWithZero) {
    const int raisesBefore = platform::headless::raiseRequests();
    const pid_t child = fork();
    if (child == 0) {
        platform::headless::reset();  // a process of its own, with no window yet
        application = nullptr;
        alarm(10);  // a copy that failed to find the first would run for ever
        const int code = gameMain(platform::moduleHandle(), nullptr, L"", platform::SW_SHOW);
        _exit(code == 0 && application == nullptr ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    drain();
    EXPECT_EQ(platform::headless::raiseRequests(), raisesBefore + 1);
}

}  // namespace
