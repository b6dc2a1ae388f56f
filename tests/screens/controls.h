// Where a child finds the controls of the three screens on the 240 x 320
// display: a point well inside each, for tests that tap them.
#pragma once

#include "platform/platform.h"

namespace controls {

using platform::Point;

// Title screen: anywhere on the picture above the two text lines.
constexpr Point TITLE{120, 150};

// Game screen.
constexpr Point MENU{25, 25};
constexpr Point EXIT{226, 14};
constexpr Point HOUR_FORWARD{30, 190};
constexpr Point HOUR_BACK{30, 215};
constexpr Point MINUTE_FORWARD{210, 190};
constexpr Point MINUTE_BACK{210, 215};
constexpr Point CHECK{120, 245};

// Level screen (its exit icon stands where the game screen's does).
constexpr Point OK_BUTTON{80, 255};
constexpr Point RESET_BUTTON{160, 255};
constexpr Point AUTO_BOX{35, 45};

// A point inside the box of a level (1 to 10) on the level screen.
constexpr Point levelBoxTap(int level) {
    return {((level - 1) % 5 + 1) * 30 + 5, ((level - 1) / 5 + 4) * 20 + 5};
}

}  // namespace controls
