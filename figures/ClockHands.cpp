// The hand arithmetic: each quadrant measures its angle from the horizontal
// through the centre (the 3 o'clock side in quadrants 0 and 1, the 9 o'clock
// side in 2 and 3), so the angle is always 0..90 degrees.
#include "figures/ClockHands.h"

#include <cmath>

namespace {

platform::Point quadrantEnd(std::int32_t quadrant, std::int32_t degrees, platform::Point centre,
                            std::int32_t length) {
    double radians = degrees * HAND_ANGLE_FACTOR;
    auto dx = static_cast<std::int32_t>(static_cast<double>(length) * std::cos(radians));
    auto dy = static_cast<std::int32_t>(static_cast<double>(length) * std::sin(radians));
    switch (quadrant) {
        case 0: return {centre.x + dx, centre.y - dy};
        case 1: return {centre.x + dx, centre.y + dy};
        case 2: return {centre.x - dx, centre.y + dy};
        default: return {centre.x - dx, centre.y - dy};
    }
}

}  // namespace

platform::Point hourHandEnd(std::int32_t hour, std::int32_t minute, platform::Point centre, std::int32_t length) {
    std::int32_t t = hour * 60 + minute;
    std::int32_t quadrant = t / 180;
    std::int32_t degrees = 0;
    switch (quadrant) {
        case 0: degrees = 90 - t / 2; break;
        case 1: degrees = (t - 180) / 2; break;
        case 2: degrees = 90 - (t - 360) / 2; break;
        default: degrees = (t - 540) / 2; break;
    }
    return quadrantEnd(quadrant, degrees, centre, length);
}

platform::Point minuteHandEnd(std::int32_t minute, platform::Point centre, std::int32_t length) {
    std::int32_t quadrant = minute / 15;
    std::int32_t degrees = 0;
    switch (quadrant) {
        case 0: degrees = 6 * (15 - minute); break;
        case 1: degrees = 6 * (minute - 15); break;
        case 2: degrees = 6 * (45 - minute); break;
        default: degrees = 6 * (minute - 45); break;
    }
    return quadrantEnd(quadrant, degrees, centre, length);
}
