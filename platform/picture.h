// Pictures and drawing: colours, rectangles, points and sizes, the off-screen
// picture, copies (plain and colour-keyed), filled rectangles, lines and
// ellipses. The figures draw with these and nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {

// A colour as red in the low byte, then green, then blue (the high byte is 0).
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Colour BLACK = rgb(0, 0, 0);
constexpr Colour WHITE = rgb(255, 255, 255);

// left, top, right, bottom; right and bottom lie just outside the area.
struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    constexpr std::int32_t width() const { return right - left; }
    constexpr std::int32_t height() const { return bottom - top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    std::int32_t x = 0, y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
    std::int32_t width = 0, height = 0;
    friend constexpr bool operator==(const Size&, const Size&) = default;
};

// The display of the handheld that the game is drawn for.
constexpr int DISPLAY_WIDTH = 240;
constexpr int DISPLAY_HEIGHT = 320;



// A 32-bit picture in memory, one Colour per pixel, rows top to bottom.
// It stands for a memory device context together with the bitmap selected
// into it. A new picture is black; a size of zero or less in either
// direction gives an empty picture.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    // Callers keep 0 <= x < width and 0 <= y < height.
    Colour pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void setPixel(int x, int y, Colour c) { pixels_[static_cast<std::size_t>(y) * width_ + x] = c; }
    Colour* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const Colour* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> pixels_;
};

// Copies a width x height block from source (sx, sy) to target (dx, dy).
// Both sides are clipped; nothing outside either picture is read or written.
void copy(Picture& target, int dx, int dy, int width, int height,
          const Picture& source, int sx, int sy);

// Like copy, but leaves out every source pixel exactly equal to key.
void copyKeyed(Picture& target, int dx, int dy, int width, int height,
               const Picture& source, int sx, int sy, Colour key);

// Fills the whole area of the rectangle, clipped to the picture.
void fillRect(Picture& target, Rect area, Colour colour);

// A pen for outlines and lines. A null pen draws nothing.
struct Pen {
    enum class Style { solid, null };
    Style style = Style::solid;
    int width = 1;
    Colour colour = BLACK;
};

// Draws connected line segments. A pen of width 1 or less draws one-pixel
// segments and leaves out the last point. Pens wider than one pixel have
// round ends and joins, centred on the line, like a geometric pen: they cover
// every pixel whose centre lies within width / 2 of a segment.
void polyline(Picture& target, std::span<const Point> points, const Pen& pen);

// Draws the ellipse that fits the box (right and bottom just outside it):
// filled with fill when given, then outlined with the pen centred on its edge.
void ellipse(Picture& target, Rect box, const Pen& pen, std::optional<Colour> fill);

}  // namespace platform
