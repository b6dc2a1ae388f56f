// Every question of every level is well formed whatever the seed: times in
// range, the level's minute step, the start hour away from the target in
// absolute questions, and the target reachable from the start.
#include <gtest/gtest.h>

#include <random>

#include "platform/random.h"
#include "screens/Questions.h"

namespace {

constexpr int STEPS[] = {0, 30, 15, 5, 5, 5, 5, 5, 5, 5};

void expectWellFormed(int level, const Question& q) {
    SCOPED_TRACE(::testing::Message() << "level " << level << ", start " << q.startHour << ":" << q.startMinute
                                      << ", target " << q.targetHour << ":" << q.targetMinute);
    const int step = STEPS[level - 1];
    ASSERT_EQ(q.minuteStep, step);
    for (int hour : {q.targetHour, q.startHour}) {
        EXPECT_GE(hour, 0);
        EXPECT_LE(hour, 11);
    }
    for (int minute : {q.targetMinute, q.startMinute}) {
        EXPECT_GE(minute, 0);
        EXPECT_LE(minute, 59);
        // The clock moves its minute hand by the step only, from 0.
        if (step == 0) EXPECT_EQ(minute, 0);
        else EXPECT_EQ(minute % step, 0);
    }

    if (level <= 4) {
        EXPECT_NE(q.startHour, q.targetHour);
        EXPECT_FALSE(q.withReference);
        EXPECT_EQ(q.promptId, 302u);
        EXPECT_EQ(q.promptHours, q.targetHour == 0 ? 12 : q.targetHour);
        EXPECT_EQ(q.promptMinutes, q.targetMinute);
        return;
    }
    const bool hours = level == 5 || level == 7 || level >= 9;
    const bool minutes = level == 6 || level == 8 || level >= 9;
    const bool back = level == 7 || level == 8 || level == 10;
    EXPECT_TRUE(q.withReference);
    EXPECT_EQ(q.promptId, back ? 304u : 303u);
    if (hours) {
        EXPECT_GE(q.promptHours, 1);
        EXPECT_LE(q.promptHours, 12);
    } else {
        EXPECT_EQ(q.promptHours, 0);
    }
    if (minutes) {
        EXPECT_GE(q.promptMinutes, 0);
        EXPECT_LE(q.promptMinutes, 55);
        EXPECT_EQ(q.promptMinutes % 5, 0);
    } else {
        EXPECT_EQ(q.promptMinutes, 0);
    }
    // The target is the start moved by the prompt's offset around a 12-hour dial.
    const int offset = (q.promptHours * 60 + q.promptMinutes) * (back ? -1 : 1);
    const int expected = ((q.startHour * 60 + q.startMinute + offset) % 720 + 720) % 720;
    EXPECT_EQ(q.targetHour * 60 + q.targetMinute, expected);
}

}  // namespace

TEST(QuestionProperties, EveryLevelIsWellFormedForManySeeds) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        platform::seedRandom(seed);
        for (int level = 1; level <= 10; ++level) {
            std::optional<Question> question = makeQuestion(level);
            ASSERT_TRUE(question.has_value());
            expectWellFormed(level, *question);
            if (HasFailure()) FAIL() << "seed " << seed;
        }
    }
}

TEST(QuestionProperties, AnyNumbersFromTheSourceGiveWellFormedQuestions) {
    std::mt19937 engine(7);
    std::uniform_int_distribution<int> anyInt(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    RandomSource source = [&] { return anyInt(engine); };
    for (int round = 0; round < 2000; ++round) {
        for (int level = 1; level <= 10; ++level) {
            std::optional<Question> question = makeQuestion(level, source);
            ASSERT_TRUE(question.has_value());
            expectWellFormed(level, *question);
            if (HasFailure()) FAIL() << "round " << round;
        }
    }
}

TEST(QuestionProperties, OneSeedAlwaysGivesTheSameQuestions) {
    auto sequence = [](unsigned seed) {
        platform::seedRandom(seed);
        std::vector<std::tuple<int, int, int, int, int, int>> questions;
        for (int i = 0; i < 50; ++i) {
            Question q = *makeQuestion(i % 10 + 1);
            questions.emplace_back(q.targetHour, q.targetMinute, q.startHour, q.startMinute, q.promptHours,
                                   q.promptMinutes);
        }
        return questions;
    };
    EXPECT_EQ(sequence(42), sequence(42));
    EXPECT_NE(sequence(42), sequence(43));
}

TEST(QuestionProperties, AStuckSourceStillEndsWithAStartAwayFromTheTarget) {
    RandomSource stuck = [] { return 3; };
    for (int level = 1; level <= 4; ++level) {
        std::optional<Question> question = makeQuestion(level, stuck);
        ASSERT_TRUE(question.has_value());
        EXPECT_NE(question->startHour, question->targetHour);
    }
}
