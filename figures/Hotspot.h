// An invisible touch rectangle: it has a size but no picture, clicks when
// pressed and tells its listeners. Built enabled but hidden; the owner
// places it and shows it.
#pragma once

#include <cstdint>
#include <span>

#include "platform/picture.h"
#include "scene/Figure.h"

class Hotspot : public Figure {
public:
    // A width x height area at (0, 0); loads the shared click if not loaded yet.
    Hotspot(Screen* screen, platform::Window* window, std::int32_t width, std::int32_t height);
    ~Hotspot() override;
    const wchar_t* typeName() const override;
    // Always nullptr: a hotspot is never drawn.
    platform::Picture* imageDC() override;
    // Plays the click (when loaded) without waiting, then tells the listeners.
    void onPress(std::int32_t x, std::int32_t y) override;

    // The bytes of the click WAVE, shared by every hotspot and never released;
    // empty until a hotspot has loaded it.
    static inline std::span<const std::uint8_t> clickSound;
};
