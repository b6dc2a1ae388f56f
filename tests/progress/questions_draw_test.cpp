// Questions drawn from scripted random numbers: the fixed order of the draws,
// the start hour redrawn away from the target, the carries forwards and
// backwards, the prompt numbers, and judging.
#include <gtest/gtest.h>

#include "screens/Questions.h"
#include "tests/progress/scripted_random.h"

namespace {

Question make(int level, std::vector<int> numbers, std::size_t expectedDraws) {
    ScriptedRandom random(std::move(numbers));
    std::optional<Question> question = makeQuestion(level, random.source());
    EXPECT_TRUE(question.has_value());
    EXPECT_EQ(random.drawn(), expectedDraws);
    return question.value_or(Question{});
}

}  // namespace

TEST(QuestionDraws, AbsoluteLevel3DrawsTargetMinutesThenStartHourAgain) {
    Question q = make(3, {19, 6, 9, 31, 8}, 5);
    EXPECT_EQ(q.targetHour, 7);
    EXPECT_EQ(q.targetMinute, 30);
    EXPECT_EQ(q.startMinute, 15);
    EXPECT_EQ(q.startHour, 8);  // 31 mod 12 = 7 is the target hour: drawn again
    EXPECT_EQ(q.minuteStep, 15);
    EXPECT_FALSE(q.withReference);
    EXPECT_EQ(q.promptId, 302u);
    EXPECT_EQ(q.promptHours, 7);
    EXPECT_EQ(q.promptMinutes, 30);
}

TEST(QuestionDraws, RelativeLevel9DrawsStartThenHoursThenMinutes) {
    Question q = make(9, {14, 23, 5, 7}, 4);
    EXPECT_EQ(q.startMinute, 10);
    EXPECT_EQ(q.startHour, 11);
    EXPECT_EQ(q.targetHour, 5);
    EXPECT_EQ(q.targetMinute, 45);
    EXPECT_EQ(q.minuteStep, 5);
    EXPECT_TRUE(q.withReference);
    EXPECT_EQ(q.promptId, 303u);
    EXPECT_EQ(q.promptHours, 6);
    EXPECT_EQ(q.promptMinutes, 35);
}

TEST(QuestionDraws, Level1UsesOnlyHourDrawsAndShowsHourZeroAsTwelve) {
    Question q = make(1, {24, 12, 36, 5}, 4);  // start hours 0 and 0 equal the target
    EXPECT_EQ(q.targetHour, 0);
    EXPECT_EQ(q.targetMinute, 0);
    EXPECT_EQ(q.startMinute, 0);
    EXPECT_EQ(q.startHour, 5);
    EXPECT_EQ(q.minuteStep, 0);
    EXPECT_EQ(q.promptId, 302u);
    EXPECT_EQ(q.promptHours, 12);
    EXPECT_EQ(q.promptMinutes, 0);
}

TEST(QuestionDraws, Level2AndLevel4UseTheirMinuteSteps) {
    Question half = make(2, {3, 1, 0, 4}, 4);
    EXPECT_EQ(half.targetMinute, 30);
    EXPECT_EQ(half.startMinute, 0);
    EXPECT_EQ(half.minuteStep, 30);
    Question five = make(4, {3, 11, 25, 4}, 4);
    EXPECT_EQ(five.targetMinute, 55);
    EXPECT_EQ(five.startMinute, 5);
    EXPECT_EQ(five.minuteStep, 5);
}

TEST(QuestionDraws, ForwardHoursWrapPastEleven) {
    Question q = make(5, {0, 11, 2}, 3);  // start 11:00, h = 3
    EXPECT_EQ(q.targetHour, 2);
    EXPECT_EQ(q.targetMinute, 0);
    EXPECT_EQ(q.promptId, 303u);
    EXPECT_EQ(q.promptHours, 3);
    EXPECT_EQ(q.promptMinutes, 0);
}

TEST(QuestionDraws, ForwardMinutesCarryIntoTheHourAndWrapToZero) {
    Question q = make(9, {10, 10, 0, 3}, 4);  // start 10:50, h = 1, m = 15
    EXPECT_EQ(q.startHour, 10);
    EXPECT_EQ(q.startMinute, 50);
    EXPECT_EQ(q.targetHour, 0);
    EXPECT_EQ(q.targetMinute, 5);
    EXPECT_EQ(q.promptHours, 1);
    EXPECT_EQ(q.promptMinutes, 15);
}

TEST(QuestionDraws, BackwardMinutesBorrowFromTheHourAndWrapToEleven) {
    Question q = make(10, {2, 0, 11, 3}, 4);  // start 0:10, h = 12, m = 15
    EXPECT_EQ(q.startHour, 0);
    EXPECT_EQ(q.startMinute, 10);
    EXPECT_EQ(q.targetHour, 11);
    EXPECT_EQ(q.targetMinute, 55);
    EXPECT_EQ(q.promptId, 304u);
    EXPECT_EQ(q.promptHours, 12);
    EXPECT_EQ(q.promptMinutes, 15);
}

TEST(QuestionDraws, MinutesOnlyLevelsDrawNoHoursAndMayAskForNothing) {
    Question forward = make(6, {1, 4, 0}, 3);  // start 4:05, m = 0
    EXPECT_EQ(forward.promptId, 303u);
    EXPECT_EQ(forward.promptHours, 0);
    EXPECT_EQ(forward.promptMinutes, 0);
    EXPECT_EQ(forward.targetHour, forward.startHour);
    EXPECT_EQ(forward.targetMinute, forward.startMinute);

    Question back = make(8, {1, 4, 5}, 3);  // start 4:05, m = 25 back
    EXPECT_EQ(back.promptId, 304u);
    EXPECT_EQ(back.targetHour, 3);
    EXPECT_EQ(back.targetMinute, 40);
}

TEST(QuestionDraws, HoursOnlyBackLevelSubtractsWholeHours) {
    Question q = make(7, {6, 2, 4}, 3);  // start 2:30, h = 5 back
    EXPECT_EQ(q.targetHour, 9);
    EXPECT_EQ(q.targetMinute, 30);
    EXPECT_EQ(q.promptId, 304u);
    EXPECT_EQ(q.promptHours, 5);
    EXPECT_EQ(q.promptMinutes, 0);
}

TEST(QuestionDraws, NoQuestionOutsideLevelsOneToTen) {
    for (int level : {-1, 0, 11, 100}) {
        ScriptedRandom random({});
        EXPECT_FALSE(makeQuestion(level, random.source()).has_value()) << level;
        EXPECT_EQ(random.drawn(), 0u);
    }
}

TEST(QuestionJudging, OnlyTheExactTimeIsRight) {
    Question q;
    q.targetHour = 5;
    q.targetMinute = 45;
    Verdict right = judgeAnswer(q, 5, 45);
    EXPECT_TRUE(right.correct);
    EXPECT_FALSE(right.hourWrong);
    EXPECT_FALSE(right.minuteWrong);

    Verdict hour = judgeAnswer(q, 6, 45);
    EXPECT_FALSE(hour.correct);
    EXPECT_TRUE(hour.hourWrong);
    EXPECT_FALSE(hour.minuteWrong);

    Verdict minute = judgeAnswer(q, 5, 40);
    EXPECT_FALSE(minute.correct);
    EXPECT_FALSE(minute.hourWrong);
    EXPECT_TRUE(minute.minuteWrong);

    Verdict both = judgeAnswer(q, 0, 0);
    EXPECT_FALSE(both.correct);
    EXPECT_TRUE(both.hourWrong);
    EXPECT_TRUE(both.minuteWrong);
}
