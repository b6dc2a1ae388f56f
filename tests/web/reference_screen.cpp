// Writes the headless host's picture of a screen as a binary PPM, for the
// browser test to compare with the page's canvas pixel for pixel. The local
// time (which also seeds the questions) is given, the progress starts fresh
// in a folder of its own (or from a given progress file), and the screen is
// reached by the taps a child makes.
// With "answer" instead of a screen and "-" as the file, it prints how many
// taps of the minute and of the hour arrow set the first question's answer.
// With "matrix", a folder instead of the file and questions as LEVEL:HOURS:MINUTES,
// it writes title, game and level .ppm there and then, for each question,
// question-N.ppm: the level chosen on the level screen, the questions seeded
// so that the level's question asks for those hours and minutes (the seed is
// printed, one line a question, for the browser to draw the same), and OK.
// Usage: reference_screen title|game|level|answer YEAR MONTH DAY HOUR MINUTE SECOND OUT.ppm [PROGRESS.reg]
//        reference_screen matrix YEAR MONTH DAY HOUR MINUTE SECOND FOLDER LEVEL:HOURS:MINUTES...
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

#include "figures/Clock.h"
#include "screens/GameScreen.h"
#include "screens/Questions.h"
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

// The first seed from which the level's question asks for these hours and minutes.
std::optional<std::uint32_t> seedAsking(int level, int hours, int minutes) {
    for (std::uint32_t seed = 1; seed < 10000000; ++seed) {
        platform::seedRandom(seed);
        const std::optional<Question> question = makeQuestion(level);
        if (question && question->promptHours == hours && question->promptMinutes == minutes) return seed;
    }
    return std::nullopt;
}

// The screens of the matrix from the game screen on, as described above.
bool writeMatrix(gamedriver::GameDriver& game, const std::filesystem::path& folder, int count, char** questions) {
    if (!writePpm(platform::headless::display(), (folder / "game.ppm").string())) return false;
    game.tap(gamedriver::MENU);
    if (!writePpm(platform::headless::display(), (folder / "level.ppm").string())) return false;
    for (int i = 0; i < count; ++i) {
        int level = 0, hours = 0, minutes = 0;
        if (std::sscanf(questions[i], "%d:%d:%d", &level, &hours, &minutes) != 3) return false;
        const std::optional<std::uint32_t> seed = seedAsking(level, hours, minutes);
        if (!seed) return false;
        game.tap(gamedriver::levelBoxTap(level));
        platform::seedRandom(*seed);
        game.tap(gamedriver::OK_BUTTON);
        // A level that was already chosen asks nothing new: the list must change it each time.
        if (application->gameScreen->shownLevel != level) return false;
        const std::string name = "question-" + std::to_string(i + 1) + ".ppm";
        if (!writePpm(platform::headless::display(), (folder / name).string())) return false;
        std::printf("%u\n", *seed);
        game.tap(gamedriver::MENU);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool matrix = argc >= 9 && std::string(argv[1]) == "matrix";
    const std::string screen = argc == 9 || argc == 10 || matrix ? argv[1] : "";
    if (screen != "title" && screen != "game" && screen != "level" && screen != "answer" && !matrix) {
        std::fprintf(stderr,
                     "usage: %s title|game|level|answer YEAR MONTH DAY HOUR MINUTE SECOND OUT.ppm [PROGRESS.reg]\n"
                     "       %s matrix YEAR MONTH DAY HOUR MINUTE SECOND FOLDER LEVEL:HOURS:MINUTES...\n",
                     argv[0], argv[0]);
        return 2;
    }
    const auto folder = std::filesystem::temp_directory_path() / ("reference_screen." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    if (argc == 10 && !matrix) std::filesystem::copy_file(argv[9], folder / "registry.reg");
    platform::headless::reset();
    platform::headless::setRegistryFolder(folder);
    platform::headless::setLocalTime(timeFrom(argv + 2));

    gamedriver::GameDriver game;
    bool ok = game.launch();
    if (ok && matrix)
        ok = writePpm(platform::headless::display(), (std::filesystem::path(argv[8]) / "title.ppm").string());
    if (ok && screen != "title") game.tap(gamedriver::TITLE);
    if (ok && screen == "level") game.tap(gamedriver::MENU);
    if (ok && matrix) {
        ok = writeMatrix(game, argv[8], argc - 9, argv + 9);
    } else if (ok && screen == "answer") {
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
