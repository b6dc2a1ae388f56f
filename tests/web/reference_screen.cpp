// Writes the headless host's picture of a screen as a binary PPM, for the
// browser test to compare with the page's canvas pixel for pixel. The local
// time (which also seeds the questions) is given, the progress starts fresh
// in a folder of its own (or from a given progress file), and the screen is
// reached by the taps a child makes.
// With "answer" instead of a screen and "-" as the file, it prints how many
// taps of the minute and of the hour arrow set the first question's answer.
// Usage: reference_screen title|game|level|answer YEAR MONTH DAY HOUR MINUTE SECOND OUT.ppm [PROGRESS.reg]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "figures/Clock.h"
#include "screens/GameScreen.h"
#include "tests/app/game_driver.h"

namespace {

platform::LocalTime timeFrom(char** field) {
    using namespace std::chrono;
    const int y = std::atoi(field[0]), mo = std::atoi(field[1]), d = std::atoi(field[2]);
    const weekday day{sys_days{year{y} / month{static_cast<unsigned>(mo)} / static_cast<unsigned>(d)}};
    auto u16 = [](int n) { return static_cast<std::uint16_t>(n); };
    return {u16(y), u16(mo), u16(day.c_encoding()), u16(d), u16(std::atoi(field[3])),
            u16(std::atoi(field[4])), u16(std::atoi(field[5])), 0};
}

bool writePpm(const platform::Picture& picture, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width() << ' ' << picture.height() << "\n255\n";
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const platform::Colour c = picture.pixel(x, y);
            const char rgb[3] = {static_cast<char>(platform::redOf(c)), static_cast<char>(platform::greenOf(c)),
                                 static_cast<char>(platform::blueOf(c))};
            out.write(rgb, 3);
        }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string screen = argc == 9 || argc == 10 ? argv[1] : "";
    if (screen != "title" && screen != "game" && screen != "level" && screen != "answer") {
        std::fprintf(stderr, "usage: %s title|game|level|answer YEAR MONTH DAY HOUR MINUTE SECOND OUT.ppm [PROGRESS.reg]\n", argv[0]);
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() / ("reference_screen." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    if (argc == 10) std::filesystem::copy_file(argv[9], folder / "registry.reg");
    platform::headless::reset();
    platform::headless::setRegistryFolder(folder);
    platform::headless::setLocalTime(timeFrom(argv + 2));

    gamedriver::GameDriver game;
    bool ok = game.launch();
    if (ok && screen != "title") game.tap(gamedriver::TITLE);
    if (ok && screen == "level") game.tap(gamedriver::MENU);
    if (ok && screen == "answer") {
        // The arrows as a child uses them: minutes first (they carry into the hour).
        const GameScreen& question = *application->gameScreen;
        int minuteTaps = 0, hourTaps = 0;
        for (; minuteTaps < 12 && question.clock->minute != question.targetMinute; ++minuteTaps)
            game.tap(gamedriver::MINUTE_FORWARD);
        for (; hourTaps < 12 && question.clock->hour != question.targetHour; ++hourTaps)
            game.tap(gamedriver::HOUR_FORWARD);
        std::printf("%d %d\n", minuteTaps, hourTaps);
    } else {
        ok = ok && writePpm(platform::headless::display(), argv[8]);
    }
    game.stop();
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
