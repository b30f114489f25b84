// The dictionary writer and the word list lines it is fed: what is stored, what is refused, and
// files the reader accepts whatever symbols they use.
#include <gtest/gtest.h>

#include <string>

#include "dictionary/inputengine.h"
#include "dictionary/tsdictionary.h"
#include "tests/dictionary/tsdfixture.h"
#include "tools/tsdwriter.h"
#include "tools/wordlist.h"

using tsdtest::TempFolder;
using tsdtest::WriteBytes;

// A line is the display text, optionally a TAB and extra text (stored after a line feed); a
// carriage return before the line end is dropped; blank lines are no entries; UTF-8 becomes
// Windows-1252, and text that cannot be stored is refused.
TEST(WordListLine, ParsesEntries) {
    EXPECT_EQ(ParseWordListLine("cat", false).entry, "cat");
    EXPECT_EQ(ParseWordListLine("cat\r", false).entry, "cat");
    EXPECT_EQ(ParseWordListLine("cat\ta small animal\tpet", false).entry,
              "cat\na small animal\tpet");
    EXPECT_EQ(ParseWordListLine("\xC3\xA9t\xC3\xA9", false).entry, "\xE9t\xE9");
    EXPECT_EQ(ParseWordListLine("\xE9t\xE9", true).entry, "\xE9t\xE9");
    EXPECT_EQ(ParseWordListLine("", false).status, LineStatus::Blank);
    EXPECT_EQ(ParseWordListLine("\r", false).status, LineStatus::Blank);
    EXPECT_EQ(ParseWordListLine("\xE9t\xE9", false).status, LineStatus::BadText);
    EXPECT_EQ(ParseWordListLine("\xE4\xB8\xAD", false).status, LineStatus::BadText);
    EXPECT_EQ(ParseWordListLine(std::string("a\0b", 3), true).status, LineStatus::BadText);
}

// Entries are sorted by their number of letters; one with no letter (it would read as an end
// marker), more than 31 letters, more symbols than the reader holds, or a zero byte is refused.
TEST(TsdWriterEntries, RefusesWhatTheReaderCannotTakeBack) {
    TsdWriter writer;
    EXPECT_EQ(writer.Add("co-op"), TsdWriter::AddResult::Added);
    EXPECT_EQ(writer.LetterCount("co-op\nmore letters"), 4);
    EXPECT_EQ(writer.Add("--"), TsdWriter::AddResult::NoLetters);
    EXPECT_EQ(writer.Add("\nabc"), TsdWriter::AddResult::NoLetters);
    EXPECT_EQ(writer.Add(std::string(31, 'a')), TsdWriter::AddResult::Added);
    EXPECT_EQ(writer.Add(std::string(32, 'a')), TsdWriter::AddResult::TooManyLetters);
    EXPECT_EQ(writer.Add("ab" + std::string(897, '-')), TsdWriter::AddResult::TooLong);
    EXPECT_EQ(writer.Add(std::string("a\0b", 3)), TsdWriter::AddResult::HasNul);

    TempFolder folder;
    const std::string path = folder.File("limits.tsd");
    WriteBytes(path, tsdtest::BuildOrFail(writer));
    TSDictionaryList list(path, false);
    ASSERT_EQ(list.FirstInvalid(), nullptr);
    EXPECT_EQ(list.LengthClasses(0), 32);
    EXPECT_EQ(list.WordCount(0, 4), 1u);
    EXPECT_EQ(list.WordCount(0, 31), 1u);
    EXPECT_EQ(list.WordCount(0, 2), 0u);
}

// The description is stored whole up to one byte short of its block (so it stays terminated)
// in both layouts.
TEST(TsdWriterEntries, DescriptionFitsItsBlock) {
    TempFolder folder;
    for (int version : {0, 1}) {
        const std::size_t block = version > 0 ? 1000 : 80;
        TsdWriter writer(version);
        writer.SetDescription(std::string(block + 50, 'd'));
        writer.Add("cat");
        const std::string path = folder.File("description.tsd");
        WriteBytes(path, tsdtest::BuildOrFail(writer));
        TSDictionaryList list(path, false);
        ASSERT_EQ(list.FirstInvalid(), nullptr);
        EXPECT_EQ(std::string(list.Entry(0)->StatusText()), std::string(block - 1, 'd'));
        EXPECT_EQ(list.Entry(0)->Version(), version);
    }
}

// Whatever symbols and frequencies a word list brings, the writer either refuses it with a
// reason or writes a file that loads and reads back every entry: its code table never needs
// more tree nodes than the loader has.
TEST(TsdWriterEntries, EveryBuiltFileLoads) {
    TempFolder folder;
    uint32_t state = 11;
    for (int round = 0; round < 12; ++round) {
        TsdWriter writer(round % 2);
        std::vector<std::string> entries;
        const int alphabet = 20 + round * 20; // up to 240 distinct symbols
        for (int i = 0; i < 400; ++i) {
            std::string entry = "ab";
            for (int k = 0; k < 6; ++k) {
                state = state * 1103515245u + 12345u;
                // Skewed: low symbols far more often than high ones.
                const uint32_t r = (state >> 8) % static_cast<uint32_t>(alphabet);
                const uint32_t pick = (r * r) / static_cast<uint32_t>(alphabet);
                uint32_t symbol = 1 + (pick * 7 + 3) % 255;
                if (symbol == '\n') {
                    symbol = 11;
                }
                entry += static_cast<char>(symbol);
            }
            if (writer.Add(entry) == TsdWriter::AddResult::Added) {
                entries.push_back(entry);
            }
        }
        std::string error;
        const auto bytes = writer.Build(&error);
        if (!bytes) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        const std::string path = folder.File("symbols.tsd");
        WriteBytes(path, *bytes);
        TSDictionaryList list(path, false);
        ASSERT_EQ(list.FirstInvalid(), nullptr) << "round " << round;
        InputEngine cursor(list, 0);
        std::size_t decoded = 0;
        for (int L = 1; L < list.LengthClasses(0); ++L) {
            decoded += tsdtest::EngineDecode(cursor, L).size();
        }
        EXPECT_EQ(decoded, entries.size()) << "round " << round;
    }
}
