#include "chip.h"

#include "board.h"
#include "random.h"

void Chip::Place(Board* board, int32_t row, int32_t slot) {
    board_ = board;
    row_ = row;
    slot_ = slot;
}

void Chip::Set(std::string_view letter, int32_t value) {
    letter_.assign(letter);
    value_ = value;
    selected_ = false;
}

void Chip::Set(std::nullptr_t, int32_t value) {
    Set(std::string_view{}, value);
}

void Chip::TakeFrom(Chip& other) {
    if (&other == this) {
        return; // moving a tile onto itself would otherwise destroy it
    }
    letter_ = std::move(other.letter_);
    value_ = other.value_;
    selected_ = false;
    other.letter_.clear();
    other.value_ = 0;
    other.selected_ = false;
}

Rect Chip::Bounds() const {
    if (board_ == nullptr) {
        return Rect{};
    }
    return board_->CellBounds(row_, slot_);
}

Point Chip::MidPoint() const {
    const Rect r = Bounds();
    // Widened so that a board without geometry yet (huge default sizes) cannot overflow.
    const int64_t x = r.left + (static_cast<int64_t>(r.right) - r.left + 1) / 2;
    const int64_t y = r.top + (static_cast<int64_t>(r.bottom) - r.top + 1) / 2;
    return Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

int32_t LetterValue(int index) {
    return LetterWeights::BuiltIn().Value(index);
}

int32_t SupplyLetterFromDraw(std::string& letter, int32_t draw, const LetterWeights& weights) {
    const int32_t total = weights.DrawTotal();
    int32_t r = draw % total;
    if (r < 0) {
        r += total;
    }
    int index = 0;
    // Consecutive intervals in alphabetical order; the last letter takes whatever is left. A
    // letter of weight 0 has an empty interval and is stepped over.
    while (index < 25 && r >= static_cast<int32_t>(weights.DrawWeight(index))) {
        r -= static_cast<int32_t>(weights.DrawWeight(index));
        ++index;
    }
    letter.assign(1, static_cast<char>('A' + index));
    if (letter[0] == 'Q') {
        letter += 'U'; // a lone Q would make almost every chain through it unplayable
    }
    return weights.Value(index);
}

int32_t SupplyLetterFromDraw(std::string& letter, int32_t draw) {
    return SupplyLetterFromDraw(letter, draw, LetterWeights::BuiltIn());
}

int32_t SupplyLetter(std::string& letter, const LetterWeights& weights) {
    if (letter.empty()) {
        return SupplyLetterFromDraw(letter, Random::Next(), weights);
    }
    const char first = letter[0];
    if (first < 'A' || first > 'Z') {
        return 0;
    }
    return weights.Value(first - 'A');
}

int32_t SupplyLetter(std::string& letter) {
    return SupplyLetter(letter, LetterWeights::BuiltIn());
}
