// The one generator state of the process, as rand() keeps one.
#include "platform/random.h"

namespace platform {
namespace {

std::uint32_t state = 1;

}  // namespace

void seedRandom(std::uint32_t seed) { state = seed; }

int random() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & RANDOM_MAX);
}

}  // namespace platform
