// A monkey that plays the whole headless program for a long time: random
// presses and releases, double presses, keys (some held), tick jumps across
// the counter's wrap, screen switches, level-screen actions and right
// answers, with the program's standing rules checked after every single event.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/Image.h"
#include "platform/headless/headless.h"
#include "progress/ProgressStore.h"
#include "scene/Figure.h"
#include "scene/Screen.h"
#include "screens/GameScreen.h"
#include "screens/LevelScreen.h"
#include "screens/TitleScreen.h"
#include "tests/app/game_driver.h"
#include "tests/soak/stored_progress.h"
#include "tests/support/temp_folder.h"

using platform::Point;
using namespace gamedriver;

namespace {

constexpr int WIDTH = 240;
constexpr int HEIGHT = 320;
constexpr std::uint64_t DEFAULT_EVENTS = 50000;
constexpr std::uint64_t DEFAULT_SEED = 20260101;

// The figure list of any screen, for the ticker check; the member is protected.
struct ScreenFigures : Screen {
    static const LinkedList<Figure*>& of(const Screen& screen) { return screen.*(&ScreenFigures::figures); }
};

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::strtoull(text, nullptr, 10);
}

// Where the registry folder goes: a memory file system when there is one, as
// every change fsyncs and the soak makes hundreds of thousands of them.
std::filesystem::path folderBase() {
    if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// The monkey's own press and release check every rule after each event.
class Monkey : GameDriver {
public:
    Monkey(std::uint64_t seed, std::filesystem::path folder) : random(seed), folder(std::move(folder)) {}

    ~Monkey() {
        stop();
        platform::headless::reset();
    }

    // Starts a program as its entry does; the tick counter keeps running across starts.
    void start() {
        std::uint32_t now = platform::tickCount();
        platform::headless::reset();
        platform::headless::setTickCount(now);
        ASSERT_TRUE(launch());
        ++starts;
    }

    // One random action: one event or a few (a tap is two, a right answer
    // many), each followed by the check of every standing rule.
    void step() { act(); }

    // Leaves by the current screen's exit icon (taking the title to the game
    // first), then starts again and expects the same progress back.
    void exitAndRestart() {
        if (application->currentScreen == application->titleScreen) tapAt(TITLE);
        ASSERT_NE(application, nullptr);
        storedprogress::Progress before = storedprogress::ofStore(*application->gameScreen->store);
        const Figure* icon = application->currentScreen == application->gameScreen
                                 ? static_cast<const Figure*>(application->gameScreen->exitIcon)
                                 : static_cast<const Figure*>(application->levelScreen->exitIcon);
        platform::Rect r = icon->bounds();
        leaving = true;
        press({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 600);
        leaving = false;
        ASSERT_EQ(exitCode, 0) << "the exit icon ends the program with 0";
        ASSERT_EQ(application, nullptr);
        ++exits;
        start();
        ASSERT_EQ(application->currentScreen, application->titleScreen);
        EXPECT_EQ(storedprogress::ofStore(*application->gameScreen->store), before)
            << "a new start brings back the progress of the last one";
        check();
    }

    void check() {
        SCOPED_TRACE(where());
        ASSERT_NE(application, nullptr) << "the program ended without its exit icon";
        ASSERT_FALSE(exitCode.has_value());
        App& app = *application;
        Screen* screens[] = {app.titleScreen, app.gameScreen, app.levelScreen};
        int active = 0;
        for (Screen* screen : screens) {
            ASSERT_NE(screen, nullptr);
            if (screen->active) {
                ++active;
                ASSERT_EQ(screen, app.currentScreen) << "the active screen is the App's current one";
            }
            // Every ticker is one of the screen's figures.
            const LinkedList<Figure*>& figures = ScreenFigures::of(*screen);
            ASSERT_GT(figures.count(), 0);
            for (const auto* node = screen->tickers.head(); node != nullptr; node = node->next)
                ASSERT_TRUE(figures.contains(node->value)) << "a ticker that is not a figure of its screen";
        }
        ASSERT_EQ(active, 1) << "exactly one screen is active";

        const ProgressStore* store = app.gameScreen->store;
        ASSERT_NE(store, nullptr);
        ASSERT_EQ(store, app.levelScreen->store) << "both screens share one store";
        ASSERT_GE(store->level, 1);
        ASSERT_LE(store->level, 10);
        ASSERT_GE(store->score, 0);
        ASSERT_LE(store->score, ProgressStore::MAX_SCORE);
        for (int i = 0; i < ProgressStore::LEVELS; ++i) {
            const LevelStat& stat = store->stats[static_cast<std::size_t>(i)];
            ASSERT_GE(stat.correct, 0) << "level " << i + 1;
            ASSERT_GE(stat.attempts, 0) << "level " << i + 1;
            ASSERT_LE(stat.correct, stat.attempts) << "level " << i + 1;
        }

        // The store in memory is exactly what a fresh load of the file gives.
        storedprogress::Progress memory = storedprogress::ofStore(*store);
        std::optional<storedprogress::Progress> onDisk = storedprogress::ofFile(folder / "registry.reg");
        ASSERT_TRUE(onDisk.has_value()) << "the registry file does not parse";
        ASSERT_EQ(memory, *onDisk) << "memory and file disagree";
        // Now and then also through the platform's registry key, as the store reads it.
        if (events % 1024 == 0) {
            std::optional<storedprogress::Progress> viaKey = storedprogress::ofRegistryKey();
            ASSERT_TRUE(viaKey.has_value());
            ASSERT_EQ(memory, *viaKey);
            ASSERT_TRUE(storedprogress::filesStartingWith(folder, "registry.reg.damaged-").empty())
                << "the game's own file was taken for damaged";
        }
    }

    std::string where() const {
        std::ostringstream out;
        out << "event " << events << " (" << lastAction << ") at tick " << platform::tickCount();
        return out.str();
    }

    std::uint64_t events = 0;
    std::uint64_t rightAnswers = 0;
    std::uint64_t spinsEnded = 0;
    std::uint64_t levelChanges = 0;
    std::uint64_t wraps = 0;
    std::uint64_t exits = 0;
    std::uint64_t starts = 0;

private:
    int below(int n) { return static_cast<int>(random() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // Counts the event that just happened and checks every rule after it.
    void happened() {
        if (leaving) return;
        ++events;
        if (events % 4096 == 0) platform::headless::clearPlayedSounds();
        check();
    }
    bool failed() const { return ::testing::Test::HasFatalFailure(); }

    // One loop pass after the counter moved (the screens tick on every pass).
    void pass(std::uint32_t milliseconds) {
        if (failed()) return;
        platform::headless::advanceTicks(milliseconds);
        bool spinning = onGame() && application->gameScreen->clockAnim->visible;
        exitCode = loop->pass();
        settle();
        if (spinning && application && !application->gameScreen->clockAnim->visible) ++spinsEnded;
        happened();
    }

    bool onGame() const { return application && application->currentScreen == application->gameScreen; }
    bool onLevels() const { return application && application->currentScreen == application->levelScreen; }

    // Whether the point lies on a visible exit icon of the current screen (edges included).
    bool onExitIcon(Point p) const {
        const Figure* icon = nullptr;
        if (onGame()) icon = application->gameScreen->exitIcon;
        if (onLevels()) icon = application->levelScreen->exitIcon;
        if (icon == nullptr || !icon->visible) return false;
        platform::Rect r = icon->bounds();
        return r.left <= p.x && p.x <= r.right && r.top <= p.y && p.y <= r.bottom;
    }

    Point anywhere() {
        for (;;) {
            Point p{below(WIDTH), below(HEIGHT)};
            if (!onExitIcon(p)) return p;
        }
    }

    void press(Point p, std::uint32_t gap) {
        if (failed()) return;
        platform::headless::advanceTicks(gap);
        platform::headless::pressStylus(p.x, p.y);
        settle();
        happened();
    }
    void release(Point p) {
        if (failed()) return;
        platform::headless::releaseStylus(p.x, p.y);
        settle();
        happened();
    }
    // A press and its release, apart in time from the last press; two events.
    void tapAt(Point p) {
        press(p, 600);
        release(p);
    }

    void act() {
        int pick = below(1000);
        if (pick < 250) {
            lastAction = "press anywhere";
            press(anywhere(), static_cast<std::uint32_t>(below(700)));
        } else if (pick < 480) {
            lastAction = "release anywhere";
            release(anywhere());
        } else if (pick < 530) {
            lastAction = "double press";
            Point p = anywhere();
            press(p, 600);
            release(p);
            press(p, static_cast<std::uint32_t>(below(300)));
            if (chance(70)) release(p);
        } else if (pick < 580) {
            keyStroke();
        } else if (pick < 700) {
            lastAction = "tick jump";
            pass(static_cast<std::uint32_t>(chance(90) ? below(200) : below(100000)));
        } else if (pick < 712) {
            lastAction = "near the counter's wrap";
            platform::headless::setTickCount(0xFFFFFFFFu - static_cast<std::uint32_t>(below(3000)));
            ++wraps;
            pass(0);
        } else if (pick < 760) {
            lastAction = "switch screens";
            if (onGame()) tapAt(MENU);
            else if (onLevels()) tapAt(OK_BUTTON);
            else tapAt(TITLE);
        } else if (pick < 860) {
            levelScreenAction();
        } else if (pick < 920) {
            gameControl();
        } else if (pick < 960) {
            answerRight();
        } else {
            lastAction = "let the spin run";
            for (int i = 0; i < 40 && application; ++i) pass(84 + static_cast<std::uint32_t>(below(30)));
        }
    }

    // A key that names a control or nothing, let go at once or held into
    // the next events. Never Tab: the focus stays off the exit icons.
    void keyStroke() {
        using namespace platform;
        static constexpr int keys[] = {VK_UP, VK_DOWN,   VK_LEFT, VK_RIGHT, VK_RETURN, VK_SPACE, VK_ESCAPE,
                                       VK_SHIFT, VK_CONTROL, 'A', 'M', 'R', '0', '7', 'Q'};
        lastAction = "key";
        if (failed()) return;
        const int key = keys[below(std::size(keys))];
        headless::advanceTicks(static_cast<std::uint32_t>(below(700)));
        headless::key(key, true);
        settle();
        happened();
        if (chance(80)) {
            headless::key(key, false);
            settle();
            happened();
        }
    }

    void levelScreenAction() {
        if (!onLevels()) {
            lastAction = "to the level screen";
            if (onGame()) tapAt(MENU);
            else tapAt(TITLE);
            return;
        }
        int pick = below(100);
        if (pick < 70) {
            lastAction = "level box";
            int before = application->levelScreen->store->level;
            Point box = levelBoxTap(1 + below(10));
            if (chance(50)) tapAt(box);
            else press(box, static_cast<std::uint32_t>(below(700)));
            if (application && application->levelScreen->store->level != before) ++levelChanges;
        } else if (pick < 85) {
            lastAction = "automatic box";
            tapAt(AUTO_BOX);
        } else {
            lastAction = "reset";
            tapAt(RESET_BUTTON);
        }
    }

    void gameControl() {
        if (!onGame()) {
            lastAction = "to the game";
            if (onLevels()) tapAt(OK_BUTTON);
            else tapAt(TITLE);
            return;
        }
        static constexpr Point controls[] = {HOUR_FORWARD, HOUR_BACK, MINUTE_FORWARD, MINUTE_BACK, CHECK};
        lastAction = "game control";
        Point p = controls[below(5)];
        if (chance(80)) tapAt(p);
        else press(p, static_cast<std::uint32_t>(below(700)));
    }

    // Reads the target and steps the hands there, minutes first (they carry
    // into the hour), checking after every tap; then the check button.
    void answerRight() {
        lastAction = "answer right";
        if (!onGame()) {
            gameControl();
            return;
        }
        GameScreen& game = *application->gameScreen;
        if (!game.checkButton->enabled || game.clockAnim->visible) return;
        for (int i = 0; i < 60 && onGame() && game.clock->minute != game.targetMinute; ++i) {
            if (!game.minuteForwardButton->enabled) break;
            tapAt(MINUTE_FORWARD);
            if (failed()) return;
        }
        for (int i = 0; i < 12 && onGame() && game.clock->hour != game.targetHour; ++i) {
            tapAt(HOUR_FORWARD);
            if (failed()) return;
        }
        if (!onGame() || game.clock->hour != game.targetHour || game.clock->minute != game.targetMinute) return;
        std::int32_t scoreBefore = game.store->score;
        tapAt(CHECK);
        if (onGame() && game.clockAnim->visible) {
            ++rightAnswers;
            EXPECT_GE(game.store->score, scoreBefore);
        }
    }

    std::mt19937_64 random;
    std::filesystem::path folder;
    std::string lastAction = "start";
    bool leaving = false;
};

TEST(Soak, TheWholeGameHoldsItsRulesUnderAMonkey) {
    const std::uint64_t events = fromEnvironment("HORALIA_SOAK_EVENTS", DEFAULT_EVENTS);
    const std::uint64_t seed = fromEnvironment("HORALIA_SOAK_SEED", DEFAULT_SEED);
    std::printf("soak: %llu events, seed %llu (HORALIA_SOAK_EVENTS, HORALIA_SOAK_SEED)\n",
                static_cast<unsigned long long>(events), static_cast<unsigned long long>(seed));
    RecordProperty("seed", std::to_string(seed));

    const TempFolder sandbox("horalia-soak", folderBase());
    const std::filesystem::path folder = sandbox.path();
    ASSERT_FALSE(folder.empty());
    platform::headless::setRegistryFolder(folder);
    auto began = std::chrono::steady_clock::now();
    {
        platform::headless::reset();
        platform::headless::setTickCount(50000);
        Monkey monkey(seed, folder);
        monkey.start();
        monkey.check();
        // Leaving and starting again now and then, at moments the seed chooses.
        std::mt19937_64 restarts(seed ^ 0x5EEDu);
        while (!::testing::Test::HasFatalFailure() && monkey.events < events) {
            monkey.step();
            if (restarts() % 5000 == 0 && !::testing::Test::HasFatalFailure()) monkey.exitAndRestart();
        }
        // The dedicated last step: the exit icon, and the progress survives it.
        if (!::testing::Test::HasFatalFailure()) monkey.exitAndRestart();

        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        std::printf(
            "soak: %llu events in %.1f s; %llu right answers, %llu spins ended, %llu level changes, %llu wraps, "
            "%llu exits\n",
            static_cast<unsigned long long>(monkey.events), seconds,
            static_cast<unsigned long long>(monkey.rightAnswers), static_cast<unsigned long long>(monkey.spinsEnded),
            static_cast<unsigned long long>(monkey.levelChanges), static_cast<unsigned long long>(monkey.wraps),
            static_cast<unsigned long long>(monkey.exits));
        if (!::testing::Test::HasFatalFailure() && events >= 20000) {
            // A monkey that never got anywhere proves nothing.
            EXPECT_GT(monkey.rightAnswers, 0u);
            EXPECT_GT(monkey.spinsEnded, 0u);
            EXPECT_GT(monkey.levelChanges, 0u);
            EXPECT_GT(monkey.wraps, 0u);
        }
    }
    platform::headless::setRegistryFolder({});
}

}  // namespace
