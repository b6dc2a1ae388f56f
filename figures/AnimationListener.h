// What a timed figure tells about its run: started, each frame, and the
// wrap back to step 0 at the end. The game screen implements it.
#pragma once

#include <cstdint>

class Figure;

class AnimationListener {
public:
    virtual ~AnimationListener() = default;
    // The run has begun; frame 0 follows at once.
    virtual void animationStarted(Figure* source) = 0;
    // The run has ended and the step counter is back at 0.
    virtual void animationWrapped(Figure* source) = 0;
    // Step number step of the run has been taken (0 right after the start).
    virtual void animationFrame(Figure* source, std::int32_t step) = 0;
};
