#include "board.h"
#include "board_helpers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using testhelp::BoardInvariantsHold;
using testhelp::Put;
using Chips = std::vector<Chip*>;

// A board with a short horizontal chain a-b-c in row 2 available, plus tiles touching it in
// chosen places: d (2,2) touches a only, e (3,5) touches a and b but not c, f is far away.
class SelectionTest : public ::testing::Test {
protected:
    Board board{12, 9};
    Chip* a = Put(board, 2, 4, "C");
    Chip* b = Put(board, 2, 6, "A");
    Chip* c = Put(board, 2, 8, "T");
    Chip* d = Put(board, 2, 2, "S");
    Chip* e = Put(board, 3, 5, "R");
    Chip* f = Put(board, 8, 8, "E");

    void SelectAbc() {
        Chips ignored;
        board.SelectChip(a, false, ignored);
        board.SelectChip(b, false, ignored);
        board.SelectChip(c, false, ignored);
    }
};

// Guards extension: each new neighbour of the chain's end joins it, and the changed list names
// the old end (redrawn as a middle tile) and the new chip, in that order.
TEST_F(SelectionTest, ExtendingTheChain) {
    Chips changed;
    EXPECT_EQ(board.SelectChip(a, false, changed), "C");
    EXPECT_EQ(changed, (Chips{a}));
    changed.clear();
    EXPECT_EQ(board.SelectChip(b, false, changed), "CA");
    EXPECT_EQ(changed, (Chips{a, b}));
    changed.clear();
    EXPECT_EQ(board.SelectChip(c, true, changed), "CAT");
    EXPECT_EQ(changed, (Chips{b, c}));
    EXPECT_EQ(board.Selection(), (Chips{a, b, c}));
    EXPECT_TRUE(a->IsSelected() && b->IsSelected() && c->IsSelected());
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards the click cut: a click on a selected chip removes it and everything after it; the
// removed chips come first in the changed list, then the new end.
TEST_F(SelectionTest, ClickCutsBeforeTheChip) {
    SelectAbc();
    Chips changed;
    EXPECT_EQ(board.SelectChip(b, false, changed), "C");
    EXPECT_EQ(board.Selection(), (Chips{a}));
    EXPECT_EQ(changed, (Chips{b, c, a}));
    EXPECT_FALSE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_TRUE(BoardInvariantsHold(board));

    changed.clear();
    EXPECT_EQ(board.SelectChip(a, false, changed), ""); // clicking the first tile drops it all
    EXPECT_TRUE(board.Selection().empty());
    EXPECT_EQ(changed, (Chips{a}));
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards the drag cut: dragging back onto a selected chip keeps it and cuts what follows; on the
// last chip it removes nothing and only redraws the end.
TEST_F(SelectionTest, DragBackCutsAfterTheChip) {
    SelectAbc();
    Chips changed;
    EXPECT_EQ(board.SelectChip(b, true, changed), "CA");
    EXPECT_EQ(board.Selection(), (Chips{a, b}));
    EXPECT_EQ(changed, (Chips{c, b}));
    EXPECT_TRUE(b->IsSelected());

    changed.clear();
    EXPECT_EQ(board.SelectChip(b, true, changed), "CA");
    EXPECT_EQ(board.Selection(), (Chips{a, b}));
    EXPECT_EQ(changed, (Chips{b}));
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards cut-back: a tile touching an earlier chip (not the end) drops the chips after that one
// and then joins; a tile touching only the first chip leaves a two-tile chain.
TEST_F(SelectionTest, NeighbourOfAnEarlierChipCutsBackThenExtends) {
    SelectAbc();
    Chips changed;
    EXPECT_EQ(board.SelectChip(d, false, changed), "CS");
    EXPECT_EQ(board.Selection(), (Chips{a, d}));
    EXPECT_EQ(changed, (Chips{c, b, a, d}));
    EXPECT_TRUE(BoardInvariantsHold(board));

    Chips ignored;
    board.ClearSelection(ignored);
    SelectAbc();
    changed.clear();
    EXPECT_EQ(board.SelectChip(e, true, changed), "CAR");
    EXPECT_EQ(board.Selection(), (Chips{a, b, e}));
    EXPECT_EQ(changed, (Chips{c, b, e}));
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards new chains: a tile touching none of the chain replaces the whole chain with itself.
TEST_F(SelectionTest, UnconnectedTileStartsANewChain) {
    SelectAbc();
    Chips changed;
    EXPECT_EQ(board.SelectChip(f, false, changed), "E");
    EXPECT_EQ(board.Selection(), (Chips{f}));
    EXPECT_EQ(changed, (Chips{c, b, a, f}));
    EXPECT_FALSE(a->IsSelected() || b->IsSelected() || c->IsSelected());
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards the chain against what a caller should never pass: no chip, an empty cell, or another
// board's tile leave the chain and the changed list exactly as they were.
TEST_F(SelectionTest, InvalidChipsChangeNothing) {
    SelectAbc();
    Board other(12, 9);
    Chip* foreign = Put(other, 2, 10, "X");
    Chips changed;
    EXPECT_EQ(board.SelectChip(nullptr, false, changed), "CAT");
    EXPECT_EQ(board.SelectChip(board.CellAt(2, 10), false, changed), "CAT"); // empty cell
    EXPECT_EQ(board.SelectChip(foreign, false, changed), "CAT");
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(board.Selection(), (Chips{a, b, c}));
    EXPECT_FALSE(foreign->IsSelected());
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards the word text: the letters of the chain in order, a "QU" tile giving both letters.
TEST(SelectionWord, QuContributesTwoLetters) {
    Board board(12, 9);
    Chips changed;
    std::string word;
    int32_t slot = 0;
    for (const char* letter : {"T", "H", "E", "QU", "E", "S"}) {
        word = board.SelectChip(Put(board, 0, slot, letter), false, changed);
        slot += 2;
    }
    EXPECT_EQ(word, "THEQUES");
    EXPECT_EQ(board.WordText(), "THEQUES");
}

// Guards clearing and consuming: both report the chain in chain order and empty it; clearing
// keeps the tiles, consuming empties exactly the chain's cells and nothing else.
TEST_F(SelectionTest, ClearAndConsume) {
    SelectAbc();
    Chips changed;
    board.ClearSelection(changed);
    EXPECT_EQ(changed, (Chips{a, b, c}));
    EXPECT_TRUE(board.Selection().empty());
    EXPECT_TRUE(a->IsOccupied() && b->IsOccupied() && c->IsOccupied());
    EXPECT_FALSE(a->IsSelected() || b->IsSelected() || c->IsSelected());
    EXPECT_TRUE(BoardInvariantsHold(board));

    SelectAbc();
    changed.clear();
    board.ConsumeSelection(changed);
    EXPECT_EQ(changed, (Chips{a, b, c}));
    EXPECT_TRUE(board.Selection().empty());
    for (Chip* gone : {a, b, c}) {
        EXPECT_FALSE(gone->IsOccupied());
        EXPECT_FALSE(gone->IsSelected());
        EXPECT_EQ(gone->Value(), 0);
    }
    EXPECT_EQ(testhelp::OccupiedCount(board), 3); // d, e and f stay
    EXPECT_TRUE(BoardInvariantsHold(board));

    changed.clear();
    board.ClearSelection(changed);
    board.ConsumeSelection(changed);
    EXPECT_TRUE(changed.empty());
}

} // namespace
