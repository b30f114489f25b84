// The letter weights tsdmake writes beside a dictionary, in the `.letters` file the game draws a
// dictionary's tiles from: how often each letter A to Z occurs in the words the game can play.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using LetterTally = std::array<uint64_t, 26>;

// Adds the letters of a key (capitals A..Z; anything else is passed over). A U right after a Q
// is not counted: the board's Q tile is QU and brings that U along, so counting it would draw
// U tiles for it as well.
void CountKeyLetters(std::string_view key, LetterTally& tally);

// The table as the game reads it: 26 lines "<letter> <weight>", A to Z, each ending in a line
// feed. Every weight is at least 1, so that no letter of the alphabet is left out of the draw
// altogether; a total past the game's 31-bit draw is scaled down to fit.
std::string FormatLetterWeights(const LetterTally& tally);
