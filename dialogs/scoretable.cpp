#include "dialogs/scoretable.h"

#include <algorithm>
#include <limits>

namespace scoretable {

int64_t LeadingScore(std::string_view caption) {
    std::size_t i = 0;
    while (i < caption.size() && (caption[i] == ' ' || caption[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < caption.size() && (caption[i] == '+' || caption[i] == '-')) {
        negative = caption[i] == '-';
        ++i;
    }
    // Accumulated as a negative number, whose range reaches one further than the positive one.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    for (; i < caption.size() && caption[i] >= '0' && caption[i] <= '9'; ++i) {
        const int digit = caption[i] - '0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
            continue;
        }
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

int RankPosition(const std::vector<int64_t>& scores, int64_t newScore) {
    const auto at = std::find_if(scores.begin(), scores.end(),
                                 [newScore](int64_t score) { return score <= newScore; });
    return static_cast<int>(at - scores.begin());
}

int KeepCount(int rowsPerPage) {
    return std::max(kMinKeep, rowsPerPage);
}

int RowsToTrim(int rowCount, int keep, int position) {
    const int trim = rowCount - keep + (position < keep ? 1 : 0);
    return std::max(0, trim);
}

Row ParseStoredRow(std::string_view text) {
    Row row;
    const std::size_t tab = text.find('\t');
    if (tab == std::string_view::npos) {
        row.caption = std::string(text);
        return row;
    }
    row.caption = std::string(text.substr(0, tab));
    const std::string_view rest = text.substr(tab + 1);
    const std::size_t second = rest.find('\t');
    if (second == std::string_view::npos) {
        row.subItems = {std::string(rest), std::string()};
    } else {
        row.subItems = {std::string(rest.substr(0, second)), std::string(rest.substr(second + 1))};
    }
    return row;
}

std::string FormatStoredRow(const Row& row) {
    std::string text = row.caption;
    for (const std::string& item : row.subItems) {
        text += '\t';
        text += item;
    }
    return text;
}

std::string WithoutTabs(std::string text) {
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

} // namespace scoretable
