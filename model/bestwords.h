// The best words of the current game: highest score first, as many as the list box beside the
// board shows without scrolling. Kept apart from the list box so its rules can be checked
// without a window; the window applies each returned change to its list box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the list box has to do after an entered word was offered to the list.
struct BestWordChange {
    enum class Kind {
        Insert,   // drop `dropped` lines from the end first, then insert at position
        Move,     // move line from to position (from may equal position: nothing moves)
        Rejected, // nothing changes
    };
    Kind kind = Kind::Rejected;
    int32_t position = -1; // the line to select afterwards; -1: select no line
    int32_t from = -1;
    int32_t dropped = 0;

    friend bool operator==(const BestWordChange&, const BestWordChange&) = default;
};

// Lines are the texts shown for the words (the word, a blank and the score in parentheses)
// and scores the words' scores, line for line. Scores never increase from one line to the
// next, and no text is listed twice.
class BestWords {
public:
    // Offers an entered word with its score and text to a list that can show `capacity` lines.
    // A word scoring as much as a listed different word goes above it (the newer one first); the
    // same text again is not listed twice but lifted to the top of its equal-score group. A full
    // list drops its last line for any word that scores at least as much as that line.
    BestWordChange Add(uint32_t score, const std::string& text, int32_t capacity);

    // Drops lines from the end until at most `capacity` remain; returns how many went.
    int32_t Trim(int32_t capacity);

    void Clear();

    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<uint32_t>& Scores() const { return scores_; }
    int32_t Count() const { return static_cast<int32_t>(lines_.size()); }
    // The first line, or an empty text for an empty list.
    std::string Top() const;

private:
    std::vector<std::string> lines_;
    std::vector<uint32_t> scores_;
};

// The number of whole lines a list box of the given client height shows.
int32_t ListCapacity(int32_t clientHeight, int32_t itemHeight);
