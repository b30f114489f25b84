#include "chip.h"
#include "random.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

namespace {

// Guards the value law: every letter's value, computed from the weights, matches the published
// table, and asking for a given letter's value never alters the text.
TEST(LetterSupply, ValuesOfGivenLetters) {
    const std::array<int32_t, 26> expected = {2, 3, 3, 3, 2, 4, 3, 3, 2, 7, 4, 2, 3,
                                              2, 2, 3, 9, 2, 2, 2, 2, 5, 4, 8, 3, 6};
    for (int i = 0; i < 26; ++i) {
        std::string letter(1, static_cast<char>('A' + i));
        EXPECT_EQ(SupplyLetter(letter), expected[static_cast<size_t>(i)]) << letter;
        EXPECT_EQ(letter, std::string(1, static_cast<char>('A' + i)));
    }
    std::string qu = "QU";
    EXPECT_EQ(SupplyLetter(qu), 9); // only the first character counts
    EXPECT_EQ(qu, "QU");
    int64_t total = 0;
    for (uint32_t w : kLetterWeights) {
        total += w;
    }
    EXPECT_EQ(total, kLetterWeightTotal);
}

// Guards against reading outside the letter table: text that does not start with a capital A to
// Z is worth nothing instead of whatever memory lies beyond the table.
TEST(LetterSupply, NonLettersAreWorthNothing) {
    for (const char* text : {"a", "@", "[", "1", " ", "\xC9"}) {
        std::string letter = text;
        EXPECT_EQ(SupplyLetter(letter), 0) << text;
        EXPECT_EQ(letter, text);
    }
    EXPECT_EQ(LetterValue(-1), 0);
    EXPECT_EQ(LetterValue(26), 0);
}

// Guards the draw intervals at their boundaries: consecutive alphabetical intervals from 0, the
// last letter reaching the end, and draws beyond the total wrapping as a modulo would.
TEST(LetterSupply, DrawIntervalBoundaries) {
    const auto draw = [](int32_t r) {
        std::string letter;
        const int32_t value = SupplyLetterFromDraw(letter, r);
        return std::make_pair(letter, value);
    };
    EXPECT_EQ(draw(0), std::make_pair(std::string("A"), 2));
    EXPECT_EQ(draw(181547), std::make_pair(std::string("A"), 2));
    EXPECT_EQ(draw(181548), std::make_pair(std::string("B"), 3));
    EXPECT_EQ(draw(227909), std::make_pair(std::string("B"), 3));
    EXPECT_EQ(draw(227910), std::make_pair(std::string("C"), 3));
    EXPECT_EQ(draw(1854875), std::make_pair(std::string("Y"), 3));
    EXPECT_EQ(draw(1854876), std::make_pair(std::string("Z"), 6));
    EXPECT_EQ(draw(1866690), std::make_pair(std::string("Z"), 6));
    EXPECT_EQ(draw(1866691), std::make_pair(std::string("A"), 2));
    EXPECT_EQ(draw(1866691 + 181548), std::make_pair(std::string("B"), 3));
    EXPECT_EQ(draw(Random::kMax).first.size(), 1u);
}

// Guards the Q rule: the whole Q interval yields "QU" worth 9, and no draw anywhere yields a lone
// Q or a letter outside A to Z.
TEST(LetterSupply, QAlwaysComesWithU) {
    std::string before;
    EXPECT_EQ(SupplyLetterFromDraw(before, 1319093), 3);
    EXPECT_EQ(before, "P");
    for (int32_t r : {1319094, 1320000, 1325093}) {
        std::string letter;
        EXPECT_EQ(SupplyLetterFromDraw(letter, r), 9);
        EXPECT_EQ(letter, "QU");
    }
    std::string after;
    SupplyLetterFromDraw(after, 1325094);
    EXPECT_EQ(after, "R");

    std::string previous = "A";
    for (int32_t r = 0; r < kLetterWeightTotal; ++r) {
        std::string letter;
        SupplyLetterFromDraw(letter, r);
        ASSERT_TRUE(letter == "QU" || (letter.size() == 1 && letter != "Q")) << r;
        ASSERT_GE(letter, previous) << r; // intervals are in alphabetical order
        previous = letter;
    }
}

// Guards the weighting of the random draw: over many draws each letter's share follows its
// weight (E about 10.9 %, QU about 0.32 %), and every drawn value is that letter's value.
TEST(LetterSupply, RandomDrawsFollowTheWeights) {
    Random::Seed(12345);
    constexpr int kDraws = 400000;
    std::map<std::string, int> seen;
    for (int i = 0; i < kDraws; ++i) {
        std::string letter;
        const int32_t value = SupplyLetter(letter);
        std::string again = letter;
        ASSERT_EQ(SupplyLetter(again), value);
        ++seen[letter];
    }
    EXPECT_EQ(seen.count("Q"), 0u);
    EXPECT_NEAR(seen["E"] / double(kDraws), 0.1086, 0.003);
    EXPECT_NEAR(seen["QU"] / double(kDraws), 0.0032, 0.0006);
    EXPECT_NEAR(seen["A"] / double(kDraws), 0.0973, 0.003);
    EXPECT_EQ(seen.size(), 26u);
}

// Guards the shared generator: a seed replays its sequence exactly, results stay within 31 bits,
// and both parities turn up evenly (the tumble step relies on that for its side choice).
TEST(RandomGenerator, SeededSequencesAreReproducibleAndFair) {
    Random::Seed(7);
    std::array<int32_t, 50> first{};
    for (auto& v : first) {
        v = Random::Next();
    }
    Random::Seed(7);
    for (int32_t v : first) {
        EXPECT_EQ(Random::Next(), v);
    }
    Random::Seed(8);
    EXPECT_NE(Random::Next(), first[0]);

    int even = 0;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) {
        const int32_t v = Random::Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, Random::kMax);
        even += v % 2 == 0 ? 1 : 0;
    }
    EXPECT_NEAR(even / double(kDraws), 0.5, 0.01);
}

// Guards a cell's content rules: Set with no letter empties and unflags, occupancy follows the
// letter alone, TakeFrom moves a tile and leaves its source empty, and a new chip is unplaced.
TEST(ChipContent, SetAndTakeFrom) {
    Chip fresh;
    EXPECT_FALSE(fresh.IsOccupied());
    EXPECT_FALSE(fresh.IsSelected());
    EXPECT_EQ(fresh.Row(), -1);
    EXPECT_EQ(fresh.Slot(), -1);
    EXPECT_EQ(fresh.Value(), 0);
    EXPECT_EQ(fresh.Bounds(), Rect{});

    Chip a;
    a.Set("K", 4);
    a.ToggleSelected();
    a.Set(nullptr, 0);
    EXPECT_FALSE(a.IsOccupied());
    EXPECT_FALSE(a.IsSelected());
    EXPECT_EQ(a.Value(), 0);
    a.Set("", 5);
    EXPECT_FALSE(a.IsOccupied()); // a value alone is not a tile

    Chip b;
    b.Set("QU", 9);
    b.ToggleSelected();
    a.ToggleSelected();
    a.TakeFrom(b);
    EXPECT_EQ(a.Letter(), "QU");
    EXPECT_EQ(a.Value(), 9);
    EXPECT_FALSE(a.IsSelected());
    EXPECT_FALSE(b.IsOccupied());
    EXPECT_EQ(b.Value(), 0);
    EXPECT_FALSE(b.IsSelected());

    a.TakeFrom(a); // onto itself: the tile must survive
    EXPECT_EQ(a.Letter(), "QU");
    EXPECT_EQ(a.Value(), 9);
}

} // namespace
