// A clock whose hands spin by themselves: once started it takes a step at
// most every 84 ms (an hour and minuteStep minutes), and after steps steps
// it hides itself and leaves the screen's tickers.
#pragma once

#include <cstdint>

#include "figures/AnimationListener.h"
#include "figures/Clock.h"
#include "scene/LinkedList.h"

class ClockAnim : public Clock {
public:
    // Hidden at 12:00 with minuteStep 10, idle until started.
    ClockAnim(Screen* screen, platform::Window* window, platform::Rect rect, platform::Colour hourColour,
              platform::Colour minuteColour, platform::Colour centreColour, std::int32_t steps);
    ~ClockAnim() override;
    // Takes a step once more than 83 ms have passed since the last one.
    void tick(std::uint32_t now) override;
    const wchar_t* typeName() const override;

    // Joins the tickers, shows itself and begins a run from the time shown.
    void start();
    // Adds the listener at the end unless it is already there.
    void addAnimationListener(AnimationListener* listener);
    // Takes the listener out; false when it was not there.
    bool removeAnimationListener(AnimationListener* listener);

protected:
    static constexpr std::uint32_t STEP_WAIT = 83;

    std::int32_t steps;
    std::int32_t step = 0;
    LinkedList<AnimationListener*> animationListeners;
    std::uint32_t lastStepTime = 0;
};
