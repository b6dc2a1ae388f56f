// The rules of the game: how a question of each level is drawn at random, its
// prompt and start time, how an answer is judged, and how points and results
// reach the progress store. No figures or drawing: the game screen shows them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "resources/resource_ids.h"

class ProgressStore;

struct Question {
    std::int32_t targetHour = 0;    // 0..11, 0 is twelve o'clock
    std::int32_t targetMinute = 0;  // 0..59
    std::int32_t startHour = 0;     // where the child's clock starts
    std::int32_t startMinute = 0;
    std::int32_t minuteStep = 0;    // the clock's minute step: 0, 30, 15 or 5
    bool withReference = false;     // relative question: a reference clock shows the start
    std::uint32_t promptId = IDS_SET_TIME;
    std::int32_t promptHours = 0;   // the two numbers formatted into the prompt
    std::int32_t promptMinutes = 0;
};

struct Verdict {
    bool correct = false;
    bool hourWrong = false;
    bool minuteWrong = false;
};

// Gives the next random number (non-negative).
using RandomSource = std::function<int()>;

// platform::random, which the game seeds once at start.
int standardRandom();

// A question of the level (1 to 10), drawing from random in the fixed order
// that makes one seed always give the same questions; nullopt for any other level.
std::optional<Question> makeQuestion(std::int32_t level, const RandomSource& random = standardRandom);

// Right only when both hour and minute are exactly the target.
Verdict judgeAnswer(const Question& question, std::int32_t hour, std::int32_t minute);

// A right answer: the store awards its points, then records the result (clean
// when no wrong answer came before), and the next question starts clean.
void scoreRightAnswer(ProgressStore& store, bool& noWrongAnswer);

// A wrong answer: the question is worth a third of its points (integer
// division) and can no longer count as clean. Nothing is recorded.
void scoreWrongAnswer(ProgressStore& store, bool& noWrongAnswer);
