// A random source that gives numbers from a script, in order, and fails the
// test when a question draws more numbers than the script holds.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "screens/Questions.h"

class ScriptedRandom {
public:
    explicit ScriptedRandom(std::vector<int> numbers)
        : state_(std::make_shared<State>(State{std::move(numbers), 0})) {}

    RandomSource source() const {
        return [state = state_]() {
            if (state->next >= state->numbers.size()) {
                ADD_FAILURE() << "more draws than the " << state->numbers.size() << " scripted";
                return 0;
            }
            return state->numbers[state->next++];
        };
    }

    std::size_t drawn() const { return state_->next; }

private:
    struct State {
        std::vector<int> numbers;
        std::size_t next;
    };
    std::shared_ptr<State> state_;
};
