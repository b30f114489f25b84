// How often each letter A to Z is drawn, and so what it is worth: the built-in English table, or
// a dictionary's own, read from the `.letters` file beside it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Relative frequencies of the letters A to Z in ordinary English text. They decide both how
// often a letter is drawn and what it is worth.
inline constexpr std::array<uint32_t, 26> kLetterWeights = {
    181548, 46362,  63247,  70030, 202682, 28417,  49855, 54084, 131640,
    9000,   34439,  103497, 58582, 113329, 121572, 50810, 6000,  127670,
    136186, 101100, 74298,  19225, 24806,  6724,   39773, 11815};

// Sum of kLetterWeights: a draw picks a number below it.
inline constexpr int32_t kLetterWeightTotal = 1866691;

// A table of 26 letter weights with what follows from it: each letter's value and the intervals
// a random draw falls into. A value type; the default is the built-in English table.
class LetterWeights {
public:
    static constexpr int kLetters = 26;
    // The largest total drawn from as it stands. A draw is a 31-bit number reduced modulo the
    // total, which favours the low remainders, the start of the alphabet, by up to total / 2^31:
    // negligible at this size (the built-in table's 1866691 lies below it), but more than a
    // third too often for a total near 2^31. A larger table is drawn from weights scaled down to
    // this total; the values still come from the weights as given.
    static constexpr int32_t kDrawScale = int32_t{1} << 21;
    // How many times rarer than E the built-in table's rarest letter, Q, is.
    static constexpr double kBuiltInSpread =
        static_cast<double>(kLetterWeights[4]) / kLetterWeights[16];

    // The built-in English table.
    LetterWeights();
    static const LetterWeights& BuiltIn();

    // The table of the weights of A to Z, or nothing when no tile could be drawn from it: every
    // weight 0, or a total beyond the generator's 31 bits. A letter of weight 0 is never drawn.
    static std::optional<LetterWeights> Make(const std::array<uint32_t, kLetters>& weights);

    // The weight of letter index 0 (A) to 25 (Z) as given; 0 outside that range.
    uint32_t Weight(int index) const;
    // The letter's point value: the square root of how much rarer the letter is than the
    // commonest one, scaled so the commonest is worth 2. A letter is valued as no rarer than
    // kBuiltInSpread times rarer than the commonest, the built-in table's widest (so no tile is
    // worth more than 9); a letter of weight 0 is valued so too. Returns 0 outside 0 to 25.
    int32_t Value(int index) const;

    // The draw: the letter's interval length and the sum of them all (about kDrawScale, each
    // weight rounded, when the weights were scaled; the weights themselves otherwise).
    uint32_t DrawWeight(int index) const;
    int32_t DrawTotal() const { return drawTotal_; }

    friend bool operator==(const LetterWeights&, const LetterWeights&) = default;

private:
    // The weights must be usable, as Make checks.
    explicit LetterWeights(const std::array<uint32_t, kLetters>& weights);

    std::array<uint32_t, kLetters> weights_{};
    std::array<uint32_t, kLetters> drawWeights_{};
    std::array<int32_t, kLetters> values_{};
    int32_t drawTotal_ = 0;
};

// The table of a `.letters` file's text (see ParseLetterWeightsText), or nothing when the text is
// not one or Make refuses it.
std::optional<LetterWeights> ParseLetterWeights(std::string_view text);

// No true table comes near this size; a larger file is refused unread.
inline constexpr std::size_t kMaxLetterWeightsFileBytes = 4096;

struct LetterWeightsFile {
    enum class State {
        Absent,  // no such file: the dictionary plays the built-in table
        Damaged, // there, but unreadable or not a table (see ParseLetterWeights)
        Read,
    };
    State state = State::Absent;
    LetterWeights weights; // the built-in table unless Read
};

// Reads a `.letters` file; anything but a regular file of at most kMaxLetterWeightsFileBytes
// holding a table is Damaged, and is never waited on (a pipe is not opened).
LetterWeightsFile ReadLetterWeightsFile(const std::filesystem::path& file);

// The weights a dictionary is played with: those of the `.letters` file of the same name beside
// it, or the built-in table. A damaged file is named on standard error, once per call.
LetterWeights LetterWeightsForDictionary(const std::string& dictionaryPath);
