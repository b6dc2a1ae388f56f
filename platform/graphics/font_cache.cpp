// FreeType and HarfBuzz behind a lock: the library, the two Liberation Sans
// faces made on first use from the built-in font files, and the faces of the
// languages' own scripts as they are handed in. Glyphs are hinted for and
// rendered to one bit per pixel, so text never has blended edge pixels.
#include "platform/graphics/font_cache.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include "platform/graphics/embedded_fonts.h"

namespace platform::graphics {
namespace {

// The face's cell in font units: the OS/2 Windows metrics, or the
// horizontal header without them.
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

struct FontLibrary {
    std::mutex mutex;
    FT_Library library = nullptr;
    std::map<const std::uint8_t*, std::unique_ptr<Face>> faces;  // by the file's first byte
    const Face* builtIn[2] = {nullptr, nullptr};                   // regular, bold
    std::map<std::pair<const Face*, double>, std::unique_ptr<SizedFace>> sizes;

    FontLibrary() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            return;
        }
        builtIn[0] = load({horalia_font_sans_regular, horalia_font_sans_regular_size}, true);
        builtIn[1] = load({horalia_font_sans_bold, horalia_font_sans_bold_size}, true);
    }

    const Face* load(std::span<const std::uint8_t> file, bool handheldStandIn) {
        auto& entry = faces[file.data()];
        if (entry) return entry.get();
        FT_Face ft = nullptr;
        if (library == nullptr || file.empty() ||
            FT_New_Memory_Face(library, file.data(), static_cast<FT_Long>(file.size()), 0, &ft) != 0)
            return nullptr;
        entry = std::make_unique<Face>();
        entry->ft = ft;
        hb_blob_t* blob = hb_blob_create(reinterpret_cast<const char*>(file.data()),
                                         static_cast<unsigned>(file.size()), HB_MEMORY_MODE_READONLY, nullptr,
                                         nullptr);
        entry->hb = hb_face_create(blob, 0);
        hb_blob_destroy(blob);
        entry->handheldStandIn = handheldStandIn;
        FT_ULong length = 0;
        entry->uninstructed = FT_Load_Sfnt_Table(ft, TTAG_fpgm, 0, nullptr, &length) != 0 &&
                              FT_Load_Sfnt_Table(ft, TTAG_prep, 0, nullptr, &length) != 0;
        cellUnits(ft, entry->unitsUp, entry->unitsDown);
        return entry.get();
    }
};

// Made once and never destroyed, so that fonts used during static
// destruction still find it.
FontLibrary& fontLibrary() {
    static FontLibrary* library = new FontLibrary;
    return *library;
}

}  // namespace

SizedFace::SizedFace(const Face& face, double em) : face_(face) {
    if (FT_New_Size(face_.ft, &size_) != 0) {
        size_ = nullptr;
        return;
    }
    FT_Activate_Size(size_);
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.height = static_cast<FT_Long>(std::lround(em * 64));
    FT_Request_Size(face_.ft, &request);
    autoHinted_ = face_.uninstructed;
    if (face_.handheldStandIn) {
        autoHinted_ = face_.ft->size->metrics.y_ppem < SMALLEST_INSTRUCTED_SIZE;
        if (!autoHinted_) {
            request.width = static_cast<FT_Long>(std::lround(em * 64 * INSTRUCTED_WIDTH));
            FT_Request_Size(face_.ft, &request);
        }
    }
    // The shaper measures in the same 1/64 pixels as the request.
    shaper_ = hb_font_create(face_.hb);
    hb_font_set_scale(shaper_, static_cast<int>(request.width ? request.width : request.height),
                      static_cast<int>(request.height));
}

SizedFace::~SizedFace() {
    if (shaper_ != nullptr) hb_font_destroy(shaper_);
    if (size_ != nullptr) FT_Done_Size(size_);
}

bool SizedFace::covers(char32_t character) const { return FT_Get_Char_Index(face_.ft, character) != 0; }

const Glyph& SizedFace::glyph(unsigned index) {
    auto found = glyphs_.find(index);
    if (found != glyphs_.end()) return found->second;
    Glyph& g = glyphs_[index];
    if (size_ == nullptr) return g;
    FT_Activate_Size(size_);
    const FT_Int32 hinting = autoHinted_ ? FT_LOAD_FORCE_AUTOHINT : 0;
    if (FT_Load_Glyph(face_.ft, index, FT_LOAD_TARGET_MONO | hinting) != 0) return g;
    FT_GlyphSlot slot = face_.ft->glyph;
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

const Face* builtInFace(bool bold) {  // with fontLock() held
    return fontLibrary().builtIn[bold ? 1 : 0];
}

const Face* faceOf(std::span<const std::uint8_t> file) {  // with fontLock() held
    return fontLibrary().load(file, false);
}

SizedFace& sizedFace(const Face& face, double em) {  // with fontLock() held
    auto& entry = fontLibrary().sizes[{&face, em}];
    if (!entry) entry = std::make_unique<SizedFace>(face, em);
    return *entry;
}

std::unique_lock<std::mutex> fontLock() {
    return std::unique_lock(fontLibrary().mutex);
}

}  // namespace platform::graphics
