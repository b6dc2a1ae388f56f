// The cost of the real game's frames: a full paint of each of the three
// screens built as the program builds them, the level screen's percentages,
// one clock's hands, the prompt's text, and the partial refreshes of a tick.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/App.h"
#include "app/MainWindow.h"
#include "figures/Clock.h"
#include "figures/ClockAnim.h"
#include "figures/Text.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "scene/Screen.h"
#include "screens/GameScreen.h"
#include "screens/LevelScreen.h"
#include "screens/TitleScreen.h"

namespace {

using namespace platform;

// The whole program as its entry starts it, on the headless host, with its
// settings in a folder of its own that goes away with it. Each benchmark
// makes its own, so what another one does to the host cannot reach it.
class Game {
public:
    Game() {
        headless::reset();
        headless::setTickCount(100000);
        std::string pattern = (std::filesystem::temp_directory_path() / "horalia-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder = pattern;
        headless::setRegistryFolder(folder);
        if (!createMainWindow(moduleHandle(), SW_SHOW) || application == nullptr) {
            std::fprintf(stderr, "the game could not start on the headless host\n");
            std::abort();
        }
    }
    ~Game() {
        if (application != nullptr) destroyWindow(application->window);
        headless::reset();
        headless::setRegistryFolder({});
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    App& app() { return *application; }
    // The game screen, made the one that shows.
    GameScreen& showGame() {
        app().showScreen(app().gameScreen);
        return *app().gameScreen;
    }

private:
    std::filesystem::path folder;
};

// Runs work once in every iteration, its writes kept.
template <class Work>
void everyIteration(benchmark::State& state, Work work) {
    for (auto _ : state) {
        work();
        benchmark::ClobberMemory();
    }
}

// A full paint of one of the application's screens, as the window's WM_PAINT
// does it: every figure composed, the whole back buffer copied to a
// display-sized picture.
template <auto screenOfApp>
void fullPaint(benchmark::State& state) {
    Game game;
    Screen& screen = *(game.app().*screenOfApp);
    Picture target(DISPLAY_WIDTH, DISPLAY_HEIGHT);
    for (auto _ : state) {
        screen.paint(target, true);
        benchmark::DoNotOptimize(target.row(0));
    }
}
BENCHMARK(fullPaint<&App::gameScreen>)->Name("gameScreenPaint");
// Every paint of this screen also rebuilds its ten percentages.
BENCHMARK(fullPaint<&App::levelScreen>)->Name("levelScreenPaint");
BENCHMARK(fullPaint<&App::titleScreen>)->Name("titleScreenPaint");

// The ten percentage texts thrown away and made again from the store.
void levelScreenRebuildPercentages(benchmark::State& state) {
    Game game;
    everyIteration(state, [&] { game.app().levelScreen->rebuildPercentages(); });
}
BENCHMARK(levelScreenRebuildPercentages);

// The game screen's own 160 x 160 clock, cleared and drawn again. Its
// imageDC() draws the hands too, so the loop must not ask for the picture.
void clockDrawHands(benchmark::State& state) {
    Game game;
    Clock& clock = *game.app().gameScreen->clock;
    state.counters["width"] = clock.getWidth();
    state.counters["height"] = clock.getHeight();
    everyIteration(state, [&] { clock.drawHands(); });
}
BENCHMARK(clockDrawHands);

// The longest prompt a question makes, in the default font; the figure is
// never added to the screen, so deleting it is all its cleanup.
void promptTextConstruction(benchmark::State& state) {
    Game game;
    GameScreen& screen = *game.app().gameScreen;
    for (auto _ : state) {
        auto* text = new Text(&screen, game.app().window, L"Set time to 12:55 in the past", screen.textColour);
        benchmark::DoNotOptimize(text->imageDC());
        delete text;
    }
}
BENCHMARK(promptTextConstruction);

// Ticks of the showing game screen 90 ms apart (the host's clock with
// them), each after prepare (screen).
template <class Prepare>
void gameScreenTicks(benchmark::State& state, Prepare prepare) {
    Game game;
    GameScreen& screen = game.showGame();
    std::uint32_t now = 200000;
    for (auto _ : state) {
        prepare(screen);
        now += 90;
        headless::setTickCount(now);
        screen.tick(now);
        benchmark::DoNotOptimize(headless::display().row(0));
    }
}

// A tick of the showing game screen after one hour step: the buttons are
// ticked, the refresh gate has opened, and the dirty dial is copied to the
// display after the whole back buffer has been composed.
void gameScreenTickAfterHourStep(benchmark::State& state) {
    gameScreenTicks(state, [](GameScreen& screen) { screen.clock->nextHour(); });
}
BENCHMARK(gameScreenTickAfterHourStep);

// The ticks of a spin, one step each, averaged over whole spins: every 30th
// ends the spin with the next question and a full repaint, and the next
// iteration starts another spin as a right answer does.
void gameScreenSpinStep(benchmark::State& state) {
    gameScreenTicks(state, [](GameScreen& screen) {
        if (screen.clockAnim->visible) return;
        screen.clock->setVisible(false);
        screen.clockAnim->setTime(screen.clock->hour, screen.clock->minute);
        screen.clockAnim->start();
    });
}
BENCHMARK(gameScreenSpinStep);

}  // namespace
