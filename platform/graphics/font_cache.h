// The process's FreeType and HarfBuzz state: one library, the faces (the
// built-in Liberation Sans and the faces of the text's language), and one
// sized face per face and size with the glyphs it has rendered so far.
// Entries live as long as the process.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

namespace platform::graphics {

// One glyph as a monochrome mask: ink[row * width + column] is 1 for ink.
struct Glyph {
    int advance = 0;  // whole pixels
    int left = 0;     // from the pen position to the mask's first column
    int top = 0;      // from the baseline up to the mask's first row
    int width = 0, height = 0;
    std::vector<std::uint8_t> ink;
};

// A font file loaded for both libraries.
struct Face {
    FT_Face ft = nullptr;
    hb_face_t* hb = nullptr;
    // Liberation Sans, which stands in for the handheld's own face: narrowed
    // and, when small, hinted automatically (see SizedFace).
    bool handheldStandIn = false;
    // A face without hinting instructions of its own (the CJK faces, whose
    // outlines were converted from PostScript) is hinted by FreeType's
    // automatic hinter at every size.
    bool uninstructed = false;
    // The face's ascent and descent in font units as the platform measures
    // the cell: the OS/2 Windows metrics, or the horizontal header without them.
    long unitsUp = 0, unitsDown = 0;
};

// A face at one em size, with the cell metrics it would give a line of its own.
class SizedFace {
public:
    SizedFace(const Face& face, double emPixels);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    const Face& face() const { return face_; }
    // The shaper's font at this size (positions in 1/64 pixel); null without HarfBuzz.
    hb_font_t* shaper() const { return shaper_; }
    // Whether the face has a glyph for the character.
    bool covers(char32_t character) const;

    // Rendered on first use; callers hold fontLock().
    const Glyph& glyph(unsigned index);

private:
    const Face& face_;
    FT_Size size_ = nullptr;
    hb_font_t* shaper_ = nullptr;
    // Below this many pixels to the em the font's own hinting instructions
    // give Liberation Sans's bold glyphs uneven one-pixel stems in monochrome
    // (a "0" like "{}"), so FreeType's automatic hinter shapes them; from it
    // upwards the font's instructions give the crisper letters.
    static constexpr int SMALLEST_INSTRUCTED_SIZE = 13;
    // The handheld's bold face was narrower than Liberation Sans, and the
    // layout's fixed positions were made for it ("Score" at x 90 would touch
    // its number at x 130). Its text of those sizes is therefore rendered
    // with a horizontal pixel size of this share of the vertical one, still
    // hinted by the font's instructions; the smaller, automatically hinted
    // text keeps its full width.
    static constexpr double INSTRUCTED_WIDTH = 0.92;
    bool autoHinted_ = false;
    std::unordered_map<unsigned, Glyph> glyphs_;
};

// The built-in Liberation Sans of a weight; null without FreeType.
const Face* builtInFace(bool bold);
// The face in a font file that lives as long as the process (loaded once);
// null when FreeType cannot read it.
const Face* faceOf(std::span<const std::uint8_t> file);
// The face at an em size in pixels.
SizedFace& sizedFace(const Face& face, double emPixels);

// Serialises all use of FreeType, HarfBuzz and the glyph tables.
std::unique_lock<std::mutex> fontLock();

}  // namespace platform::graphics
