// The table rules without a window: how captions rank, where a new score goes, how many rows
// make way for it, and how a row survives the trip through the store.
#include "dialogs/scoretable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace scoretable;

// Guards the ranking value of a caption: the leading integer with blanks and a sign, 0 for a
// caption without digits, and no wrap-around for absurd hand-edited digits.
TEST(ScoreTableRules, LeadingScoreReadsTheNumberAtTheStart) {
    EXPECT_EQ(LeadingScore("1234"), 1234);
    EXPECT_EQ(LeadingScore("  +56 points"), 56);
    EXPECT_EQ(LeadingScore("-7"), -7);
    EXPECT_EQ(LeadingScore("12abc34"), 12);
    EXPECT_EQ(LeadingScore(""), 0);
    EXPECT_EQ(LeadingScore("abc"), 0);
    EXPECT_EQ(LeadingScore("-"), 0);
    EXPECT_EQ(LeadingScore("4294967295"), 4294967295LL);
    EXPECT_EQ(LeadingScore("99999999999999999999999"), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(LeadingScore("-99999999999999999999999"), std::numeric_limits<int64_t>::min());
}

// Guards the stored row format: with and without TABs, an empty best word, a best word that
// itself holds a TAB, and the text written back being the text read.
TEST(ScoreTableRules, StoredRowsSplitAtTheFirstTwoTabs) {
    EXPECT_EQ(ParseStoredRow("120\tAnn\tQUIZ"), (Row{"120", {"Ann", "QUIZ"}}));
    EXPECT_EQ(ParseStoredRow("750"), (Row{"750", {}}));
    EXPECT_EQ(ParseStoredRow("80\tBob"), (Row{"80", {"Bob", ""}}));
    EXPECT_EQ(ParseStoredRow("80\t\t"), (Row{"80", {"", ""}}));
    EXPECT_EQ(ParseStoredRow("9\tA\tB\tC"), (Row{"9", {"A", "B\tC"}}));
    for (const char* text : {"120\tAnn\tQUIZ", "750", "80\t\t", "9\tA\tB\tC"})
        EXPECT_EQ(FormatStoredRow(ParseStoredRow(text)), text);
    EXPECT_EQ(FormatStoredRow(ParseStoredRow("80\tBob")), "80\tBob\t");
}

// Guards the columns against a player's text: a TAB in a nickname would shift the best word
// into the player column when the row is read back.
TEST(ScoreTableRules, FieldsLoseTheirTabs) {
    const Row row{"10", {WithoutTabs("A\tB"), WithoutTabs("WORD")}};
    EXPECT_EQ(ParseStoredRow(FormatStoredRow(row)), (Row{"10", {"A B", "WORD"}}));
}
