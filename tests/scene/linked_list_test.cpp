// The scene's list: positions clamp to the tail, removal takes the entry
// nearest the head, snapshots keep list order, and duplicates are allowed
// except through appendIfAbsent.
#include <gtest/gtest.h>

#include <vector>

#include "scene/LinkedList.h"

namespace {

std::vector<int*> valuesOf(const LinkedList<int*>& list) {
    std::vector<int*> values(static_cast<std::size_t>(list.count()));
    list.copyTo(values.data());
    return values;
}

// Walks from the tail, so that broken prev links show up.
std::vector<int*> backwardsOf(const LinkedList<int*>& list) {
    std::vector<int*> values;
    for (const auto* node = list.tail(); node != nullptr; node = node->prev) values.insert(values.begin(), node->value);
    return values;
}

class LinkedListTest : public ::testing::Test {
protected:
    int a = 0, b = 0, c = 0, d = 0;
    LinkedList<int*> list;
};

TEST_F(LinkedListTest, InsertAtPlacesValuesAtTheirPositions) {
    list.insertAt(&b, 0);  // into an empty list
    list.insertAt(&a, 0);  // new head
    list.insertAt(&d, 2);  // position count: the tail
    list.insertAt(&c, 2);  // in the middle
    EXPECT_EQ(valuesOf(list), (std::vector<int*>{&a, &b, &c, &d}));
    EXPECT_EQ(backwardsOf(list), valuesOf(list));
    EXPECT_EQ(list.head()->value, &a);
    EXPECT_EQ(list.tail()->value, &d);
}

TEST_F(LinkedListTest, InsertAtOutOfRangeAppends) {
    list.append(&a);
    list.insertAt(&b, -1);
    list.insertAt(&c, 99);
    EXPECT_EQ(valuesOf(list), (std::vector<int*>{&a, &b, &c}));
    EXPECT_EQ(list.tail()->value, &c);
}

TEST_F(LinkedListTest, RemoveTakesTheEntryNearestTheHead) {
    list.append(&a);
    list.append(&b);
    list.append(&a);
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(valuesOf(list), (std::vector<int*>{&b, &a}));
    EXPECT_EQ(list.head()->value, &b);
    EXPECT_EQ(list.count(), 2);
}

TEST_F(LinkedListTest, RemoveMendsHeadAndTail) {
    list.append(&a);
    list.append(&b);
    list.append(&c);
    EXPECT_TRUE(list.remove(&c));
    EXPECT_EQ(list.tail()->value, &b);
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(list.head()->value, &b);
    EXPECT_EQ(backwardsOf(list), (std::vector<int*>{&b}));
    EXPECT_TRUE(list.remove(&b));
    EXPECT_EQ(list.head(), nullptr);
    EXPECT_EQ(list.tail(), nullptr);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(LinkedListTest, RemoveOfAnAbsentValueChangesNothing) {
    list.append(&a);
    EXPECT_FALSE(list.remove(&b));
    EXPECT_EQ(valuesOf(list), (std::vector<int*>{&a}));
}

TEST_F(LinkedListTest, DuplicatesOnlyThroughAppend) {
    list.append(&a);
    list.append(&a);
    list.appendIfAbsent(&a);
    list.appendIfAbsent(&b);
    EXPECT_EQ(valuesOf(list), (std::vector<int*>{&a, &a, &b}));
    EXPECT_TRUE(list.contains(&b));
    EXPECT_FALSE(list.contains(&c));
}

TEST_F(LinkedListTest, ValueAtCountsFromTheHead) {
    list.append(&a);
    list.append(&b);
    list.append(&c);
    EXPECT_EQ(list.valueAt(0), &a);
    EXPECT_EQ(list.valueAt(2), &c);
}

TEST_F(LinkedListTest, ClearEmptiesAndTheListIsUsableAgain) {
    list.append(&a);
    list.append(&b);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.head(), nullptr);
    list.append(&c);
    EXPECT_EQ(valuesOf(list), (std::vector<int*>{&c}));
}

TEST(LinkedListOfBool, HoldsSmallValues) {
    LinkedList<bool> flags;
    flags.append(true);
    flags.append(false);
    flags.append(true);
    EXPECT_TRUE(flags.remove(true));
    EXPECT_EQ(flags.valueAt(0), false);
    EXPECT_EQ(flags.valueAt(1), true);
}

}  // namespace
