// Ellipses inscribed in a box whose right and bottom edges lie outside it,
// filled and then outlined, row by row and clipped to the picture.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/graphics/lines.h"
#include "platform/graphics/raster.h"
#include "platform/picture.h"

// The ellipse touches the outer edges of the box's outermost pixels. Work
// is done in doubled coordinates, where the centre and the radii are whole
// numbers: for the box l..r pixel x sits at 2x, the centre at l + r - 1 and
// the radius is r - l. A pixel belongs to an ellipse when its centre lies
// inside or on it. The fill is that set; a one-pixel pen draws the pixels of
// the set that have a four-neighbour outside it; a wider pen w draws the band
// between the ellipses with radii grown and shrunk by w (half the pen on each
// side of the edge, the inner edge included), a solid disc when the shrunk
// ellipse has no room left.

namespace platform {
namespace {

using graphics::fillSpan;

constexpr std::int64_t NONE = -1000;  // a half-span meaning "no pixel in this row"
constexpr std::int64_t EXACT_LIMIT = std::int64_t{1} << 30;

std::int64_t floorDiv2(std::int64_t v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}
std::int64_t ceilDiv2(std::int64_t v) {
    return -floorDiv2(-v);
}

// An axis-aligned ellipse about the origin in doubled coordinates.
class Oval {
public:
    Oval(std::int64_t ra, std::int64_t rb, int parityX, bool strict)
        : ra_(ra), rb_(rb), parityX_(parityX), strict_(strict) {}

    bool exists() const { return strict_ ? ra_ > 0 && rb_ > 0 : ra_ >= 0 && rb_ >= 0; }
    std::int64_t rb() const { return rb_; }

    bool contains(std::int64_t x, std::int64_t y) const {
        x = std::llabs(x), y = std::llabs(y);
        if (x > ra_ || y > rb_) return false;
        if (ra_ < EXACT_LIMIT && rb_ < EXACT_LIMIT) {
            using Wide = __int128;
            const Wide a2 = Wide{ra_} * ra_, b2 = Wide{rb_} * rb_;
            const Wide lhs = Wide{x} * x * b2 + Wide{y} * y * a2;
            return strict_ ? lhs < a2 * b2 : lhs <= a2 * b2;
        }
        const long double u = static_cast<long double>(x) / ra_;
        const long double v = static_cast<long double>(y) / rb_;
        return strict_ ? u * u + v * v < 1 : u * u + v * v <= 1;
    }

    // The largest |x| on the pixel grid that row y reaches, or NONE.
    std::int64_t halfSpan(std::int64_t y) const {
        if (!exists() || std::llabs(y) > rb_) return NONE;
        const double v = rb_ > 0 ? static_cast<double>(y) / static_cast<double>(rb_) : 0.0;
        auto x = static_cast<std::int64_t>(
            std::floor(static_cast<double>(ra_) * std::sqrt(std::max(0.0, 1 - v * v))));
        if ((x & 1) != parityX_) --x;
        while (contains(x + 2, y)) x += 2;
        while (x >= 0 && !contains(x, y)) x -= 2;
        return x >= 0 ? x : NONE;
    }

private:
    std::int64_t ra_, rb_;
    int parityX_;
    bool strict_;
};

struct Frame {
    std::int64_t cx, cy;  // doubled centre
    int parityX;          // of every doubled x offset from the centre
};

// Calls draw(y, Y) for every picture row y whose doubled offset Y lies within reach.
template <typename Draw>
void forRows(const Picture& target, const Frame& f, std::int64_t reach, Draw draw) {
    const std::int64_t top = std::max<std::int64_t>(ceilDiv2(f.cy - reach), 0);
    const std::int64_t bottom =
        std::min<std::int64_t>(floorDiv2(f.cy + reach), target.height() - 1);
    for (std::int64_t y = top; y <= bottom; ++y) draw(static_cast<int>(y), 2 * y - f.cy);
}

// Pixels of row y from doubled offset from..to (both on the grid).
void spanBetween(Picture& target, const Frame& f, int y, std::int64_t from, std::int64_t to,
                 Colour c) {
    if (from > to) return;
    fillSpan(target, y, (from + f.cx) / 2, (to + f.cx) / 2, c);
}

void fillOval(Picture& target, const Frame& f, const Oval& oval, Colour c) {
    forRows(target, f, oval.rb(), [&](int y, std::int64_t Y) {
        const std::int64_t h = oval.halfSpan(Y);
        if (h != NONE) spanBetween(target, f, y, -h, h, c);
    });
}

// The pixels of the oval with a four-neighbour outside it.
void outlineOval(Picture& target, const Frame& f, const Oval& oval, Colour c) {
    forRows(target, f, oval.rb(), [&](int y, std::int64_t Y) {
        const std::int64_t h = oval.halfSpan(Y);
        if (h == NONE) return;
        const std::int64_t inner = std::min(oval.halfSpan(Y - 2), oval.halfSpan(Y + 2));
        if (inner == NONE) {
            spanBetween(target, f, y, -h, h, c);
            return;
        }
        const std::int64_t edge = std::min(inner + 2, h);
        spanBetween(target, f, y, -h, -edge, c);
        spanBetween(target, f, y, edge, h, c);
    });
}

// The pixels inside outer and not strictly inside inner.
void band(Picture& target, const Frame& f, const Oval& outer, const Oval& inner, Colour c) {
    forRows(target, f, outer.rb(), [&](int y, std::int64_t Y) {
        const std::int64_t h = outer.halfSpan(Y);
        if (h == NONE) return;
        const std::int64_t hole = inner.halfSpan(Y);
        if (hole == NONE) {
            spanBetween(target, f, y, -h, h, c);
            return;
        }
        spanBetween(target, f, y, -h, -hole - 2, c);
        spanBetween(target, f, y, hole + 2, h, c);
    });
}

}  // namespace

void ellipse(Picture& target, Rect box, const Pen& pen, std::optional<Colour> fill) {
    if (target.empty()) return;
    const std::int64_t left = std::min(box.left, box.right), right = std::max(box.left, box.right);
    const std::int64_t top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
    if (left == right || top == bottom) return;
    const Frame f{left + right - 1, top + bottom - 1, static_cast<int>((left + right - 1) & 1)};
    const std::int64_t ra = right - left, rb = bottom - top;
    const Oval shape(ra, rb, f.parityX, false);

    if (fill) fillOval(target, f, shape, *fill);
    if (pen.style == Pen::Style::null) return;
    if (pen.width <= 1) {
        outlineOval(target, f, shape, pen.colour);
        return;
    }
    const std::int64_t w = std::min(pen.width, graphics::MAX_PEN_WIDTH);
    band(target, f, Oval(ra + w, rb + w, f.parityX, false), Oval(ra - w, rb - w, f.parityX, true),
         pen.colour);
}

}  // namespace platform
