#include "bestwords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = BestWordChange::Kind;
using Lines = std::vector<std::string>;

// Guards order, ties and repeats: higher scores first; a different word of an equal score goes
// above the older ones; the same text again is not listed twice but lifted to the top of its
// group (also when it already is there), and the list box is told which line to select.
TEST(BestWordsTest, OrderTiesAndRepeats) {
    BestWords list;
    EXPECT_EQ(list.Add(12, "CAT (12)", 8), (BestWordChange{Kind::Insert, 0, -1, 0}));
    EXPECT_EQ(list.Add(50, "HIGH (50)", 8), (BestWordChange{Kind::Insert, 0, -1, 0}));
    EXPECT_EQ(list.Add(3, "AT (3)", 8), (BestWordChange{Kind::Insert, 2, -1, 0}));
    EXPECT_EQ(list.Add(12, "DOG (12)", 8), (BestWordChange{Kind::Insert, 1, -1, 0}));
    EXPECT_EQ(list.Lines(), (Lines{"HIGH (50)", "DOG (12)", "CAT (12)", "AT (3)"}));

    EXPECT_EQ(list.Add(12, "CAT (12)", 8), (BestWordChange{Kind::Move, 1, 2, 0}));
    EXPECT_EQ(list.Lines(), (Lines{"HIGH (50)", "CAT (12)", "DOG (12)", "AT (3)"}));
    EXPECT_EQ(list.Scores(), (std::vector<uint32_t>{50, 12, 12, 3}));
    EXPECT_EQ(list.Add(12, "CAT (12)", 8), (BestWordChange{Kind::Move, 1, 1, 0}));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Top(), "HIGH (50)");
}

// Guards the capacity: a full list rejects a word below every line (selecting none), drops its
// last line for any other word, one equal to the last score included; a box too small for one
// line lists nothing; a list holding more than fits is cut before anything is added.
TEST(BestWordsTest, CapacityRules) {
    BestWords list;
    list.Add(40, "ONE (40)", 3);
    list.Add(30, "TWO (30)", 3);
    list.Add(20, "SIX (20)", 3);
    EXPECT_EQ(list.Add(19, "LOW (19)", 3), (BestWordChange{Kind::Rejected, -1, -1, 0}));
    EXPECT_EQ(list.Add(20, "TEN (20)", 3), (BestWordChange{Kind::Insert, 2, -1, 1}));
    EXPECT_EQ(list.Add(35, "MID (35)", 3), (BestWordChange{Kind::Insert, 1, -1, 1}));
    EXPECT_EQ(list.Lines(), (Lines{"ONE (40)", "MID (35)", "TWO (30)"}));

    EXPECT_EQ(BestWords().Add(99, "BIG (99)", 0).kind, Kind::Rejected);
    EXPECT_EQ(list.Add(30, "TEN (30)", 1), (BestWordChange{Kind::Rejected, -1, -1, 0}));
    EXPECT_EQ(list.Add(45, "TOP (45)", 1), (BestWordChange{Kind::Insert, 0, -1, 3}));
    EXPECT_EQ(list.Lines(), (Lines{"TOP (45)"}));
}

// Guards the resize trimming: the lowest lines go with their scores, and a larger capacity
// brings nothing back; the capacity counts whole lines only.
TEST(BestWordsTest, TrimAndCapacity) {
    BestWords list;
    for (uint32_t s = 1; s <= 6; ++s) {
        list.Add(s * 10, std::string(s, 'W'), 8);
    }
    EXPECT_EQ(list.Trim(4), 2);
    EXPECT_EQ(list.Lines(), (Lines{"WWWWWW", "WWWWW", "WWWW", "WWW"}));
    EXPECT_EQ(list.Scores(), (std::vector<uint32_t>{60, 50, 40, 30}));
    EXPECT_EQ(list.Trim(8), 0);
    EXPECT_EQ(list.Trim(-1), 4);
    EXPECT_EQ(list.Top(), "");

    EXPECT_EQ(ListCapacity(223, 25), 8);
    EXPECT_EQ(ListCapacity(24, 25), 0);
    EXPECT_EQ(ListCapacity(-5, 25), 0);
    EXPECT_EQ(ListCapacity(100, 0), 0);
}

} // namespace
