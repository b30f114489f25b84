#include "tools/lettertally.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr uint64_t kMaxTotal = 0x7FFFFFFF;

uint64_t Total(const LetterTally& tally) {
    uint64_t total = 0;
    for (const uint64_t weight : tally) {
        total += weight;
    }
    return total;
}

} // namespace

void CountKeyLetters(std::string_view key, LetterTally& tally) {
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        if (c < 'A' || c > 'Z') {
            continue;
        }
        if (c == 'U' && i > 0 && key[i - 1] == 'Q') {
            continue;
        }
        ++tally[static_cast<std::size_t>(c - 'A')];
    }
}

std::string FormatLetterWeights(const LetterTally& tally) {
    LetterTally weights = tally;
    const uint64_t total = Total(weights);
    if (total > kMaxTotal - weights.size()) {
        // Scaled with room for the letters raised to 1 below.
        const uint64_t room = kMaxTotal - weights.size();
        for (uint64_t& weight : weights) {
            weight = static_cast<uint64_t>(static_cast<long double>(weight) * room / total);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        text += static_cast<char>('A' + i);
        text += ' ';
        text += std::to_string(std::max<uint64_t>(weights[i], 1));
        text += '\n';
    }
    return text;
}
