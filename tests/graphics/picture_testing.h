// Helpers for drawing tests: recognisable pixel patterns and the "window"
// check that a primitive clipped to a small picture sets exactly the pixels
// it sets in a larger picture drawn at an offset.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/platform.h"

namespace graphics_testing {

using platform::Colour;
using platform::Picture;

// A different colour for every pixel, never black.
inline Colour patternColour(int x, int y, int seed) {
    return platform::rgb(1 + x, 1 + y, 1 + seed);
}

inline Picture patterned(int width, int height, int seed) {
    Picture p(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.setPixel(x, y, patternColour(x, y, seed));
    return p;
}

inline Picture filled(int width, int height, Colour c) {
    Picture p(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.setPixel(x, y, c);
    return p;
}

inline int count(const Picture& p, Colour c) {
    int n = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) n += p.pixel(x, y) == c;
    return n;
}

// Draws with draw(picture, offset) into a small picture and into a big one
// where the small one sits at (margin, margin); the small one must match
// the big one's window exactly.
inline void expectClipsLikeWindow(int width, int height, int margin,
                                  const std::function<void(Picture&, int offset)>& draw,
                                  const std::string& what) {
    Picture small = filled(width, height, platform::rgb(9, 9, 9));
    Picture big = filled(width + 2 * margin, height + 2 * margin, platform::rgb(9, 9, 9));
    draw(small, 0);
    draw(big, margin);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(small.pixel(x, y), big.pixel(x + margin, y + margin))
                << what << " at (" << x << ", " << y << ")";
}

// Rows as text, '#' for colour c and '.' for anything else, for readable failures.
inline std::string sketch(const Picture& p, Colour c) {
    std::string s;
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) s += p.pixel(x, y) == c ? '#' : '.';
        s += '\n';
    }
    return s;
}

}  // namespace graphics_testing
