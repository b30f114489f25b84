#pragma once

// The player's statistics of one dictionary and how a finished game adds to them, without the
// window that shows them or the store that keeps them: plain C++, checked without a window.
//
// A game counts once it has been started and has ended, whether the lives ran out or the player
// quit it, and whatever it scored: a game given up at once is still a game played. The figures
// only grow; none of them can wrap round to a small or negative number however long the player
// keeps at it.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace statistics {

// Counts and single-game figures are kept as 32-bit integers in the store and stop at the
// largest one; the running total of points is kept in 64 bits.
inline constexpr int64_t kMaxCount = std::numeric_limits<int32_t>::max();
inline constexpr int64_t kMaxTotal = std::numeric_limits<int64_t>::max();

// What one finished game adds. The main window fills it in as the game goes: NoteWord for each
// word entered, and the game's final score as it ends. Texts are UTF-8, the word alone as the
// window shows it (a dictionary's Windows-1252 text converted, without its score).
struct GameSummary {
    int64_t score = 0;
    int64_t wordsEntered = 0;
    // The game's highest-scoring word as the player saw it (the dictionary's display text).
    std::string bestWordText;
    int64_t bestWordScore = 0;
    // The game's word of most letters, and that number: the letters on its tiles, so a QU tile
    // gives two and an apostrophe or hyphen of the display text gives none.
    std::string longestWordText;
    int64_t longestWordLetters = 0;
};

// Everything kept for one dictionary. Empty texts mean "none yet".
struct PlayerStatistics {
    int64_t gamesPlayed = 0;
    int64_t totalPoints = 0;
    int64_t bestGame = 0;
    std::string bestWordText;
    int64_t bestWordScore = 0;
    std::string longestWordText;
    int64_t longestWordLetters = 0;
    int64_t wordsEntered = 0;

    bool operator==(const PlayerStatistics&) const = default;
};

// Adds one entered word to the game: one more word, and the game's best or longest word when it
// beats the one so far. A word that only ties keeps the earlier one in place. The game's score
// is not touched: it is the main window's to give when the game ends.
void NoteWord(GameSummary& game, std::string_view displayText, int64_t letters, int64_t score);

// Folds a finished game into the statistics: one more game, its points and words added, and its
// best game, best word and longest word taken where they are strictly higher, so of equal ones
// the older stays. Negative figures (there are none in a real game) count as 0, and every figure
// stops at its limit instead of wrapping.
void RecordGame(PlayerStatistics& stats, const GameSummary& game);

// Points per game, rounded down; 0 before the first game.
int64_t AveragePoints(const PlayerStatistics& stats);

// A count kept as text: a whole non-negative decimal number within 64 bits, blanks around it
// allowed. Anything else (a damaged or hand-edited value) reads as 0.
int64_t StoredCount(std::string_view text);

} // namespace statistics
