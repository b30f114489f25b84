// What the dictionary writer stores: Windows-1252 text, letters folded to A..Z, length-limited
// prefix codes, and only entries the reader can give back.
#include <gtest/gtest.h>

#include <string>

#include "dictionary/cp1252.h"
#include "dictionary/letterstext.h"
#include "tests/dictionary/tsdfixture.h"
#include "tools/lettertally.h"
#include "tools/wordlist.h"

namespace {

double Kraft(const CodeLengths& lengths) {
    double sum = 0;
    for (uint8_t l : lengths) {
        sum += l > 0 ? 1.0 / static_cast<double>(uint64_t{1} << l) : 0.0;
    }
    return sum;
}

} // namespace

// UTF-8 becomes Windows-1252 and back unchanged; text that is not UTF-8 or that the code page
// cannot show is refused whole; a TAB starts the extra text, a trailing CR is dropped.
TEST(WordListText, ConvertsOrRefuses) {
    EXPECT_EQ(Utf8ToCp1252("\xC3\xA9t\xC3\xA9"), std::string("\xE9t\xE9"));
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), std::string("\x80"));
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all += static_cast<char>(c);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    for (const char* bad : {"\xC0\xAF", "\x80", "caf\xC3", "\xED\xA0\x80", "\xE4\xB8\xAD"}) {
        EXPECT_FALSE(Utf8ToCp1252(bad).has_value()) << bad;
    }
    EXPECT_EQ(ParseWordListLine("dog\tfaithful\tfriend\r", false).entry, "dog\nfaithful\tfriend");
    EXPECT_EQ(ParseWordListLine("\r", false).status, LineStatus::Blank);
    EXPECT_EQ(ParseWordListLine("\xE9t\xE9", false).status, LineStatus::BadText);
    EXPECT_EQ(ParseWordListLine("\xE9t\xE9", true).entry, "\xE9t\xE9");
    EXPECT_EQ(ParseWordListLine(std::string("a\0b", 3), true).status, LineStatus::BadText);
}

// Letters of either case and accented Latin letters count as their base letter A..Z, the
// ligatures, sharp s, o with a stroke and thorn as two letters, the rest as none; the writer
// spells keys so.
TEST(WordListText, FoldsLetters) {
    auto spelt = [](unsigned char c) {
        const int16_t letters = FoldedLetters(c);
        std::string key;
        if (letters >= 0) {
            key += static_cast<char>('A' + FirstLetter(letters));
            if (IsLetterPair(letters)) {
                key += static_cast<char>('A' + SecondLetter(letters));
            }
        }
        return key;
    };
    const std::string folded = "Aaz\xE9\xC9\xF1\xE7\xF6\xFF\x9F\x8A\x9E\xFC\xD0\xE5";
    const std::string base = "AAZEENCOYYSZUDA";
    for (std::size_t i = 0; i < folded.size(); ++i) {
        EXPECT_EQ(spelt(static_cast<unsigned char>(folded[i])), std::string(1, base[i])) << i;
    }
    const std::string pairs = "\xDF\xC6\xE6\x8C\x9C\xD8\xF8\xDE\xFE";
    const char* const spelling[] = {"SS", "AE", "AE", "OE", "OE", "OE", "OE", "TH", "TH"};
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(spelt(static_cast<unsigned char>(pairs[i])), spelling[i]) << i;
    }
    const std::string none = std::string("'-0 \n\0", 6) + "\xF7\xD7\x83\xB7\xAA\xB5";
    for (const char c : none) {
        EXPECT_LT(FoldedLetters(static_cast<unsigned char>(c)), 0) << static_cast<int>(c);
    }
    // Octal escapes: a hex escape would run on into the letters after it.
    TsdWriter writer;
    EXPECT_EQ(writer.Key("Stra\337e\nstreet"), "STRASSE");
    EXPECT_EQ(writer.LetterCount("bl\345b\346r"), 7);
    EXPECT_EQ(writer.Key("col\267legi"), "COLLEGI");

    // Only a file whose words use ß carries its pair, so other files stay readable by readers
    // that know single letters only.
    auto sharpS = [](const tsdtest::Bytes& file) {
        const std::size_t at = tsdtest::CodeTableOffset(0, file[4] | (file[5] << 8)) + 8 * 0xDF;
        return static_cast<int16_t>(file[at + 2] | (file[at + 3] << 8));
    };
    EXPECT_EQ(sharpS(tsdtest::MakeDictionary({"cat"})), -1);
    EXPECT_EQ(sharpS(tsdtest::MakeDictionary({"Fu\337"})), LetterPair(18, 18));
}

// Frequencies growing like Fibonacci numbers would need 40-bit codes: the limit holds every
// code within bounds while the code space stays exactly full, and canonical codes of those
// lengths are prefix-free; over-full lengths are refused.
TEST(CodeLengths, LimitedAndPrefixFree) {
    SymbolCounts counts{};
    for (uint64_t s = 0, a = 1, b = 1; s < 42; ++s, b += a, a = b - a) {
        counts[s] = a;
    }
    for (int limit : {32, 6}) {
        const CodeLengths lengths = LimitedCodeLengths(counts, limit);
        EXPECT_DOUBLE_EQ(Kraft(lengths), 1.0) << limit;
        Codes codes{};
        ASSERT_TRUE(CanonicalCodes(lengths, codes));
        for (int x = 0; x < 42; ++x) {
            ASSERT_GE(lengths[x], 1);
            ASSERT_LE(lengths[x], limit);
            for (int y = 0; y < 42; ++y) {
                if (x != y && lengths[x] <= lengths[y]) {
                    EXPECT_NE(codes[y] >> (lengths[y] - lengths[x]), codes[x]) << x << " " << y;
                }
            }
        }
    }
    CodeLengths over{};
    over['a'] = over['b'] = over['c'] = 1;
    Codes codes{};
    EXPECT_FALSE(CanonicalCodes(over, codes));
}

// Entries are refused when they could not be read back: no letter (it would read as an end
// marker), more than 31 letters, more symbols than the reader holds, a zero byte. Files built
// from up to 240 distinct symbols load and give back every entry: the code table never needs
// more tree nodes than the loader has.
TEST(TsdWriterEntries, OnlyWhatReadsBack) {
    TsdWriter writer;
    EXPECT_EQ(writer.Add("--"), TsdWriter::AddResult::NoLetters);
    EXPECT_EQ(writer.Add("\nabc"), TsdWriter::AddResult::NoLetters);
    EXPECT_EQ(writer.Add(std::string(32, 'a')), TsdWriter::AddResult::TooManyLetters);
    EXPECT_EQ(writer.Add("ab" + std::string(897, '-')), TsdWriter::AddResult::TooLong);
    EXPECT_EQ(writer.Add(std::string("a\0b", 3)), TsdWriter::AddResult::HasNul);

    tsdtest::TempFolder folder;
    uint32_t state = 11;
    for (int alphabet = 20; alphabet <= 240; alphabet += 20) {
        TsdWriter many(alphabet % 40 == 0 ? 1 : 0);
        std::size_t added = 0;
        for (int i = 0; i < 400; ++i) {
            std::string entry = "ab";
            for (int k = 0; k < 6; ++k) {
                state = state * 1103515245u + 12345u;
                const uint32_t r = (state >> 8) % static_cast<uint32_t>(alphabet);
                const uint32_t symbol = 1 + (r * r / static_cast<uint32_t>(alphabet) * 7 + 3) % 255;
                entry += static_cast<char>(symbol == '\n' ? 11 : symbol);
            }
            added += many.Add(entry) == TsdWriter::AddResult::Added ? 1 : 0;
        }
        const std::string path = folder.File("symbols.tsd");
        tsdtest::WriteBytes(path, tsdtest::BuildOrFail(many));
        TSDictionaryList list(path, false);
        ASSERT_EQ(list.FirstInvalid(), nullptr) << alphabet;
        InputEngine cursor(list, 0);
        std::size_t decoded = 0;
        for (int L = 1; L < list.LengthClasses(0); ++L) {
            decoded += tsdtest::EngineDecode(cursor, L).size();
        }
        EXPECT_EQ(decoded, added) << alphabet;
    }
}

// A weights table must be the 26 letters in order, each with a plain decimal weight, with a total
// the game's 31-bit draw can take; counts too large for it are scaled down, no letter to 0.
TEST(LetterWeightsText, ReadAndScaled) {
    LetterTally tally{};
    tally[4] = 1u << 20;
    const std::string text = FormatLetterWeights(tally);
    EXPECT_EQ(text.substr(0, 26), "A 1\nB 1\nC 1\nD 1\nE 1048576\n");
    ASSERT_TRUE(ParseLetterWeightsText(text).has_value());
    EXPECT_EQ((*ParseLetterWeightsText(text))[4], 1u << 20);
    EXPECT_EQ(ParseLetterWeightsText("\xEF\xBB\xBF" + text + "\n"), std::nullopt); // a 27th line
    EXPECT_TRUE(ParseLetterWeightsText("\xEF\xBB\xBF" + text.substr(0, text.size() - 1)));
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"B 1\n", "B +1\n"}, {"B 1\n", "b 1\n"}, {"B 1\n", "C 1\n"}, {"B 1\n", "B1\n"}}) {
        std::string broken = text;
        broken.replace(broken.find(from), from.size(), to);
        EXPECT_EQ(ParseLetterWeightsText(broken), std::nullopt) << to;
    }
    std::string zeros;
    for (char c = 'A'; c <= 'Z'; ++c) {
        zeros += std::string(1, c) + " 0\n";
    }
    EXPECT_EQ(ParseLetterWeightsText(zeros), std::nullopt); // no letter left to draw
    tally.fill(0);
    tally[0] = uint64_t{1} << 40;
    tally[1] = uint64_t{1} << 39;
    const auto scaled = ParseLetterWeightsText(FormatLetterWeights(tally));
    ASSERT_TRUE(scaled.has_value());
    EXPECT_NEAR(static_cast<double>((*scaled)[0]) / static_cast<double>((*scaled)[1]), 2.0, 1e-6);
    EXPECT_EQ((*scaled)[25], 1u);
}
