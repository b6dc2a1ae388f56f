// Helpers for figure tests: a screen in a fresh headless window, reading
// pictures, and writing a picture out as a PPM file to look at.
#pragma once

#include <cstdio>
#include <filesystem>
#include <set>

#include "tests/scene/scene_test_support.h"

namespace figuretest {

class FigureTest : public ::testing::Test {
protected:
    platform::Window* window = scenetest::openWindow();
    scenetest::TestScreen screen{window};
    std::vector<std::string> log;
};

// Every distinct colour of the picture.
inline std::set<platform::Colour> coloursOf(const platform::Picture& picture) {
    std::set<platform::Colour> colours;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    }
    return colours;
}

// Writes a binary PPM; false when the file cannot be written.
inline bool writePpm(const platform::Picture& picture, const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            platform::Colour c = picture.pixel(x, y);
            unsigned char rgb[3] = {static_cast<unsigned char>(platform::redOf(c)),
                                    static_cast<unsigned char>(platform::greenOf(c)),
                                    static_cast<unsigned char>(platform::blueOf(c))};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    return std::fclose(file) == 0;
}

}  // namespace figuretest
