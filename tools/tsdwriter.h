// Builds dictionary files: entries grouped by letter count, Huffman-coded with a code table
// made from the symbols' own frequencies.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/huffman.h"

class TsdWriter {
public:
    static constexpr int kMaxLetters = 31;
    static constexpr std::size_t kMaxSymbols = 898;

    enum class AddResult { Added, NoLetters, TooManyLetters, TooLong, HasNul };

    // Version 0 or 1 of the file layout.
    explicit TsdWriter(int version = 0);

    void SetDescription(std::string_view description) { description_ = description; }
    // Letter index of each byte symbol (-1 for none, a pair packed as FoldedLetters does) and the
    // character each letter index turns back into. By default FoldedLetters, shown as capitals.
    void SetLetterIndex(const std::array<int16_t, 256>& index) { letterIndex_ = index; }
    void SetLetterCharacter(const std::array<char, 256>& characters) { letterChar_ = characters; }
    // Fixed code lengths instead of ones computed from the frequencies.
    void SetCodeLengths(const CodeLengths& lengths) { fixedLengths_ = lengths; }
    // At least this many length classes; the classes past the longest word hold only their
    // end marker.
    void SetMinimumLengthClasses(int count) { minimumClasses_ = count; }

    // Adds one entry: the display text, optionally followed by a line feed and further text,
    // in Windows-1252 bytes. Its length class is the number of letters before the line feed.
    AddResult Add(std::string_view entry);
    // Adds an entry to class L as it stands, whatever its letters; lets tests build sections
    // the format does not allow.
    void AddRaw(int L, std::string_view entry);

    // The letters of the entry's display text as the reader's key spells them, through the
    // letter characters: "STRASSE" for "Straße" by default.
    std::string Key(std::string_view entry) const;
    int LetterCount(std::string_view entry) const;

    // The whole file; nothing (and the reason in `error`) when no sound code table exists.
    std::optional<std::vector<uint8_t>> Build(std::string* error = nullptr) const;

    // What Build chose, for tools that report it and tests that decode on their own.
    const CodeLengths& LastCodeLengths() const { return lastLengths_; }
    const Codes& LastCodes() const { return lastCodes_; }

private:
    int version_;
    std::string description_;
    std::array<int16_t, 256> letterIndex_{};
    std::array<char, 256> letterChar_{};
    std::optional<CodeLengths> fixedLengths_;
    int minimumClasses_ = 0;
    // Entries by length class, in the order added.
    std::array<std::vector<std::string>, 32> classes_;
    mutable CodeLengths lastLengths_{};
    mutable Codes lastCodes_{};
};

// Internal nodes the loader spends on a code table (it gives both children of every node it
// walks through a number); the file is readable only when this is at most 255.
int InternalNodesNeeded(const CodeLengths& lengths, const Codes& codes);
