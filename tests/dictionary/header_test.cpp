// Loading a dictionary's header and code table: the two layouts, the status texts, and the
// files the format does not promise.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dictionary/tsdictionary.h"
#include "tests/dictionary/tsdfixture.h"

using tsdtest::Bytes;
using tsdtest::Header;
using tsdtest::TempFolder;
using tsdtest::WriteBytes;
using Dictionary = TSDictionaryList::Dictionary;

namespace {

Header SampleHeader(int version) {
    Header h;
    h.version = version;
    h.n = 5;
    h.values = {7, 8, 9};
    h.a = {100, 200, 300, 400, 500};
    h.b = {1, 2, 3, 4, 5};
    h.c = {11, 12, 13, 14, 15};
    h.d = {21, 22, 23, 24, 25};
    h.e = {31, 32, 33, 34, 35};
    h.description = std::string(version > 0 ? 1000 : 80, 'x'); // no terminating zero
    h.recordSize = 12;
    h.secondWord = -3;
    h.records['q'] = {'Q', 3, 16, 0b101};
    h.records['x'] = {'X', 0, 23, 0};
    h.records['r'] = {'R', 3, 17, 0b100};
    return h;
}

bool Loads(const TempFolder& folder, const Bytes& bytes, bool extras = false) {
    const std::string path = folder.File("probe.tsd");
    WriteBytes(path, bytes);
    Dictionary dictionary;
    const bool loaded = dictionary.Load(path, extras);
    EXPECT_EQ(loaded, dictionary.Loaded());
    EXPECT_LT(std::strlen(dictionary.StatusText()), Dictionary::kStatusSize);
    return loaded;
}

} // namespace

// Every header field sits at its documented offset in both layouts, the header occupies exactly
// 2138+8N (version 0) or 3070+20N (version 1) bytes, version 0 fills the tables it lacks, and a
// description filling its whole block still gives a terminated status text.
TEST(DictionaryHeader, BothLayoutsReadAtTheirOffsets) {
    TempFolder folder;
    for (int version : {0, 1}) {
        SCOPED_TRACE(version);
        const Bytes bytes = SampleHeader(version).Encode();
        EXPECT_EQ(bytes.size(), version > 0 ? 3070u + 20 * 5 : 2138u + 8 * 5);
        const std::string path = folder.File("layout.tsd");
        WriteBytes(path, bytes);

        Dictionary d;
        ASSERT_TRUE(d.Load(path, false));
        EXPECT_EQ(d.Version(), version);
        EXPECT_EQ(d.LengthClasses(), 5);
        for (int L = 0; L < 5; ++L) {
            EXPECT_EQ(d.SectionOffset(L), 100u * (L + 1));
            EXPECT_EQ(d.WordCount(L), static_cast<uint32_t>(L + 1));
            EXPECT_EQ(d.TableC(L), version > 0 ? 11u + L : 0xFFFFFFFFu);
            EXPECT_EQ(d.TableD(L), version > 0 ? 21u + L : 0xFFFFFFFFu);
            EXPECT_EQ(d.TableE(L), version > 0 ? 31u + L : 0u);
        }
        EXPECT_EQ(d.WordCount(5), 0u);
        EXPECT_EQ(d.WordCount(40), 0u);
        EXPECT_EQ(d.HeaderValues()[0], version > 0 ? 7u : 0u);
        EXPECT_EQ(d.HeaderValues()[2], version > 0 ? 9u : 0u);
        EXPECT_EQ(std::string(d.StatusText()), std::string(version > 0 ? 1000 : 80, 'x'));
        EXPECT_EQ(d.RecordSize(), 12);
        EXPECT_EQ(d.SecondHeaderWord(), -3);
        EXPECT_EQ(d.IndexLetter(16), 'Q');
        EXPECT_EQ(d.IndexLetter(23), 'X');
        EXPECT_EQ(d.IndexLetter(0), '!');
        EXPECT_EQ(d.CodeTree()['q'][0], 3);
        EXPECT_EQ(d.CodeTree()['q'][1], 16);
        EXPECT_EQ(d.CodeTree()['x'][0], 0);
        EXPECT_EQ(d.CodeTree()['a'][1], Dictionary::kNoLetter);

        // One byte short of the code table: invalid, but the description was read whole.
        WriteBytes(path, Bytes(bytes.begin(), bytes.end() - 1));
        Dictionary cut;
        EXPECT_FALSE(cut.Load(path, false));
        EXPECT_FALSE(cut.Loaded());
        EXPECT_STREQ(cut.StatusText(), d.StatusText());
    }
}

// A missing file, a folder and an unreadable name report "not found"; a wrong magic, a third
// version digit and a file cut anywhere inside its header report an invalid file, and the status
// text is always terminated.
TEST(DictionaryHeader, MissingAndInvalidFilesAreToldApart) {
    TempFolder folder;
    Dictionary d;
    EXPECT_FALSE(d.Load(folder.File("absent.tsd"), false));
    EXPECT_STREQ(d.StatusText(), kDictionaryNotFoundText);
    EXPECT_FALSE(d.Load(folder.Path().string(), false));
    EXPECT_STREQ(d.StatusText(), kDictionaryNotFoundText);
    EXPECT_FALSE(d.Load(std::string_view("a\0b", 3), false));
    EXPECT_STREQ(d.StatusText(), kDictionaryNotFoundText);
    EXPECT_FALSE(d.Load("", false));
    EXPECT_STREQ(d.StatusText(), kDictionaryNotFoundText);

    const std::string path = folder.File("bad.tsd");
    Bytes good = SampleHeader(1).Encode();
    for (const char* magic : {"TSD2", "tsd0", "XSD0", "TSD "}) {
        Bytes bad = good;
        std::memcpy(bad.data(), magic, 4);
        WriteBytes(path, bad);
        EXPECT_FALSE(d.Load(path, false)) << magic;
        EXPECT_STREQ(d.StatusText(), kInvalidDictionaryText) << magic;
    }

    // Never an empty text: a cut where the description begins has read none of it.
    const std::string description(1000, 'x');
    for (std::size_t size = 0; size < good.size(); ++size) {
        WriteBytes(path, Bytes(good.begin(), good.begin() + static_cast<long>(size)));
        ASSERT_FALSE(d.Load(path, false)) << size;
        const std::string status = d.StatusText();
        EXPECT_LT(status.size(), Dictionary::kStatusSize);
        EXPECT_TRUE(status == kInvalidDictionaryText ||
                    (!status.empty() && description.rfind(status, 0) == 0))
            << size << ": " << status;
    }
}

// A copy cut short keeps a whole header whose later sections start past its end. The list
// calls it invalid, which keeps it out of the game and the dictionary choice, and the status
// says so rather than giving the description. A cut inside the last section leaves every
// section starting in the file; absent classes, whose offsets are those of the next class, do
// not count.
TEST(DictionaryHeader, SectionsPastTheEndMakeTheFileInvalid) {
    TempFolder folder;
    const std::string path = folder.File("cut.tsd");
    for (int version : {0, 1}) {
        SCOPED_TRACE(version);
        const Bytes full = tsdtest::MakeDictionary({"an", "sea", "sky", "waves"}, version);
        const std::size_t sections = tsdtest::CodeTableOffset(version, 6) + 2048 + 2;
        WriteBytes(path, full);
        uint32_t last = 0;
        {
            TSDictionaryList list(path, false);
            ASSERT_EQ(list.LengthClasses(0), 6);
            ASSERT_EQ(list.FirstInvalid(), nullptr);
            last = list.SectionOffset(0, 5);
            ASSERT_EQ(list.SectionOffset(0, 4), last); // no word of four letters
        }
        for (std::size_t cut :
             {sections, std::size_t{last} - 1, std::size_t{last}, std::size_t{last} + 1}) {
            WriteBytes(path, Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
            TSDictionaryList list(path, false);
            const bool whole = cut > last;
            EXPECT_EQ(list.FirstInvalid() == nullptr, whole) << cut;
            EXPECT_EQ(list.IsValid(0), whole) << cut;
            if (!whole) {
                EXPECT_STREQ(list.Entry(0)->StatusText(), kInvalidDictionaryText) << cut;
            }
        }
    }
}

// A file the loader can open also has its last-write time found, so a name outside ASCII loads
// and stays loaded. Windows reads narrow names in the ANSI code page, where byte 0x80 is "€",
// not the U+0080 a byte-for-character reading of the name makes of it.
TEST(DictionaryHeader, NamesOutsideAsciiLoadAndRevalidate) {
    TempFolder folder;
    const Bytes bytes = SampleHeader(0).Encode();
    for (const char* name : {"caf\xE9.tsd", "\x80uro.tsd"}) {
        SCOPED_TRACE(name);
        // Made with the very call the loader opens files with, and named the same way.
        const std::string path = folder.Path().string() + "/" + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            continue; // a file system that refuses the name has nothing to load
        }
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        Dictionary d;
        EXPECT_TRUE(d.Load(path, false)) << d.StatusText();
        EXPECT_NE(d.LastWriteTime(), 0u);
        EXPECT_TRUE(d.Revalidate());
    }
}

// Files that would overrun the fixed tables are refused: more than 32 length classes, a letter
// index above 255 that is not a pair of letters, a code longer than 32 bits, codes that run
// through another symbol's leaf, and code tables needing more than the 255 internal nodes. The
// limits themselves still load.
TEST(DictionaryHeader, TablesThatWouldOverflowAreRejected) {
    TempFolder folder;
    Header h = SampleHeader(0);
    h.n = 32;
    EXPECT_TRUE(Loads(folder, h.Encode()));
    h.n = 33;
    EXPECT_FALSE(Loads(folder, h.Encode()));

    h = SampleHeader(0);
    h.records['k'] = {'K', 0, 255, 0};
    EXPECT_TRUE(Loads(folder, h.Encode()));
    h.records['k'] = {'K', 0, 256, 0}; // A then A
    EXPECT_TRUE(Loads(folder, h.Encode()));
    h.records['k'] = {'K', 0, 32766, 0};
    EXPECT_TRUE(Loads(folder, h.Encode()));
    h.records['k'] = {'K', 0, 32767, 0}; // "no letter" then a letter
    EXPECT_FALSE(Loads(folder, h.Encode()));
    h.records['k'] = {'K', 0, 511, 0};
    EXPECT_FALSE(Loads(folder, h.Encode()));

    h = SampleHeader(0);
    h.records['k'] = {'K', 32, 10, 0xFFFFFFFFu};
    EXPECT_TRUE(Loads(folder, h.Encode()));
    h.records['k'] = {'K', 33, 10, 0};
    EXPECT_FALSE(Loads(folder, h.Encode()));
    h.records['k'] = {'K', 255, 10, 0};
    EXPECT_FALSE(Loads(folder, h.Encode()));

    // "0" for one symbol, then "01" for a later one walks through the first one's leaf.
    h = SampleHeader(0);
    h.records = {};
    h.records['a'] = {'A', 1, 0, 0b0};
    h.records['b'] = {'B', 2, 1, 0b01};
    EXPECT_FALSE(Loads(folder, h.Encode()));
    // The same code twice: the later symbol takes the place, nothing overruns.
    h.records['b'] = {'B', 1, 1, 0b0};
    EXPECT_TRUE(Loads(folder, h.Encode()));

    // Long codes on diverging branches use up internal nodes two at a time: four fit, five
    // need more than the tree holds.
    h = SampleHeader(0);
    h.records = {};
    const uint32_t codes[] = {0x00000000u, 0xFFFFFFFFu, 0x55555555u, 0xAAAAAAAAu, 0x33333333u};
    for (int i = 0; i < 4; ++i) {
        h.records[static_cast<std::size_t>('a' + i)] = {static_cast<uint8_t>('A' + i), 32,
                                                        static_cast<int16_t>(i), codes[i]};
    }
    EXPECT_TRUE(Loads(folder, h.Encode()));
    h.records['e'] = {'E', 32, 4, codes[4]};
    EXPECT_FALSE(Loads(folder, h.Encode()));
}

// Extra records load only when asked for, all of them, and a count the file cannot back or a
// negative record size makes the file invalid instead of reading out of bounds.
TEST(DictionaryHeader, ExtraRecordsAreReadWhenAskedFor) {
    TempFolder folder;
    const std::string path = folder.File("extras.tsd");
    Header h = SampleHeader(1);
    h.recordSize = 3;
    Bytes bytes = h.Encode();
    tsdtest::PutU16(bytes, 2);
    bytes.insert(bytes.end(), {'a', 'b', 'c', 'd', 'e', 'f'});
    WriteBytes(path, bytes);
    Dictionary d;
    ASSERT_TRUE(d.Load(path, true));
    ASSERT_EQ(d.ExtraRecords().size(), 2u);
    EXPECT_EQ(std::string(d.ExtraRecords()[1].begin(), d.ExtraRecords()[1].end()), "def");

    WriteBytes(path, Bytes(bytes.begin(), bytes.end() - 1));
    Dictionary cut;
    EXPECT_FALSE(cut.Load(path, true));
    EXPECT_TRUE(cut.ExtraRecords().empty());
    EXPECT_TRUE(Loads(folder, Bytes(bytes.begin(), bytes.end() - 1), false));

    h.recordSize = -4;
    bytes = h.Encode();
    tsdtest::PutU16(bytes, 1);
    EXPECT_FALSE(Loads(folder, bytes, true));
    EXPECT_TRUE(Loads(folder, bytes, false));
}

// Loading the loaded path again changes nothing (the file is not even read), the same path in
// another letter case loads afresh, and no path unloads.
TEST(DictionaryHeader, ReloadOnlyForADifferentPath) {
    TempFolder folder;
    const std::string path = folder.File("Same.tsd");
    WriteBytes(path, SampleHeader(0).Encode());
    Dictionary d;
    ASSERT_TRUE(d.Load(path, false));
    std::filesystem::remove(path);
    EXPECT_TRUE(d.Load(path, false));
    EXPECT_TRUE(d.Loaded());

    std::string other = folder.File("SAME.tsd");
    EXPECT_FALSE(d.Load(other, false)); // a different name on this file system: not there
    EXPECT_STREQ(d.StatusText(), kDictionaryNotFoundText);
    EXPECT_EQ(d.Path(), other);

    EXPECT_FALSE(d.Load(std::nullopt, false));
    EXPECT_FALSE(d.HasPath());
    EXPECT_FALSE(d.Loaded());
}
