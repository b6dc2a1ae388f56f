// Button: the two-face strip, the pressed state, and the tick that lets a
// button go when the stylus was lifted before its release arrived.
#include "figures/Button.h"

#include "platform/time_input.h"

Button::Button(Screen* screen, platform::Window* window, std::int32_t bitmapId)
    : Image(screen, window, bitmapId) {
    pressed = false;
    // The Figure width keeps the whole strip; an odd last column is never shown.
    faceWidth = width / 2;
    face = platform::Picture(faceWidth, getHeight());
    setVisible(true);
}

Button::~Button() = default;

void Button::tick(std::uint32_t) {
    if (!pressed) return;
    if (platform::asyncKeyState(platform::VK_LBUTTON) == 0) {
        pressed = false;
        markDirty();
    }
}

const wchar_t* Button::typeName() const { return L"Button"; }

bool Button::hearsEveryRelease() const { return true; }

platform::Picture* Button::imageDC() {
    if (face.empty()) return nullptr;
    std::int32_t column = pressed ? getWidth() : 0;
    platform::copy(face, 0, 0, getWidth(), getHeight(), picture, column, 0);
    return &face;
}

void Button::onPress(std::int32_t x, std::int32_t y) {
    pressed = true;
    markDirty();
    Figure::onPress(x, y);
}

void Button::onRelease(std::int32_t x, std::int32_t y) {
    if (!pressed) return;
    pressed = false;
    markDirty();
    Figure::onRelease(x, y);
}

std::int32_t Button::getWidth() const { return faceWidth; }
