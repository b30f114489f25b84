// The text of a `.letters` file, which may lie beside a dictionary: how often each letter A to Z
// is drawn when that dictionary is played. tsdmake writes it and the game reads it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using LetterWeightTable = std::array<uint32_t, 26>;

// Exactly 26 lines "<letter> <weight>", the capitals A to Z in order, each with a decimal weight
// of 0 or more, as "A 181548". Blanks (spaces, tabs) separate the two and may end a line; a line
// may end in CR LF, the last need not end at all, and a UTF-8 byte order mark may lead. Nothing
// else is taken: a missing or extra line, a letter out of place, a weight with a sign or other
// characters, or a total of 0 (no letter could be drawn) or past the 31 bits a draw counts in.
std::optional<LetterWeightTable> ParseLetterWeightsText(std::string_view text);

// Where the weights of the dictionary at `dictionaryPath` lie: its name with ".letters" in place
// of ".tsd" (in any letter case), or with ".letters" added when it has another ending.
std::string LetterWeightsPath(const std::string& dictionaryPath);
