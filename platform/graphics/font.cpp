// Fonts from a logical-font description, all mapped to Liberation Sans:
// weight 600 and above is bold. A positive height is the cell height
// (ascent + descent), a negative one the em size, 0 a 12-pixel cell. Text
// is laid out by whole-pixel advances without kerning.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/graphics/font_cache.h"
#include "platform/graphics/raster.h"
#include "platform/text.h"

namespace platform {

struct Font::Face {
    graphics::SizedFace* sized = nullptr;  // owned by the process's font cache
};

namespace {

constexpr int DEFAULT_CELL_HEIGHT = 12;
constexpr int MAX_PIXELS = 2048;  // larger requests are drawn at this size

std::int64_t advanceOf(graphics::SizedFace& sized, std::wstring_view text) {
    std::int64_t width = 0;
    for (wchar_t c : text) width += sized.glyph(static_cast<char32_t>(c)).advance;
    return width;
}

// Draws a glyph's ink with its pen position at x and its baseline at y.
void drawGlyph(Picture& target, const graphics::Glyph& g, std::int64_t x, std::int64_t y,
               Colour colour) {
    const graphics::Box area =
        graphics::intersect({x + g.left, y - g.top, x + g.left + g.width, y - g.top + g.height},
                            graphics::boundsOf(target));
    if (area.empty()) return;
    const std::int64_t maskLeft = x + g.left, maskTop = y - g.top;
    for (std::int64_t row = area.top; row < area.bottom; ++row) {
        const std::uint8_t* ink = g.ink.data() + (row - maskTop) * g.width + (area.left - maskLeft);
        Colour* out = target.row(static_cast<int>(row)) + area.left;
        for (std::int64_t i = 0, n = area.right - area.left; i < n; ++i)
            if (ink[i]) out[i] = colour;
    }
}

}  // namespace

Font::Font(const FontDescription& description) : face_(std::make_unique<Face>()) {
    // Every face name falls back to Liberation Sans, which stands in for the Swiss family.
    const bool bold = description.weight >= 600;
    const std::int64_t height = description.height;
    const bool cell = height >= 0;
    const std::int64_t pixels =
        height == 0 ? DEFAULT_CELL_HEIGHT
                    : std::min<std::int64_t>(height < 0 ? -height : height, MAX_PIXELS);
    const auto lock = graphics::fontLock();
    face_->sized = &graphics::sizedFace(bold, cell, static_cast<int>(pixels));
}

Font::~Font() = default;
Font::Font(Font&&) noexcept = default;
Font& Font::operator=(Font&&) noexcept = default;

Size Font::extent(std::wstring_view text) const {
    if (!face_) return {};
    const auto lock = graphics::fontLock();
    const std::int64_t width = advanceOf(*face_->sized, text);
    return {static_cast<std::int32_t>(
                std::clamp<std::int64_t>(width, 0, std::numeric_limits<std::int32_t>::max())),
            face_->sized->cellHeight()};
}

void Font::drawCentred(Picture& target, Rect box, std::wstring_view text, Colour textColour,
                       Colour background) const {
    if (!face_ || target.empty()) return;
    const auto lock = graphics::fontLock();
    graphics::SizedFace& sized = *face_->sized;
    const std::int64_t width = advanceOf(sized, text);
    const std::int64_t height = sized.cellHeight();

    // Centred by integer division, as a centred single line is placed.
    const graphics::Box bounds = graphics::boxOf(box);
    const std::int64_t left = bounds.left + (bounds.right - bounds.left - width) / 2;
    const std::int64_t top = bounds.top + (bounds.bottom - bounds.top - height) / 2;

    const graphics::Box cells =
        graphics::intersect(graphics::intersect({left, top, left + width, top + height}, bounds),
                            graphics::boundsOf(target));
    if (!cells.empty()) {
        for (std::int64_t y = cells.top; y < cells.bottom; ++y)
            graphics::fillSpan(target, static_cast<int>(y), cells.left, cells.right - 1,
                               background);
    }

    const std::int64_t baseline = top + sized.ascent();
    std::int64_t pen = left;
    for (wchar_t c : text) {
        const graphics::Glyph& g = sized.glyph(static_cast<char32_t>(c));
        drawGlyph(target, g, pen, baseline, textColour);
        pen += g.advance;
    }
}

}  // namespace platform
