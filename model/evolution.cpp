// How the board moves on its own: new tiles dropping in at the top and tiles falling into the
// free cells diagonally below them.

#include "board.h"

#include "random.h"

#include <algorithm>

bool Board::DropChip(std::vector<Chip*>& changed, bool* selectionChanged) {
    if (selectionChanged != nullptr) {
        *selectionChanged = false;
    }
    const int32_t topRow = static_cast<int32_t>(rows_) - 1;
    const uint32_t cellsInRow = slots_ / 2;
    if (topRow < 0 || cellsInRow == 0) {
        return true; // no top row to drop into: nothing can ever enter this board
    }
    // The column is chosen before the letter is drawn, so a seed replays the same game.
    const uint32_t k = static_cast<uint32_t>(Random::Next()) % cellsInRow;
    const int32_t slot = static_cast<int32_t>(2 * k + static_cast<uint32_t>(topRow) % 2);
    Chip* top = CellAt(topRow, slot);

    bool blocked = true;
    for (const int32_t below : {slot - 1, slot + 1}) {
        const Chip* cell = CellAt(topRow - 1, below);
        if (cell != nullptr && !cell->IsOccupied()) {
            blocked = false;
        }
    }

    // A tile that could not fall yet is replaced by the new one. If it belonged to the chain,
    // the chain is cut just before it, exactly as a click on it would, so the chain never lists
    // a chip whose letter the word display has not shown.
    const auto found = std::find(selection_.begin(), selection_.end(), top);
    if (found != selection_.end()) {
        CutSelection(static_cast<size_t>(found - selection_.begin()), changed);
        if (selectionChanged != nullptr) {
            *selectionChanged = true;
        }
    }

    std::string letter;
    const int32_t value = SupplyLetter(letter, weights_);
    top->Set(letter, value);
    changed.push_back(top);
    return blocked;
}

void Board::Tumble(std::vector<Chip*>& changed) {
    std::vector<Chip*> destinations;
    std::vector<Chip*> sources;
    std::vector<Chip*> candidates;

    // A tile may fall from an upper neighbour only if it is there, unselected (the chain stays
    // put while the player forms it) and not already promised to another hole in this step.
    const auto counts = [&sources](const Chip* chip) {
        return chip != nullptr && chip->IsOccupied() && !chip->IsSelected() &&
               std::find(sources.begin(), sources.end(), chip) == sources.end();
    };

    // The top row never receives a tile.
    for (int64_t r = 0; r + 1 < static_cast<int64_t>(rows_); ++r) {
        const int32_t row = static_cast<int32_t>(r);
        candidates.clear();
        for (uint32_t s = 0; s < slots_; ++s) {
            Chip* chip = CellAt(row, static_cast<int32_t>(s));
            if (!chip->IsOccupied()) {
                candidates.push_back(chip);
            }
        }
        // Holes are served in random order, so when two compete for one tile neither side of
        // the board is favoured.
        while (!candidates.empty()) {
            const size_t i = static_cast<size_t>(Random::Next()) % candidates.size();
            Chip* hole = candidates[i];
            Chip* upperLeft = CellAt(row + 1, hole->Slot() - 1);
            Chip* upperRight = CellAt(row + 1, hole->Slot() + 1);
            const bool leftCounts = counts(upperLeft);
            const bool rightCounts = counts(upperRight);
            if (leftCounts) {
                destinations.push_back(hole);
                const bool takeRight = rightCounts && Random::Next() % 2 == 0;
                sources.push_back(takeRight ? upperRight : upperLeft);
            } else if (rightCounts) {
                destinations.push_back(hole);
                sources.push_back(upperRight);
            }
            candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    // Carried out together, after every decision was taken on the board as it was, so each tile
    // moves exactly one row in a step.
    for (size_t k = 0; k < destinations.size(); ++k) {
        destinations[k]->TakeFrom(*sources[k]);
    }
    changed.insert(changed.end(), destinations.begin(), destinations.end());
    changed.insert(changed.end(), sources.begin(), sources.end());
}
