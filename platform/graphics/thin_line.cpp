// One-pixel lines by Bresenham's rule: along the longer axis every step
// sets one pixel, the other coordinate is the exact ratio rounded half up.
// Only the steps that fall inside the picture are visited, so a line with
// huge end points costs no more than one across the picture.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/graphics/lines.h"

namespace platform::graphics {

void drawThinLine(Picture& target, Point a, Point b, Colour colour) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (major == 0) return;
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorStart = xMajor ? a.x : a.y;
    const std::int64_t minorStart = xMajor ? a.y : a.x;
    const std::int64_t majorLimit = xMajor ? target.width() : target.height();
    const std::int64_t minorLimit = xMajor ? target.height() : target.width();

    // Step i (0 <= i < major) lies at majorStart + majorStep * i; keep the
    // steps whose major coordinate is inside the picture.
    std::int64_t first, last;
    if (majorStep > 0) {
        first = std::max<std::int64_t>(0, -majorStart);
        last = std::min<std::int64_t>(major - 1, majorLimit - 1 - majorStart);
    } else {
        first = std::max<std::int64_t>(0, majorStart - majorLimit + 1);
        last = std::min<std::int64_t>(major - 1, majorStart);
    }
    if (first > last) return;

    // The minor offset of step i is floor((2 i minor + major) / (2 major)),
    // carried as a quotient and a remainder from the first visible step on.
    const std::int64_t denominator = 2 * major;
    const __int128 numerator = static_cast<__int128>(2) * first * minor + major;
    auto offset = static_cast<std::int64_t>(numerator / denominator);
    auto remainder = static_cast<std::int64_t>(numerator % denominator);

    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t m = majorStart + majorStep * i;
        const std::int64_t n = minorStart + minorStep * offset;
        if (n >= 0 && n < minorLimit) {
            if (xMajor)
                target.setPixel(static_cast<int>(m), static_cast<int>(n), colour);
            else
                target.setPixel(static_cast<int>(n), static_cast<int>(m), colour);
        }
        remainder += 2 * minor;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++offset;
        }
    }
}

}  // namespace platform::graphics
