// One line of text laid out for drawing: put in display order by the Unicode
// bidirectional rules (FriBidi), each character given to the first face
// that has it, each run of one direction and face shaped (HarfBuzz), and the
// glyphs placed on whole pixels.
#pragma once

#include <string_view>
#include <vector>

#include "platform/graphics/font_cache.h"

namespace platform::graphics {

// A glyph placed on the line: its pen position from the line's left end and
// its offset below the baseline, in pixels.
struct PlacedGlyph {
    SizedFace* face = nullptr;
    unsigned index = 0;
    long x = 0;
    long down = 0;
};

struct LaidLine {
    std::vector<PlacedGlyph> glyphs;  // left to right
    long width = 0;                   // the sum of the advances
    bool rightToLeft = false;         // the line's own direction
};

// The text as Unicode code points (UTF-16 where wchar_t has 16 bits).
std::vector<char32_t> codePoints(std::wstring_view text);

// Lays out the text with the faces in the order they are asked (the first
// that has a character draws it; one that none has gets the first face's
// missing-glyph box). Callers hold fontLock().
LaidLine layLine(std::wstring_view text, const std::vector<SizedFace*>& faces);

}  // namespace platform::graphics
