#include "bestwords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = BestWordChange::Kind;
using Lines = std::vector<std::string>;
using Scores = std::vector<uint32_t>;

// A distinct line per score.
std::string Line(uint32_t score) {
    std::string line = "W";
    line += std::to_string(score);
    return line;
}

// Guards the order: higher scores above lower ones whatever order the words come in, and the
// list box told exactly where each new line goes and that it is the one to select.
TEST(BestWordsTest, KeepsScoresInDescendingOrder) {
    BestWords list;
    EXPECT_EQ(list.Add(12, "CAT (12)", 8), (BestWordChange{Kind::Insert, 0, -1, 0}));
    EXPECT_EQ(list.Add(30, "DOGS (30)", 8), (BestWordChange{Kind::Insert, 0, -1, 0}));
    EXPECT_EQ(list.Add(4, "AT (4)", 8), (BestWordChange{Kind::Insert, 2, -1, 0}));
    EXPECT_EQ(list.Add(20, "RATS (20)", 8), (BestWordChange{Kind::Insert, 1, -1, 0}));
    EXPECT_EQ(list.Lines(), (Lines{"DOGS (30)", "RATS (20)", "CAT (12)", "AT (4)"}));
    EXPECT_EQ(list.Scores(), (Scores{30, 20, 12, 4}));
    EXPECT_EQ(list.Top(), "DOGS (30)");
}

// Guards ties and repeats: a different word of an equal score goes above the older ones of that
// score; the same text again is never listed twice but moves to the top of its group and is
// selected, also when it already is the group's first line.
TEST(BestWordsTest, TiesAndRepeatedWords) {
    BestWords list;
    list.Add(50, "HIGH (50)", 8);
    list.Add(12, "CAT (12)", 8);
    list.Add(12, "DOG (12)", 8);
    list.Add(3, "AT (3)", 8);
    EXPECT_EQ(list.Lines(), (Lines{"HIGH (50)", "DOG (12)", "CAT (12)", "AT (3)"}));

    EXPECT_EQ(list.Add(12, "CAT (12)", 8), (BestWordChange{Kind::Move, 1, 2, 0}));
    EXPECT_EQ(list.Lines(), (Lines{"HIGH (50)", "CAT (12)", "DOG (12)", "AT (3)"}));
    EXPECT_EQ(list.Scores(), (Scores{50, 12, 12, 3}));

    EXPECT_EQ(list.Add(12, "CAT (12)", 8), (BestWordChange{Kind::Move, 1, 1, 0}));
    EXPECT_EQ(list.Add(50, "HIGH (50)", 8), (BestWordChange{Kind::Move, 0, 0, 0}));
    EXPECT_EQ(list.Count(), 4);
}

// Guards the capacity: a full list rejects a word below every listed one (and selects nothing),
// drops its last line for any other word, including one that only equals the last score, and
// a repeated word in a full list moves without dropping anything.
TEST(BestWordsTest, FullListDropsTheLastLineOrRejects) {
    BestWords list;
    list.Add(40, "ONE (40)", 3);
    list.Add(30, "TWO (30)", 3);
    list.Add(20, "SIX (20)", 3);

    EXPECT_EQ(list.Add(19, "LOW (19)", 3), (BestWordChange{Kind::Rejected, -1, -1, 0}));
    EXPECT_EQ(list.Count(), 3);

    EXPECT_EQ(list.Add(20, "TEN (20)", 3), (BestWordChange{Kind::Insert, 2, -1, 1}));
    EXPECT_EQ(list.Lines(), (Lines{"ONE (40)", "TWO (30)", "TEN (20)"}));

    EXPECT_EQ(list.Add(35, "MID (35)", 3), (BestWordChange{Kind::Insert, 1, -1, 1}));
    EXPECT_EQ(list.Lines(), (Lines{"ONE (40)", "MID (35)", "TWO (30)"}));
    EXPECT_EQ(list.Scores(), (Scores{40, 35, 30}));

    EXPECT_EQ(list.Add(30, "TWO (30)", 3), (BestWordChange{Kind::Move, 2, 2, 0}));
    EXPECT_EQ(list.Count(), 3);
}

// Guards the degenerate boxes: a list box too small for one line lists nothing, and a list that
// holds more lines than fits (the box shrank) is cut to the capacity before anything is added.
TEST(BestWordsTest, TinyBoxesAndOverfullLists) {
    BestWords none;
    EXPECT_EQ(none.Add(99, "BIG (99)", 0), (BestWordChange{Kind::Rejected, -1, -1, 0}));
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.Top(), "");

    BestWords list;
    for (uint32_t s = 10; s >= 6; --s) {
        list.Add(s, Line(s), 8);
    }
    EXPECT_EQ(list.Add(5, "W5", 3), (BestWordChange{Kind::Rejected, -1, -1, 0}));
    EXPECT_EQ(list.Add(9, "NEW9", 3), (BestWordChange{Kind::Insert, 1, -1, 3}));
    EXPECT_EQ(list.Lines(), (Lines{"W10", "NEW9", "W9"}));
}

// Guards the resize trimming: the lowest lines go, lines and scores stay paired, and growing
// the capacity again brings nothing back.
TEST(BestWordsTest, TrimKeepsTheBestLines) {
    BestWords list;
    for (uint32_t s = 1; s <= 6; ++s) {
        list.Add(s * 10, Line(s), 8);
    }
    EXPECT_EQ(list.Trim(4), 2);
    EXPECT_EQ(list.Lines(), (Lines{"W6", "W5", "W4", "W3"}));
    EXPECT_EQ(list.Scores(), (Scores{60, 50, 40, 30}));
    EXPECT_EQ(list.Trim(8), 0);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Trim(-1), 4);
    EXPECT_EQ(list.Top(), "");
}

// Guards the capacity arithmetic: whole lines only, and nothing for an empty or negative box.
TEST(BestWordsTest, CapacityCountsWholeLines) {
    EXPECT_EQ(ListCapacity(223, 25), 8);
    EXPECT_EQ(ListCapacity(225, 25), 9);
    EXPECT_EQ(ListCapacity(24, 25), 0);
    EXPECT_EQ(ListCapacity(-5, 25), 0);
    EXPECT_EQ(ListCapacity(100, 0), 0);
}

} // namespace
