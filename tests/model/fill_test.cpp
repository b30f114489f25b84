#include "board.h"
#include "board_helpers.h"
#include "random.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

namespace {

using testhelp::BoardInvariantsHold;
using testhelp::OccupiedCount;
using testhelp::Put;

// Guards the new-game fill: exactly the lowest rows' tile cells hold tiles, nothing is selected,
// an existing chain is forgotten, and the rows above are emptied of whatever they held.
TEST(Fill, FillsTheLowestRowsOnly) {
    Board board(12, 9);
    Put(board, 9, 3, "Z");
    std::vector<Chip*> changed;
    board.SelectChip(Put(board, 1, 1, "A"), false, changed);

    Random::Seed(99);
    board.Fill(4);
    EXPECT_EQ(OccupiedCount(board), 36);
    for (Chip* chip : testhelp::AllChips(board)) {
        const bool tileCell = chip->Row() < 4 && (chip->Row() - chip->Slot()) % 2 == 0;
        EXPECT_EQ(chip->IsOccupied(), tileCell) << chip->Row() << "," << chip->Slot();
        EXPECT_FALSE(chip->IsSelected());
    }
    EXPECT_TRUE(board.Selection().empty());
    EXPECT_TRUE(BoardInvariantsHold(board));

    board.Fill(12);
    EXPECT_EQ(OccupiedCount(board), 108);
    EXPECT_TRUE(BoardInvariantsHold(board));
    board.Fill(0);
    EXPECT_EQ(OccupiedCount(board), 0);
    board.Fill(-3);
    EXPECT_EQ(OccupiedCount(board), 0);
    board.Fill(50);
    EXPECT_EQ(OccupiedCount(board), 108);
}

// Guards that a seed replays a new game: the same seed fills the same letters.
TEST(Fill, SameSeedSameBoard) {
    Board first(12, 9);
    Board second(12, 9);
    Random::Seed(2024);
    first.Fill(4);
    Random::Seed(2024);
    second.Fill(4);
    EXPECT_EQ(testhelp::Snapshot(first), testhelp::Snapshot(second));
}

// The title word written out the way the attract fill walks the board: top row first,
// alternating direction, tile cells only, the word restarting wherever it runs out.
std::vector<std::string> SerpentineLetters(Board& board) {
    std::vector<std::string> letters;
    const int32_t rows = static_cast<int32_t>(board.RowCount());
    const int32_t cells = static_cast<int32_t>(board.SlotCount()) / 2;
    for (int32_t row = rows - 1, pass = 0; row >= 0; --row, ++pass) {
        for (int32_t k = 0; k < cells; ++k) {
            const int32_t column = pass % 2 == 0 ? k : cells - 1 - k;
            letters.push_back(board.CellAt(row, 2 * column + row % 2)->Letter());
        }
    }
    return letters;
}

// Guards the title display: the named cells hold the letters of the title in serpentine order,
// the word repeats without restarting per row, values are the letters' own, and any chain is
// dropped since its tiles are overwritten.
TEST(FillAttract, SpellsTheTitleInASerpentine) {
    Board board(12, 9);
    std::vector<Chip*> changed;
    board.SelectChip(Put(board, 0, 0, "Q"), false, changed);
    board.FillAttract();

    EXPECT_EQ(board.CellAt(11, 1)->Letter(), "P");
    EXPECT_EQ(board.CellAt(11, 17)->Letter(), "A");
    EXPECT_EQ(board.CellAt(10, 16)->Letter(), "X");
    EXPECT_EQ(board.CellAt(10, 0)->Letter(), "N");
    EXPECT_EQ(board.CellAt(9, 1)->Letter(), "O");

    const std::string title = "PELLINORAXIS";
    const std::vector<std::string> letters = SerpentineLetters(board);
    ASSERT_EQ(letters.size(), 108u);
    for (size_t i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(letters[i], std::string(1, title[i % title.size()])) << i;
    }
    EXPECT_EQ(OccupiedCount(board), 108);
    EXPECT_TRUE(board.Selection().empty());
    EXPECT_TRUE(BoardInvariantsHold(board)); // includes: every value is its letter's value
    EXPECT_EQ(board.CellAt(11, 1)->Value(), 3);
    EXPECT_EQ(board.CellAt(10, 16)->Value(), 8);

    Board small(5, 4); // an even top row starts at slot 0
    small.FillAttract();
    EXPECT_EQ(small.CellAt(4, 0)->Letter(), "P");
    EXPECT_EQ(small.CellAt(4, 6)->Letter(), "L");
    EXPECT_EQ(small.CellAt(3, 7)->Letter(), "I");
    EXPECT_EQ(small.CellAt(2, 0)->Letter(), "A");
    EXPECT_EQ(small.CellAt(0, 6)->Letter(), "R");
    EXPECT_EQ(OccupiedCount(small), 20);
}

// Guards the one seeding point: after the title fill the shared generator runs the sequence of
// the current time in seconds.
TEST(FillAttract, SeedsTheGeneratorFromTheClock) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        Board board(12, 9);
        board.FillAttract();
        const int32_t drawn = Random::Next();
        if (std::time(nullptr) != before) {
            continue; // the second turned over meanwhile; try again
        }
        Random::Seed(static_cast<uint32_t>(before));
        EXPECT_EQ(Random::Next(), drawn);
        return;
    }
    GTEST_SKIP() << "clock kept turning over";
}

} // namespace
