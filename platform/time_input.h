// Time and input state: the tick count, the local date and time, whether the
// stylus is down, the keys that the game knows, and a stylus event made on
// the program's behalf.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds from an arbitrary start; wraps at 2^32.
std::uint32_t tickCount();

// The local date and time, as the platform's SYSTEMTIME record.
struct LocalTime {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};
LocalTime localTime();

// The system's key names and values; where <windows.h> comes first, its
// macros stand in their place.
#ifndef VK_LBUTTON
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
#endif
// Letters and digits are their upper-case ASCII codes ('A', '0').

// For VK_LBUTTON (the stylus): bit 15 set while it is down, bit 0 set when it
// went down since the last query; 0 when it is up and has not gone down.
std::int16_t asyncKeyState(int virtualKey);

// For VK_SHIFT and VK_CONTROL: bit 15 set when the key is down as the
// messages taken from the queue so far tell it (not as it is now), so that a
// key message is read with the modifiers that came before it.
std::int16_t keyState(int virtualKey);

// The system's flags of a stylus event, kept the same way as the keys' names.
#ifndef MOUSEEVENTF_LEFTDOWN
constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x0004;
#endif

// The stylus goes down or up at display coordinates as if the player had
// moved it: the stylus state changes and the message is queued exactly as
// for the real stylus (double-clicks included).
void mouseEvent(std::uint32_t flags, int x, int y);

}  // namespace platform
