#pragma once

#include <cstdint>

// The game's one pseudo-random generator, shared by the letter supply, the drop and tumble steps
// and the main window. It is ours rather than the C runtime's so that a seed gives the same game
// on every platform, which is what lets tests replay a board exactly.
namespace Random {

// Largest value Next() can return: results are non-negative and fit in 31 bits.
inline constexpr int32_t kMax = 0x7FFFFFFF;

// Restarts the sequence. The title fill seeds from the clock; tests seed with fixed values.
void Seed(uint32_t seed);

// The next number of the sequence, 0 to kMax inclusive. Before any Seed() the sequence is the
// one of Seed(1), as a freshly started C runtime would behave.
int32_t Next();

} // namespace Random
