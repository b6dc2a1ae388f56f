// The two kinds of line segment that polylines are made of: one pixel wide
// (Bresenham, end point left out) and wide (a capsule of the pen's width).
#pragma once

#include "platform/picture.h"

namespace platform::graphics {

// Pixels from a up to, but not including, b; nothing when a == b.
void drawThinLine(Picture& target, Point a, Point b, Colour colour);

// Every pixel whose centre lies within width / 2 of the segment a-b
// (distance <= width / 2, so the rule is the same from either end).
void drawWideLine(Picture& target, Point a, Point b, int width, Colour colour);

// Pens wider than this draw as if they were this wide.
constexpr int MAX_PEN_WIDTH = 1 << 20;

}  // namespace platform::graphics
