// Finds the words the tiles on a board can spell, under the same chain rules as the player's
// selection: occupied tiles, each used at most once, each next to the one before, a tile giving
// all its letters ("QU" gives two), 2 to 31 letters, a word valid exactly when the word index
// holds it (a non-empty display text).
//
// Chains are ranked, best first, by:
//   1. the higher score: the product of the tiles' values, held at kMaxScore as
//      Board::WordScore holds it, so two chains past the limit score alike;
//   2. fewer tiles;
//   3. the smaller sequence of cells, compared tile by tile from the first: the lower row first
//      (row 0 is the bottom), then the smaller slot (further left). So the chain whose first
//      tile is lower, then further left, wins; with the same first tile the second decides, and
//      so on.
// Two different chains never rank alike, so every answer is fully determined by the board.
//
// Each search stops after kSearchSteps tiles tried. A game board never comes near that (a full
// board tries some twenty thousand with a large dictionary), but a board of one letter over
// and over can be walked in more ways than could ever be counted; there the answer is what was
// found by then, and the window stays responsive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board.h"
#include "words.h"

struct SolvedWord {
    std::string key;          // the letters, capitals, as the word index keys them ("QUIZ")
    std::string display;      // the display text Words::Lookup gives
    int32_t score = 0;        // product of the chain's values, saturated at kMaxScore
    std::vector<Chip*> chain; // the best chain, first tile first
};

class Solver {
public:
    // Enough chains for any use of a typed text; a board that can spell a text in more ways than
    // this gives only the best of them.
    static constexpr std::size_t kChainLimit = 256;
    // Tiles one search may try before it gives what it has found.
    static constexpr std::size_t kSearchSteps = std::size_t{1} << 22;

    // Uses the word index's prefix index; the index must outlive the solver.
    explicit Solver(const Words& words) : words_(words) {}

    // Every word on the board with its best chain, best first by the ranking above (between
    // two words, the ranking of their best chains).
    std::vector<SolvedWord> Solve(Board& board) const;
    // The best word on the board, or nothing.
    std::optional<SolvedWord> BestWord(Board& board) const;
    // The chains whose letters are exactly `letters`, best first, at most `limit` of them (the
    // best ones). `letters` need not be a word; a "QU" tile matches "QU" only, so "Q" alone
    // matches nothing on a game board.
    std::vector<std::vector<Chip*>> ChainsFor(Board& board, std::string_view letters,
                                              std::size_t limit = kChainLimit) const;

private:
    // Hands the words on the board, best first, to `take` until it returns false.
    void ForEachWord(Board& board, const std::function<bool(SolvedWord&&)>& take) const;

    const Words& words_;
};
