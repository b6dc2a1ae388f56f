// Text: a font made from a logical-font record, measured and drawn centred
// into a picture; a line's direction.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/picture.h"

namespace platform {

// The system's font names and values; where <windows.h> comes first, its
// macros stand in their place.
#ifndef FW_BOLD
constexpr std::uint8_t FF_SWISS = 0x20;
constexpr std::int32_t FW_BOLD = 700;
#endif

// The fields of the platform's logical-font record.
struct FontDescription {
    std::int32_t height = 0;  // > 0: cell height in pixels; < 0: character height
    std::int32_t width = 0;
    std::int32_t escapement = 0, orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0;
    std::uint8_t charSet = 0, outPrecision = 0, clipPrecision = 0, quality = 0;
    std::uint8_t pitchAndFamily = 0;
    std::wstring faceName;
};

// A font made from a description. Glyphs are drawn monochrome: every pixel
// is exactly the text colour or exactly the background colour.
class Font {
public:
    explicit Font(const FontDescription& description);
    ~Font();
    Font(Font&&) noexcept;
    Font& operator=(Font&&) noexcept;

    // The string's advance width by the font's cell height.
    Size extent(std::wstring_view text) const;

    // Draws one line of text centred in the box; the text's character cells
    // are filled with the background colour first.
    void drawCentred(Picture& target, Rect box, std::wstring_view text,
                     Colour textColour, Colour background) const;

    struct Face;

private:
    std::unique_ptr<Face> face_;
};

// Whether a line reads from right to left: its first letter is of a script
// written that way (Arabic). Such a line is laid out right to left, with
// the numbers in it still left to right.
bool readsRightToLeft(std::wstring_view text);

}  // namespace platform
