// Solid rectangles: every pixel of the area that lies in the picture takes
// the colour; there is no outline.
#include <algorithm>

#include "platform/graphics/raster.h"
#include "platform/picture.h"

namespace platform {

void fillRect(Picture& target, Rect area, Colour colour) {
    const graphics::Box box =
        graphics::intersect(graphics::boxOf(area), graphics::boundsOf(target));
    if (box.empty()) return;
    const auto width = static_cast<std::size_t>(box.right - box.left);
    for (auto y = box.top; y < box.bottom; ++y)
        std::fill_n(target.row(static_cast<int>(y)) + box.left, width, colour);
}

}  // namespace platform
