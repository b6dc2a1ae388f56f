// What a figure tells about the stylus: implemented by the screens, which
// add themselves to the figures whose presses and releases they want.
#pragma once

#include <cstdint>

class Figure;

class FigureListener {
public:
    virtual ~FigureListener() = default;
    // The stylus went down on the figure at (x, y), screen pixels.
    virtual void figurePressed(Figure* figure, std::int32_t x, std::int32_t y) = 0;
    // The stylus came up and the figure was given the release at (x, y).
    virtual void figureReleased(Figure* figure, std::int32_t x, std::int32_t y) = 0;
};
