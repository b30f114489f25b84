#pragma once

#include "geometry.h"
#include "letterweights.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class Board;

// One cell of a board. Chips never move: a falling tile is copied into the cell below and the
// cell above is emptied, so everyone may keep plain pointers to chips for the board's lifetime.
class Chip {
public:
    Chip() = default;

    // Records the owning board and the cell's coordinates; the board does this once per chip.
    void Place(Board* board, int32_t row, int32_t slot);

    // Puts a tile (or, with an empty letter, nothing) into the cell. A new tile is never part of
    // the chain being formed, so the selected flag is cleared.
    void Set(std::string_view letter, int32_t value);
    // Empties the cell: no letter, the given value (callers pass 0), not selected.
    void Set(std::nullptr_t, int32_t value = 0);

    void ToggleSelected() { selected_ = !selected_; }

    // Moves other's tile into this cell and leaves other empty; both end unselected.
    void TakeFrom(Chip& other);

    // A cell holds a tile exactly when it has a letter; the value plays no part in that.
    bool IsOccupied() const { return !letter_.empty(); }
    bool IsSelected() const { return selected_; }
    const std::string& Letter() const { return letter_; }
    int32_t Value() const { return value_; }
    int32_t Row() const { return row_; }
    int32_t Slot() const { return slot_; }
    Board* Owner() const { return board_; }

    // The cell's rectangle in board coordinates (see Board::CellBounds); an all-zero rectangle
    // for a chip that no board has placed yet.
    Rect Bounds() const;
    // Centre of Bounds(), rounding half-pixels toward the bottom right.
    Point MidPoint() const;

private:
    Board* board_ = nullptr;
    int32_t row_ = -1;
    int32_t slot_ = -1;
    std::string letter_;
    int32_t value_ = 0;
    bool selected_ = false;
};

// The point value of letter index 0 (A) to 25 (Z) in the built-in table (LetterWeights::Value).
// Returns 0 outside 0 to 25.
int32_t LetterValue(int index);

// The one source of tiles. With a non-empty letter: leaves it unchanged and returns the value of
// its first character; a first character other than a capital A to Z is worth 0 (there is no
// such tile). With an empty letter: draws a letter weighted by frequency, writes it (Q always as
// "QU") and returns its value. Without a table, the built-in one.
int32_t SupplyLetter(std::string& letter);
int32_t SupplyLetter(std::string& letter, const LetterWeights& weights);

// The draw of SupplyLetter with the random number supplied by the caller, so the letter intervals
// can be checked exactly. draw is any non-negative number; it is reduced modulo the table's
// DrawTotal (kLetterWeightTotal for the built-in one) as a fresh random number would be. letter
// must be empty.
int32_t SupplyLetterFromDraw(std::string& letter, int32_t draw);
int32_t SupplyLetterFromDraw(std::string& letter, int32_t draw, const LetterWeights& weights);
