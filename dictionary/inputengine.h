// A cursor over the Huffman-coded word sections of one dictionary file: it yields, one length
// class at a time, each word's key (its letter indices) and its display text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "dictionary/tsdictionary.h"

class InputEngine {
public:
    static constexpr std::size_t kBlockSize = 16384;
    static constexpr std::size_t kKeySize = 100;
    static constexpr std::size_t kTextSize = 900;
    static constexpr uint8_t kEndKey = 255;

    // Reads entry d of `list`, which must outlive the cursor.
    InputEngine(TSDictionaryList& list, int d);
    ~InputEngine();
    InputEngine(const InputEngine&) = delete;
    InputEngine& operator=(const InputEngine&) = delete;

    // Positions the cursor at the first word of length class L; false when the dictionary is
    // not loaded, L is outside 1..N-1, the section is empty or the file cannot be read.
    bool Start(int L);
    // The next word's key: L letter indices followed by 255, or a first byte of 255 once the
    // section is over (or broken, or the data ran out). Call Start before reading on.
    const uint8_t* Next();
    // Display text of the entry decoded last, always terminated.
    const char* Text() const { return text_.data(); }
    // Reads the next block of the file, opening it first when it is closed.
    bool Refill();

    bool FileOpen() const { return file_ != -1; }
    // Live cursors in the process, oldest first through Older()/Newer().
    static InputEngine* Oldest() { return oldest_; }
    static InputEngine* Newest() { return newest_; }
    InputEngine* Newer() const { return newer_; }
    InputEngine* Older() const { return older_; }

private:
    bool OpenFile();
    void CloseFile();
    bool TakeBit(uint32_t& bit);
    bool AdvanceWord();
    // Decodes one symbol into `symbol`; false when the data ran out or the code is broken.
    bool DecodeSymbol(int& symbol);
    bool DecodeFromNode(int node, int& symbol);
    void Consume(unsigned bits);
    uint32_t WordAt(std::size_t index) const;
    const uint8_t* EndSection();

    static InputEngine* oldest_;
    static InputEngine* newest_;

    InputEngine* newer_ = nullptr;
    InputEngine* older_ = nullptr;
    TSDictionaryList& list_;
    int d_;
    TSDictionaryList::Dictionary* dictionary_;
    int file_ = -1;
    int64_t savedPosition_ = 0;
    std::array<uint8_t, kKeySize> key_{};
    std::array<char, kTextSize> text_{};
    std::array<uint8_t, kBlockSize> buffer_{};
    // Positions in the read buffer counted in 32-bit words: the current word, and one past the
    // last word that holds data.
    std::size_t wordPos_ = 0;
    std::size_t endPos_ = 0;
    uint32_t current_ = 0;
    unsigned bitsConsumed_ = 32;
    int lengthClass_ = 0;
    uint8_t sectionMode_ = 0;
    // False before the first Start, after a failed one and once the section has ended, so that
    // Next never decodes past what Start prepared.
    bool sectionLive_ = false;
};
