#include "dictionary/letterstext.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <system_error>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::optional<LetterWeightTable> ParseLetterWeightsText(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1); // the last line's own end, not an empty line after it
    }
    LetterWeightTable weights{};
    uint64_t total = 0;
    const int letters = static_cast<int>(weights.size());
    for (int index = 0; index < letters; ++index) {
        const std::size_t end = text.find('\n');
        const bool last = index == letters - 1;
        if (last != (end == std::string_view::npos)) {
            return std::nullopt; // a line too few or too many
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(last ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        while (!line.empty() && IsBlank(line.back())) {
            line.remove_suffix(1);
        }
        if (line.size() < 3 || line[0] != static_cast<char>('A' + index) || !IsBlank(line[1])) {
            return std::nullopt;
        }
        line.remove_prefix(1);
        while (!line.empty() && IsBlank(line.front())) {
            line.remove_prefix(1);
        }
        // from_chars takes digits only (no sign, no blanks) and says when they overflow.
        uint32_t weight = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), weight);
        if (error != std::errc() || rest != line.data() + line.size()) {
            return std::nullopt;
        }
        weights[static_cast<std::size_t>(index)] = weight;
        total += weight;
    }
    if (total == 0 || total > 0x7FFFFFFF) {
        return std::nullopt;
    }
    return weights;
}

std::string LetterWeightsPath(const std::string& dictionaryPath) {
    const std::size_t size = dictionaryPath.size();
    if (size > 4 && dictionaryPath[size - 4] == '.') {
        std::string ending = dictionaryPath.substr(size - 3);
        std::transform(ending.begin(), ending.end(), ending.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
        if (ending == "tsd") {
            return dictionaryPath.substr(0, size - 4) + ".letters";
        }
    }
    return dictionaryPath + ".letters";
}
