// The process's FreeType state: one library, one face per weight loaded
// from the built-in font files, and one sized face per pixel size with the
// glyphs it has rendered so far. Entries live as long as the process.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace platform::graphics {

// One glyph as a monochrome mask: ink[row * width + column] is 1 for ink.
struct Glyph {
    int advance = 0;  // whole pixels
    int left = 0;     // from the pen position to the mask's first column
    int top = 0;      // from the baseline up to the mask's first row
    int width = 0, height = 0;
    std::vector<std::uint8_t> ink;
};

// A face at one pixel size, with the cell metrics that text is laid out by.
class SizedFace {
public:
    SizedFace(FT_Face face, bool cellHeight, int pixels);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int cellHeight() const { return ascent_ + descent_; }

    // Rendered on first use; callers hold fontLock().
    const Glyph& glyph(char32_t character);

private:
    FT_Face face_;
    FT_Size size_ = nullptr;
    int ascent_ = 0, descent_ = 0;
    // Below this many pixels to the em the font's own hinting instructions
    // give bold glyphs uneven one-pixel stems in monochrome (a "0" like
    // "{}"), so FreeType's automatic hinter shapes them; from it upwards the
    // font's instructions give the crisper letters.
    static constexpr int SMALLEST_INSTRUCTED_SIZE = 13;
    // The handheld's bold face was narrower than Liberation Sans, and the
    // layout's fixed positions were made for it ("Score" at x 90 would touch
    // its number at x 130). Text of those sizes is therefore rendered with a
    // horizontal pixel size of this share of the vertical one, still hinted
    // by the font's instructions; the smaller, automatically hinted text
    // keeps its full width.
    static constexpr double INSTRUCTED_WIDTH = 0.92;
    bool autoHinted_ = false;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// The sized face for a weight and a height: cellHeight true means pixels
// is ascent + descent, false means pixels is the em size.
SizedFace& sizedFace(bool bold, bool cellHeight, int pixels);

// Serialises all use of FreeType and of the glyph tables.
std::unique_lock<std::mutex> fontLock();

}  // namespace platform::graphics
