// The word reader: its table-driven decoding must yield exactly what plain bit-by-bit decoding
// of the file yields, in both layouts, across 32-bit word and 16 KiB block boundaries, and it
// must end a section cleanly whatever the section holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/cp1252.h"
#include "dictionary/inputengine.h"
#include "tests/dictionary/tsdfixture.h"

using tsdtest::Bytes;
using tsdtest::DecodedEntry;
using tsdtest::EngineDecode;
using tsdtest::MakeDictionary;
using tsdtest::ReferenceDecode;
using tsdtest::TempFolder;
using tsdtest::WriteBytes;

namespace {

// Deterministic words over letters and a few symbols that have no letter index; some carry
// extra text after a line feed. Their letter counts spread from `fewest` over `spread` values.
std::vector<std::string> GeneratedEntries(std::size_t count, uint32_t seed, uint32_t fewest = 2,
                                          uint32_t spread = 15) {
    const std::string letters = "abcdefghijklmnopqrstuvwxyz";
    const std::string others = "-'.\xE9 ";
    std::vector<std::string> entries;
    uint32_t state = seed;
    auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (std::size_t i = 0; i < count; ++i) {
        std::string entry;
        const uint32_t letterCount = fewest + next(spread);
        for (uint32_t k = 0; k < letterCount; ++k) {
            if (next(9) == 0) {
                entry += others[next(static_cast<uint32_t>(others.size()))];
            }
            entry += letters[next(26)];
        }
        if (next(7) == 0) {
            entry += "\nsee also ";
            entry += letters[next(26)];
        }
        entries.push_back(entry);
    }
    return entries;
}

// Code lengths 1, 2, ..., 32, 32 over the 33 symbols the generated entries use, rotated so each
// configuration gives the frequent symbols different (often very long) codes.
CodeLengths RotatedLengths(int rotation) {
    std::string symbols = std::string(1, '\0') + "\n-'.\xE9 abcdefghijklmnopqrstuvwxyz";
    EXPECT_EQ(symbols.size(), 33u);
    CodeLengths lengths{};
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const std::size_t slot = (i + static_cast<std::size_t>(rotation)) % 33;
        lengths[static_cast<unsigned char>(symbols[i])] =
            static_cast<uint8_t>(slot == 32 ? 32 : slot + 1);
    }
    return lengths;
}

// Key and display text a well-formed entry must decode to.
DecodedEntry Expected(const std::string& entry) {
    DecodedEntry e;
    e.text = entry.substr(0, entry.find('\n'));
    for (char c : e.text) {
        const int16_t letters = FoldedLetters(static_cast<unsigned char>(c));
        if (letters >= 0) {
            e.key.push_back(static_cast<uint8_t>(FirstLetter(letters)));
            if (IsLetterPair(letters)) {
                e.key.push_back(static_cast<uint8_t>(SecondLetter(letters)));
            }
        }
    }
    return e;
}

void ExpectSameAsReference(const std::string& path, const Bytes& bytes,
                           const std::vector<std::string>& entries) {
    TSDictionaryList list(path, false);
    ASSERT_EQ(list.FirstInvalid(), nullptr);
    InputEngine cursor(list, 0);
    const int n = list.LengthClasses(0);
    for (int L = 1; L < n; ++L) {
        SCOPED_TRACE(L);
        std::vector<DecodedEntry> expected;
        for (const std::string& entry : entries) {
            if (Expected(entry).key.size() == static_cast<std::size_t>(L)) {
                expected.push_back(Expected(entry));
            }
        }
        const std::vector<DecodedEntry> decoded = EngineDecode(cursor, L);
        EXPECT_EQ(decoded, expected);
        if (list.WordCount(0, L) > 0) {
            EXPECT_EQ(decoded, ReferenceDecode(bytes, L));
        }
    }
}

} // namespace

// Codes of every length from 1 to 32 bits, so that look-ups run past word ends and decoding
// continues bit by bit from deep nodes; sections span several read blocks. Every configuration
// and both layouts decode to exactly the entries written and to the bit-by-bit result.
TEST(WordReader, TableDecodingMatchesBitByBitDecoding) {
    TempFolder folder;
    const std::vector<std::string> entries = GeneratedEntries(12000, 7, 7, 5);
    for (int rotation : {0, 5, 12, 26, 31}) {
        for (int version : {0, 1}) {
            SCOPED_TRACE("rotation " + std::to_string(rotation) + " version " +
                         std::to_string(version));
            TsdWriter writer(version);
            writer.SetCodeLengths(RotatedLengths(rotation));
            for (const std::string& entry : entries) {
                ASSERT_EQ(writer.Add(entry), TsdWriter::AddResult::Added);
            }
            const Bytes bytes = tsdtest::BuildOrFail(writer);
            const std::string path = folder.File("long-codes.tsd");
            WriteBytes(path, bytes);
            TSDictionaryList list(path, false);
            // At least one section must cross a block boundary for this test to mean anything.
            ASSERT_GT(list.SectionOffset(0, 9) - list.SectionOffset(0, 8),
                      InputEngine::kBlockSize * 2);
            ExpectSameAsReference(path, bytes, entries);
        }
    }
}

// Start accepts length classes 1..N-1 only, opens the last class without comparing offsets
// (here it holds just its end marker), refuses an empty class, an entry outside the list and
// a dictionary that did not load, and Next without a started section, or after its end, keeps
// returning the end key.
TEST(WordReader, StartOpensOnlyRealSections) {
    TempFolder folder;
    TsdWriter writer(0);
    writer.SetMinimumLengthClasses(8);
    for (const char* word : {"ab", "cd", "cat", "quiz"}) {
        writer.Add(word);
    }
    const std::string path = folder.File("classes.tsd");
    WriteBytes(path, tsdtest::BuildOrFail(writer));
    TSDictionaryList list(path, false);
    ASSERT_EQ(list.LengthClasses(0), 8);
    InputEngine cursor(list, 0);

    EXPECT_EQ(cursor.Next()[0], InputEngine::kEndKey);
    EXPECT_FALSE(cursor.Start(0));
    EXPECT_FALSE(cursor.Start(8));
    EXPECT_FALSE(cursor.Start(-1));
    EXPECT_FALSE(cursor.Start(1000));
    EXPECT_EQ(cursor.Next()[0], InputEngine::kEndKey);
    EXPECT_FALSE(cursor.Start(5)); // no words of five letters
    EXPECT_FALSE(cursor.FileOpen());

    ASSERT_TRUE(cursor.Start(7));
    EXPECT_EQ(cursor.Next()[0], InputEngine::kEndKey);
    EXPECT_STREQ(cursor.Text(), "");

    ASSERT_TRUE(cursor.Start(2));
    const uint8_t* key = cursor.Next();
    EXPECT_EQ(key[0], 0);
    EXPECT_EQ(key[1], 1);
    EXPECT_EQ(key[2], InputEngine::kEndKey);
    EXPECT_EQ(cursor.Next()[1], 3);
    EXPECT_EQ(cursor.Next()[0], InputEngine::kEndKey);
    EXPECT_EQ(cursor.Next()[0], InputEngine::kEndKey);

    InputEngine outside(list, 4);
    EXPECT_FALSE(outside.Start(2));
    TSDictionaryList missing(folder.File("absent.tsd"), false);
    InputEngine unloaded(missing, 0);
    EXPECT_FALSE(unloaded.Start(2));
}

// Symbols without a letter index show in the display text but not in the key, accented letters
// count as their base letter, ß and the ligatures as their two letters, also as a word's last
// letter, and the text after a line feed is not part of the display text.
TEST(WordReader, KeysHoldOnlyLettersAndTextStopsAtTheLineFeed) {
    TempFolder folder;
    const std::string path = folder.File("symbols.tsd");
    // Octal escapes: a hex escape would run on into the letters after it.
    WriteBytes(path, MakeDictionary({"co-op\nsmall shop", "\xE9t\xE9", "Stra\337e", "bl\345b\346r",
                                     "\234uf", "Fu\337"}));
    TSDictionaryList list(path, false);
    InputEngine cursor(list, 0);
    const auto three = EngineDecode(cursor, 3);
    ASSERT_EQ(three.size(), 1u);
    EXPECT_EQ(three[0].key, (std::vector<uint8_t>{4, 19, 4}));
    EXPECT_EQ(three[0].text, "\xE9t\xE9");
    const auto four = EngineDecode(cursor, 4);
    ASSERT_EQ(four.size(), 3u);
    EXPECT_EQ(four[0].key, (std::vector<uint8_t>{2, 14, 14, 15}));
    EXPECT_EQ(four[0].text, "co-op");
    EXPECT_EQ(four[1].key, (std::vector<uint8_t>{14, 4, 20, 5}));
    EXPECT_EQ(four[2].key, (std::vector<uint8_t>{5, 20, 18, 18}));
    EXPECT_EQ(four[2].text, "Fu\xDF");
    const auto seven = EngineDecode(cursor, 7);
    ASSERT_EQ(seven.size(), 2u);
    EXPECT_EQ(seven[0].key, (std::vector<uint8_t>{18, 19, 17, 0, 18, 18, 4}));
    EXPECT_EQ(seven[0].text, "Stra\337e");
    EXPECT_EQ(seven[1].key, (std::vector<uint8_t>{1, 11, 0, 1, 0, 4, 17}));
}

// A file cut anywhere inside a section, in its first block or in a later, short one whose size
// is not a multiple of 4, ends the section with the end key, and every entry up to the cut comes
// out as bit-by-bit decoding of the bytes padded with zeros gives it. Short codes and two-letter
// words let the last few bytes complete entries, so stale bytes from an earlier block would show.
TEST(WordReader, SectionCutShortEndsCleanly) {
    TempFolder folder;
    std::vector<std::string> entries;
    for (int i = 0; i < 16000; ++i) {
        entries.push_back(std::string{static_cast<char>('a' + i % 26),
                                      static_cast<char>('a' + (i / 26 + i % 7) % 26)});
    }
    for (int version : {0, 1}) {
        const Bytes full = MakeDictionary(entries, version);
        const std::string path = folder.File("pairs.tsd");
        WriteBytes(path, full);
        const std::size_t start = TSDictionaryList(path, false).SectionOffset(0, 2);
        ASSERT_GT(full.size() - start, InputEngine::kBlockSize + 64);
        for (std::size_t k = 1; k < 64; ++k) {
            for (std::size_t cut : {start + k, start + InputEngine::kBlockSize + k}) {
                const Bytes bytes(full.begin(), full.begin() + static_cast<long>(cut));
                WriteBytes(path, bytes);
                TSDictionaryList list(path, false);
                InputEngine cursor(list, 0);
                EXPECT_EQ(EngineDecode(cursor, 2), ReferenceDecode(bytes, 2)) << cut - start;
                EXPECT_EQ(cursor.Next()[0], InputEngine::kEndKey);
            }
        }
    }
}

// Entries the format does not allow end their section at once, after the good entries before
// them: a key with more or fewer letters than its class, letters only after the line feed, and
// an entry longer than the text buffer (898 symbols still fit).
TEST(WordReader, MalformedEntriesEndTheSection) {
    TempFolder folder;
    const std::string longest = "abc" + std::string(895, '-');
    const std::vector<std::string> bad = {"abcd", "ab", "\nabc", longest + "-",
                                          "abc\n" + std::string(900, 'x')};
    for (const std::string& entry : bad) {
        SCOPED_TRACE(entry.substr(0, 8));
        TsdWriter writer(1);
        writer.AddRaw(3, "cat");
        writer.AddRaw(3, entry);
        writer.AddRaw(3, "dog");
        const std::string path = folder.File("bad.tsd");
        WriteBytes(path, tsdtest::BuildOrFail(writer));
        TSDictionaryList list(path, false);
        InputEngine cursor(list, 0);
        const auto decoded = EngineDecode(cursor, 3);
        ASSERT_EQ(decoded.size(), 1u);
        EXPECT_EQ(decoded[0].text, "cat");
    }

    TsdWriter writer(0);
    writer.AddRaw(3, longest);
    const std::string path = folder.File("longest.tsd");
    WriteBytes(path, tsdtest::BuildOrFail(writer));
    TSDictionaryList list(path, false);
    InputEngine cursor(list, 0);
    const auto decoded = EngineDecode(cursor, 3);
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(decoded[0].text, longest);
}

// A code table that leaves branches unassigned is loaded, but a stream that walks into such a
// branch ends the section instead of following a missing child.
TEST(WordReader, IncompleteCodeEndsTheSection) {
    TempFolder folder;
    CodeLengths lengths{};
    lengths[0] = 2;
    lengths['a'] = 3;
    lengths['b'] = 3;
    lengths['c'] = 3; // "101" and "11" lead nowhere
    TsdWriter writer(0);
    writer.SetCodeLengths(lengths);
    for (int i = 0; i < 40; ++i) {
        writer.Add("cab");
    }
    Bytes bytes = tsdtest::BuildOrFail(writer);
    const std::string path = folder.File("holes.tsd");
    WriteBytes(path, bytes);
    const std::size_t start = TSDictionaryList(path, false).SectionOffset(0, 3);

    // Every bit set from the fourth 32-bit word on: the first entries survive, then a hole.
    for (std::size_t i = start + 12; i < bytes.size(); ++i) {
        bytes[i] = 0xFF;
    }
    WriteBytes(path, bytes);
    TSDictionaryList list(path, false);
    InputEngine cursor(list, 0);
    const auto decoded = EngineDecode(cursor, 3);
    EXPECT_EQ(decoded, ReferenceDecode(bytes, 3));
    EXPECT_GE(decoded.size(), 5u);
    EXPECT_LT(decoded.size(), 40u);

    // All ones from the start: not a single entry.
    for (std::size_t i = start; i < bytes.size(); ++i) {
        bytes[i] = 0xFF;
    }
    WriteBytes(path, bytes);
    TSDictionaryList again(path, false);
    InputEngine second(again, 0);
    EXPECT_TRUE(EngineDecode(second, 3).empty());
}
