// Keys as a second way to the controls. A key that names a control of the
// screen being shown taps the control's centre: the platform puts the stylus
// down there, so the press takes the stylus's own road (the same figures,
// sounds, rules and records, the double-tap rule included), and lifts it when
// the key comes up. Holding a key is holding the stylus on the button: one
// press. Tab and Shift+Tab move the focus ring, drawn from the first key on,
// and past the last control hand the focus to what surrounds the window.
#pragma once

#include "platform/picture.h"

class Screen;

class Keyboard {
public:
    // A key went down while screen is shown.
    void keyDown(Screen& screen, int virtualKey);
    // A key came up: the control that it pressed is let go.
    void keyUp(int virtualKey);

    // A key has been used in this run, so the screens draw their focus rings.
    bool used = false;

private:
    // Lifts the stylus that a key put down, if any.
    void letGo();

    int heldKey = 0;
    platform::Point heldAt;
};
