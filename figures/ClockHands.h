// Where the clock's hands end, in whole degrees per quadrant, with offsets
// truncated toward zero. Kept pure so that every end point can be checked.
#pragma once

#include <cstdint>

#include "platform/picture.h"

// Degrees to radians as the dial has always been drawn: 0.01745, not pi / 180.
constexpr double HAND_ANGLE_FACTOR = 0.01745;

// The hour hand's end for hour 0..11 and minute 0..59: one degree per two minutes.
platform::Point hourHandEnd(std::int32_t hour, std::int32_t minute, platform::Point centre, std::int32_t length);

// The minute hand's end for minute 0..59: six degrees per minute.
platform::Point minuteHandEnd(std::int32_t minute, platform::Point centre, std::int32_t length);
