#pragma once

#include "chip.h"
#include "geometry.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A grid of chips in offset rows, and the chain of chips the player is forming.
//
// Row 0 is the bottom row. A slot is half a tile wide; row r uses only the slots with r's parity,
// so odd rows sit half a tile to the right and every tile has up to six neighbours. Chips of the
// other parity exist but never hold a tile.
//
// Operations that alter chips append them to a caller's `changed` list, so the caller can repaint
// exactly those; an entry may occur twice, and nothing is ever removed from the list.
//
// Invariants every operation keeps: each chip in the selection is occupied and flagged selected,
// no other chip is flagged, consecutive chips of the selection are adjacent, and no chip occurs
// twice in it.
class Board {
public:
    // Value of every geometry field until SetGeometry is called.
    static constexpr int32_t kNoGeometry = 2147483647;

    Board(uint32_t rows, uint32_t columns);
    // Chips point back at their board, so a board is never copied or moved.
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    uint32_t RowCount() const { return rows_; }
    // Twice the number of tile columns.
    uint32_t SlotCount() const { return slots_; }

    void SetGeometry(uint32_t tileWidth, int32_t tileHeight, int32_t rowPitch);

    // The table new tiles are drawn from and valued by, in Fill and DropChip: the built-in one
    // until a game gives it its dictionary's. The title fill keeps the built-in values whatever
    // is set here. Tiles already on the board keep the values they came with.
    void UseLetterWeights(const LetterWeights& weights) { weights_ = weights; }
    const LetterWeights& Weights() const { return weights_; }

    // Null outside the grid; otherwise the chip, whatever its parity or content.
    Chip* CellAt(int32_t row, int32_t slot);
    const Chip* CellAt(int32_t row, int32_t slot) const;

    // The cell's square: left = slot * W / 2, top = -(row * P + H). No range check. Computed wide
    // and clamped into 32 bits, so a board without geometry yet gives huge but harmless values.
    Rect CellBounds(int32_t row, int32_t slot) const;

    // The occupied chip whose disc (the open circle of radius W/2 about the cell's centre)
    // contains point, or null. On a hit, depth receives how far inside the rim the point lies
    // (0 just inside, W/2 at the centre); on a miss it is left alone. Where two discs overlap the
    // lower row wins.
    Chip* HitTest(Point point, int32_t& depth);

    // Same row and slots two apart, or neighbouring rows and slots one apart. Coordinates only:
    // emptiness does not matter, and a chip is not its own neighbour. False for a null chip.
    static bool IsAdjacent(const Chip* a, const Chip* b);
    // The (row, slot) steps from a cell to its six neighbours, in increasing cell order (row by
    // row from the bottom, slot by slot from the left): the offsets IsAdjacent accepts.
    static constexpr std::array<std::pair<int32_t, int32_t>, 6> kNeighbourSteps = {
        {{-1, -1}, {-1, 1}, {0, -2}, {0, 2}, {1, -1}, {1, 1}}};

    // One step of the chain, for an occupied chip of this board. A selected chip cuts the chain
    // just before it (keepChip false, a click) or just after it (keepChip true, a drag back onto
    // it). An unselected chip extends the chain, first cutting it back to the last chip that
    // touches it, or starts a new chain when none does. Returns the word text afterwards. A null,
    // empty or foreign chip changes nothing.
    std::string SelectChip(Chip* chip, bool keepChip, std::vector<Chip*>& changed);

    // A copy of the chain, first letter first.
    std::vector<Chip*> Selection() const { return selection_; }
    // The letters of the chain in order ("QU" gives two letters).
    std::string WordText() const;

    // Unflags the whole chain (appended in chain order) and empties it.
    void ClearSelection(std::vector<Chip*>& changed);
    // Takes the chain's tiles off the board (appended in chain order) after a word is entered.
    void ConsumeSelection(std::vector<Chip*>& changed);

    // New-game content: random tiles in the lowest filledRows rows, everything else empty, no
    // selection. The caller repaints the whole board.
    void Fill(int32_t filledRows);
    // Title content: seeds the shared generator from the clock, then spells "PELLINORAXIS" over
    // and over from the top row down, serpentine, with the built-in values. Also drops any
    // selection, whose tiles would otherwise stay listed while their letters are replaced.
    void FillAttract();

    // Puts a new random tile into a random cell of the top row. Returns true (blocked) when
    // neither cell diagonally below it is free; the tile is placed either way. If the chosen cell
    // held a tile of the chain, the chain is first cut just before it, as a click on it would,
    // and *selectionChanged (when given) is set so the word display can follow; it is set to
    // false otherwise.
    bool DropChip(std::vector<Chip*>& changed, bool* selectionChanged = nullptr);

    // One falling step: every unselected tile with a free cell diagonally below moves down one
    // row (a random side when both are free). Moves are decided on the board as it was before
    // the step, so a hole climbs one row per step.
    void Tumble(std::vector<Chip*>& changed);

    // The product of the chain's values, or 0 for an empty chain. The product is held at
    // kMaxScore (2147483647) rather than wrapping: ten 9-point tiles already pass it.
    int32_t WordScore() const;

private:
    size_t Index(int32_t row, int32_t slot) const;
    // Removes the chain from position `start` on, unflagging each removed chip (appended in
    // order) and appending the new last chip, if any.
    void CutSelection(size_t start, std::vector<Chip*>& changed);

    std::vector<Chip*> selection_;
    LetterWeights weights_;
    uint32_t rows_;
    uint32_t slots_;
    uint32_t tileWidth_ = kNoGeometry;
    int32_t tileHeight_ = kNoGeometry;
    int32_t rowPitch_ = kNoGeometry;
    std::vector<Chip> cells_; // rows_ * slots_, row by row
};
