#include "board.h"
#include "board_helpers.h"
#include "random.h"
#include "score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using testhelp::BoardInvariantsHold;
using testhelp::ChangedListCovers;
using testhelp::OccupiedCount;
using Chips = std::vector<Chip*>;

std::map<std::string, int> LetterCounts(Board& board) {
    std::map<std::string, int> counts;
    for (Chip* chip : testhelp::AllChips(board)) {
        if (chip->IsOccupied()) {
            ++counts[chip->Letter()];
        }
    }
    return counts;
}

int32_t ExpectedScore(const Chips& chain) {
    int64_t p = 1;
    for (const Chip* chip : chain) {
        p = std::min<int64_t>(p * chip->Value(), kMaxScore);
    }
    return p == 1 ? 0 : static_cast<int32_t>(p);
}

// Plays a board the way a game does, with a player clicking and dragging at random (mostly along
// the chain, so long chains form), and checks after every single step that the chain and cell
// rules hold, that the changed list names every chip that changed, that falling conserves the
// tiles, and that the score matches the chain.
void Simulate(uint32_t rows, uint32_t columns, uint32_t seed, int steps) {
    Board board(rows, columns);
    Random::Seed(seed);
    std::mt19937 player(seed); // the player's choices, apart from the board's own generator
    board.Fill(static_cast<int32_t>(rows / 3));

    for (int step = 0; step < steps; ++step) {
        const auto before = testhelp::Snapshot(board);
        const Chips chainBefore = board.Selection();
        const int occupiedBefore = OccupiedCount(board);
        Chips changed;
        const unsigned action = player() % 100;
        std::string what;

        if (action < 20) {
            what = "drop";
            bool selectionChanged = false;
            const bool blocked = board.DropChip(changed, &selectionChanged);
            ASSERT_TRUE(selectionChanged || board.Selection() == chainBefore) << step;
            ASSERT_LE(OccupiedCount(board), occupiedBefore + 1) << step;
            if (blocked) {
                board.Fill(static_cast<int32_t>(player() % 4)); // as a new round would
                ASSERT_TRUE(board.Selection().empty());
                ASSERT_TRUE(BoardInvariantsHold(board)) << step;
                continue;
            }
        } else if (action < 60) {
            what = "tumble";
            const auto lettersBefore = LetterCounts(board);
            board.Tumble(changed);
            ASSERT_EQ(LetterCounts(board), lettersBefore) << step;
            ASSERT_EQ(board.Selection(), chainBefore) << step;
            ASSERT_EQ(changed.size() % 2, 0u);
            for (size_t k = 0; k < changed.size() / 2; ++k) {
                const Chip* dest = changed[k];
                const Chip* source = changed[k + changed.size() / 2];
                ASSERT_EQ(dest->Row() + 1, source->Row()) << step;
                ASSERT_TRUE(Board::IsAdjacent(dest, source)) << step;
                // Each move really carried a tile: one source never feeds two holes.
                ASSERT_TRUE(dest->IsOccupied() && !source->IsOccupied()) << step;
            }
        } else if (action < 92) {
            what = "select";
            // Mostly a neighbour of the chain's end, as a dragging player would; sometimes a
            // tile of the chain itself (a cut), sometimes any tile (a new chain).
            const Chips chain = board.Selection();
            Chips candidates;
            const unsigned pick = player() % 10;
            for (Chip* chip : testhelp::AllChips(board)) {
                if (!chip->IsOccupied()) {
                    continue;
                }
                const bool wanted = pick < 6
                                        ? !chain.empty() && Board::IsAdjacent(chain.back(), chip)
                                    : pick < 8 ? chip->IsSelected()
                                               : true;
                if (wanted) {
                    candidates.push_back(chip);
                }
            }
            if (!candidates.empty()) {
                Chip* chip = candidates[player() % candidates.size()];
                const bool keep = player() % 2 == 0;
                const bool wasIn =
                    std::find(chainBefore.begin(), chainBefore.end(), chip) != chainBefore.end();
                const std::string word = board.SelectChip(chip, keep, changed);
                ASSERT_EQ(word, board.WordText()) << step;
                ASSERT_EQ(chip->IsSelected(), !wasIn || keep) << step;
                // What survives of the old chain is a prefix of it; only a new chip may follow.
                const Chips after = board.Selection();
                const size_t kept = after.size() - (wasIn ? 0 : 1);
                ASSERT_LE(kept, chainBefore.size()) << step;
                ASSERT_TRUE(std::equal(after.begin(),
                                       after.begin() + static_cast<std::ptrdiff_t>(kept),
                                       chainBefore.begin()))
                    << step;
                if (!wasIn) {
                    ASSERT_EQ(after.back(), chip) << step;
                }
            }
        } else if (action < 96) {
            what = "clear";
            board.ClearSelection(changed);
            ASSERT_EQ(changed, chainBefore);
            ASSERT_EQ(OccupiedCount(board), occupiedBefore);
        } else {
            what = "consume";
            board.ConsumeSelection(changed);
            ASSERT_EQ(changed, chainBefore);
            ASSERT_EQ(OccupiedCount(board), occupiedBefore - static_cast<int>(chainBefore.size()));
        }

        ASSERT_TRUE(BoardInvariantsHold(board)) << what << " at step " << step;
        ASSERT_TRUE(ChangedListCovers(board, before, changed)) << what << " at step " << step;
        ASSERT_EQ(board.WordScore(), ExpectedScore(board.Selection())) << step;
    }
}

// Guards every board rule at once over long random play on the game's board.
TEST(Simulation, MainBoardKeepsItsRules) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        Simulate(12, 9, seed, 4000);
        if (HasFatalFailure()) {
            return;
        }
    }
}

// Guards the same rules on the small example board, whose top row is even, and a narrow one.
TEST(Simulation, OtherBoardShapesKeepTheirRules) {
    Simulate(5, 4, 77, 4000);
    if (!HasFatalFailure()) {
        Simulate(3, 1, 78, 2000);
    }
}

} // namespace
