// Dictionary files (".tsd"): the header and code table of one file, and the lists that open
// several files at once and share them through one process-wide cache.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Status texts a dictionary keeps when it could not be loaded.
inline constexpr const char* kDictionaryNotFoundText = "-- DICTIONARY FILE NOT FOUND --";
inline constexpr const char* kInvalidDictionaryText = "-- INVALID DICTIONARY FILE --";

// Fills `time` with the file's last-write time. False when the path does not name a regular
// file (a folder has no last-write time worth reloading on).
bool GetLastWriteTime(const std::string& path, uint64_t& time);

class TSDictionaryList {
public:
    // One open dictionary file: its header, its code tree and the fast table the reader decodes
    // with. Owned by the cache and shared by every list that names the same path.
    class Dictionary {
    public:
        static constexpr int kMaxLengthClasses = 32;
        static constexpr int kLeafCount = 256;
        static constexpr int kNodeCount = 511;
        static constexpr int kRoot = 256;
        static constexpr int kNoLetter = 255;
        static constexpr std::size_t kStatusSize = 1004;
        static constexpr std::size_t kDescriptionSizeV0 = 80;
        static constexpr std::size_t kDescriptionSizeV1 = 1000;
        static constexpr std::size_t kCodeTableSize = 256 * 8;

        Dictionary();
        Dictionary(const Dictionary&) = delete;
        Dictionary& operator=(const Dictionary&) = delete;

        // Loads the header and code table of `path`; with no path it unloads. Loading the very
        // path that is already loaded (letter case counts) changes nothing.
        bool Load(std::optional<std::string_view> path, bool loadExtras);
        // Reloads in place when the file's last-write time is no longer the one seen at load.
        bool Revalidate();

        bool Loaded() const { return loaded_; }
        bool HasPath() const { return path_.has_value(); }
        const std::string& Path() const;
        // Always a terminated string: the description after a good load, else an error text.
        const char* StatusText() const { return status_.data(); }
        int32_t Version() const { return version_; }
        uint16_t LengthClasses() const { return lengthClasses_; }
        uint32_t SectionOffset(int L) const;
        // Whether the reader opens length class L: 1..N-1, and the last class or one whose
        // successor starts later (offsets compared as signed numbers).
        bool SectionPresent(int L) const;
        uint32_t WordCount(int L) const;
        char IndexLetter(uint8_t index) const { return letterMap_[index]; }
        int32_t ShareCount() const { return shareCount_; }
        uint64_t LastWriteTime() const { return lastWriteTime_; }
        const std::array<uint32_t, 3>& HeaderValues() const { return headerValues_; }
        uint32_t TableC(int L) const { return InRange(L) ? c_[L] : 0; }
        uint32_t TableD(int L) const { return InRange(L) ? d_[L] : 0; }
        uint32_t TableE(int L) const { return InRange(L) ? e_[L] : 0; }
        int16_t RecordSize() const { return recordSize_; }
        int16_t SecondHeaderWord() const { return secondHeaderWord_; }
        const std::vector<std::vector<char>>& ExtraRecords() const { return extras_; }

        // Node n < 256 is leaf n: {code length, letter index}, the index packed as FoldedLetters
        // gives it when the symbol stands for two letters. Node n >= 256 is internal:
        // {0-child, 1-child}, -1 where no code leads.
        const std::array<std::array<int32_t, 2>, kNodeCount>& CodeTree() const { return tree_; }
        // Node reached from the root by the 8 bits of the index, lowest bit first (fewer when a
        // leaf or an unassigned child comes first), and how many bits that walk took.
        int32_t FastNode(uint32_t bits8) const { return fastNode_[bits8 & 0xFF]; }
        uint8_t FastDepth(uint32_t bits8) const { return fastDepth_[bits8 & 0xFF]; }

    private:
        friend class TSDictionaryList;

        bool InRange(int L) const { return L >= 0 && L < lengthClasses_; }
        void SetStatus(const char* text);
        void Reset();
        bool ReadHeader(std::FILE* file);
        bool BuildCodeTree(std::FILE* file);
        void BuildFastTable();
        bool ReadExtras(std::FILE* file);
        bool SectionsStartInside(std::FILE* file) const;

        std::array<std::array<int32_t, 2>, kNodeCount> tree_{};
        std::array<int32_t, 256> fastNode_{};
        std::array<uint8_t, 256> fastDepth_{};
        std::optional<std::string> path_;
        bool loaded_ = false;
        bool loadExtras_ = false;
        uint64_t lastWriteTime_ = 0;
        int32_t shareCount_ = 0;
        std::array<char, kStatusSize> status_{};
        int32_t version_ = 0;
        std::array<uint32_t, 3> headerValues_{};
        uint16_t lengthClasses_ = 0;
        std::array<uint32_t, kMaxLengthClasses> a_{};
        std::array<uint32_t, kMaxLengthClasses> b_{};
        std::array<uint32_t, kMaxLengthClasses> c_{};
        std::array<uint32_t, kMaxLengthClasses> d_{};
        std::array<uint32_t, kMaxLengthClasses> e_{};
        int16_t recordSize_ = 0;
        int16_t secondHeaderWord_ = 0;
        std::array<char, 256> letterMap_{};
        std::vector<std::vector<char>> extras_;
    };

    // nameList holds one or more paths separated by ';'. Never fails: every name becomes an
    // entry, loaded or not. A list is meant to live as a local: Release() gives its shares up
    // at once, and the destructor gives up whatever was not released yet.
    explicit TSDictionaryList(std::string_view nameList, bool loadExtras = false);
    ~TSDictionaryList();
    TSDictionaryList(const TSDictionaryList&) = delete;
    TSDictionaryList& operator=(const TSDictionaryList&) = delete;

    void Release();

    int Count() const { return static_cast<int>(entries_.size()); }
    // Path of the first entry that is not loaded (after revalidating each), or null.
    const char* FirstInvalid();
    bool IsValid(int d);
    uint16_t LengthClasses(int d) const;
    uint32_t WordCount(int d, int L) const;
    uint32_t SectionOffset(int d, int L) const;
    char IndexLetter(int d, uint8_t index) const;
    const std::string& NameList() const { return nameList_; }

    // The shared entry d, or null for an index outside the list.
    Dictionary* Entry(int d) const;

    // Number of dictionaries alive in the process-wide cache.
    static std::size_t CachedCount();

private:
    std::string nameList_;
    std::vector<Dictionary*> entries_;
};
