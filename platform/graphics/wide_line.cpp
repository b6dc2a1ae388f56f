// Wide lines as capsules: a pixel is covered when the distance from its
// centre (x, y) to the segment is at most width / 2. That gives round ends
// and, segment by segment, round joins. Each row's covered run is found in
// floating point and its two ends are then settled by an exact test.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/graphics/lines.h"
#include "platform/graphics/raster.h"

namespace platform::graphics {
namespace {

using Wide = __int128;

// End points beyond this are first cut back to the picture, so that the
// exact test below stays within 128 bits.
constexpr std::int64_t COORDINATE_LIMIT = std::int64_t{1} << 24;

struct Segment {
    std::int64_t ax, ay, bx, by;
};

class Capsule {
public:
    Capsule(Segment s, int width) : s_(s), width_(width), radius_(width / 2.0) {
        dx_ = s.bx - s.ax;
        dy_ = s.by - s.ay;
        length2_ = Wide{dx_} * dx_ + Wide{dy_} * dy_;
    }

    // Exact: 4 * distance^2 <= width^2, in integers.
    bool covers(std::int64_t x, std::int64_t y) const {
        const std::int64_t px = x - s_.ax, py = y - s_.ay;
        const Wide dot = Wide{px} * dx_ + Wide{py} * dy_;
        const Wide w2 = Wide{width_} * width_;
        if (dot <= 0) return 4 * (Wide{px} * px + Wide{py} * py) <= w2;
        if (dot >= length2_) {
            const std::int64_t qx = x - s_.bx, qy = y - s_.by;
            return 4 * (Wide{qx} * qx + Wide{qy} * qy) <= w2;
        }
        const Wide cross = Wide{px} * dy_ - Wide{py} * dx_;
        return 4 * cross * cross <= w2 * length2_;
    }

    // The covered pixels of row y, first..last; first > last when none.
    void run(std::int64_t y, std::int64_t& first, std::int64_t& last) const {
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        const auto join = [&](double l, double h) {
            if (l <= h) lo = std::min(lo, l), hi = std::max(hi, h);
        };
        disc(s_.ax, s_.ay, y, join);
        disc(s_.bx, s_.by, y, join);
        band(y, join);
        if (!(lo <= hi)) {
            first = 1, last = 0;
            return;
        }
        // The margin only has to exceed the rounding error; the exact test trims it.
        constexpr double margin = 1e-3;
        first = static_cast<std::int64_t>(std::ceil(lo - margin));
        last = static_cast<std::int64_t>(std::floor(hi + margin));
        while (first <= last && !covers(first, y)) ++first;
        while (last >= first && !covers(last, y)) --last;
        if (first > last) return;
        while (covers(first - 1, y)) --first;
        while (covers(last + 1, y)) ++last;
    }

    std::int64_t top() const {
        return std::min(s_.ay, s_.by) - static_cast<std::int64_t>(radius_) - 1;
    }
    std::int64_t bottom() const {
        return std::max(s_.ay, s_.by) + static_cast<std::int64_t>(radius_) + 1;
    }

private:
    template <typename Join>
    void disc(std::int64_t cx, std::int64_t cy, std::int64_t y, Join join) const {
        const double e = static_cast<double>(y - cy);
        const double h2 = radius_ * radius_ - e * e;
        if (h2 < 0) return;
        const double h = std::sqrt(h2);
        join(cx - h, cx + h);
    }

    // The part of the row between the perpendiculars at both ends and
    // within the radius of the segment's line.
    template <typename Join>
    void band(std::int64_t y, Join join) const {
        if (length2_ == 0) return;
        double lo = -std::numeric_limits<double>::infinity(), hi = -lo;
        const double e = static_cast<double>(y - s_.ay);
        const double len2 = static_cast<double>(length2_);
        const double reach = radius_ * std::sqrt(len2);
        // Keeps the x with min <= k * (x - ax) + c <= max.
        const auto keep = [&](double k, double c, double min, double max) {
            if (k == 0) {
                if (c < min || c > max) lo = 1, hi = 0;
                return;
            }
            double u = (min - c) / k, v = (max - c) / k;
            if (u > v) std::swap(u, v);
            lo = std::max(lo, s_.ax + u);
            hi = std::min(hi, s_.ax + v);
        };
        keep(static_cast<double>(dx_), e * static_cast<double>(dy_), 0, len2);
        keep(static_cast<double>(dy_), -e * static_cast<double>(dx_), -reach, reach);
        join(lo, hi);
    }

    Segment s_;
    int width_;
    double radius_;
    std::int64_t dx_ = 0, dy_ = 0;
    Wide length2_ = 0;
};

// Cuts a segment with far-away end points to the picture grown by the pen's
// reach; false when none of it comes near the picture.
bool bringNear(Segment& s, const Picture& target, int width) {
    const auto far = [](std::int64_t v) { return v < -COORDINATE_LIMIT || v > COORDINATE_LIMIT; };
    if (!far(s.ax) && !far(s.ay) && !far(s.bx) && !far(s.by)) return true;
    const double grow = width / 2.0 + 2;
    const double left = -grow, top = -grow;
    const double right = target.width() + grow, bottom = target.height() + grow;
    const double x0 = static_cast<double>(s.ax), y0 = static_cast<double>(s.ay);
    const double ddx = static_cast<double>(s.bx) - x0, ddy = static_cast<double>(s.by) - y0;
    double t0 = 0, t1 = 1;
    // Liang-Barsky: each side keeps the part of the parameter range inside it.
    const auto side = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double r = q / p;
        if (p < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        return t0 <= t1;
    };
    if (!side(-ddx, x0 - left) || !side(ddx, right - x0) || !side(-ddy, y0 - top) ||
        !side(ddy, bottom - y0))
        return false;
    s = {std::llround(x0 + t0 * ddx), std::llround(y0 + t0 * ddy), std::llround(x0 + t1 * ddx),
         std::llround(y0 + t1 * ddy)};
    return true;
}

}  // namespace

void drawWideLine(Picture& target, Point a, Point b, int width, Colour colour) {
    if (target.empty()) return;
    width = std::min(width, MAX_PEN_WIDTH);
    Segment s{a.x, a.y, b.x, b.y};
    if (!bringNear(s, target, width)) return;
    const Capsule capsule(s, width);
    const std::int64_t top = std::max<std::int64_t>(capsule.top(), 0);
    const std::int64_t bottom = std::min<std::int64_t>(capsule.bottom(), target.height() - 1);
    for (std::int64_t y = top; y <= bottom; ++y) {
        std::int64_t first, last;
        capsule.run(y, first, last);
        if (first <= last) fillSpan(target, static_cast<int>(y), first, last, colour);
    }
}

}  // namespace platform::graphics
