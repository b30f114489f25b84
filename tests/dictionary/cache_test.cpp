// Dictionary lists and the process-wide cache: sharing by path, share counts, release, and
// reloading a file that changed on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "dictionary/tsdictionary.h"
#include "tests/dictionary/tsdfixture.h"

using tsdtest::MakeDictionary;
using tsdtest::TempFolder;
using tsdtest::WriteBytes;

namespace {

// Moves the file's last-write time by `seconds`, the way an editor saving it would.
void Touch(const std::string& path, int seconds) {
    const auto now = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, now + std::chrono::seconds(seconds));
}

} // namespace

// An empty name list has no entries and nothing invalid; out-of-range questions answer safely.
TEST(DictionaryList, EmptyListAndOutOfRangeQuestions) {
    TSDictionaryList list("", false);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.FirstInvalid(), nullptr);
    EXPECT_FALSE(list.IsValid(0));
    EXPECT_FALSE(list.IsValid(-1));
    EXPECT_EQ(list.WordCount(0, 3), 0u);
    EXPECT_EQ(TSDictionaryList::CachedCount(), 0u);
}

// The same path twice in two letter cases gives one shared Dictionary with share count 2; a
// second list adds to the count; the last release destroys it, once.
TEST(DictionaryList, SamePathIsSharedAndCounted) {
    TempFolder folder;
    const std::string path = folder.File("shared.tsd");
    WriteBytes(path, MakeDictionary({"cat", "dog"}));
    std::string upper = path;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::size_t before = TSDictionaryList::CachedCount();
    {
        TSDictionaryList list(path + ";" + upper, false);
        ASSERT_EQ(list.Count(), 2);
        EXPECT_EQ(list.Entry(0), list.Entry(1));
        EXPECT_EQ(list.Entry(0)->ShareCount(), 2);
        EXPECT_EQ(TSDictionaryList::CachedCount(), before + 1);
        EXPECT_EQ(list.FirstInvalid(), nullptr);

        TSDictionaryList second(upper, false);
        EXPECT_EQ(second.Entry(0), list.Entry(0));
        EXPECT_EQ(list.Entry(0)->ShareCount(), 3);
        second.Release();
        EXPECT_EQ(second.Count(), 0);
        EXPECT_EQ(list.Entry(0)->ShareCount(), 2);
        second.Release(); // releasing twice gives nothing up twice
        EXPECT_EQ(list.Entry(0)->ShareCount(), 2);

        list.Release();
        EXPECT_EQ(TSDictionaryList::CachedCount(), before);
    } // the destructors find nothing left to release
    EXPECT_EQ(TSDictionaryList::CachedCount(), before);
}

// Each ';'-separated name becomes an entry, an empty piece one whose file is not found, and
// FirstInvalid names the first entry that did not load.
TEST(DictionaryList, EveryNameBecomesAnEntry) {
    TempFolder folder;
    const std::string good = folder.File("good.tsd");
    WriteBytes(good, MakeDictionary({"cat"}));
    const std::string missing = folder.File("missing.tsd");

    TSDictionaryList list(good + ";" + missing + ";;", false);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_TRUE(list.IsValid(0));
    EXPECT_FALSE(list.IsValid(1));
    EXPECT_STREQ(list.Entry(1)->StatusText(), kDictionaryNotFoundText);
    EXPECT_FALSE(list.IsValid(2));
    EXPECT_EQ(list.Entry(2), list.Entry(3)); // two empty names are the same name
    ASSERT_NE(list.FirstInvalid(), nullptr);
    EXPECT_EQ(std::string(list.FirstInvalid()), missing);
    EXPECT_EQ(list.NameList(), good + ";" + missing + ";;");
}

// A file whose last-write time changed is reloaded by the next FirstInvalid or IsValid, in place
// for every list sharing it; an unchanged time means no reload; a missing file loads once it
// appears.
TEST(DictionaryList, ChangedFileIsReloadedInPlace) {
    TempFolder folder;
    const std::string path = folder.File("changing.tsd");
    TSDictionaryList list(path, false);
    ASSERT_NE(list.FirstInvalid(), nullptr);
    WriteBytes(path, MakeDictionary({"cat", "dog"}));
    TSDictionaryList other(path, false); // a cache hit: neither loaded nor revalidated here
    EXPECT_EQ(other.WordCount(0, 3), 0u);
    EXPECT_EQ(list.FirstInvalid(), nullptr);
    ASSERT_EQ(list.WordCount(0, 3), 2u);
    const auto* shared = list.Entry(0);
    const uint64_t loadedAt = shared->LastWriteTime();

    WriteBytes(path, MakeDictionary({"cat", "dog", "eel"}));
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type(
                  std::filesystem::file_time_type::duration(static_cast<int64_t>(loadedAt))));
    EXPECT_TRUE(list.IsValid(0));
    EXPECT_EQ(list.WordCount(0, 3), 2u) << "same time: the header must not be read again";

    Touch(path, 5);
    EXPECT_EQ(list.FirstInvalid(), nullptr);
    EXPECT_EQ(list.WordCount(0, 3), 3u);
    EXPECT_EQ(other.Entry(0), shared);
    EXPECT_EQ(other.WordCount(0, 3), 3u);

    WriteBytes(path, tsdtest::Bytes{'T', 'S', 'D'});
    Touch(path, 10);
    EXPECT_FALSE(other.IsValid(0));
    EXPECT_STREQ(other.Entry(0)->StatusText(), kInvalidDictionaryText);
    EXPECT_EQ(other.WordCount(0, 3), 0u);
}
