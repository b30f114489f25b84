// The search for words on a board: small boards worked out by hand, the ranking of chains, and
// random boards against a plain enumeration of every chain.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "board_helpers.h"
#include "score.h"
#include "solver.h"
#include "tests/dictionary/tsdfixture.h"
#include "words.h"

namespace {

using Cell = std::pair<int32_t, int32_t>;
using Cells = std::vector<Cell>;

// Letters of the random boards and of the random words they are checked with. Lone Q and U
// tiles never come in a game, but with them a text can be spelt with more or fewer tiles.
const std::vector<std::string> kRandomLetters = {"A", "E", "R", "S", "T", "QU", "N", "Q", "U"};

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// Two indexes, loaded once: a handful of words for the boards worked out by hand, and many
// random words over the random boards' letters, so that such boards hold many words.
class SolverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<tsdtest::TempFolder>();
        hand_ =
            Load("hand.tsd", {"cat", "act", "quiz", "qi", "quit", "tat", "zit", "it", "its", "sit",
                              "qu", "aa", "cz", "ti", "ice cream", "qua", "a", "mississippi"});
        std::mt19937 random(11);
        std::set<std::string> entries;
        while (entries.size() < 3000) {
            std::string word;
            const int tiles = 1 + static_cast<int>(random() % 5);
            for (int k = 0; k < tiles; ++k) {
                word += Lower(kRandomLetters[random() % kRandomLetters.size()]);
            }
            if (word.size() >= 2) {
                entries.insert(word);
            }
        }
        random_ = Load("random.tsd", std::vector<std::string>(entries.begin(), entries.end()));
    }
    static std::unique_ptr<Words> Load(const std::string& name,
                                       const std::vector<std::string>& entries) {
        const std::string path = folder_->File(name);
        tsdtest::WriteBytes(path, tsdtest::MakeDictionary(entries));
        auto words = std::make_unique<Words>();
        words->Load(path);
        return words;
    }

    static std::unique_ptr<tsdtest::TempFolder> folder_;
    static std::unique_ptr<Words> hand_;
    static std::unique_ptr<Words> random_;
};

std::unique_ptr<tsdtest::TempFolder> SolverTest::folder_;
std::unique_ptr<Words> SolverTest::hand_;
std::unique_ptr<Words> SolverTest::random_;

Cells CellsOf(const std::vector<Chip*>& chain) {
    Cells cells;
    for (const Chip* chip : chain) {
        cells.emplace_back(chip->Row(), chip->Slot());
    }
    return cells;
}

std::vector<Cells> CellsOf(const std::vector<std::vector<Chip*>>& chains) {
    std::vector<Cells> all;
    for (const auto& chain : chains) {
        all.push_back(CellsOf(chain));
    }
    return all;
}

// A chain's score as the board gives it once the player has selected the chain.
int32_t BoardScore(Board& board, const std::vector<Chip*>& chain) {
    std::vector<Chip*> changed;
    board.ClearSelection(changed);
    for (Chip* chip : chain) {
        board.SelectChip(chip, false, changed);
    }
    const int32_t score = board.WordScore();
    board.ClearSelection(changed);
    return score;
}

// Tiles as (row, slot, letter, value).
struct Laid {
    int32_t row;
    int32_t slot;
    const char* letter;
    int32_t value;
};
void Lay(Board& board, std::initializer_list<Laid> tiles) {
    for (const Laid& tile : tiles) {
        board.CellAt(tile.row, tile.slot)->Set(tile.letter, tile.value);
    }
}

//   row 2:  E   S   T        slots 0, 2, 4
//   row 1:    QU  I   Z      slots 1, 3, 5
//   row 0:  C   A   T        slots 0, 2, 4
void LayHandBoard(Board& board) {
    Lay(board, {{0, 0, "C", 3},
                {0, 2, "A", 2},
                {0, 4, "T", 2},
                {1, 1, "QU", 9},
                {1, 3, "I", 2},
                {1, 5, "Z", 6},
                {2, 0, "E", 2},
                {2, 2, "S", 2},
                {2, 4, "T", 2}});
}

using Found = std::tuple<std::string, int32_t, Cells>;

std::vector<Found> Summary(Board& board, const std::vector<SolvedWord>& words) {
    std::vector<Found> summary;
    for (const SolvedWord& word : words) {
        summary.emplace_back(word.key, word.score, CellsOf(word.chain));
        EXPECT_EQ(word.score, BoardScore(board, word.chain)) << word.key;
    }
    return summary;
}

// Every chain of the board, plainly: each occupied chip at most once, each next to the one
// before by Board::IsAdjacent, at most 31 letters.
void EachChain(const std::vector<Chip*>& tiles, std::vector<Chip*>& chain, std::string& text,
               const std::function<void()>& visit) {
    for (Chip* chip : tiles) {
        if (std::find(chain.begin(), chain.end(), chip) != chain.end() ||
            (!chain.empty() && !Board::IsAdjacent(chain.back(), chip)) ||
            text.size() + chip->Letter().size() > 31) {
            continue;
        }
        chain.push_back(chip);
        text += chip->Letter();
        visit();
        EachChain(tiles, chain, text, visit);
        text.resize(text.size() - chip->Letter().size());
        chain.pop_back();
    }
}

// The ranking written out plainly: the higher score, then fewer tiles, then the cells in order.
using Rank = std::tuple<int64_t, std::size_t, Cells>;
Rank RankOf(int32_t score, const Cells& cells) {
    return {-static_cast<int64_t>(score), cells.size(), cells};
}

} // namespace

// The words of a board worked out by hand, best first: a "QU" tile gives two letters, so QU is a
// word of one tile and QI cannot be spelt; a tile serves once (no AA, no TAT); only neighbours
// chain (no CZ, no ACT); one-letter words and words with blanks are not words. Of QUIT's two
// chains the one ending on the lower T wins; of words that score alike, the one whose first
// tile is lower comes first (ITS before SIT, TI before IT). The selection plays no part and is
// left as it was. Typed texts need not be words, and "QU" matches the "QU" tile only.
TEST_F(SolverTest, HandBoardGivesItsWordsBestFirst) {
    Board board(3, 3);
    LayHandBoard(board);
    std::vector<Chip*> changed;
    board.SelectChip(board.CellAt(1, 1), false, changed);
    board.SelectChip(board.CellAt(1, 3), false, changed);
    const std::vector<Chip*> selection = board.Selection();
    const Solver solver(*hand_);

    const std::vector<SolvedWord> words = solver.Solve(board);
    const std::vector<Found> expected = {
        {"QUIZ", 108, {{1, 1}, {1, 3}, {1, 5}}},
        {"QUIT", 36, {{1, 1}, {1, 3}, {0, 4}}},
        {"ZIT", 24, {{1, 5}, {1, 3}, {0, 4}}},
        {"QUA", 18, {{1, 1}, {0, 2}}},
        {"CAT", 12, {{0, 0}, {0, 2}, {0, 4}}},
        {"QU", 9, {{1, 1}}},
        {"ITS", 8, {{1, 3}, {2, 4}, {2, 2}}},
        {"SIT", 8, {{2, 2}, {1, 3}, {0, 4}}},
        {"TI", 4, {{0, 4}, {1, 3}}},
        {"IT", 4, {{1, 3}, {0, 4}}},
    };
    // Summary selects each chain to score it on the board, so the selection is checked first.
    EXPECT_EQ(board.Selection(), selection);
    EXPECT_TRUE(board.CellAt(1, 1)->IsSelected());
    EXPECT_EQ(Summary(board, words), expected);
    for (const SolvedWord& word : words) {
        EXPECT_EQ(word.display, Lower(word.key));
    }
    const std::optional<SolvedWord> best = solver.BestWord(board);
    ASSERT_TRUE(best.has_value());
    EXPECT_EQ(best->key, "QUIZ");
    EXPECT_EQ(CellsOf(best->chain), std::get<2>(expected[0]));

    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "QUI")), (std::vector<Cells>{{{1, 1}, {1, 3}}}));
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "IT")),
              (std::vector<Cells>{{{1, 3}, {0, 4}}, {{1, 3}, {2, 4}}}));
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "IT", 1)), (std::vector<Cells>{{{1, 3}, {0, 4}}}));
    for (const char* none : {"Q", "U", "", "qui", "CZ", "AA"}) {
        EXPECT_TRUE(solver.ChainsFor(board, none).empty()) << none;
    }

    // A chain never crosses an empty cell.
    board.CellAt(0, 2)->Set(nullptr, 0);
    for (const SolvedWord& word : solver.Solve(board)) {
        EXPECT_NE(word.key, "CAT");
        EXPECT_NE(word.key, "QUA");
    }
}

// The ranking: the higher score first, then fewer tiles, then the lower and further left cells,
// tile by tile. Tile values are set by hand so that the rules meet.
//   row 1:    QU  A   A      slots 1, 3, 5
//   row 0:  Q   U   A        slots 0, 2, 4
TEST_F(SolverTest, RanksByScoreThenTilesThenCells) {
    Board board(2, 3);
    Lay(board, {{0, 0, "Q", 2},
                {0, 2, "U", 2},
                {0, 4, "A", 2},
                {1, 1, "QU", 4},
                {1, 3, "A", 2},
                {1, 5, "A", 2}});
    const Solver solver(*hand_);
    // All three chains of QUA score 8: the one of two tiles wins; of the two others, the third
    // tile decides.
    const std::vector<Cells> fewerTilesFirst = {
        {{1, 1}, {1, 3}}, {{0, 0}, {0, 2}, {0, 4}}, {{0, 0}, {0, 2}, {1, 3}}};
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "QUA")), fewerTilesFirst);
    // The two-tile chain comes last in the search: the best two must still hold it.
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "QUA", 2)),
              std::vector<Cells>(fewerTilesFirst.begin(), fewerTilesFirst.begin() + 2));
    EXPECT_EQ(CellsOf(solver.BestWord(board)->chain), fewerTilesFirst[0]);
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "A")),
              (std::vector<Cells>{{{0, 4}}, {{1, 3}}, {{1, 5}}}));

    board.CellAt(1, 1)->Set("QU", 3); // 6 now: the score decides before the number of tiles
    const std::vector<Cells> scoreFirst = {
        {{0, 0}, {0, 2}, {0, 4}}, {{0, 0}, {0, 2}, {1, 3}}, {{1, 1}, {1, 3}}};
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "QUA")), scoreFirst);
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "QUA", 2)),
              std::vector<Cells>(scoreFirst.begin(), scoreFirst.begin() + 2));
    const std::optional<SolvedWord> best = solver.BestWord(board);
    ASSERT_TRUE(best.has_value());
    EXPECT_EQ(best->key, "QUA");
    EXPECT_EQ(best->score, 8);
    EXPECT_EQ(CellsOf(best->chain), scoreFirst[0]);
}

// The best chains of a text that can be spelt with a "QU" tile or with Q and U, alike in score,
// when the longer ones come first in the search.
//   row 1:    QU  A   A      slots 1, 3, 5
//   row 0:  A   Q   U        slots 0, 2, 4
TEST_F(SolverTest, BestChainsKeepTheShortSpellingFoundLast) {
    Board board(2, 3);
    Lay(board, {{0, 0, "A", 2},
                {0, 2, "Q", 3},
                {0, 4, "U", 3},
                {1, 1, "QU", 9},
                {1, 3, "A", 2},
                {1, 5, "A", 2}});
    const Solver solver(*hand_);
    const std::vector<Cells> all = {{{0, 0}, {1, 1}, {1, 3}},
                                    {{1, 3}, {1, 1}, {0, 0}},
                                    {{0, 0}, {0, 2}, {0, 4}, {1, 3}},
                                    {{0, 0}, {0, 2}, {0, 4}, {1, 5}},
                                    {{1, 3}, {0, 2}, {0, 4}, {1, 5}}};
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "AQUA")), all);
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "AQUA", 1)),
              std::vector<Cells>(all.begin(), all.begin() + 1));
    EXPECT_EQ(CellsOf(solver.ChainsFor(board, "AQUA", 2)),
              std::vector<Cells>(all.begin(), all.begin() + 2));
}

// A score past the 32-bit range is held at kMaxScore, as the board holds it; nothing is found on
// an empty board or with an empty index.
TEST_F(SolverTest, SaturatesScoresAndFindsNothingInEmptiness) {
    Board line(1, 12);
    const std::string word = "MISSISSIPPI";
    for (std::size_t i = 0; i < word.size(); ++i) {
        line.CellAt(0, static_cast<int32_t>(2 * i))->Set(std::string(1, word[i]), 9);
    }
    const std::vector<SolvedWord> found = Solver(*hand_).Solve(line);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].key, word);
    EXPECT_EQ(found[0].score, kMaxScore);
    EXPECT_EQ(found[0].score, BoardScore(line, found[0].chain));

    Board empty(3, 3);
    EXPECT_TRUE(Solver(*hand_).Solve(empty).empty());
    EXPECT_FALSE(Solver(*hand_).BestWord(empty).has_value());
    Board board(3, 3);
    LayHandBoard(board);
    const Words none;
    EXPECT_TRUE(Solver(none).Solve(board).empty());
    EXPECT_FALSE(Solver(none).BestWord(board).has_value());
}

// Random small boards, some cells empty, against every chain enumerated plainly: the same words
// with the same best chains and scores in the same order, and for typed texts the same chains
// in the same order, all of them or the best few.
TEST_F(SolverTest, RandomBoardsMatchPlainEnumeration) {
    std::mt19937 random(5);
    const Solver solver(*random_);
    std::size_t wordsSeen = 0;
    for (int round = 0; round < 40; ++round) {
        Board board(2 + random() % 3, 2 + random() % 2);
        const bool ownValues = round % 2 == 0;
        std::vector<Chip*> tiles;
        for (Chip* chip : testhelp::AllChips(board)) {
            if ((chip->Row() + chip->Slot()) % 2 != 0 || random() % 8 == 0) {
                continue;
            }
            std::string letter = kRandomLetters[random() % kRandomLetters.size()];
            // Values no tile is given in a game, down to -1, too: the rules still hold.
            const int32_t value =
                ownValues ? SupplyLetter(letter) : static_cast<int32_t>(random() % 11) - 1;
            chip->Set(letter, value);
            tiles.push_back(chip);
        }

        std::map<std::string, std::pair<Rank, std::vector<Chip*>>> best;
        std::map<std::string, std::vector<Rank>> chainsOf;
        std::vector<Chip*> chain;
        std::string text;
        EachChain(tiles, chain, text, [&] {
            const int32_t score = BoardScore(board, chain);
            const Rank rank = RankOf(score, CellsOf(chain));
            chainsOf[text].push_back(rank);
            if (text.size() >= 2 && !random_->Lookup(text).empty()) {
                const auto it = best.find(text);
                if (it == best.end() || rank < it->second.first) {
                    best[text] = {rank, chain};
                }
            }
        });
        std::vector<std::pair<Rank, std::string>> ranked;
        for (const auto& [key, entry] : best) {
            ranked.emplace_back(entry.first, key);
        }
        std::sort(ranked.begin(), ranked.end());
        std::vector<Found> expected;
        for (const auto& [rank, key] : ranked) {
            expected.emplace_back(key, static_cast<int32_t>(-std::get<0>(rank)), std::get<2>(rank));
        }

        const std::vector<SolvedWord> words = solver.Solve(board);
        ASSERT_EQ(Summary(board, words), expected) << "round " << round;
        for (const SolvedWord& word : words) {
            ASSERT_EQ(word.display, random_->Lookup(word.key));
        }
        const std::optional<SolvedWord> top = solver.BestWord(board);
        ASSERT_EQ(top.has_value(), !words.empty());
        if (top) {
            EXPECT_EQ(CellsOf(top->chain), CellsOf(words[0].chain));
        }
        wordsSeen += words.size();

        for (auto& [typed, ranks] : chainsOf) {
            if (random() % 8 != 0) {
                continue; // a sample of the texts is enough
            }
            std::sort(ranks.begin(), ranks.end());
            std::vector<Cells> all;
            for (const Rank& rank : ranks) {
                all.push_back(std::get<2>(rank));
            }
            ASSERT_EQ(CellsOf(solver.ChainsFor(board, typed, 1000)), all) << typed;
            const std::size_t limit = 1 + random() % 3;
            all.resize(std::min(all.size(), limit));
            ASSERT_EQ(CellsOf(solver.ChainsFor(board, typed, limit)), all) << typed;
        }
    }
    EXPECT_GT(wordsSeen, 200u); // the boards really held words
}

// A full board of one letter can be walked in more ways than could ever be listed: a typed text
// still gives its best chains at once, and a text whose last letter lies out of reach ends.
TEST_F(SolverTest, BoardOfOneLetterStaysQuick) {
    Board board(12, 9);
    for (Chip* chip : testhelp::AllChips(board)) {
        if ((chip->Row() + chip->Slot()) % 2 == 0) {
            chip->Set("E", 2);
        }
    }
    const Solver solver(*hand_);
    const std::string typed(16, 'E');
    const std::vector<std::vector<Chip*>> chains = solver.ChainsFor(board, typed, 3);
    ASSERT_EQ(chains.size(), 3u);
    for (const std::vector<Chip*>& chain : chains) {
        ASSERT_EQ(chain.size(), typed.size());
        EXPECT_EQ(std::set<Chip*>(chain.begin(), chain.end()).size(), chain.size());
        for (std::size_t i = 1; i < chain.size(); ++i) {
            EXPECT_TRUE(Board::IsAdjacent(chain[i - 1], chain[i]));
        }
    }
    EXPECT_EQ(CellsOf(chains[0])[0], Cell(0, 0));
    EXPECT_LT(CellsOf(chains[0]), CellsOf(chains[1]));
    EXPECT_LT(CellsOf(chains[1]), CellsOf(chains[2]));

    board.CellAt(11, 17)->Set("Z", 6);
    for (const auto& chain : solver.ChainsFor(board, std::string(20, 'E') + "Z")) {
        EXPECT_EQ(chain.back(), board.CellAt(11, 17));
    }
}
