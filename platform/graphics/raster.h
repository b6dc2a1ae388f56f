// Clipping arithmetic shared by the drawing primitives. Coordinates are
// widened to 64 bits before anything is added or subtracted, so no input
// can overflow, and every span is cut to the picture before it is written.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/picture.h"

namespace platform::graphics {

// A rectangle in 64-bit coordinates; right and bottom lie just outside it.
struct Box {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

inline Box boxOf(Rect r) {
    return {r.left, r.top, r.right, r.bottom};
}

inline Box intersect(Box a, Box b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

inline Box boundsOf(const Picture& picture) {
    return {0, 0, picture.width(), picture.height()};
}

// Fills pixels first..last (both included) of row y, which lies in the picture.
inline void fillSpan(Picture& target, int y, std::int64_t first, std::int64_t last, Colour colour) {
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, target.width() - 1);
    if (first > last) return;
    std::fill_n(target.row(y) + first, last - first + 1, colour);
}

}  // namespace platform::graphics
