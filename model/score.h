#pragma once

#include <cstdint>
#include <limits>

// Scores are 32-bit signed numbers everywhere they are shown or stored. Rather than let a long
// chain of rare letters wrap round to a negative score, both the word score and the game total
// stop at the largest 32-bit value; this is the one rule for that.
inline constexpr int32_t kMaxScore = std::numeric_limits<int32_t>::max();

// Clamps a wide intermediate result into the 32-bit range.
constexpr int32_t SaturateScore(int64_t value) {
    if (value > kMaxScore) {
        return kMaxScore;
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

// A chain's score from the product of its tiles' values: no chain (a product of 1) scores 0.
constexpr int32_t ChainScore(int64_t product) {
    return product == 1 ? 0 : SaturateScore(product);
}

// The game total after adding one word's score, held at kMaxScore instead of overflowing.
constexpr int32_t AddScore(int32_t total, int32_t score) {
    return SaturateScore(static_cast<int64_t>(total) + score);
}
