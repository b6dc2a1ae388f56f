// Time and stylus state: the tick count, the local date and time, and whether
// the stylus is down.
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
constexpr int VK_CONTROL = 0x11;
#endif

// For VK_LBUTTON (the stylus): bit 15 set while it is down, bit 0 set when it
// went down since the last query; 0 when it is up and has not gone down.
std::int16_t asyncKeyState(int virtualKey);

}  // namespace platform
