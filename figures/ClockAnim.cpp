// ClockAnim: the run of steps and its notifications, in order: started and
// frame 0 at the start, a frame per step, and wrapped at the last step.
#include "figures/ClockAnim.h"

#include "platform/time_input.h"

#include "scene/Screen.h"

ClockAnim::ClockAnim(Screen* screen, platform::Window* window, platform::Rect rect,
                     platform::Colour hourColour, platform::Colour minuteColour,
                     platform::Colour centreColour, std::int32_t steps)
    : Clock(screen, window, rect, hourColour, minuteColour, centreColour), steps(steps) {
    step = 0;
    setTime(0, 0);
    minuteStep = 10;
    setVisible(false);
}

ClockAnim::~ClockAnim() { animationListeners.clear(); }

const wchar_t* ClockAnim::typeName() const { return L"ClockAnim"; }

// The hands are not moved: the owner sets the time before starting.
void ClockAnim::start() {
    screen->tickers.appendIfAbsent(this);
    setVisible(true);
    lastStepTime = platform::tickCount();
    step = 0;
    for (const auto* node = animationListeners.head(); node != nullptr; node = node->next) {
        node->value->animationStarted(this);
        node->value->animationFrame(this, 0);
    }
}

// At least 84 ms lie between steps. The time since the last step is taken as
// an unsigned difference, so that a spin running while the tick counter wraps
// keeps its pace instead of stopping until the counter comes round again.
void ClockAnim::tick(std::uint32_t now) {
    if (now - lastStepTime <= STEP_WAIT) return;
    nextHour();
    stepMinuteForward();
    lastStepTime = now;
    step = step + 1;
    if (step >= steps) {
        step = 0;
        screen->tickers.remove(this);
        setVisible(false);
    }
    markDirty();
    for (const auto* node = animationListeners.head(); node != nullptr; node = node->next) {
        if (step != 0) {
            node->value->animationFrame(this, step);
        } else {
            setVisible(false);
            node->value->animationWrapped(this);
        }
    }
}

void ClockAnim::addAnimationListener(AnimationListener* listener) {
    animationListeners.appendIfAbsent(listener);
}

bool ClockAnim::removeAnimationListener(AnimationListener* listener) {
    return animationListeners.remove(listener);
}
