#include "words.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "dictionary/inputengine.h"
#include "dictionary/loadprogress.h"
#include "dictionary/tsdictionary.h"

uint32_t WordHash(std::string_view text) {
    uint32_t h = 0;
    for (const char c : text) {
        // The character counts as a signed byte, so letters above 127 flip the high bits too.
        const auto extended = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
        h = (h << 2) ^ extended;
    }
    return h % Words::kBucketCount;
}

Words::Words() = default;

void Words::Load(const std::string& dictionaryPath, LoadProgress* progress) {
    wordCount_ = 0;
    prefixes_.Clear();
    // The buckets' room is taken at the first load rather than at construction: the index is
    // made with the game's window, which should not wait for 4 MB it needs only for a game.
    for (std::string& bucket : buckets_) {
        bucket.clear();
        bucket.reserve(kBucketReserve);
    }

    TSDictionaryList list(dictionaryPath, false);
    if (list.FirstInvalid() == nullptr && list.Count() > 0) {
        int64_t total = 0;
        for (int n = kShortestWord; n <= kLongestWord; ++n) {
            total += list.WordCount(0, n);
        }
        // A header may claim up to 30 times 2^32 words; the progress range is 32-bit.
        if (total > std::numeric_limits<int32_t>::max()) {
            total = std::numeric_limits<int32_t>::max();
        }
        if (progress != nullptr) {
            progress->Begin(static_cast<int32_t>(total));
        }

        InputEngine cursor(list, 0);
        std::string word;
        for (int n = kShortestWord; n <= kLongestWord; ++n) {
            if (!cursor.Start(n)) {
                continue;
            }
            // Fetched after Start: a changed file is reloaded there, letter map and all.
            const TSDictionaryList::Dictionary* dictionary = list.Entry(0);
            word.resize(static_cast<std::size_t>(n));
            for (;;) {
                const uint8_t* key = cursor.Next();
                if (key[0] == InputEngine::kEndKey) {
                    break;
                }
                const char* text = cursor.Text();
                if (std::strchr(text, ' ') != nullptr) {
                    continue;
                }
                for (int i = 0; i < n; ++i) {
                    word[static_cast<std::size_t>(i)] = dictionary->IndexLetter(key[i]);
                }
                // A newline inside a word text would split its record in two; such a word can
                // never be spelled by tiles anyway.
                if (word.find('\n') != std::string::npos ||
                    wordCount_ == std::numeric_limits<int32_t>::max()) {
                    continue;
                }
                std::string& bucket = buckets_[WordHash(word)];
                bucket += '\n';
                bucket += word;
                bucket += '\n';
                bucket += text;
                prefixes_.Add(word);
                ++wordCount_;
                if (progress != nullptr && wordCount_ % kProgressStep == 0) {
                    progress->Advance(wordCount_);
                }
            }
        }
    }
    list.Release();
    // After the last progress report, so the loading window's reports stay as they were.
    prefixes_.Build();
    weights_ = LetterWeightsForDictionary(dictionaryPath);
    dictionaryPath_ = dictionaryPath;
}

std::size_t Words::BucketMemoryBytes() const {
    std::size_t bytes = 0;
    for (const std::string& bucket : buckets_) {
        // Only room beyond the string's own inline buffer is on the heap.
        if (bucket.capacity() > std::string().capacity()) {
            bytes += bucket.capacity() + 1;
        }
    }
    return bytes;
}

std::string Words::Lookup(std::string_view word) const {
    // No chain is empty or holds a newline; either would match the record separators.
    if (word.empty() || word.find('\n') != std::string_view::npos) {
        return {};
    }
    const std::string& bucket = buckets_[WordHash(word)];
    const char* const begin = bucket.data();
    const char* const end = begin + bucket.size();
    const std::size_t n = word.size();

    // Candidates are found by the word's first character, which memchr skips to quickly: most
    // lookups are of chains that are not words and find none. A candidate must be a word field,
    // not a display text that happens to read the same (another letter case, say): word fields
    // follow an odd number of newlines, as every record is newline, word, newline, display.
    const char* counted = begin;
    std::size_t newlines = 0;
    for (const char* p = begin; p < end;) {
        const auto* hit =
            static_cast<const char*>(std::memchr(p, word[0], static_cast<std::size_t>(end - p)));
        if (hit == nullptr) {
            break;
        }
        p = hit + 1;
        if (hit == begin || hit[-1] != '\n' || static_cast<std::size_t>(end - hit) <= n ||
            hit[n] != '\n' || std::memcmp(hit, word.data(), n) != 0) {
            continue;
        }
        newlines += static_cast<std::size_t>(std::count(counted, hit, '\n'));
        counted = hit;
        if (newlines % 2 == 1) {
            const char* display = hit + n + 1;
            const auto* displayEnd = static_cast<const char*>(
                std::memchr(display, '\n', static_cast<std::size_t>(end - display)));
            return std::string(display, displayEnd != nullptr ? displayEnd : end);
        }
    }
    return {};
}
