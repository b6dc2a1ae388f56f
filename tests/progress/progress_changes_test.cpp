// The store's direct changes: setLevel, resetScore, the score cap, points,
// successRate, setAutoAdjust, and the shared reference-counted instance.
#include <gtest/gtest.h>

#include "tests/progress/store_sandbox.h"

using ProgressChanges = StoreSandbox;

TEST_F(ProgressChanges, SetLevelToAnotherLevelFlagsItAndEmptiesHistory) {
    ProgressStore& store = acquire();
    store.recordResult(true);
    store.recordResult(true);
    store.setLevel(7);
    EXPECT_EQ(store.level, 7);
    EXPECT_TRUE(store.levelChanged);
    EXPECT_TRUE(store.history.count() == 0);
    EXPECT_EQ(reload().level, 7);
}

TEST_F(ProgressChanges, SetLevelToTheCurrentLevelOnlyWritesIt) {
    ProgressStore& store = acquire();
    store.recordResult(true);
    store.recordResult(false);
    ASSERT_TRUE(stored(L"level").empty());
    store.setLevel(1);
    EXPECT_FALSE(store.levelChanged);
    EXPECT_EQ(store.history.count(), 2);
    EXPECT_EQ(stored(L"level"), (std::vector<std::uint8_t>{'1', 0, 0, 0}));
}

TEST_F(ProgressChanges, SetLevelOutsideOneToTenChangesNothing) {
    ProgressStore& store = acquire();
    store.setLevel(4);
    store.levelChanged = false;
    store.setLevel(0);
    store.setLevel(11);
    EXPECT_EQ(store.level, 4);
    EXPECT_FALSE(store.levelChanged);
}

TEST_F(ProgressChanges, ResetScoreZeroesScoreAndStatisticsOnly) {
    ProgressStore& store = acquire();
    store.setLevel(2);
    store.awardPoints();
    store.recordResult(true);
    store.recordResult(false);
    store.points = 4;
    store.setAutoAdjust(false);
    store.resetScore();

    EXPECT_EQ(store.score, 0);
    EXPECT_TRUE(store.scoreReset);
    EXPECT_EQ(store.stats[1].attempts, 0);
    EXPECT_EQ(store.stats[1].correct, 0);
    EXPECT_EQ(store.level, 2);
    EXPECT_EQ(store.history.count(), 2);
    EXPECT_EQ(store.points, 4);
    EXPECT_FALSE(store.autoAdjust);

    ProgressStore& reloaded = reload();
    EXPECT_EQ(reloaded.score, 0);
    EXPECT_EQ(reloaded.stats[1].attempts, 0);
    EXPECT_EQ(stored(L"score"), (std::vector<std::uint8_t>{'0', 0, 0, 0}));
}

TEST_F(ProgressChanges, AwardPointsAddsThemAndRestoresTwelve) {
    ProgressStore& store = acquire();
    store.points = 4;
    store.awardPoints();
    EXPECT_EQ(store.score, 4);
    EXPECT_EQ(store.points, 12);
    store.awardPoints();
    EXPECT_EQ(store.score, 16);
    EXPECT_EQ(reload().score, 16);
}

TEST_F(ProgressChanges, ScoreStopsAtTheLargestLoadableValue) {
    plantText(L"score", u"999990");
    ProgressStore& store = reload();
    ASSERT_EQ(store.score, 999990);
    store.awardPoints();
    EXPECT_EQ(store.score, 999999);
    store.awardPoints();
    EXPECT_EQ(store.score, 999999);
    EXPECT_EQ(reload().score, 999999);  // not lost at the next start
}

TEST_F(ProgressChanges, SuccessRateIsCorrectOverAttempts) {
    ProgressStore& store = acquire();
    store.setAutoAdjust(false);
    store.setLevel(6);
    for (bool result : {true, true, false, true}) store.recordResult(result);
    EXPECT_FLOAT_EQ(store.successRate(6), 0.75f);
    EXPECT_EQ(store.successRate(5), 0.0f);
    EXPECT_EQ(store.successRate(0), 0.0f);
    EXPECT_EQ(store.successRate(11), 0.0f);
}

TEST_F(ProgressChanges, SetAutoAdjustSavesTheInverseFlag) {
    ProgressStore& store = acquire();
    store.setAutoAdjust(false);
    EXPECT_EQ(stored(L"auto"), (std::vector<std::uint8_t>{'1', 0, 0, 0}));
    EXPECT_FALSE(reload().autoAdjust);
    reload().setAutoAdjust(true);
    EXPECT_EQ(stored(L"auto"), (std::vector<std::uint8_t>{'0', 0, 0, 0}));
    EXPECT_TRUE(reload().autoAdjust);
}

TEST_F(ProgressChanges, HoldersShareOneInstanceUntilTheLastRelease) {
    ProgressStore& first = acquire();
    ProgressStore& second = acquire();
    EXPECT_EQ(&first, &second);
    first.score = 500;  // in memory only
    release();
    EXPECT_EQ(acquire().score, 500);  // still held: the same instance
    release();
    release();
    EXPECT_EQ(acquire().score, 0);  // loaded afresh from the registry
}
