// The pace of the real desktop program: how soon a press made at rest
// reaches the game, and the intervals between the 30 steps of the spin that
// follows a right answer, as the game loop on the SDL host takes them.
// Usage: horalia_spin_pace [spins]   (under X, e.g. Xvfb; settings go to a
// temporary folder). Prints the press latency and the steps' mean, standard
// deviation, smallest, largest and spread, in milliseconds.
#include <SDL.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/App.h"
#include "app/MainLoop.h"
#include "app/MainWindow.h"
#include "bench/x_click.h"
#include "figures/ClockAnim.h"
#include "platform/core/input.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "screens/GameScreen.h"
#include "tests/screens/controls.h"

namespace {

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void runFor(MainLoop& loop, double milliseconds) {
    const double end = nowMs() + milliseconds;
    while (nowMs() < end) loop.pass();
}

// One right answer and the spin after it; appends the step intervals.
void spinOnce(MainLoop& loop, std::vector<double>& intervals) {
    GameScreen& game = *application->gameScreen;
    game.clock->setTime(game.targetHour, game.targetMinute);
    platform::core::stylusDown(controls::CHECK.x, controls::CHECK.y);
    platform::core::stylusUp(controls::CHECK.x, controls::CHECK.y);
    ClockAnim& spin = *game.clockAnim;
    std::int32_t hour = -1, minute = -1;
    double last = -1;
    const double giveUp = nowMs() + 10000;
    while (nowMs() < giveUp) {
        loop.pass();
        if (!spin.visible) {
            if (last >= 0) break;  // the spin has ended
            continue;
        }
        if (spin.hour == hour && spin.minute == minute) continue;
        const double now = nowMs();
        if (last >= 0 && hour >= 0) intervals.push_back(now - last);
        hour = spin.hour;
        minute = spin.minute;
        last = now;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int spins = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string folder = (std::filesystem::temp_directory_path() / "horalia-pace-XXXXXX").string();
    if (!mkdtemp(folder.data())) return 1;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "no display: %s\n", SDL_GetError());
        return 1;
    }
    if (!createMainWindow(platform::moduleHandle(), platform::SW_SHOW) || !application) return 1;
    MainLoop loop(platform::loadAccelerators(platform::moduleHandle(), IDR_ACCELERATORS));

    // At rest on the title for three seconds, then a click.
    runFor(loop, 3000);
    double sent = -1;
    std::thread clicker([&] { sent = clickThroughX(240, 300); });
    double reached = -1;
    const double giveUp = nowMs() + 5000;
    while (nowMs() < giveUp && application->currentScreen != application->gameScreen) loop.pass();
    if (application->currentScreen == application->gameScreen) reached = nowMs();
    clicker.join();
    if (sent < 0 || reached < 0) {
        std::fprintf(stderr, "the click through X did not reach the game\n");
        return 1;
    }
    std::printf("press at rest to the game screen: %.2f ms\n", reached - sent);

    std::vector<double> intervals;
    for (int i = 0; i < spins; ++i) {
        runFor(loop, 500);
        spinOnce(loop, intervals);
    }
    if (intervals.empty()) return 1;
    double sum = 0, squares = 0;
    for (double v : intervals) sum += v;
    const double mean = sum / static_cast<double>(intervals.size());
    for (double v : intervals) squares += (v - mean) * (v - mean);
    const auto [lowest, highest] = std::minmax_element(intervals.begin(), intervals.end());
    std::printf("spin steps: %zu intervals over %d spins: mean %.2f ms, sd %.2f, min %.2f, max %.2f, spread %.2f\n",
                intervals.size(), spins, mean, std::sqrt(squares / static_cast<double>(intervals.size())),
                *lowest, *highest, *highest - *lowest);

    platform::destroyWindow(application->window);
    SDL_Quit();
    std::filesystem::remove_all(folder);
    return 0;
}
