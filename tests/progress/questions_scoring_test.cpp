// Scoring on the store: a right answer awards the points, then records the
// result as clean only when no wrong answer came first; each wrong answer
// divides the points by three and records nothing.
#include <gtest/gtest.h>

#include "screens/Questions.h"
#include "tests/progress/store_sandbox.h"

using QuestionScoring = StoreSandbox;

TEST_F(QuestionScoring, CleanRightAnswerEarnsTwelveAndCountsAsCorrect) {
    ProgressStore& store = acquire();
    bool noWrongAnswer = true;
    scoreRightAnswer(store, noWrongAnswer);
    EXPECT_EQ(store.score, 12);
    EXPECT_EQ(store.points, 12);
    EXPECT_EQ(store.stats[0].attempts, 1);
    EXPECT_EQ(store.stats[0].correct, 1);
    ASSERT_EQ(store.history.count(), 1);
    EXPECT_TRUE(store.history.valueAt(0));
    EXPECT_TRUE(noWrongAnswer);
}

TEST_F(QuestionScoring, EachWrongAnswerLeavesAThirdOfThePoints) {
    ProgressStore& store = acquire();
    bool noWrongAnswer = true;
    const int expected[] = {4, 1, 0, 0};
    for (int points : expected) {
        scoreWrongAnswer(store, noWrongAnswer);
        EXPECT_EQ(store.points, points);
        EXPECT_FALSE(noWrongAnswer);
    }
    // Nothing is recorded for wrong answers.
    EXPECT_EQ(store.stats[0].attempts, 0);
    EXPECT_TRUE(store.history.count() == 0);
}

TEST_F(QuestionScoring, TwoWrongThenRightEarnsOneAndIsNotClean) {
    ProgressStore& store = acquire();
    bool noWrongAnswer = true;
    scoreWrongAnswer(store, noWrongAnswer);
    scoreWrongAnswer(store, noWrongAnswer);
    scoreRightAnswer(store, noWrongAnswer);
    EXPECT_EQ(store.score, 1);
    EXPECT_EQ(store.stats[0].attempts, 1);
    EXPECT_EQ(store.stats[0].correct, 0);
    ASSERT_EQ(store.history.count(), 1);
    EXPECT_FALSE(store.history.valueAt(0));
    // The next question starts clean and at full points.
    EXPECT_TRUE(noWrongAnswer);
    EXPECT_EQ(store.points, 12);
}

TEST_F(QuestionScoring, ThreeWrongThenRightEarnsNothingAndIsNotClean) {
    ProgressStore& store = acquire();
    bool noWrongAnswer = true;
    for (int i = 0; i < 3; ++i) scoreWrongAnswer(store, noWrongAnswer);
    scoreRightAnswer(store, noWrongAnswer);
    EXPECT_EQ(store.score, 0);
    EXPECT_EQ(store.stats[0].correct, 0);
    EXPECT_EQ(store.stats[0].attempts, 1);
    EXPECT_TRUE(noWrongAnswer);
}

TEST_F(QuestionScoring, PointsAreAwardedBeforeTheResultIsRecorded) {
    // Both are written at once; on a fresh key their order shows in the file.
    ProgressStore& store = acquire();
    bool noWrongAnswer = true;
    scoreRightAnswer(store, noWrongAnswer);
    std::string text = fileText();
    ASSERT_NE(text.find("\"score\"=\"12\""), std::string::npos);
    ASSERT_NE(text.find("\"stat\"=hex:"), std::string::npos);
    EXPECT_LT(text.find("\"score\""), text.find("\"stat\""));
}

TEST_F(QuestionScoring, FiveCleanAnswersMoveTheLevelUp) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    bool noWrongAnswer = true;
    for (int i = 0; i < 5; ++i) scoreRightAnswer(store, noWrongAnswer);
    EXPECT_EQ(store.level, 4);
    EXPECT_EQ(store.score, 60);
    EXPECT_EQ(reload().level, 4);
}
