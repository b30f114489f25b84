// One line of a word list as tsdmake reads it: the display text, and optionally, after a TAB,
// further text that the dictionary stores after a line feed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class LineStatus { Entry, Blank, BadText };

struct WordListLine {
    LineStatus status = LineStatus::Blank;
    // The entry in Windows-1252 bytes: display text, then "\n" and the extra text if any.
    std::string entry;
};

// `rawCp1252` takes the bytes as Windows-1252 already; otherwise they must be UTF-8 text whose
// every character Windows-1252 can show. A trailing carriage return is dropped.
WordListLine ParseWordListLine(std::string_view line, bool rawCp1252);
