#include "dialogs/statistics.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace statistics {

namespace {

// a + b for non-negative figures, held at limit.
int64_t AddUpTo(int64_t a, int64_t b, int64_t limit) {
    a = std::clamp<int64_t>(a, 0, limit);
    b = std::clamp<int64_t>(b, 0, limit);
    return a > limit - b ? limit : a + b;
}

} // namespace

void NoteWord(GameSummary& game, std::string_view displayText, int64_t letters, int64_t score) {
    game.wordsEntered = AddUpTo(game.wordsEntered, 1, kMaxCount);
    if (displayText.empty())
        return;
    if (score > game.bestWordScore) {
        game.bestWordText = std::string(displayText);
        game.bestWordScore = std::min(score, kMaxCount);
    }
    if (letters > game.longestWordLetters) {
        game.longestWordText = std::string(displayText);
        game.longestWordLetters = std::min(letters, kMaxCount);
    }
}

void RecordGame(PlayerStatistics& stats, const GameSummary& game) {
    stats.gamesPlayed = AddUpTo(stats.gamesPlayed, 1, kMaxCount);
    stats.totalPoints = AddUpTo(stats.totalPoints, game.score, kMaxTotal);
    stats.wordsEntered = AddUpTo(stats.wordsEntered, game.wordsEntered, kMaxCount);
    stats.bestGame = std::max(stats.bestGame, std::clamp<int64_t>(game.score, 0, kMaxCount));
    if (!game.bestWordText.empty() && game.bestWordScore > stats.bestWordScore) {
        stats.bestWordText = game.bestWordText;
        stats.bestWordScore = std::min(game.bestWordScore, kMaxCount);
    }
    if (!game.longestWordText.empty() && game.longestWordLetters > stats.longestWordLetters) {
        stats.longestWordText = game.longestWordText;
        stats.longestWordLetters = std::min(game.longestWordLetters, kMaxCount);
    }
}

int64_t AveragePoints(const PlayerStatistics& stats) {
    return stats.gamesPlayed > 0 ? std::max<int64_t>(0, stats.totalPoints) / stats.gamesPlayed : 0;
}

int64_t StoredCount(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    // Digits only: from_chars would take a minus sign, which no figure this game wrote has.
    if (text.empty() || text.front() == '-')
        return 0;
    int64_t value = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && rest == text.data() + text.size() ? value : 0;
}

} // namespace statistics
