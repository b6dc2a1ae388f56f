// Lays out a line: bidirectional levels, a face for each character, runs of
// one level and face shaped by HarfBuzz, the runs put in display order.
// Glyphs keep the whole-pixel advances of their hinted drawings where the
// shaper leaves a glyph's advance as the font has it (Latin text draws as
// it always did); where it moves glyphs (Arabic marks, Devanagari
// conjuncts) its positions are rounded to whole pixels.
#include "platform/graphics/text_layout.h"

#include <fribidi.h>

#include <algorithm>

#include "platform/text.h"

namespace platform::graphics {

// The text as Unicode code points: a 16-bit wchar_t holds UTF-16, whose
// surrogate pairs are joined; a lone surrogate stays as it is.
std::vector<char32_t> codePoints(std::wstring_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        out.push_back(c);
    }
    return out;
}

namespace {

// The embedding level of each character (odd: right to left) and the
// paragraph's direction, found from its first strong character.
std::vector<FriBidiLevel> bidiLevels(const std::vector<char32_t>& text, bool& rightToLeft) {
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size(), 0);
    const auto* chars = reinterpret_cast<const FriBidiChar*>(text.data());
    fribidi_get_bidi_types(chars, n, types.data());
    fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction, levels.data()) == 0) {
        std::fill(levels.begin(), levels.end(), 0);
        direction = FRIBIDI_PAR_LTR;
    }
    rightToLeft = FRIBIDI_IS_RTL(direction);
    return levels;
}

// Marks and joiners belong to the character before them, and so to its face.
bool joinsThePrevious(char32_t c) {
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_FORMAT: return true;
    default: return false;
    }
}

std::vector<std::size_t> facesOf(const std::vector<char32_t>& text, const std::vector<SizedFace*>& faces) {
    std::vector<std::size_t> out(text.size(), 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && joinsThePrevious(text[i])) {
            out[i] = out[i - 1];
            continue;
        }
        for (std::size_t f = 0; f < faces.size(); ++f)
            if (faces[f]->covers(text[i])) {
                out[i] = f;
                break;
            }
    }
    return out;
}

struct Run {
    std::size_t start = 0, length = 0;
    FriBidiLevel level = 0;
    std::size_t face = 0;
};

// Runs in display order: from the highest level down to the lowest odd
// one, every stretch of runs at that level or above is reversed.
void orderForDisplay(std::vector<Run>& runs) {
    FriBidiLevel highest = 0, lowestOdd = 255;
    for (const Run& r : runs) {
        highest = std::max(highest, r.level);
        if (r.level % 2) lowestOdd = std::min(lowestOdd, r.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level)
        for (std::size_t i = 0; i < runs.size();) {
            if (runs[i].level < level) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < runs.size() && runs[end].level >= level) ++end;
            std::reverse(runs.begin() + static_cast<std::ptrdiff_t>(i), runs.begin() + static_cast<std::ptrdiff_t>(end));
            i = end;
        }
}

// 1/64 pixel to whole pixels, halves up.
long pixels(hb_position_t value) { return static_cast<long>((value + 32) >> 6); }

}  // namespace

LaidLine layLine(std::wstring_view text, const std::vector<SizedFace*>& faces) {
    LaidLine line;
    if (faces.empty() || text.empty()) return line;
    const std::vector<char32_t> chars = codePoints(text);
    const std::vector<FriBidiLevel> levels = bidiLevels(chars, line.rightToLeft);
    const std::vector<std::size_t> face = facesOf(chars, faces);

    std::vector<Run> runs;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (runs.empty() || runs.back().level != levels[i] || runs.back().face != face[i])
            runs.push_back({i, 0, levels[i], face[i]});
        ++runs.back().length;
    }
    orderForDisplay(runs);

    hb_buffer_t* buffer = hb_buffer_create();
    // A fixed language, so that no host's locale changes the glyphs.
    const hb_language_t language = hb_language_from_string("und", -1);
    for (const Run& run : runs) {
        SizedFace& sized = *faces[run.face];
        hb_buffer_clear_contents(buffer);
        // The whole line is the context, so letters join across the runs' ends.
        hb_buffer_add_utf32(buffer, reinterpret_cast<const std::uint32_t*>(chars.data()),
                            static_cast<int>(chars.size()), static_cast<unsigned>(run.start),
                            static_cast<int>(run.length));
        hb_buffer_set_direction(buffer, run.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_language(buffer, language);
        hb_buffer_guess_segment_properties(buffer);
        hb_shape(sized.shaper(), buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &count);
        for (unsigned g = 0; g < count; ++g) {
            const unsigned index = info[g].codepoint;
            line.glyphs.push_back({&sized, index, line.width + pixels(position[g].x_offset),
                                   -pixels(position[g].y_offset)});
            const bool asDrawn = position[g].x_advance == hb_font_get_glyph_h_advance(sized.shaper(), index);
            line.width += asDrawn ? sized.glyph(index).advance : pixels(position[g].x_advance);
        }
    }
    hb_buffer_destroy(buffer);
    return line;
}

}  // namespace platform::graphics

namespace platform {

bool readsRightToLeft(std::wstring_view text) {
    const std::vector<char32_t> chars = graphics::codePoints(text);
    std::vector<FriBidiCharType> types(chars.size());
    fribidi_get_bidi_types(reinterpret_cast<const FriBidiChar*>(chars.data()),
                           static_cast<FriBidiStrIndex>(chars.size()), types.data());
    return FRIBIDI_IS_RTL(fribidi_get_par_direction(types.data(), static_cast<FriBidiStrIndex>(types.size())));
}

}  // namespace platform
