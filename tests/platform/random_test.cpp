// The generator gives the classic C runtime's documented sequence, so every
// host draws the same questions from the same seed.
#include <gtest/gtest.h>

#include <vector>

#include "platform/random.h"

TEST(Random, SeedOneGivesTheClassicRuntimeSequenceAndReseedingRepeatsIt) {
    auto firstFive = [] {
        std::vector<int> numbers;
        for (int i = 0; i < 5; ++i) numbers.push_back(platform::random());
        return numbers;
    };
    platform::seedRandom(1);
    EXPECT_EQ(firstFive(), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    platform::seedRandom(1);
    EXPECT_EQ(firstFive(), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}
