#include "board.h"

#include "random.h"
#include "score.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

constexpr std::string_view kTitleWord = "PELLINORAXIS";

} // namespace

Board::Board(uint32_t rows, uint32_t columns) : rows_(rows), slots_(0) {
    // Coordinates are signed 32-bit everywhere, so the grid must be addressable with them.
    constexpr uint32_t kMax = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
    if (rows > kMax || columns > kMax / 2) {
        throw std::length_error("Board: too many rows or columns");
    }
    slots_ = 2 * columns;
    cells_.resize(static_cast<size_t>(rows_) * slots_);
    for (uint32_t r = 0; r < rows_; ++r) {
        for (uint32_t s = 0; s < slots_; ++s) {
            cells_[Index(static_cast<int32_t>(r), static_cast<int32_t>(s))].Place(
                this, static_cast<int32_t>(r), static_cast<int32_t>(s));
        }
    }
}

size_t Board::Index(int32_t row, int32_t slot) const {
    return static_cast<size_t>(row) * slots_ + static_cast<size_t>(slot);
}

void Board::SetGeometry(uint32_t tileWidth, int32_t tileHeight, int32_t rowPitch) {
    tileWidth_ = tileWidth;
    tileHeight_ = tileHeight;
    rowPitch_ = rowPitch;
}

Chip* Board::CellAt(int32_t row, int32_t slot) {
    return const_cast<Chip*>(std::as_const(*this).CellAt(row, slot));
}

const Chip* Board::CellAt(int32_t row, int32_t slot) const {
    if (row < 0 || slot < 0 || static_cast<uint32_t>(row) >= rows_ ||
        static_cast<uint32_t>(slot) >= slots_) {
        return nullptr;
    }
    return &cells_[Index(row, slot)];
}

Rect Board::CellBounds(int32_t row, int32_t slot) const {
    const int64_t left = (static_cast<int64_t>(slot) * tileWidth_) / 2;
    const int64_t top = -(static_cast<int64_t>(row) * rowPitch_ + tileHeight_);
    return Rect{Clamp32(left), Clamp32(top), Clamp32(left + tileWidth_),
                Clamp32(top + tileHeight_)};
}

Chip* Board::HitTest(Point point, int32_t& depth) {
    const double half = tileWidth_ / 2;
    for (uint32_t r = 0; r < rows_; ++r) {
        const int32_t row = static_cast<int32_t>(r);
        const Rect band = CellBounds(row, 0);
        if (!(band.top < point.y && point.y <= band.bottom)) {
            continue;
        }
        for (uint32_t s = 0; s < slots_; ++s) {
            Chip& chip = cells_[Index(row, static_cast<int32_t>(s))];
            if (!chip.IsOccupied()) {
                continue;
            }
            const Rect b = CellBounds(row, static_cast<int32_t>(s));
            if (!(b.left <= point.x && point.x < b.right && b.top < point.y &&
                  point.y <= b.bottom)) {
                continue;
            }
            // Wide arithmetic: with the geometry still unset the distances exceed 32 bits.
            const int64_t cx = (static_cast<int64_t>(b.left) + b.right) / 2;
            const int64_t cy = (static_cast<int64_t>(b.top) + b.bottom) / 2;
            const int64_t dx = cx - point.x;
            const int64_t dy = cy - point.y;
            const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            if (half > d) {
                depth = static_cast<int32_t>(half - d);
                return &chip;
            }
        }
    }
    return nullptr;
}

bool Board::IsAdjacent(const Chip* a, const Chip* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    const int64_t dr = static_cast<int64_t>(a->Row()) - b->Row();
    const int64_t ds = static_cast<int64_t>(a->Slot()) - b->Slot();
    if (dr == 0) {
        return ds == 2 || ds == -2;
    }
    return (dr == 1 || dr == -1) && (ds == 1 || ds == -1);
}

std::string Board::WordText() const {
    std::string word;
    for (const Chip* chip : selection_) {
        word += chip->Letter();
    }
    return word;
}

void Board::CutSelection(size_t start, std::vector<Chip*>& changed) {
    for (size_t i = start; i < selection_.size(); ++i) {
        Chip* chip = selection_[i];
        if (chip->IsSelected()) {
            chip->ToggleSelected();
        }
        changed.push_back(chip);
    }
    selection_.resize(std::min(start, selection_.size()));
    if (!selection_.empty()) {
        changed.push_back(selection_.back()); // the new end of the chain is drawn differently
    }
}

std::string Board::SelectChip(Chip* chip, bool keepChip, std::vector<Chip*>& changed) {
    // Only a tile of this board may join the chain; anything else would break the chain's rules.
    if (chip == nullptr || chip->Owner() != this || !chip->IsOccupied()) {
        return WordText();
    }
    const auto found = std::find(selection_.begin(), selection_.end(), chip);
    if (found != selection_.end()) {
        const size_t k = static_cast<size_t>(found - selection_.begin());
        CutSelection(keepChip ? k + 1 : k, changed);
        return WordText();
    }
    while (!selection_.empty() && !IsAdjacent(selection_.back(), chip)) {
        Chip* last = selection_.back();
        if (last->IsSelected()) {
            last->ToggleSelected();
        }
        changed.push_back(last);
        selection_.pop_back();
    }
    if (!selection_.empty()) {
        changed.push_back(selection_.back());
    }
    if (!chip->IsSelected()) {
        chip->ToggleSelected();
    }
    selection_.push_back(chip);
    changed.push_back(chip);
    return WordText();
}

void Board::ClearSelection(std::vector<Chip*>& changed) {
    CutSelection(0, changed);
}

void Board::ConsumeSelection(std::vector<Chip*>& changed) {
    for (Chip* chip : selection_) {
        chip->Set(nullptr, 0);
        changed.push_back(chip);
    }
    selection_.clear();
}

void Board::Fill(int32_t filledRows) {
    for (uint32_t r = 0; r < rows_; ++r) {
        const int32_t row = static_cast<int32_t>(r);
        for (uint32_t s = r % 2; s < slots_; s += 2) {
            Chip& chip = cells_[Index(row, static_cast<int32_t>(s))];
            if (row < filledRows) {
                std::string letter;
                const int32_t value = SupplyLetter(letter, weights_);
                chip.Set(letter, value);
            } else {
                chip.Set(nullptr, 0);
            }
        }
    }
    selection_.clear();
}

void Board::FillAttract() {
    Random::Seed(static_cast<uint32_t>(std::time(nullptr)));
    size_t position = 0;
    bool leftToRight = true;
    for (uint32_t r = rows_; r-- > 0;) {
        const int32_t row = static_cast<int32_t>(r);
        const uint32_t cellsInRow = slots_ / 2;
        for (uint32_t k = 0; k < cellsInRow; ++k) {
            const uint32_t column = leftToRight ? k : cellsInRow - 1 - k;
            const uint32_t slot = 2 * column + r % 2;
            std::string letter(1, kTitleWord[position]);
            position = (position + 1) % kTitleWord.size();
            // The title is the same in every language, so it keeps the built-in values.
            const int32_t value = SupplyLetter(letter);
            cells_[Index(row, static_cast<int32_t>(slot))].Set(letter, value);
        }
        leftToRight = !leftToRight;
    }
    // Every selected tile has just been overwritten (and unflagged by Set).
    selection_.clear();
}

int32_t Board::WordScore() const {
    int64_t p = 1;
    for (const Chip* chip : selection_) {
        // Saturating at each step keeps the product within 64 bits however long the chain.
        p = SaturateScore(p * chip->Value());
    }
    return ChainScore(p);
}
