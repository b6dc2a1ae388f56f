// A push button drawn from a strip of two faces side by side: the left half
// at rest, the right half while pressed. Its size everywhere is one face.
// Listeners decide what a press or release means; the screen that made a
// button knows which it is.
#pragma once

#include <cstdint>

#include "figures/Image.h"

class Button : public Image {
public:
    // Loads the strip; the button is one face wide, visible, at rest, disabled.
    Button(Screen* screen, platform::Window* window, std::int32_t bitmapId);
    ~Button() override;
    // While pressed: goes back to rest, telling nobody, once the stylus is up.
    void tick(std::uint32_t now) override;
    const wchar_t* typeName() const override;
    // True: a pressed button lets go wherever the stylus is lifted.
    bool hearsEveryRelease() const override;
    // The face matching pressed, copied afresh from the strip.
    platform::Picture* imageDC() override;
    // Shows the pressed face and tells the listeners.
    void onPress(std::int32_t x, std::int32_t y) override;
    // If pressed: shows the face at rest and tells the listeners; otherwise nothing.
    void onRelease(std::int32_t x, std::int32_t y) override;
    // One face: the strip's width / 2.
    std::int32_t getWidth() const override;

    bool pressed = false;

protected:
    // The face drawn last, faceWidth x strip height.
    platform::Picture face;
    std::int32_t faceWidth = 0;
};
