// Arbitrary bytes as a dictionary file: the header loader (with and without the extra records),
// the shared cache, the word reader over every length class and the word index load must neither
// crash nor read or write out of bounds. Beyond that the reader's keys must be terminated where
// their class says; two cursors that have to share one file handle must each read what one
// cursor alone reads; and the word index must give back exactly what the reader read: every
// word's first display text, and nothing for a text that is not a word. The mutator in
// tsdmutator.cpp keeps most inputs plausible enough to get past the header.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define PELLIN_FUZZ_ASAN 1
#endif
#endif

#include "dictionary/inputengine.h"
#include "dictionary/loadprogress.h"
#include "dictionary/tsdictionary.h"
#include "model/words.h"

namespace {

using Dictionary = TSDictionaryList::Dictionary;

// Capitals in the name let the cache's letter-case folding work on both sides. The file goes
// when the fuzzer ends normally; after a failure the input is in the fuzzer's own crash file.
const std::string& ScratchPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("Pellin-Fuzz-" + std::to_string(getpid()) + ".tsd"))
                                        .string();
    static const bool removedAtExit = std::atexit([] { std::remove(ScratchPath().c_str()); }) == 0;
    (void)removedAtExit;
    return path;
}

bool WriteFile(const uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

// The process's handle limit while two cursors share one handle, to be put back before anything
// else needs a file: the fuzzer writes the failing input to one.
rlimit savedLimit{};
bool limitLowered = false;

void RestoreLimit() {
    if (limitLowered) {
        setrlimit(RLIMIT_NOFILE, &savedLimit);
        limitLowered = false;
    }
}

void Check(bool condition) {
    if (!condition) {
        RestoreLimit();
        __builtin_trap();
    }
}

// Lowers the handle limit so that exactly one more file can be opened, for as long as it lives.
class OneSpareHandle {
public:
    OneSpareHandle() {
        if (getrlimit(RLIMIT_NOFILE, &savedLimit) != 0) {
            return;
        }
        // Every handle below the lowest free one is taken; that one becomes the only spare.
        const int spare = open("/dev/null", O_RDONLY);
        if (spare < 0) {
            return;
        }
        rlimit lowered = savedLimit;
        lowered.rlim_cur = static_cast<rlim_t>(spare) + 1;
        limitLowered = setrlimit(RLIMIT_NOFILE, &lowered) == 0;
        close(spare);
    }
    ~OneSpareHandle() { RestoreLimit(); }
    OneSpareHandle(const OneSpareHandle&) = delete;
    OneSpareHandle& operator=(const OneSpareHandle&) = delete;

    bool Active() const { return limitLowered; }
};

void CheckStatus(const Dictionary* dictionary) {
    const char* status = dictionary->StatusText();
    Check(std::strlen(status) < Dictionary::kStatusSize);
    // A failed load always says why: an error text, or the description it got as far as.
    Check(dictionary->Loaded() || status[0] != '\0');
}

// The index reports every 256th word, counting up, never before it began.
class CheckedProgress : public LoadProgress {
public:
    void Begin(int32_t total) override {
        Check(!begun_ && total >= 0);
        begun_ = true;
    }
    void Advance(int32_t count) override {
        Check(begun_ && count > last_ && count % Words::kProgressStep == 0);
        last_ = count;
    }

private:
    bool begun_ = false;
    int32_t last_ = 0;
};

// The word's first display text, as the index must give it back; words of 2 to 31 letters
// whose entry has no space, and no line feed in the word (the letter map may hold one).
using Expected = std::map<std::string, std::string>;

// What one cursor read of each class: whether it started, and each entry's key and text.
struct ClassRead {
    bool started = false;
    std::vector<std::pair<std::string, std::string>> entries;
};

std::pair<std::string, std::string> Entry(const uint8_t* key, const char* text, int L) {
    return {std::string(reinterpret_cast<const char*>(key), static_cast<std::size_t>(L)), text};
}

// Returns how many entries the index should hold, a word given twice counted twice.
int32_t ReadAll(TSDictionaryList& list, Expected& expected, std::vector<ClassRead>& read) {
    int32_t indexed = 0;
    InputEngine cursor(list, 0);
    const int n = list.LengthClasses(0);
    read.assign(static_cast<std::size_t>(n) + 1, {});
    std::string word;
    for (int L = 0; L <= n; ++L) {
        ClassRead& got = read[static_cast<std::size_t>(L)];
        got.started = cursor.Start(L);
        if (!got.started) {
            continue;
        }
        for (;;) {
            const uint8_t* key = cursor.Next();
            if (key[0] == InputEngine::kEndKey) {
                break;
            }
            const char* text = cursor.Text();
            Check(key[L] == InputEngine::kEndKey && std::strlen(text) < InputEngine::kTextSize);
            got.entries.push_back(Entry(key, text, L));
            if (L < Words::kShortestWord || L > Words::kLongestWord ||
                std::strchr(text, ' ') != nullptr) {
                continue;
            }
            word.assign(static_cast<std::size_t>(L), '\0');
            for (int i = 0; i < L; ++i) {
                word[static_cast<std::size_t>(i)] = list.IndexLetter(0, key[i]);
            }
            if (word.find('\n') == std::string::npos) {
                expected.emplace(word, text);
                ++indexed;
            }
        }
        Check(cursor.Next()[0] == InputEngine::kEndKey); // stays ended until the next Start
    }
    return indexed;
}

// Two cursors read every class in turns while only one file handle is left: each takes the
// handle from the other whenever it needs to read, and must resume exactly where it stopped.
// The turns follow the bits of the input, so the handle changes hands at varying places.
void ReadInTurns(TSDictionaryList& list, const std::vector<ClassRead>& read, const uint8_t* data,
                 std::size_t size) {
    InputEngine first(list, 0);
    InputEngine second(list, 0);
    InputEngine* cursors[] = {&first, &second};
    const OneSpareHandle limit;
    if (!limit.Active()) {
        return;
    }
    std::size_t turn = 0;
    for (std::size_t L = 0; L < read.size(); ++L) {
        const ClassRead& expected = read[L];
        std::size_t at[2] = {0, 0};
        bool live[2] = {true, true};
        for (int c = 0; c < 2; ++c) {
            live[c] = cursors[c]->Start(static_cast<int>(L));
            Check(live[c] == expected.started);
        }
        while (live[0] || live[1]) {
            const uint8_t bits = size > 0 ? data[(turn / 8) % size] : 0;
            int c = (bits >> (turn % 8)) & 1;
            ++turn;
            if (!live[c]) {
                c = 1 - c;
            }
            const uint8_t* key = cursors[c]->Next();
            if (key[0] == InputEngine::kEndKey) {
                Check(at[c] == expected.entries.size());
                live[c] = false;
                continue;
            }
            Check(at[c] < expected.entries.size() &&
                  Entry(key, cursors[c]->Text(), static_cast<int>(L)) == expected.entries[at[c]]);
            ++at[c];
        }
    }
}

std::string Expect(const Expected& expected, const std::string& word) {
    const auto it = expected.find(word);
    return it != expected.end() ? it->second : std::string();
}

#ifdef PELLIN_FUZZ_ASAN
// An error found while the handle limit is lowered must still leave its input in a file.
void RestoreLimitOnReport(const char*) {
    RestoreLimit();
}
#endif

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
#ifdef PELLIN_FUZZ_ASAN
    static const bool hooked = (__asan_set_error_report_callback(RestoreLimitOnReport), true);
    (void)hooked;
#endif
    if (!WriteFile(data, size)) {
        return 0;
    }
    const std::string& path = ScratchPath();
    Expected expected;
    int32_t indexed = 0;
    {
        // The same name in capitals is the same cached entry; a name of another length, one
        // letter off, or empty is another file (here a missing one).
        std::string upper = path;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return static_cast<char>(std::toupper(c)); });
        std::string other = path;
        other.back() = other.back() == 'd' ? 'x' : 'd';
        TSDictionaryList list(path + ";" + upper + ";" + other + ";" + path + ".x;", false);
        Check(list.Count() == 5 && list.Entry(0) == list.Entry(1) &&
              list.Entry(0)->ShareCount() == 2 && list.Entry(2) != list.Entry(0) &&
              list.Entry(3) != list.Entry(0) && !list.IsValid(2) && !list.IsValid(4));
        for (int d = 0; d < list.Count(); ++d) {
            CheckStatus(list.Entry(d));
        }
        Check(list.FirstInvalid() != nullptr);
        if (list.IsValid(0)) {
            std::vector<ClassRead> read;
            indexed = ReadAll(list, expected, read);
            ReadInTurns(list, read, data, size);
        }
        list.Release();
        Check(list.Count() == 0);
    }
    {
        // Only the header loader reads the extra records; no list asks for them.
        Dictionary dictionary;
        const bool loaded = dictionary.Load(path, true);
        CheckStatus(&dictionary);
        if (loaded) {
            for (const auto& record : dictionary.ExtraRecords()) {
                Check(static_cast<int>(record.size()) == dictionary.RecordSize());
            }
        }
    }

    static auto words = std::make_unique<Words>();
    CheckedProgress progress;
    words->Load(path, &progress);
    Check(words->DictionaryPath() == path);
    Check(words->WordCount() == indexed);
    // Every word gives its first display text back, and a display text or a word one letter off
    // is found only when it is a word itself.
    std::size_t probes = 0;
    for (const auto& [word, display] : expected) {
        if (++probes > 512) {
            break;
        }
        Check(words->Lookup(word) == display);
        Check(words->Lookup(display) == Expect(expected, display));
        std::string near = word;
        near.back() = static_cast<char>(near.back() ^ 0x20);
        Check(words->Lookup(near) == Expect(expected, near));
    }
    Check(words->Lookup("").empty() && words->Lookup("\n").empty());
    // Lookups of pieces of the input, against whatever the load put in the buckets.
    for (std::size_t at = 0; at + 2 <= size && at < 64; at += 8) {
        const std::size_t length = 1 + data[at] % 31;
        const std::string probe(reinterpret_cast<const char*>(data) + at,
                                std::min(length, size - at));
        Check(words->Lookup(probe).size() < InputEngine::kTextSize);
    }
    Check(TSDictionaryList::CachedCount() == 0); // every share was given back
    return 0;
}
