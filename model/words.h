// The in-memory index of the chosen dictionary's playable words, looked up after every step of
// the player's chain.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class LoadProgress;

// Bucket of a word text: h = (h << 2) XOR c over the text's characters taken as signed bytes,
// read as unsigned 32 bits, modulo the bucket count.
uint32_t WordHash(std::string_view text);

class Words {
public:
    static constexpr uint32_t kBucketCount = 9851;
    static constexpr std::size_t kBucketReserve = 400;
    static constexpr int kShortestWord = 2;
    static constexpr int kLongestWord = 31;
    static constexpr int32_t kProgressStep = 256;

    // An empty index; each bucket takes room for kBucketReserve characters at the first Load.
    Words();

    // Replaces the index with the words of 2 to 31 letters of the dictionary at `dictionaryPath`.
    // A missing or broken dictionary leaves the index empty. `progress` may be null.
    void Load(const std::string& dictionaryPath, LoadProgress* progress = nullptr);
    // The path given to the last Load, whether or not it succeeded.
    const std::string& DictionaryPath() const { return dictionaryPath_; }
    // The display text stored with `word`, or an empty text when the index does not hold it.
    std::string Lookup(std::string_view word) const;
    int32_t WordCount() const { return wordCount_; }

private:
    // Each bucket is a run of records "\n" word "\n" display, in load order.
    std::array<std::string, kBucketCount> buckets_;
    int32_t wordCount_ = 0;
    std::string dictionaryPath_;
};
