// What the game offers beyond the screen's pixels: texts for the player's
// screen reader, and the keyboard's focus handed on to whatever surrounds
// the window (a browser page's own buttons). Hosts without either do nothing.
#pragma once

#include <string_view>

namespace platform {

// Says a short text after whatever the screen reader is saying (a polite
// announcement); nothing where no screen reader listens.
void announce(std::wstring_view text);

// The keyboard's focus leaves the window past its last control (forward) or
// before its first: true when something around the window took it, false when
// nothing surrounds the window and the game keeps the focus.
bool passFocusOn(bool forward);

}  // namespace platform
