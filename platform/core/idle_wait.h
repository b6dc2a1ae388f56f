// How long a peek at an empty queue may wait for host input. The game loop
// never waits itself; it peeks and ticks on every pass, so this wait is what
// keeps a program at rest from spinning a core. While something moves (a
// frame was drawn or input arrived within the last BUSY_SPAN ms) the wait is
// SHORT_WAIT, so animations and the 85 ms repaint gate keep their pace; at
// rest it doubles on every peek up to LONGEST_WAIT. Input ends any wait at
// once in the hosts, so only animations started without input or drawing
// could notice the longer waits, and the game has none.
#pragma once

#include <cstdint>

namespace platform::core {

class IdleWait {
public:
    static constexpr std::uint32_t BUSY_SPAN = 250;
    static constexpr int SHORT_WAIT = 1;
    static constexpr int LONGEST_WAIT = 1000;

    // Something was drawn or input arrived at tick time now.
    void activity(std::uint32_t now);

    // The wait, in milliseconds, for a peek at tick time now that found nothing.
    int next(std::uint32_t now);

private:
    bool anyActivity = false;
    std::uint32_t lastActivity = 0;
    int restWait = SHORT_WAIT;
};

// The one used by the message queue; drawing and input report to it.
IdleWait& idleWait();

}  // namespace platform::core
