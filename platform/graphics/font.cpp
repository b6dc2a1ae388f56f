// Fonts from a logical-font description: the faces of the text's language
// (see language_faces.h) first, then Liberation Sans, which stands in for
// every face name; weight 600 and above is bold. A positive height is the
// cell height (ascent + descent), a negative one the em size, 0 a 12-pixel
// cell; the first face's metrics make the cell, and every face is drawn at
// the em size that gives. A line that Liberation Sans draws whole is drawn
// with it alone. Lines are laid out by text_layout.h.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/graphics/font_cache.h"
#include "platform/graphics/language_faces.h"
#include "platform/graphics/raster.h"
#include "platform/graphics/text_layout.h"
#include "platform/text.h"

namespace platform {

namespace {

// Faces that lay out a line, best first, at the em size that the first one's
// metrics give the cell.
struct FaceSet {
    std::vector<graphics::SizedFace*> faces;  // owned by the process's font cache
    int ascent = 0, descent = 0;
    int height() const { return ascent + descent; }
};

}  // namespace

struct Font::Face {
    FaceSet language;  // the language's own faces, then Liberation Sans
    FaceSet builtIn;   // Liberation Sans alone
    // A line that Liberation Sans draws whole (numbers, Latin words) is drawn
    // as in every other language; a line with letters of the language's own
    // script is drawn with its faces, numbers and all.
    const FaceSet& forLine(std::wstring_view text) const;

    // The line last laid out, kept: a text is measured, then drawn.
    struct Laid {
        std::wstring text;
        const FaceSet* set = nullptr;
        graphics::LaidLine line;
    };
    Laid last;
    const Laid& laid(std::wstring_view text);
};

namespace graphics {
namespace {

std::vector<std::span<const std::uint8_t>>& languageFaces() {  // with fontLock() held
    static std::vector<std::span<const std::uint8_t>> files;
    return files;
}

}  // namespace

void useLanguageFaces(std::vector<std::span<const std::uint8_t>> files) {
    const auto lock = fontLock();
    languageFaces() = std::move(files);
}

}  // namespace graphics

namespace {

constexpr int DEFAULT_CELL_HEIGHT = 12;
constexpr int MAX_PIXELS = 2048;  // larger requests are drawn at this size

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

namespace {

// The faces at the size that the description asks of the first one's cell.
FaceSet sized(const std::vector<const graphics::Face*>& faces, bool cell, int pixels) {
    FaceSet set;
    if (faces.empty()) {
        // Without FreeType text has no ink but keeps a plausible cell.
        set.ascent = cell ? pixels * 4 / 5 : pixels;
        set.descent = cell ? pixels - set.ascent : pixels / 5;
        return set;
    }
    const graphics::Face& first = *faces.front();
    const long unitsCell = std::max(first.unitsUp + first.unitsDown, 1L);
    double em;
    if (cell) {
        // The cell is exactly the height asked for; the ascent is its share, rounded.
        em = static_cast<double>(pixels) * first.ft->units_per_EM / unitsCell;
        set.ascent = static_cast<int>((2 * first.unitsUp * pixels + unitsCell) / (2 * unitsCell));
        set.descent = pixels - set.ascent;
    } else {
        em = pixels;
        const long upem = std::max<long>(first.ft->units_per_EM, 1);
        set.ascent = static_cast<int>((2 * first.unitsUp * pixels + upem) / (2 * upem));
        set.descent = static_cast<int>((2 * first.unitsDown * pixels + upem) / (2 * upem));
    }
    // The other faces at the same em size: a line's letters are alike in size.
    for (const graphics::Face* face : faces) set.faces.push_back(&graphics::sizedFace(*face, em));
    return set;
}

}  // namespace

const FaceSet& Font::Face::forLine(std::wstring_view text) const {  // with fontLock() held
    if (builtIn.faces.empty() || language.faces.size() == builtIn.faces.size()) return language;
    for (char32_t c : graphics::codePoints(text))
        if (!builtIn.faces.front()->covers(c)) return language;
    return builtIn;
}

const Font::Face::Laid& Font::Face::laid(std::wstring_view text) {  // with fontLock() held
    if (!last.set || last.text != text) {
        last.text = std::wstring(text);
        last.set = &forLine(text);
        last.line = graphics::layLine(text, last.set->faces);
    }
    return last;
}

Font::Font(const FontDescription& description) : face_(std::make_unique<Face>()) {
    const bool bold = description.weight >= 600;
    const std::int64_t height = description.height;
    const bool cell = height >= 0;
    const int pixels = static_cast<int>(
        height == 0 ? DEFAULT_CELL_HEIGHT : std::min<std::int64_t>(height < 0 ? -height : height, MAX_PIXELS));

    const auto lock = graphics::fontLock();
    std::vector<const graphics::Face*> faces, sans;
    for (const auto& file : graphics::languageFaces())
        if (const graphics::Face* face = graphics::faceOf(file)) faces.push_back(face);
    if (const graphics::Face* face = graphics::builtInFace(bold)) {
        faces.push_back(face);
        sans.push_back(face);
    }
    face_->language = sized(faces, cell, pixels);
    face_->builtIn = sized(sans, cell, pixels);
}

Font::~Font() = default;
Font::Font(Font&&) noexcept = default;
Font& Font::operator=(Font&&) noexcept = default;

Size Font::extent(std::wstring_view text) const {
    if (!face_) return {};
    const auto lock = graphics::fontLock();
    const Face::Laid& laid = face_->laid(text);
    return {static_cast<std::int32_t>(
                std::clamp<std::int64_t>(laid.line.width, 0, std::numeric_limits<std::int32_t>::max())),
            laid.set->height()};
}

void Font::drawCentred(Picture& target, Rect box, std::wstring_view text, Colour textColour,
                       Colour background) const {
    if (!face_ || target.empty()) return;
    const auto lock = graphics::fontLock();
    const Face::Laid& laid = face_->laid(text);
    const FaceSet& set = *laid.set;
    const graphics::LaidLine& line = laid.line;
    const std::int64_t width = line.width;
    const std::int64_t height = set.height();

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

    const std::int64_t baseline = top + set.ascent;
    for (const graphics::PlacedGlyph& placed : line.glyphs)
        drawGlyph(target, placed.face->glyph(placed.index), left + placed.x, baseline + placed.down, textColour);
}

}  // namespace platform
