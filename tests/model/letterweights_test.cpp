// A dictionary's own letter weights: the values and draws that follow from a table, the
// `.letters` file that holds one and every way it can be unusable, and the boards and word index
// that carry it into a game.
#include "board.h"
#include "letterweights.h"
#include "random.h"
#include "tests/dictionary/tsdfixture.h"
#include "words.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#ifdef __unix__
#include <sys/stat.h>
#endif

namespace {

using Table = std::array<uint32_t, LetterWeights::kLetters>;

Table Weights(std::initializer_list<std::pair<char, uint32_t>> letters) {
    Table table{};
    for (const auto& [letter, weight] : letters) {
        table[static_cast<size_t>(letter - 'A')] = weight;
    }
    return table;
}

// The file text of a table, one "<letter> <weight>" line each.
std::string FileText(const Table& table, const char* lineEnd = "\n") {
    std::string text;
    for (size_t i = 0; i < table.size(); ++i) {
        text += static_cast<char>('A' + i);
        text += ' ';
        text += std::to_string(table[i]);
        text += lineEnd;
    }
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Share of each drawn tile text over `draws` draws from the table.
std::map<std::string, double> DrawShares(const LetterWeights& weights, int draws) {
    std::map<std::string, double> shares;
    for (int i = 0; i < draws; ++i) {
        std::string letter;
        SupplyLetter(letter, weights);
        shares[letter] += 1.0 / draws;
    }
    return shares;
}

// Guards the value law on a hand-worked table (K = 400 x 2.250001): the commonest letter 2,
// sqrt(9) = 3, sqrt(56.25) = 7.5 rounding up to 8; a letter 400 times rarer than A, and one
// never drawn, worth 9 as the built-in table's rarest, not sqrt(900) = 30 or a division by 0.
// The built-in table is the one LetterValue and SupplyLetter always used.
TEST(LetterWeights, ValuesFollowTheSquareRootRule) {
    const auto table =
        LetterWeights::Make(Weights({{'A', 400}, {'B', 100}, {'C', 16}, {'D', 1}, {'Z', 25}}));
    ASSERT_TRUE(table.has_value());
    const std::map<char, int32_t> expected = {{'A', 2}, {'B', 3}, {'C', 8}, {'D', 9}, {'Z', 6}};
    for (int i = 0; i < 26; ++i) {
        const auto found = expected.find(static_cast<char>('A' + i));
        EXPECT_EQ(table->Value(i), found != expected.end() ? found->second : 9) << i;
    }
    std::string qu = "QU";
    EXPECT_EQ(SupplyLetter(qu, *table), 9);
    std::string c = "C";
    EXPECT_EQ(SupplyLetter(c, *table), 8);
    EXPECT_EQ(table->Value(26), 0);

    const LetterWeights builtIn;
    EXPECT_EQ(builtIn, LetterWeights::BuiltIn());
    EXPECT_EQ(builtIn.DrawTotal(), kLetterWeightTotal);
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(builtIn.Value(i), LetterValue(i)) << i;
        EXPECT_EQ(builtIn.DrawWeight(i), kLetterWeights[static_cast<size_t>(i)]) << i;
    }
}

// Guards the draw from a dictionary's table: exact intervals in alphabetical order with the
// letters of weight 0 stepped over, and the boards' fill and drop following the table's shares
// with its values. A table whose total nears 2^31 must not lean towards A, as a plain modulo of
// the 31-bit draw would (72 % instead of 67 % here).
TEST(LetterWeights, DrawsFollowTheTable) {
    const LetterWeights table = *LetterWeights::Make(Weights({{'A', 6}, {'E', 3}, {'Q', 1}}));
    const std::vector<std::pair<int32_t, std::string>> intervals = {
        {0, "A"}, {5, "A"}, {6, "E"}, {8, "E"}, {9, "QU"}, {10, "A"}, {19, "QU"}};
    for (const auto& [draw, text] : intervals) {
        std::string letter;
        SupplyLetterFromDraw(letter, draw, table);
        EXPECT_EQ(letter, text) << draw;
    }

    Random::Seed(321);
    Board board(12, 9);
    board.UseLetterWeights(table);
    std::map<std::string, double> shares;
    constexpr int kFills = 1000;
    for (int i = 0; i < kFills; ++i) {
        board.Fill(12);
        for (uint32_t r = 0; r < board.RowCount(); ++r) {
            for (uint32_t s = r % 2; s < board.SlotCount(); s += 2) {
                const Chip* chip = board.CellAt(static_cast<int32_t>(r), static_cast<int32_t>(s));
                ASSERT_EQ(chip->Value(), table.Value(chip->Letter()[0] - 'A')) << chip->Letter();
                shares[chip->Letter()] += 1.0 / (kFills * 108);
            }
        }
    }
    EXPECT_EQ(shares.size(), 3u);
    EXPECT_NEAR(shares["A"], 0.6, 0.01);
    EXPECT_NEAR(shares["E"], 0.3, 0.01);
    EXPECT_NEAR(shares["QU"], 0.1, 0.01);
    std::vector<Chip*> changed;
    for (int i = 0; i < 100; ++i) {
        board.Fill(0);
        board.DropChip(changed);
        const Chip* dropped = changed.back();
        ASSERT_TRUE(dropped->Letter() == "A" || dropped->Letter() == "E" ||
                    dropped->Letter() == "QU")
            << dropped->Letter();
        ASSERT_EQ(dropped->Value(), table.Value(dropped->Letter()[0] - 'A'));
    }

    const LetterWeights large =
        *LetterWeights::Make(Weights({{'A', 1200000000}, {'Z', 600000000}}));
    EXPECT_NEAR(large.DrawTotal(), LetterWeights::kDrawScale, 13); // each weight rounded
    shares = DrawShares(large, 100000);
    EXPECT_NEAR(shares["A"], 2.0 / 3, 0.01);
    EXPECT_EQ(large.Value(0), 2);
    EXPECT_EQ(large.Value(25), 2); // sqrt(4.5) = 2.12
}

// Guards the fallback: every unusable table text gives nothing, every unusable file the
// built-in table (a missing one quietly, the others as damaged), a huge file is refused unread
// and a pipe is never waited on; the forms a hand-edited file takes are still read.
TEST(LetterWeightsFile, UnusableFilesFallBackToTheBuiltInTable) {
    const Table good = Weights({{'A', 5}, {'B', 0}, {'Z', 2}});
    const std::string text = FileText(good);
    std::string outOfOrder = text;
    std::swap(outOfOrder[0], outOfOrder[text.find("B ")]);
    const std::string lastLine = "Z 2\n";
    const std::string bad[] = {
        "",
        text.substr(0, text.size() - lastLine.size()), // 25 lines
        text + "A 1\n",                                // 27 lines
        text + "\n",                                   // an empty 27th line
        outOfOrder,                                    // B before A
        "a" + text.substr(1),                          // lower case
        "A5" + text.substr(3),                         // no blank
        "A 5x" + text.substr(3),                       // not a number
        "A -5" + text.substr(3),                       // a sign
        "A +5" + text.substr(3),                       // a sign
        "A " + text.substr(3),                         // no weight
        "A 5 6" + text.substr(3),                      // two weights
        "A 99999999999999999999" + text.substr(3),     // beyond 64 bits
        "A 2147483647" + text.substr(3),               // total beyond 31 bits
        FileText(Table{}),                             // nothing to draw
        std::string("A 5\0", 4) + text.substr(3),      // a NUL
    };
    for (const std::string& t : bad) {
        EXPECT_FALSE(ParseLetterWeights(t).has_value()) << t;
    }
    const LetterWeights expected = *LetterWeights::Make(good);
    std::string loose = FileText(good, " \t\r\n");
    loose.insert(1, "\t ");
    const std::string fine[] = {text, text.substr(0, text.size() - 1), FileText(good, "\r\n"),
                                "\xEF\xBB\xBF" + text, loose};
    for (const std::string& t : fine) {
        EXPECT_EQ(ParseLetterWeights(t), expected) << t;
    }

    tsdtest::TempFolder folder;
    using State = LetterWeightsFile::State;
    const auto read = [&](const std::string& name) {
        return ReadLetterWeightsFile(folder.Path() / name);
    };
    EXPECT_EQ(read("missing.letters").state, State::Absent);
    WriteText(folder.File("good.letters"), text);
    EXPECT_EQ(read("good.letters").state, State::Read);
    EXPECT_EQ(read("good.letters").weights, expected);
    WriteText(folder.File("short.letters"), bad[1]);
    std::filesystem::create_directory(folder.Path() / "folder.letters");
    // A valid table, padded with trailing blanks past any sane size.
    WriteText(folder.File("huge.letters"),
              text.substr(0, text.size() - 1) + std::string(1 << 20, ' ') + "\n");
    std::vector<std::string> damaged = {"short.letters", "folder.letters", "huge.letters"};
#ifdef __unix__
    ASSERT_EQ(mkfifo(folder.File("pipe.letters").c_str(), 0600), 0);
    damaged.push_back("pipe.letters");
#endif
    for (const std::string& name : damaged) {
        const LetterWeightsFile file = read(name);
        EXPECT_EQ(file.state, State::Damaged) << name;
        EXPECT_EQ(file.weights, LetterWeights::BuiltIn()) << name;
    }
    EXPECT_EQ(LetterWeightsForDictionary(folder.File("short.tsd")), LetterWeights::BuiltIn());
    EXPECT_EQ(LetterWeightsForDictionary(folder.File("good.tsd")), expected);
}

// Guards the way into a game: a dictionary's weights come with its words and are replaced by
// the next dictionary's (the built-in table when it has none), and the title fill keeps the
// built-in values on a board that plays another table.
TEST(LetterWeights, DictionaryCarriesItsWeightsAndTheTitleKeepsTheBuiltIn) {
    tsdtest::TempFolder folder;
    const Table table = Weights({{'A', 1}, {'E', 1}, {'L', 1}, {'P', 7}});
    for (const char* name : {"Own", "Plain"}) {
        tsdtest::WriteBytes(folder.File(std::string(name) + ".tsd"),
                            tsdtest::MakeDictionary({"pea", "peel", "apple"}));
    }
    WriteText(folder.File("Own.letters"), FileText(table));
    Words words;
    EXPECT_EQ(words.Weights(), LetterWeights::BuiltIn());
    words.Load(folder.File("Own.tsd"));
    EXPECT_EQ(words.WordCount(), 3);
    EXPECT_EQ(words.Weights(), LetterWeights::Make(table));
    words.Load(folder.File("Plain.tsd"));
    EXPECT_EQ(words.Weights(), LetterWeights::BuiltIn());

    Board board(12, 9);
    EXPECT_EQ(board.Weights(), LetterWeights::BuiltIn());
    board.UseLetterWeights(*LetterWeights::Make(table));
    board.FillAttract();
    for (uint32_t r = 0; r < board.RowCount(); ++r) {
        for (uint32_t s = r % 2; s < board.SlotCount(); s += 2) {
            const Chip* chip = board.CellAt(static_cast<int32_t>(r), static_cast<int32_t>(s));
            ASSERT_EQ(chip->Value(), LetterValue(chip->Letter()[0] - 'A')) << chip->Letter();
        }
    }
}

} // namespace
