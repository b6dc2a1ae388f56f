// One line of text rendered once, at construction, into a picture exactly
// the text's extent: glyphs in one colour on KEY_COLOUR, so only the glyphs
// show. An owner that wants another text replaces the figure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/resources.h"
#include "platform/text.h"
#include "scene/Figure.h"

class Text : public Figure {
public:
    // The text in the default font (18 pixels, bold, Swiss).
    Text(Screen* screen, platform::Window* window, std::wstring_view text, platform::Colour colour);
    // The text in the given font.
    Text(Screen* screen, platform::Window* window, std::wstring_view text, platform::Colour colour,
         const platform::FontDescription& font);
    // String-table entry id of module, cut to 79 characters, in the given font.
    Text(Screen* screen, platform::Instance* module, platform::Window* window, std::uint32_t id,
         platform::Colour colour, const platform::FontDescription& font);
    ~Text() override;
    const wchar_t* typeName() const override;
    // The rendered text; nullptr for an empty one.
    platform::Picture* imageDC() override;

    // Cell height 18, bold, Swiss family, no face name.
    static platform::FontDescription defaultFont();

private:
    static constexpr std::size_t STRING_BUFFER_CHARS = 80;

    void render(std::wstring_view string, platform::Colour colour, const platform::FontDescription& font);

    platform::Picture picture;
    std::wstring text;
};
