#include "platform/core/idle_wait.h"

#include <algorithm>

namespace platform::core {

void IdleWait::activity(std::uint32_t now) {
    anyActivity = true;
    lastActivity = now;
    restWait = SHORT_WAIT;
}

int IdleWait::next(std::uint32_t now) {
    // Unsigned difference: right across the tick counter's wrap.
    if (anyActivity && now - lastActivity < BUSY_SPAN) return restWait = SHORT_WAIT;
    return restWait = std::min(restWait * 2, LONGEST_WAIT);
}

IdleWait& idleWait() {
    static IdleWait instance;
    return instance;
}

}  // namespace platform::core
