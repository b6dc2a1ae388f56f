// The keyboard's focus on one screen: the control that Enter and Space press,
// and the ring drawn around it once the player has used a key. Until then it
// draws nothing, so a player who only taps sees every screen as it was.
#pragma once

#include "platform/picture.h"

class Figure;
class Screen;

class FocusRing {
public:
    explicit FocusRing(Screen* screen);

    // The focused control, or none.
    Figure* focus() const { return focused; }
    // Moves the focus (none allowed); the screen repaints where the ring was and will be.
    void setFocus(Figure* figure);
    // Whether the ring is drawn; the screen repaints its place on a change.
    void setShown(bool shown);
    bool shown() const { return ringShown; }
    // Draws the ring into the composed picture when shown around a visible control.
    void drawInto(platform::Picture& picture) const;

private:
    // The ring's outer edge around the focused control, within the screen.
    platform::Rect area() const;
    void markDirty() const;

    Screen* screen;
    Figure* focused = nullptr;
    bool ringShown = false;
};
