// What a screen tells its owner about the stylus: the application object
// implements it to switch screens on the navigation buttons.
#pragma once

#include <cstdint>

class Figure;
class Screen;

class ScreenListener {
public:
    virtual ~ScreenListener() = default;
    // The stylus went down on figure of screen at (x, y).
    virtual void screenPressed(Screen* screen, Figure* figure, std::int32_t x, std::int32_t y) = 0;
    // The stylus came up and figure of screen was given the release at (x, y).
    virtual void screenReleased(Screen* screen, Figure* figure, std::int32_t x, std::int32_t y) = 0;
};
