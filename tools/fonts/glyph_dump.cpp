// Prints every glyph of a face as the game's text draws it: one line per
// character, size, width and hinting (the font's instructions or FreeType's
// automatic hinter), with the advances, the bitmap's place and a hash of
// its monochrome pixels. Two faces (or two FreeType builds) draw the same
// text exactly when their dumps are equal.
// Usage: glyph_dump FACE.ttf [CHARACTERS.ttf]
//   CHARACTERS.ttf: the face whose character map lists the characters to
//   draw (default: FACE itself).
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace {

std::vector<FT_ULong> charactersOf(FT_Face face) {
    std::vector<FT_ULong> characters;
    FT_UInt index = 0;
    for (FT_ULong c = FT_Get_First_Char(face, &index); index != 0;
         c = FT_Get_Next_Char(face, c, &index))
        characters.push_back(c);
    return characters;
}

std::uint64_t hashOf(const FT_Bitmap& bitmap) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the pixels, row by row
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
            hash = (hash ^ ((line[column >> 3] >> (7 - (column & 7))) & 1)) * 1099511628211ull;
        }
    return hash;
}

// The em size, in 1/64 pixels, of a face whose cell (the Windows ascent
// plus descent) is `pixels` high, as the game sizes its cell fonts.
double cellEm(FT_Face face, int pixels) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const long cell = os2 ? os2->usWinAscent + os2->usWinDescent : face->ascender - face->descender;
    return static_cast<double>(pixels) * face->units_per_EM / cell * 64;
}

// One line's rest: advances, bitmap place and size, pixel hash.
void dumpGlyph(FT_Face face, FT_ULong character, FT_Int32 hinting) {
    const FT_UInt index = FT_Get_Char_Index(face, character);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | hinting) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) {
        std::printf("error\n");
        return;
    }
    const FT_GlyphSlot g = face->glyph;
    std::printf("%ld %ld %d %d %u %u %016" PRIx64 "\n", g->advance.x, g->linearHoriAdvance,
                g->bitmap_left, g->bitmap_top, g->bitmap.width, g->bitmap.rows, hashOf(g->bitmap));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: glyph_dump FACE.ttf [CHARACTERS.ttf]\n");
        return 2;
    }
    FT_Library library;
    FT_Face face, listing;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, argv[1], 0, &face) != 0 ||
        FT_New_Face(library, argv[argc - 1], 0, &listing) != 0) {
        std::fprintf(stderr, "glyph_dump: cannot open %s\n", argv[argc - 1]);
        return 1;
    }
    const std::vector<FT_ULong> characters = charactersOf(listing);
    // Full width, and the 92 % width that narrower text is drawn at (larger
    // sizes, so that the layout keeps its places).
    constexpr double WIDTHS[] = {1.0, 0.92};
    for (int cell = 0; cell < 2; ++cell)
        for (int pixels = 8; pixels <= 32; ++pixels)
            for (const double width : WIDTHS) {
                const double em = cell ? cellEm(face, pixels) : pixels * 64.0;
                FT_Size_RequestRec request{};
                request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
                request.height = std::lround(em);
                request.width = std::lround(em * width);
                if (FT_Request_Size(face, &request) != 0) return 1;
                for (const FT_Int32 hinting : {FT_Int32{FT_LOAD_DEFAULT}, FT_Int32{FT_LOAD_FORCE_AUTOHINT}})
                    for (FT_ULong c : characters) {
                        std::printf("%s%d w%.2f %s U+%04lX ", cell ? "cell" : "em", pixels, width,
                                    hinting ? "auto" : "font", c);
                        dumpGlyph(face, c, hinting);
                    }
            }
    return 0;
}
