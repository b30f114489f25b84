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

std::optional<LetterTally> ParseLetterWeights(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    LetterTally tally{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < tally.size(); ++i) {
        if (at >= text.size()) {
            return std::nullopt;
        }
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        while (!line.empty() && blank(line.back())) {
            line.remove_suffix(1);
        }
        if (line.size() < 3 || line[0] != static_cast<char>('A' + i) || !blank(line[1])) {
            return std::nullopt;
        }
        line.remove_prefix(1);
        while (blank(line.front())) {
            line.remove_prefix(1);
        }
        // Ten digits already pass the largest total.
        if (line.size() > 10) {
            return std::nullopt;
        }
        uint64_t weight = 0;
        for (const char digit : line) {
            if (digit < '0' || digit > '9') {
                return std::nullopt;
            }
            weight = weight * 10 + static_cast<uint64_t>(digit - '0');
        }
        tally[i] = weight;
    }
    const uint64_t total = Total(tally);
    if (at < text.size() || total == 0 || total > kMaxTotal) {
        return std::nullopt;
    }
    return tally;
}

std::string LetterWeightsPath(const std::string& output) {
    const std::size_t size = output.size();
    if (size > 4 && output[size - 4] == '.') {
        std::string ending = output.substr(size - 3);
        std::transform(ending.begin(), ending.end(), ending.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
        if (ending == "tsd") {
            return output.substr(0, size - 4) + ".letters";
        }
    }
    return output + ".letters";
}
