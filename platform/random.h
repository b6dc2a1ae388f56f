// Pseudo-random numbers that are the same on every host, whatever its C
// library (glibc's rand() and the browser build's differ): the linear
// congruential generator of the classic Microsoft C runtime (state = state *
// 214013 + 2531011, bits 16..30 returned), a small, well-documented sequence.
// A seed fixes the sequence.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr int RANDOM_MAX = 0x7fff;

// Starts the sequence again from this seed (1 before the first call).
void seedRandom(std::uint32_t seed);

// The next number of the sequence, 0 to RANDOM_MAX.
int random();

}  // namespace platform
