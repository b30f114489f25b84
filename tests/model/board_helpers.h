#pragma once

#include "board.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace testhelp {

// Puts a tile with the letter's own value into a cell, as the supply would.
inline Chip* Put(Board& board, int32_t row, int32_t slot, const std::string& letter) {
    Chip* chip = board.CellAt(row, slot);
    std::string text = letter;
    chip->Set(text, SupplyLetter(text));
    return chip;
}

// Every chip of the board, row by row.
inline std::vector<Chip*> AllChips(Board& board) {
    std::vector<Chip*> chips;
    for (int32_t r = 0; r < static_cast<int32_t>(board.RowCount()); ++r) {
        for (int32_t s = 0; s < static_cast<int32_t>(board.SlotCount()); ++s) {
            chips.push_back(board.CellAt(r, s));
        }
    }
    return chips;
}

inline int OccupiedCount(Board& board) {
    int n = 0;
    for (Chip* chip : AllChips(board)) {
        n += chip->IsOccupied() ? 1 : 0;
    }
    return n;
}

// The state the painter shows for each chip; comparing two snapshots tells which chips really
// changed, so a changed list can be checked for completeness.
using ChipState = std::tuple<std::string, int32_t, bool>;
inline std::vector<ChipState> Snapshot(Board& board) {
    std::vector<ChipState> states;
    for (Chip* chip : AllChips(board)) {
        states.emplace_back(chip->Letter(), chip->Value(), chip->IsSelected());
    }
    return states;
}

inline ::testing::AssertionResult ChangedListCovers(Board& board,
                                                    const std::vector<ChipState>& before,
                                                    const std::vector<Chip*>& changed) {
    const std::vector<Chip*> chips = AllChips(board);
    const std::set<Chip*> listed(changed.begin(), changed.end());
    for (size_t i = 0; i < chips.size(); ++i) {
        if (std::make_tuple(chips[i]->Letter(), chips[i]->Value(), chips[i]->IsSelected()) !=
                before[i] &&
            listed.count(chips[i]) == 0) {
            return ::testing::AssertionFailure() << "chip at row " << chips[i]->Row() << " slot "
                                                 << chips[i]->Slot() << " changed unreported";
        }
    }
    return ::testing::AssertionSuccess();
}

// The chain rules and the cell rules every operation must leave intact.
inline ::testing::AssertionResult BoardInvariantsHold(Board& board) {
    const std::vector<Chip*> selection = board.Selection();
    const std::set<Chip*> inSelection(selection.begin(), selection.end());
    if (inSelection.size() != selection.size()) {
        return ::testing::AssertionFailure() << "a chip occurs twice in the selection";
    }
    for (size_t i = 0; i < selection.size(); ++i) {
        if (!selection[i]->IsOccupied() || !selection[i]->IsSelected()) {
            return ::testing::AssertionFailure()
                   << "selection entry " << i << " is empty or unflagged";
        }
        if (i > 0 && !Board::IsAdjacent(selection[i - 1], selection[i])) {
            return ::testing::AssertionFailure()
                   << "selection entries " << i - 1 << " and " << i << " are not neighbours";
        }
    }
    for (Chip* chip : AllChips(board)) {
        if (chip->IsSelected() && inSelection.count(chip) == 0) {
            return ::testing::AssertionFailure() << "chip at row " << chip->Row() << " slot "
                                                 << chip->Slot() << " flagged but not in chain";
        }
        if (!chip->IsOccupied()) {
            if (chip->Value() != 0) {
                return ::testing::AssertionFailure() << "empty chip with a value";
            }
            continue;
        }
        if ((chip->Row() - chip->Slot()) % 2 != 0) {
            return ::testing::AssertionFailure() << "tile in a slot of the wrong parity";
        }
        const std::string& letter = chip->Letter();
        const bool wellFormed =
            (letter.size() == 1 && letter[0] >= 'A' && letter[0] <= 'Z' && letter[0] != 'Q') ||
            letter == "QU";
        std::string copy = letter;
        if (!wellFormed || SupplyLetter(copy) != chip->Value()) {
            return ::testing::AssertionFailure()
                   << "tile " << letter << " has value " << chip->Value();
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace testhelp
