// The in-memory index of the chosen dictionary's playable words, looked up after every step of
// the player's chain.
#pragma once

#include "letterweights.h"
#include "prefixindex.h"

#include <array>
#include <cstddef>
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
    // A missing or broken dictionary leaves the index empty. `progress` may be null. The letter
    // weights the dictionary is played with are read along with it (LetterWeightsForDictionary).
    void Load(const std::string& dictionaryPath, LoadProgress* progress = nullptr);
    // The letter weights of the dictionary last loaded; the built-in table before any Load.
    const LetterWeights& Weights() const { return weights_; }
    // The path given to the last Load, whether or not it succeeded.
    const std::string& DictionaryPath() const { return dictionaryPath_; }
    // The display text stored with `word`, or an empty text when the index does not hold it.
    std::string Lookup(std::string_view word) const;
    int32_t WordCount() const { return wordCount_; }

    // True for every prefix of every indexed word that tiles can spell (capitals A to Z), the
    // words included. Built with the index by Load; empty after a failed one.
    bool IsPrefix(std::string_view text) const { return prefixes_.IsPrefix(text); }
    const PrefixIndex& Prefixes() const { return prefixes_; }
    // Heap bytes of the buckets, and of the prefix index beside them.
    std::size_t BucketMemoryBytes() const;
    std::size_t PrefixMemoryBytes() const { return prefixes_.MemoryBytes(); }

private:
    // Each bucket is a run of records "\n" word "\n" display, in load order.
    std::array<std::string, kBucketCount> buckets_;
    int32_t wordCount_ = 0;
    std::string dictionaryPath_;
    PrefixIndex prefixes_;
    LetterWeights weights_;
};
