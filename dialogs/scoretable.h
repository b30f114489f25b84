#pragma once

// The rules of the high score table that do not depend on the list view showing it: how a
// caption ranks, where a new score goes, how many rows make way for it, and how a row is kept
// in the settings store. Plain C++, so the rules can be checked without a window.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scoretable {

// However short the dialog, the table keeps at least this many rows.
inline constexpr int kMinKeep = 12;
// The store holds at most this many rows of one table (value names D0 to D99).
inline constexpr int kMaxStoredRows = 100;

// The integer at the start of a caption: leading blanks and a sign allowed, digits up to the
// first other character. A caption without digits ranks as 0. Digits beyond the 64-bit range
// hold at the nearest limit instead of wrapping, so a hand-edited giant score still ranks top.
int64_t LeadingScore(std::string_view caption);

// Index of the first row, from the top, whose score is less than or equal to newScore, or the
// row count when there is none. An equal score therefore goes above the older one.
int RankPosition(const std::vector<int64_t>& scores, int64_t newScore);

// Rows kept in the table: those of one page of the list, but never fewer than kMinKeep.
int KeepCount(int rowsPerPage);

// Rows to remove from the bottom before a score ranked at position is offered, so that the
// table holds at most keep rows once the new row is in. Never negative.
int RowsToTrim(int rowCount, int keep, int position);

// One row as the store keeps it: the caption, then each sub-item after a TAB.
struct Row {
    std::string caption;
    std::vector<std::string> subItems;

    bool operator==(const Row&) const = default;
};

// Splits a stored value. Without a TAB the whole text is the caption and there are no
// sub-items; otherwise the caption is the text before the first TAB, the player the text up to
// the next TAB (or all the rest) and the best word whatever follows that TAB (possibly empty).
Row ParseStoredRow(std::string_view text);

// The stored value of a row: the caption followed by a TAB and each sub-item in turn.
std::string FormatStoredRow(const Row& row);

// A field made safe for a stored row: a TAB inside it would shift the columns when the row is
// read back (a pasted nickname can carry one), so each TAB becomes a blank.
std::string WithoutTabs(std::string text);

} // namespace scoretable
