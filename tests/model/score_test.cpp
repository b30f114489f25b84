#include "board.h"
#include "board_helpers.h"
#include "score.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Selects a chain of the given letters along row 0 of a wide board and returns its score.
int32_t ScoreOf(std::initializer_list<const char*> letters) {
    Board board(1, 40);
    std::vector<Chip*> changed;
    int32_t slot = 0;
    for (const char* letter : letters) {
        board.SelectChip(testhelp::Put(board, 0, slot, letter), false, changed);
        slot += 2;
    }
    EXPECT_EQ(board.Selection().size(), letters.size());
    return board.WordScore();
}

int32_t ScoreOfRepeated(const char* letter, int count) {
    Board board(1, 40);
    std::vector<Chip*> changed;
    for (int i = 0; i < count; ++i) {
        board.SelectChip(testhelp::Put(board, 0, 2 * i, letter), false, changed);
    }
    return board.WordScore();
}

// Guards the word score: the product of the chain's values, 0 for no chain, a "QU" tile counted
// once at 9.
TEST(WordScore, ProductOfTileValues) {
    EXPECT_EQ(ScoreOf({}), 0);
    EXPECT_EQ(ScoreOf({"E"}), 2);
    EXPECT_EQ(ScoreOf({"C", "A", "T"}), 12);
    EXPECT_EQ(ScoreOf({"E", "E", "L"}), 8);
    EXPECT_EQ(ScoreOf({"QU", "I", "Z"}), 108);
    EXPECT_EQ(ScoreOf({"J", "A", "Z", "Z"}), 504);
    EXPECT_EQ(ScoreOf({"QU", "E", "E", "N"}), 72);
}

// Guards the cap: products beyond the 32-bit range stop at 2147483647 instead of wrapping to a
// negative or small score, however long the chain, while the largest exact products stay exact.
TEST(WordScore, CappedAtTheLargest32BitValue) {
    EXPECT_EQ(ScoreOfRepeated("E", 30), 1073741824);
    EXPECT_EQ(ScoreOfRepeated("E", 31), kMaxScore); // 2^31, one past the range
    EXPECT_EQ(ScoreOfRepeated("QU", 9), 387420489);
    EXPECT_EQ(ScoreOfRepeated("QU", 10), kMaxScore); // 3486784401
    EXPECT_EQ(ScoreOfRepeated("QU", 31), kMaxScore); // would overflow even 64 bits unguarded
    EXPECT_EQ(ScoreOfRepeated("X", 40), kMaxScore);
}

// Guards the game total: adding scores saturates at the same cap and is exact below it.
TEST(WordScore, AddScoreSaturates) {
    EXPECT_EQ(AddScore(5, 7), 12);
    EXPECT_EQ(AddScore(0, kMaxScore), kMaxScore);
    EXPECT_EQ(AddScore(2147483000, 647), kMaxScore);
    EXPECT_EQ(AddScore(2147483000, 648), kMaxScore);
    EXPECT_EQ(AddScore(kMaxScore, kMaxScore), kMaxScore);
    EXPECT_EQ(AddScore(2147483000, 600), 2147483600);
}

} // namespace
