// The word index: its hash, building it from a dictionary file, looking words up exactly, and
// the progress a load reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dictionary/loadprogress.h"
#include "tests/dictionary/tsdfixture.h"
#include "words.h"

using tsdtest::MakeDictionary;
using tsdtest::TempFolder;
using tsdtest::WriteBytes;

namespace {

class RecordingProgress : public LoadProgress {
public:
    void Begin(int32_t total) override { calls.push_back(-1 - total); }
    void Advance(int32_t count) override { calls.push_back(count); }
    std::vector<int32_t> calls; // Begin(t) is stored as -1-t
};

std::string Upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// A random capital word of `length` letters for which `wanted` holds, found by brute force.
std::string Find(int length, const std::function<bool(const std::string&)>& wanted) {
    static uint32_t state = 1;
    for (int tries = 0; tries < 10000000; ++tries) {
        std::string w;
        for (int k = 0; k < length; ++k) {
            state = state * 1664525u + 1013904223u;
            w += static_cast<char>('A' + (state >> 24) % 26);
        }
        if (wanted(w)) {
            return w;
        }
    }
    return {};
}

} // namespace

// The hash of a word text is fixed: it decides which bucket holds the word.
TEST(WordHash, KnownValues) {
    EXPECT_EQ(WordHash("AB"), 326u);
    EXPECT_EQ(WordHash("CAT"), 1376u);
    EXPECT_EQ(WordHash("EEL"), 1288u);
    EXPECT_EQ(WordHash("QUIZ"), 4206u);
    EXPECT_EQ(WordHash("JAZZ"), 6050u);
    EXPECT_EQ(WordHash(""), 0u);
    // Characters above 127 count as negative bytes: all high bits flip.
    EXPECT_EQ(WordHash("\xE9"), 0xFFFFFFE9u % Words::kBucketCount);
}

// After a load, a word is found with its display text; the wrong letter case, a one-letter word,
// an absent word, an entry whose display text holds a space, a prefix and an extension of a word
// are all rejected; of two equal word texts the first record wins.
TEST(WordsIndex, FindsExactlyTheDictionaryWords) {
    TempFolder folder;
    const std::string path = folder.File("small.tsd");
    WriteBytes(path, MakeDictionary({"a", "cat", "cats", "eel", "quiz\nsome notes", "ice cream",
                                     "co-op", "\xE9t\xE9", "jazz", "colour", "c-o-l-o-u-r"}));
    Words words;
    words.Load(path);
    EXPECT_EQ(words.Lookup("CAT"), "cat");
    EXPECT_EQ(words.Lookup("CATS"), "cats");
    EXPECT_EQ(words.Lookup("QUIZ"), "quiz");
    EXPECT_EQ(words.Lookup("COOP"), "co-op");
    EXPECT_EQ(words.Lookup("ETE"), "\xE9t\xE9");
    EXPECT_EQ(words.Lookup("JAZZ"), "jazz");
    EXPECT_EQ(words.Lookup("cat"), "");
    EXPECT_EQ(words.Lookup("Cat"), "");
    EXPECT_EQ(words.Lookup("A"), "");
    EXPECT_EQ(words.Lookup("DOG"), "");
    EXPECT_EQ(words.Lookup("ICECREAM"), "");
    EXPECT_EQ(words.Lookup("CA"), "");
    EXPECT_EQ(words.Lookup("CATSS"), "");
    EXPECT_EQ(words.Lookup(""), "");
    EXPECT_EQ(words.Lookup("CAT\ncat"), "");
    EXPECT_EQ(words.Lookup("COLOUR"), "colour"); // of two equal words, the first wins
    EXPECT_EQ(words.WordCount(), 9);
    EXPECT_EQ(words.DictionaryPath(), path);
    // The prefix index holds the same words and every start of them, nothing else.
    for (const char* prefix : {"C", "CA", "CAT", "CATS", "QU", "QUIZ", "COO", "ET", "JAZZ"}) {
        EXPECT_TRUE(words.IsPrefix(prefix)) << prefix;
    }
    for (const char* other : {"A", "CATSS", "ca", "I", "ICE", "QI", "QUIZZ", "D"}) {
        EXPECT_FALSE(words.IsPrefix(other)) << other;
    }
    EXPECT_GT(words.PrefixMemoryBytes(), 0u);
}

// Words that share a bucket are all found, a word that is a prefix of another in its bucket is
// found exactly, and a lower-case lookup whose hash lands in the bucket of its capitals does not
// match the display text stored there.
TEST(WordsIndex, SharedBucketsStillMatchExactly) {
    const std::string a = "CAT";
    const std::string b = Find(5, [&](const std::string& w) { return WordHash(w) == WordHash(a); });
    auto extension = [](const std::string& w) {
        for (char c = 'A'; c <= 'Z'; ++c) {
            if (WordHash(w) == WordHash(w + c)) {
                return w + c;
            }
        }
        return std::string();
    };
    const std::string stem = Find(6, [&](const std::string& w) { return !extension(w).empty(); });
    const std::string longer = extension(stem);
    // Only long words wrap their 32-bit hash often enough for the case bits to cancel out.
    const std::string caseTwin =
        Find(13, [](const std::string& w) { return WordHash(w) == WordHash(Lower(w)); });
    const std::string follower = Find(13, [&](const std::string& w) {
        return w != caseTwin && WordHash(w) == WordHash(caseTwin);
    });
    ASSERT_FALSE(b.empty() || stem.empty() || caseTwin.empty() || follower.empty());

    TempFolder folder;
    const std::string path = folder.File("collide.tsd");
    // The longer word first, so the stem's record comes after a record that starts with it;
    // the case twin before another word of its bucket (same length, later in the list).
    WriteBytes(path, MakeDictionary({Lower(longer), Lower(a), Lower(b), Lower(stem),
                                     Lower(caseTwin), Lower(follower), "zz"}));
    Words words;
    words.Load(path);
    EXPECT_EQ(words.Lookup(a), Lower(a));
    EXPECT_EQ(words.Lookup(b), Lower(b));
    EXPECT_EQ(words.Lookup(stem), Lower(stem));
    EXPECT_EQ(words.Lookup(longer), Lower(longer));
    EXPECT_EQ(words.Lookup(caseTwin), Lower(caseTwin));
    EXPECT_EQ(words.Lookup(follower), Lower(follower));
    EXPECT_EQ(words.Lookup(Lower(caseTwin)), "") << caseTwin;
}

// A missing or invalid file leaves every lookup empty and keeps the path; a later load replaces
// the whole index, so words of the previous dictionary are gone.
TEST(WordsIndex, FailedLoadLeavesAnEmptyIndex) {
    TempFolder folder;
    const std::string good = folder.File("good.tsd");
    WriteBytes(good, MakeDictionary({"cat"}));
    Words words;
    EXPECT_EQ(words.DictionaryPath(), "");
    EXPECT_EQ(words.Lookup("CAT"), "");
    words.Load(good);
    ASSERT_EQ(words.Lookup("CAT"), "cat");

    const std::string missing = folder.File("missing.tsd");
    RecordingProgress progress;
    words.Load(missing, &progress);
    EXPECT_EQ(words.Lookup("CAT"), "");
    EXPECT_FALSE(words.IsPrefix("C"));
    EXPECT_FALSE(words.IsPrefix(""));
    EXPECT_EQ(words.WordCount(), 0);
    EXPECT_EQ(words.DictionaryPath(), missing);
    EXPECT_TRUE(progress.calls.empty());

    const std::string broken = folder.File("broken.tsd");
    WriteBytes(broken, {'T', 'S', 'D', '0', 3});
    words.Load(broken);
    EXPECT_EQ(words.Lookup("CAT"), "");
    EXPECT_EQ(words.DictionaryPath(), broken);

    words.Load("");
    EXPECT_EQ(words.DictionaryPath(), "");
    EXPECT_EQ(words.WordCount(), 0);
}

// Progress starts with the number of words of 2 to 31 letters the header promises, then reports
// the count every 256 words added, and not after the last word.
TEST(WordsIndex, ProgressEvery256Words) {
    TempFolder folder;
    std::vector<std::string> entries = {"a", "b", "two words"};
    for (int i = 0; i < 700; ++i) {
        entries.push_back(std::string(1, static_cast<char>('a' + i % 26)) +
                          std::string(1, static_cast<char>('a' + i / 26 % 26)) + "x");
    }
    const std::string path = folder.File("progress.tsd");
    WriteBytes(path, MakeDictionary(entries));
    Words words;
    RecordingProgress progress;
    words.Load(path, &progress);
    EXPECT_EQ(progress.calls, (std::vector<int32_t>{-1 - 701, 256, 512}));
    EXPECT_EQ(words.WordCount(), 700);
    words.Load(path, nullptr); // no progress at all is fine
    EXPECT_EQ(words.WordCount(), 700);
}

// The writer's output read back by the index: every word of a generated list is found with its
// display text, and near misses (one letter changed, added or dropped) are found only when they
// are themselves in the list.
TEST(WordsIndex, RoundTripThroughTheWriter) {
    std::set<std::string> list;
    uint32_t state = 42;
    while (list.size() < 5000) {
        std::string w;
        state = state * 1664525u + 1013904223u;
        const int length = 2 + static_cast<int>((state >> 24) % 12);
        for (int k = 0; k < length; ++k) {
            state = state * 1664525u + 1013904223u;
            w += static_cast<char>('a' + (state >> 20) % 26);
        }
        list.insert(w);
    }
    TempFolder folder;
    for (int version : {0, 1}) {
        const std::string path = folder.File("round" + std::to_string(version) + ".tsd");
        WriteBytes(path,
                   MakeDictionary(std::vector<std::string>(list.begin(), list.end()), version));
        Words words;
        words.Load(path);
        ASSERT_EQ(words.WordCount(), static_cast<int32_t>(list.size()));
        for (const std::string& w : list) {
            ASSERT_EQ(words.Lookup(Upper(w)), w);
            std::string changed = w;
            changed[0] = changed[0] == 'z' ? 'a' : static_cast<char>(changed[0] + 1);
            for (const std::string& miss : {changed, w + "q", w.substr(1)}) {
                EXPECT_EQ(words.Lookup(Upper(miss)), list.count(miss) ? miss : "") << miss;
            }
        }
    }
}

// The prefix index against the plain set of every prefix, for words given sorted, sorted within
// each length as dictionaries give them, reversed and shuffled, with repeats, with words that
// start others given before and after them, and with words tiles cannot spell.
TEST(PrefixIndex, HoldsEveryPrefixOfEveryWordWhateverTheOrder) {
    std::mt19937 random(7);
    std::vector<std::string> list;
    for (int i = 0; i < 3000; ++i) {
        std::string w;
        const int length = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) {
            w += static_cast<char>('A' + random() % 6); // few letters: many shared starts
        }
        list.push_back(w);
        if (i % 7 == 0 && w.size() > 1) {
            list.push_back(w.substr(0, w.size() / 2)); // a start that is itself a word
        }
    }
    list.push_back(std::string(40, 'Z'));
    const std::vector<std::string> unspellable = {"ABc", "A-B", "\xC9T\xC9", "AB CD", ""};
    std::set<std::string> prefixes;
    std::set<std::string> words;
    for (const std::string& w : list) {
        words.insert(w);
        for (std::size_t n = 0; n <= w.size(); ++n) {
            prefixes.insert(w.substr(0, n));
        }
    }

    std::vector<std::vector<std::string>> orders(4, list);
    std::sort(orders[0].begin(), orders[0].end());
    std::stable_sort(orders[1].begin(), orders[1].end(), [](const auto& a, const auto& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    std::sort(orders[2].rbegin(), orders[2].rend());
    std::shuffle(orders[3].begin(), orders[3].end(), random);
    PrefixIndex index;
    for (const std::vector<std::string>& order : orders) {
        for (std::size_t i = 0; i < order.size(); ++i) {
            index.Add(order[i]);
            if (i % 100 == 0) {
                index.Add(unspellable[i / 100 % unspellable.size()]);
            }
        }
        index.Build();
        ASSERT_EQ(index.NodeCount(), prefixes.size());
        for (const std::string& p : prefixes) {
            const PrefixIndex::Node node = index.Walk(p);
            ASSERT_NE(node, PrefixIndex::kNoNode) << p;
            ASSERT_TRUE(index.IsPrefix(p)) << p;
            ASSERT_EQ(index.IsWord(node), words.count(p) == 1) << p;
            for (char c = 'A'; c <= 'Z'; ++c) {
                ASSERT_EQ(index.Child(node, c) != PrefixIndex::kNoNode, prefixes.count(p + c) == 1)
                    << p << c;
            }
        }
        for (const char* outside : {"AB-", "ab", "G", "\xC9"}) {
            EXPECT_FALSE(index.IsPrefix(outside)) << outside;
        }
    }
    index.Clear();
    EXPECT_FALSE(index.IsPrefix(""));
    EXPECT_FALSE(index.IsPrefix("A"));
    EXPECT_EQ(index.NodeCount(), 1u);
}

// The shipped default dictionary loads and holds ordinary words under their capitals.
TEST(WordsIndex, ShippedDictionaryLoads) {
    Words words;
    words.Load(std::string(PELLIN_SOURCE_DIR) + "/data/Evaluation.tsd");
    EXPECT_GT(words.WordCount(), 50000);
    EXPECT_EQ(words.Lookup("CAT"), "cat");
    EXPECT_EQ(words.Lookup("QUIZ"), "quiz");
    EXPECT_EQ(words.Lookup("XQZJ"), "");
}
