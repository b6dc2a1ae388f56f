// FreeType behind a lock: the library and the two Liberation Sans faces are
// made on first use from the built-in font files. Glyphs are hinted for and
// rendered to one bit per pixel, so text never has blended edge pixels.
#include "platform/graphics/font_cache.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include "platform/graphics/embedded_fonts.h"

namespace platform::graphics {
namespace {

struct FontLibrary {
    std::mutex mutex;
    FT_Library library = nullptr;
    FT_Face faces[2] = {nullptr, nullptr};  // regular, bold
    std::map<std::tuple<bool, bool, int>, std::unique_ptr<SizedFace>> sizes;

    FontLibrary() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            return;
        }
        load(0, horalia_font_sans_regular, horalia_font_sans_regular_size);
        load(1, horalia_font_sans_bold, horalia_font_sans_bold_size);
    }

    void load(int index, const unsigned char* data, std::size_t size) {
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(library, data, static_cast<FT_Long>(size), 0, &face) == 0)
            faces[index] = face;
    }
};

// Made once and never destroyed, so that fonts used during static
// destruction still find it.
FontLibrary& fontLibrary() {
    static FontLibrary* library = new FontLibrary;
    return *library;
}

// The face's ascent and descent in font units as the platform measures the
// cell: the OS/2 Windows metrics, or the horizontal header without them.
void cellUnits(FT_Face face, long& ascent, long& descent) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    } else {
        ascent = face->ascender;
        descent = -face->descender;
    }
}

}  // namespace

SizedFace::SizedFace(FT_Face face, bool cellHeight, int pixels) : face_(face) {
    if (face_ == nullptr) {
        // Without FreeType text has no ink but keeps a plausible cell.
        ascent_ = cellHeight ? pixels * 4 / 5 : pixels;
        descent_ = cellHeight ? pixels - ascent_ : pixels / 5;
        return;
    }
    long unitsUp = 0, unitsDown = 0;
    cellUnits(face_, unitsUp, unitsDown);
    const long unitsCell = std::max(unitsUp + unitsDown, 1L);
    double em;
    if (cellHeight) {
        // The cell is exactly the height asked for; the ascent is its share, rounded.
        em = static_cast<double>(pixels) * face_->units_per_EM / unitsCell;
        ascent_ = static_cast<int>((2 * unitsUp * pixels + unitsCell) / (2 * unitsCell));
        descent_ = pixels - ascent_;
    } else {
        em = pixels;
        const long upem = std::max<long>(face_->units_per_EM, 1);
        ascent_ = static_cast<int>((2 * unitsUp * pixels + upem) / (2 * upem));
        descent_ = static_cast<int>((2 * unitsDown * pixels + upem) / (2 * upem));
    }
    if (FT_New_Size(face_, &size_) != 0) {
        size_ = nullptr;
        return;
    }
    FT_Activate_Size(size_);
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.height = static_cast<FT_Long>(std::lround(em * 64));
    FT_Request_Size(face_, &request);
    autoHinted_ = face_->size->metrics.y_ppem < SMALLEST_INSTRUCTED_SIZE;
    if (!autoHinted_) {
        request.width = static_cast<FT_Long>(std::lround(em * 64 * INSTRUCTED_WIDTH));
        FT_Request_Size(face_, &request);
    }
}

SizedFace::~SizedFace() {
    if (size_ != nullptr) FT_Done_Size(size_);
}

const Glyph& SizedFace::glyph(char32_t character) {
    auto found = glyphs_.find(character);
    if (found != glyphs_.end()) return found->second;
    Glyph& g = glyphs_[character];
    if (size_ == nullptr) return g;
    FT_Activate_Size(size_);
    const FT_UInt index = FT_Get_Char_Index(face_, character);
    const FT_Int32 hinting = autoHinted_ ? FT_LOAD_FORCE_AUTOHINT : 0;
    if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO | hinting) != 0) return g;
    FT_GlyphSlot slot = face_->glyph;
    // The automatic hinter widens letters; those lines keep the design widths.
    g.advance = autoHinted_ ? static_cast<int>((slot->linearHoriAdvance + 0x8000) >> 16)
                            : static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.height = static_cast<int>(bitmap.rows);
    g.ink.resize(static_cast<std::size_t>(g.width) * g.height);
    for (int row = 0; row < g.height; ++row) {
        // A negative pitch stores the rows bottom first.
        const std::ptrdiff_t pitch = bitmap.pitch;
        const unsigned char* bits =
            bitmap.buffer + (pitch >= 0 ? row * pitch : (g.height - 1 - row) * -pitch);
        for (int column = 0; column < g.width; ++column)
            g.ink[static_cast<std::size_t>(row) * g.width + column] =
                (bits[column >> 3] >> (7 - (column & 7))) & 1;
    }
    return g;
}

SizedFace& sizedFace(bool bold, bool cellHeight, int pixels) {  // with fontLock() held
    FontLibrary& library = fontLibrary();
    auto& entry = library.sizes[{bold, cellHeight, pixels}];
    if (!entry)
        entry = std::make_unique<SizedFace>(library.faces[bold ? 1 : 0], cellHeight, pixels);
    return *entry;
}

std::unique_lock<std::mutex> fontLock() {
    return std::unique_lock(fontLibrary().mutex);
}

}  // namespace platform::graphics
