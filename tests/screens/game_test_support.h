// Helpers for the screen and whole-game tests: a registry file in a fresh
// temporary folder with readers of the values the game writes, pixel
// comparisons against the resource bitmaps, and a listener that writes down
// what the screens report.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "figures/Image.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "scene/Figure.h"
#include "scene/ScreenListener.h"
#include "tests/support/temp_folder.h"

namespace gametest {

// A registry folder of its own; removed again with the object.
class RegistryFolder {
public:
    RegistryFolder() { platform::headless::setRegistryFolder(folder); }
    ~RegistryFolder() { platform::headless::setRegistryFolder({}); }

    std::string fileText() const {
        std::ifstream in(folder / "registry.reg", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The text of "name"="..." under the game's key; nullopt when not written.
    std::optional<std::string> text(const std::string& name) const {
        std::string prefix = "\"" + name + "\"=\"";
        std::stringstream in(fileText());
        for (std::string line; std::getline(in, line);) {
            if (!line.starts_with(prefix)) continue;
            std::string rest = line.substr(prefix.size());
            return rest.substr(0, rest.find('"'));
        }
        return std::nullopt;
    }

    // The bytes of "name"=hex:..., following continuation lines; empty when not written.
    std::vector<std::uint8_t> binary(const std::string& name) const {
        std::string prefix = "\"" + name + "\"=hex:";
        std::stringstream in(fileText());
        std::vector<std::uint8_t> bytes;
        bool inside = false;
        for (std::string line; std::getline(in, line);) {
            if (!inside) {
                if (!line.starts_with(prefix)) continue;
                inside = true;
                line = line.substr(prefix.size());
            }
            bool continues = line.ends_with("\\");
            std::stringstream items(line);
            for (std::string item; std::getline(items, item, ',');) {
                std::size_t start = item.find_first_not_of(" \\\r");
                if (start == std::string::npos) continue;
                bytes.push_back(static_cast<std::uint8_t>(std::stoul(item.substr(start, 2), nullptr, 16)));
            }
            if (!continues) break;
        }
        return bytes;
    }

    // correct and attempts of a level (1 to 10) from "stat"; {-1, -1} when not written.
    std::pair<std::int32_t, std::int32_t> stat(int level) const {
        std::vector<std::uint8_t> bytes = binary("stat");
        if (bytes.size() != 80) return {-1, -1};
        auto at = [&](std::size_t offset) {
            return static_cast<std::int32_t>(bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
                                             (static_cast<std::uint32_t>(bytes[offset + 3]) << 24));
        };
        std::size_t offset = static_cast<std::size_t>(level - 1) * 8;
        return {at(offset), at(offset + 4)};
    }

    TempFolder sandbox{"horalia-game"};
    const std::filesystem::path folder = sandbox.path();
};

// A resource bitmap, loaded for comparisons.
inline platform::Picture bitmap(std::uint32_t id) {
    auto loaded = platform::loadBitmap(platform::moduleHandle(), id);
    EXPECT_TRUE(loaded.has_value()) << "bitmap " << id;
    return loaded ? *loaded : platform::Picture();
}

// What a background shows at area with a keyed overlay (if any) at the area's top left.
inline platform::Picture composed(const platform::Picture& background, platform::Rect area,
                                  const platform::Picture* overlay, platform::Colour key) {
    platform::Picture picture(area.width(), area.height());
    platform::copy(picture, 0, 0, area.width(), area.height(), background, area.left, area.top);
    if (overlay != nullptr) platform::copyKeyed(picture, 0, 0, area.width(), area.height(), *overlay, 0, 0, key);
    return picture;
}

// Pixels of area on screen that differ from expected (laid at the area's top left).
inline int differences(const platform::Picture& screen, platform::Rect area, const platform::Picture& expected) {
    int count = 0;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (screen.pixel(area.left + x, area.top + y) != expected.pixel(x, y)) ++count;
    return count;
}

// Whether two pictures hold the same pixels.
inline bool samePixels(const platform::Picture& a, const platform::Picture& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

// The point a fraction of the way from a to b, rounded to the nearest pixel.
inline platform::Point along(platform::Point a, platform::Point b, double fraction) {
    return {static_cast<int>(a.x + (b.x - a.x) * fraction + 0.5), static_cast<int>(a.y + (b.y - a.y) * fraction + 0.5)};
}

// Sounds played since the last clear, as "id/flags" words.
inline std::vector<std::string> sounds() {
    std::vector<std::string> words;
    for (const auto& sound : platform::headless::playedSounds())
        words.push_back(std::to_string(sound.waveId) + "/" + std::to_string(sound.flags));
    return words;
}

// Writes down every report of a screen as "press <kind> <bitmap or tag>" or "release ...".
class RecordingScreenListener : public ScreenListener {
public:
    void screenPressed(Screen*, Figure* figure, std::int32_t, std::int32_t) override {
        log.push_back("press " + describe(figure));
    }
    void screenReleased(Screen*, Figure* figure, std::int32_t, std::int32_t) override {
        log.push_back("release " + describe(figure));
    }

    static std::string describe(Figure* figure) {
        std::wstring kind = figure->typeName();
        std::string name(kind.begin(), kind.end());
        if (kind == L"Button" || kind == L"Image") name += " " + std::to_string(static_cast<Image*>(figure)->bitmapId);
        if (kind == L"Hotspot") name += " " + std::to_string(figure->tag);
        return name;
    }

    std::vector<std::string> log;
};

}  // namespace gametest

namespace platform {
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
}  // namespace platform
