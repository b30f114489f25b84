#include "board.h"
#include "board_helpers.h"
#include "random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace {

using testhelp::BoardInvariantsHold;
using testhelp::OccupiedCount;
using testhelp::Put;
using Chips = std::vector<Chip*>;

void EmptyRow(Board& board, int32_t row) {
    for (int32_t s = 0; s < static_cast<int32_t>(board.SlotCount()); ++s) {
        board.CellAt(row, s)->Set(nullptr, 0);
    }
}

// Guards the plain drop: on an empty board one tile lands in the top row, the step is free, and
// the changed list holds just that chip.
TEST(DropChip, FreeDropOnAnEmptyBoard) {
    Board board(12, 9);
    Random::Seed(1);
    Chips changed;
    bool selectionChanged = true;
    EXPECT_FALSE(board.DropChip(changed, &selectionChanged));
    EXPECT_FALSE(selectionChanged);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0]->Row(), 11);
    EXPECT_EQ(changed[0]->Slot() % 2, 1);
    EXPECT_TRUE(changed[0]->IsOccupied());
    EXPECT_EQ(OccupiedCount(board), 1);
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards the blocked report: with the row below full every drop is blocked, yet the new tile is
// still placed (it is what the round-end shows); a top-row tile that could not fall is replaced.
TEST(DropChip, BlockedDropStillPlacesTheTile) {
    Board board(12, 9);
    for (int32_t s = 0; s < 18; s += 2) {
        Put(board, 10, s, "O");
    }
    Random::Seed(3);
    for (int i = 0; i < 30; ++i) {
        Chips changed;
        EXPECT_TRUE(board.DropChip(changed));
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_TRUE(changed[0]->IsOccupied());
        EXPECT_EQ(changed[0]->Row(), 11);
    }
    EXPECT_LE(OccupiedCount(board), 18); // replaced, never stacked
    EXPECT_TRUE(BoardInvariantsHold(board));

    Board tiny(1, 3); // nothing below the top row at all
    Chips changed;
    EXPECT_TRUE(tiny.DropChip(changed));
    EXPECT_EQ(OccupiedCount(tiny), 1);
    Board none(0, 9);
    changed.clear();
    EXPECT_TRUE(none.DropChip(changed));
    EXPECT_TRUE(changed.empty());
}

// Drops repeatedly on a board whose row below the top holds one tile at `belowSlot`, and checks
// that the step is blocked exactly for the top cell `edgeSlot`; returns the top slots seen.
std::set<int32_t> CheckEdge(Board& board, int32_t belowSlot, int32_t edgeSlot) {
    const int32_t top = static_cast<int32_t>(board.RowCount()) - 1;
    Put(board, top - 1, belowSlot, "E");
    std::set<int32_t> seen;
    Random::Seed(11);
    for (int i = 0; i < 400; ++i) {
        Chips changed;
        const bool blocked = board.DropChip(changed);
        const int32_t slot = changed.back()->Slot();
        seen.insert(slot);
        EXPECT_EQ(blocked, slot == edgeSlot) << "top slot " << slot;
        EmptyRow(board, top);
    }
    return seen;
}

// Guards the edge cells: off-board counts as not free, so an edge cell with its one inner cell
// occupied is blocked while every other cell drops freely; each top cell is reachable.
TEST(DropChip, EdgeSlots) {
    Board main(12, 9); // odd top row: rightmost cell 17 has only slot 16 below
    EXPECT_EQ(CheckEdge(main, 16, 17), (std::set<int32_t>{1, 3, 5, 7, 9, 11, 13, 15, 17}));
    Board small(5, 4); // even top row: leftmost cell 0 has only slot 1 below
    EXPECT_EQ(CheckEdge(small, 1, 0), (std::set<int32_t>{0, 2, 4, 6}));
}

// Guards the column choice: every top cell is about equally likely.
TEST(DropChip, ColumnsAreEvenlyChosen) {
    Board board(12, 9);
    Random::Seed(5);
    std::map<int32_t, int> counts;
    constexpr int kDrops = 18000;
    for (int i = 0; i < kDrops; ++i) {
        Chips changed;
        board.DropChip(changed);
        ++counts[changed.back()->Slot()];
    }
    ASSERT_EQ(counts.size(), 9u);
    for (auto [slot, n] : counts) {
        EXPECT_NEAR(n, kDrops / 9, kDrops / 9 / 5) << slot;
    }
}

// Guards the chain when a new tile lands on one of its tiles: the chain is cut just before that
// tile as a click would cut it (removed chips, then the new end, then the new tile in the changed
// list), the caller is told, and every chain rule still holds.
TEST(DropChip, LandingOnTheChainCutsIt) {
    std::set<size_t> cutPositions;
    for (uint32_t seed = 1; seed < 200 && cutPositions.size() < 9; ++seed) {
        Board board(12, 9);
        Chips chain;
        Chips changed;
        for (int32_t s = 1; s < 18; s += 2) {
            chain.push_back(Put(board, 11, s, "N"));
            board.SelectChip(chain.back(), false, changed);
        }
        ASSERT_EQ(board.Selection(), chain);

        Random::Seed(seed);
        changed.clear();
        bool selectionChanged = false;
        board.DropChip(changed, &selectionChanged);
        EXPECT_TRUE(selectionChanged);
        Chip* landed = changed.back();
        const size_t k =
            static_cast<size_t>(std::find(chain.begin(), chain.end(), landed) - chain.begin());
        ASSERT_LT(k, chain.size());
        cutPositions.insert(k);

        const Chips kept(chain.begin(), chain.begin() + static_cast<std::ptrdiff_t>(k));
        EXPECT_EQ(board.Selection(), kept);
        Chips expected(chain.begin() + static_cast<std::ptrdiff_t>(k), chain.end());
        if (k > 0) {
            expected.push_back(chain[k - 1]);
        }
        expected.push_back(landed);
        EXPECT_EQ(changed, expected);
        EXPECT_FALSE(landed->IsSelected());
        EXPECT_TRUE(BoardInvariantsHold(board));
    }
    EXPECT_EQ(cutPositions.size(), 9u);

    // A chain elsewhere is left alone, and the caller hears nothing changed.
    Board board(12, 9);
    Chips changed;
    board.SelectChip(Put(board, 0, 0, "A"), false, changed);
    bool selectionChanged = true;
    board.DropChip(changed, &selectionChanged);
    EXPECT_FALSE(selectionChanged);
    EXPECT_EQ(board.Selection().size(), 1u);
}

// Guards the fair side choice: a lone tile above two free cells falls to each side about half
// the time, leaves its cell empty, and reports destination then source.
TEST(Tumble, LoneTileFallsEitherWayEvenly) {
    Random::Seed(17);
    int left = 0;
    constexpr int kTrials = 4000;
    for (int i = 0; i < kTrials; ++i) {
        Board board(12, 9);
        Chip* tile = Put(board, 1, 1, "W");
        Chips changed;
        board.Tumble(changed);
        ASSERT_FALSE(tile->IsOccupied());
        Chip* l = board.CellAt(0, 0);
        Chip* r = board.CellAt(0, 2);
        ASSERT_NE(l->IsOccupied(), r->IsOccupied());
        Chip* dest = l->IsOccupied() ? l : r;
        EXPECT_EQ(dest->Letter(), "W");
        EXPECT_EQ(dest->Value(), 4);
        EXPECT_EQ(changed, (Chips{dest, tile}));
        left += l->IsOccupied() ? 1 : 0;
    }
    EXPECT_NEAR(left / double(kTrials), 0.5, 0.05);
}

// Guards the fair choice between two tiles: a hole with a falling tile on both upper sides takes
// either one about half the time, and the other stays where it was.
TEST(Tumble, HoleTakesEitherUpperTileEvenly) {
    Random::Seed(19);
    int fromLeft = 0;
    constexpr int kTrials = 4000;
    for (int i = 0; i < kTrials; ++i) {
        Board board(12, 9);
        for (int32_t s = 0; s < 18; s += 2) {
            if (s != 2) {
                Put(board, 0, s, "O");
            }
        }
        Chip* left = Put(board, 1, 1, "L");
        Chip* right = Put(board, 1, 3, "R");
        Chips changed;
        board.Tumble(changed);
        ASSERT_EQ(changed.size(), 2u);
        ASSERT_NE(left->IsOccupied(), right->IsOccupied());
        const std::string& fell = board.CellAt(0, 2)->Letter();
        ASSERT_TRUE(fell == "L" || fell == "R");
        fromLeft += fell == "L" ? 1 : 0;
    }
    EXPECT_NEAR(fromLeft / double(kTrials), 0.5, 0.05);
}

// Guards what must stay put: a tile resting on two tiles, a selected tile over free cells, and a
// tile resting on a selected one unless its other side is free (then it falls only that way).
TEST(Tumble, SupportedAndSelectedTilesStay) {
    Board board(12, 9);
    Chip* restingOn1 = Put(board, 0, 8, "A");
    Chip* restingOn2 = Put(board, 0, 10, "B");
    Chip* resting = Put(board, 1, 9, "C");
    Chips changed;
    board.Tumble(changed);
    EXPECT_TRUE(changed.empty());
    EXPECT_TRUE(restingOn1->IsOccupied() && restingOn2->IsOccupied() && resting->IsOccupied());

    Chip* held = Put(board, 1, 1, "D");  // free cells (0,0) and (0,2) below
    Chip* above = Put(board, 2, 2, "E"); // below it: held, and free (1,3)
    board.SelectChip(held, false, changed);
    board.Tumble(changed);
    EXPECT_FALSE(above->IsOccupied());
    EXPECT_EQ(board.CellAt(1, 3)->Letter(), "E"); // its only free side
    for (int step = 0; step < 3; ++step) {
        board.Tumble(changed);
    }
    EXPECT_EQ(held->Letter(), "D");
    EXPECT_TRUE(held->IsSelected());
    EXPECT_FALSE(board.CellAt(0, 0)->IsOccupied());
    EXPECT_TRUE(board.CellAt(0, 2)->Letter() == "E" || board.CellAt(0, 4)->Letter() == "E");
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards one row per step: a falling tile descends exactly one row each step until it lands.
TEST(Tumble, FallingTileMovesOneRowPerStep) {
    Board board(12, 9);
    Random::Seed(23);
    Put(board, 11, 9, "K");
    for (int32_t expectedRow = 10; expectedRow >= 0; --expectedRow) {
        Chips changed;
        board.Tumble(changed);
        ASSERT_EQ(OccupiedCount(board), 1);
        ASSERT_EQ(changed.size(), 2u);
        EXPECT_EQ(changed[0]->Row(), expectedRow);
        EXPECT_EQ(changed[1]->Row(), expectedRow + 1);
        EXPECT_TRUE(Board::IsAdjacent(changed[0], changed[1]));
    }
    Chips changed;
    board.Tumble(changed);
    EXPECT_TRUE(changed.empty());
}

// Guards the hole under a stack: it is filled from the row just above, so the gap climbs exactly
// one row per step and no tile skips a row or is lost.
TEST(Tumble, HoleUnderAStackClimbsOneRowPerStep) {
    Board board(12, 9);
    Random::Seed(31);
    board.Fill(6);
    board.CellAt(0, 8)->Set(nullptr, 0);
    for (int32_t step = 1; step <= 5; ++step) {
        Chips changed;
        board.Tumble(changed);
        ASSERT_EQ(changed.size(), 2u) << step;
        EXPECT_EQ(changed[0]->Row(), step - 1);
        EXPECT_EQ(changed[1]->Row(), step);
        int32_t holes = 0;
        for (int32_t r = 0; r < 6; ++r) {
            for (int32_t s = r % 2; s < 18; s += 2) {
                if (!board.CellAt(r, s)->IsOccupied()) {
                    ++holes;
                    EXPECT_EQ(r, step);
                }
            }
        }
        EXPECT_EQ(holes, 1);
    }
    Chips changed;
    board.Tumble(changed); // the hole is at the top of the stack: nothing above to fall
    EXPECT_TRUE(changed.empty());
    EXPECT_TRUE(BoardInvariantsHold(board));
}

// Guards competing holes: one tile is never given to two cells, and both tiles of a pair fall.
TEST(Tumble, CompetingHolesShareTheTiles) {
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        Random::Seed(seed);
        Board board(12, 9);
        Put(board, 1, 1, "F");
        Put(board, 1, 3, "G");
        Chips changed;
        board.Tumble(changed);
        std::multiset<std::string> row0;
        for (int32_t s = 0; s < 18; s += 2) {
            if (board.CellAt(0, s)->IsOccupied()) {
                row0.insert(board.CellAt(0, s)->Letter());
            }
        }
        EXPECT_EQ(row0, (std::multiset<std::string>{"F", "G"})) << seed;
        EXPECT_EQ(OccupiedCount(board), 2);
    }
}

// Guards a settled board: nothing moves and nothing is reported; tiny boards are harmless.
TEST(Tumble, SettledBoardChangesNothing) {
    Board board(12, 9);
    Random::Seed(41);
    for (int32_t rows : {4, 12}) {
        board.Fill(rows);
        const auto before = testhelp::Snapshot(board);
        Chips changed;
        board.Tumble(changed);
        EXPECT_TRUE(changed.empty());
        EXPECT_EQ(testhelp::Snapshot(board), before);
    }
    for (uint32_t rows : {0u, 1u}) {
        Board tiny(rows, 2);
        Chips changed;
        tiny.Tumble(changed);
        EXPECT_TRUE(changed.empty());
    }
}

} // namespace
