// Automatic level adjustment: the fifth result decides, over the last five
// results; the level moves up at 4 or 5 right and down at 0 or 1, and only a
// real move empties the history. Results always count in the statistics.
#include <gtest/gtest.h>

#include "tests/progress/store_sandbox.h"

using ProgressAdjust = StoreSandbox;

namespace {

void record(ProgressStore& store, std::initializer_list<bool> results) {
    for (bool result : results) store.recordResult(result);
}

}  // namespace

TEST_F(ProgressAdjust, FourResultsNeverMoveTheLevel) {
    ProgressStore& store = acquire();
    store.setLevel(5);
    record(store, {true, true, true, true});
    EXPECT_EQ(store.level, 5);
    store.setLevel(6);
    record(store, {false, false, false, false});
    EXPECT_EQ(store.level, 6);
}

TEST_F(ProgressAdjust, FourRightOfFiveRaisesTheLevelAndEmptiesHistory) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    store.levelChanged = false;
    record(store, {true, true, false, true, true});
    EXPECT_EQ(store.level, 4);
    EXPECT_TRUE(store.history.count() == 0);
    EXPECT_FALSE(store.levelChanged);
    EXPECT_EQ(reload().level, 4);
}

TEST_F(ProgressAdjust, OneRightOfFiveLowersTheLevel) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    record(store, {false, false, true, false, false});
    EXPECT_EQ(store.level, 2);
    EXPECT_TRUE(store.history.count() == 0);
    EXPECT_EQ(reload().level, 2);
}

TEST_F(ProgressAdjust, TheWindowSlidesWhileTheLevelStays) {
    ProgressStore& store = acquire();
    store.setLevel(5);
    record(store, {true, true, false, false, false});  // 2 right
    record(store, {true, true, true});                  // last five: 2, 2, then 3 right
    EXPECT_EQ(store.level, 5);
    EXPECT_EQ(store.history.count(), 8);                // never trimmed
    store.recordResult(true);                           // last five: false, true, true, true, true
    EXPECT_EQ(store.level, 6);
    EXPECT_TRUE(store.history.count() == 0);
}

TEST_F(ProgressAdjust, AfterAMoveFiveNewResultsAreNeeded) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    record(store, {true, true, true, true, true});
    ASSERT_EQ(store.level, 4);
    record(store, {true, true, true, true});
    EXPECT_EQ(store.level, 4);
    store.recordResult(true);
    EXPECT_EQ(store.level, 5);
}

TEST_F(ProgressAdjust, TopLevelStaysAndKeepsHistory) {
    ProgressStore& store = acquire();
    store.setLevel(10);
    record(store, {true, true, true, true, true, true});
    EXPECT_EQ(store.level, 10);
    EXPECT_EQ(store.history.count(), 6);
}

TEST_F(ProgressAdjust, BottomLevelStaysAndKeepsHistory) {
    ProgressStore& store = acquire();
    ASSERT_EQ(store.level, 1);
    record(store, {false, true, false, false, false});
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.history.count(), 5);
}

TEST_F(ProgressAdjust, AdjustmentOffCountsStatisticsButNotHistory) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    store.setAutoAdjust(false);
    record(store, {false, false, false, false, false, true});
    EXPECT_EQ(store.level, 3);
    EXPECT_TRUE(store.history.count() == 0);
    EXPECT_EQ(store.stats[2].attempts, 6);
    EXPECT_EQ(store.stats[2].correct, 1);
}

TEST_F(ProgressAdjust, SwitchingBackOnContinuesWithTheHistoryKept) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    record(store, {true, true, true});
    store.setAutoAdjust(false);
    record(store, {false, false});
    store.setAutoAdjust(true);
    EXPECT_EQ(store.history.count(), 3);
    record(store, {true, true});
    EXPECT_EQ(store.level, 4);
}

TEST_F(ProgressAdjust, ResultsCountForTheLevelTheyWereAnsweredAt) {
    ProgressStore& store = acquire();
    store.setLevel(3);
    record(store, {true, true, false, true});
    store.recordResult(true);  // the fifth is still a level 3 result; then the level rises
    EXPECT_EQ(store.stats[2].attempts, 5);
    EXPECT_EQ(store.stats[2].correct, 4);
    EXPECT_EQ(store.stats[3].attempts, 0);

    ProgressStore& reloaded = reload();
    EXPECT_EQ(reloaded.stats[2].attempts, 5);
    EXPECT_EQ(reloaded.stats[2].correct, 4);
}
