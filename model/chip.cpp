#include "chip.h"

#include "board.h"
#include "random.h"

#include <algorithm>
#include <cmath>

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

namespace {

std::array<int32_t, 26> ComputeLetterValues() {
    const uint32_t most = *std::max_element(kLetterWeights.begin(), kLetterWeights.end());
    // The factor puts the commonest letter just above 1.5, so it rounds to 2: no tile is worth
    // less than 2, and a one-letter chain never scores the "nothing selected" 1.
    const double k = most * 2.250001;
    std::array<int32_t, 26> values{};
    for (size_t i = 0; i < values.size(); ++i) {
        const double q = k / kLetterWeights[i];
        values[i] = static_cast<int32_t>(std::sqrt(q) + 0.5);
    }
    return values;
}

} // namespace

int32_t LetterValue(int index) {
    static const std::array<int32_t, 26> values = ComputeLetterValues();
    if (index < 0 || index >= static_cast<int>(values.size())) {
        return 0;
    }
    return values[static_cast<size_t>(index)];
}

int32_t SupplyLetterFromDraw(std::string& letter, int32_t draw) {
    int32_t r = draw % kLetterWeightTotal;
    if (r < 0) {
        r += kLetterWeightTotal;
    }
    int index = 0;
    // Consecutive intervals in alphabetical order; the last letter takes whatever is left.
    while (index < 25 && r >= static_cast<int32_t>(kLetterWeights[static_cast<size_t>(index)])) {
        r -= static_cast<int32_t>(kLetterWeights[static_cast<size_t>(index)]);
        ++index;
    }
    letter.assign(1, static_cast<char>('A' + index));
    if (letter[0] == 'Q') {
        letter += 'U'; // a lone Q would make almost every chain through it unplayable
    }
    return LetterValue(index);
}

int32_t SupplyLetter(std::string& letter) {
    if (letter.empty()) {
        return SupplyLetterFromDraw(letter, Random::Next());
    }
    const char first = letter[0];
    if (first < 'A' || first > 'Z') {
        return 0;
    }
    return LetterValue(first - 'A');
}
