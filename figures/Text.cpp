// Text: measure the line in its font, size the figure to it, and draw it
// centred on the key colour; the font lives only for the rendering.
#include "figures/Text.h"

#include "scene/Screen.h"

Text::Text(Screen* screen, platform::Window* window, std::wstring_view string, platform::Colour colour)
    : Figure(screen, window) {
    render(string, colour, defaultFont());
}

Text::Text(Screen* screen, platform::Window* window, std::wstring_view string, platform::Colour colour,
           const platform::FontDescription& font)
    : Figure(screen, window) {
    render(string, colour, font);
}

Text::Text(Screen* screen, platform::Instance* module, platform::Window* window, std::uint32_t id,
           platform::Colour colour, const platform::FontDescription& font)
    : Figure(screen, window) {
    render(platform::loadString(module, id, STRING_BUFFER_CHARS), colour, font);
}

Text::~Text() = default;

platform::FontDescription Text::defaultFont() {
    platform::FontDescription font;
    font.height = 18;
    font.weight = platform::FW_BOLD;
    font.pitchAndFamily = platform::FF_SWISS;
    return font;
}

// The picture is exactly the extent and the cells are filled with the key
// colour, so every pixel that is not ink is see-through.
void Text::render(std::wstring_view string, platform::Colour colour, const platform::FontDescription& description) {
    setX(0);
    setY(0);
    text = std::wstring(string);
    platform::Font font(description);
    platform::Size extent = font.extent(text);
    setWidth(extent.width);
    setHeight(extent.height);
    picture = platform::Picture(getWidth(), getHeight());
    font.drawCentred(picture, {0, 0, getWidth(), getHeight()}, text, colour, KEY_COLOUR);
    setVisible(true);
}

const wchar_t* Text::typeName() const { return L"Text"; }

platform::Picture* Text::imageDC() { return picture.empty() ? nullptr : &picture; }
