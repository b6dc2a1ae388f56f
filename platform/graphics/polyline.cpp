// Polylines: each segment from one point to the next. A pen of width 0 or 1
// draws Bresenham segments without their end points, so the last point of
// the polyline is left out; a wider pen draws capsules (round ends and joins).
#include "platform/graphics/lines.h"
#include "platform/picture.h"

namespace platform {

void polyline(Picture& target, std::span<const Point> points, const Pen& pen) {
    if (pen.style == Pen::Style::null || points.size() < 2 || target.empty()) return;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        if (pen.width <= 1)
            graphics::drawThinLine(target, points[i], points[i + 1], pen.colour);
        else
            graphics::drawWideLine(target, points[i], points[i + 1], pen.width, pen.colour);
    }
}

}  // namespace platform
