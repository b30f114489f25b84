#include "dictionary/tsdictionary.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "dictionary/cp1252.h"
#include "dictionary/narrowpath.h"

namespace {

using Dictionary = TSDictionaryList::Dictionary;

// Every Dictionary any list holds lives here, owned, in the order it was first named.
std::vector<std::unique_ptr<Dictionary>>& Cache() {
    static std::vector<std::unique_ptr<Dictionary>> cache;
    return cache;
}

// Paths are compared the way the file system of the original platform does: letters alike in
// either case. Only ASCII letters fold, so the comparison never depends on the user's locale.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<unsigned char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<unsigned char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// The file is little-endian whatever the machine is, so numbers are put together byte by byte.
bool ReadBytes(std::FILE* file, void* out, std::size_t count) {
    return std::fread(out, 1, count, file) == count;
}

bool ReadU16(std::FILE* file, uint16_t& value) {
    unsigned char b[2];
    if (!ReadBytes(file, b, 2)) {
        return false;
    }
    value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ReadI16(std::FILE* file, int16_t& value) {
    uint16_t raw = 0;
    if (!ReadU16(file, raw)) {
        return false;
    }
    value = static_cast<int16_t>(raw);
    return true;
}

bool ReadU32(std::FILE* file, uint32_t& value) {
    unsigned char b[4];
    if (!ReadBytes(file, b, 4)) {
        return false;
    }
    value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

bool ReadTable(std::FILE* file, std::array<uint32_t, 32>& table, int count) {
    for (int i = 0; i < count; ++i) {
        if (!ReadU32(file, table[i])) {
            return false;
        }
    }
    return true;
}

// Size of the open file, found through the handle so that it is the very file the header came
// from. The 64-bit calls keep sizes past 2 GiB whole where long is 32 bits.
bool FileSize(std::FILE* file, uint64_t& size) {
#ifdef _WIN32
    if (_fseeki64(file, 0, SEEK_END) != 0) {
        return false;
    }
    const int64_t end = _ftelli64(file);
#else
    if (fseeko(file, 0, SEEK_END) != 0) {
        return false;
    }
    const int64_t end = ftello(file);
#endif
    if (end < 0) {
        return false;
    }
    size = static_cast<uint64_t>(end);
    return true;
}

const std::string& EmptyPath() {
    static const std::string empty;
    return empty;
}

} // namespace

bool GetLastWriteTime(const std::string& path, uint64_t& time) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    // The name as fopen reads it, so that a file the load could open always has a time.
    const fs::path name = NarrowFileName(path);
    if (!fs::is_regular_file(name, error)) {
        return false;
    }
    // Only the file's metadata is asked for, never a handle: revalidation runs while the word
    // reader may have used up every handle the process has.
    const fs::file_time_type stamp = fs::last_write_time(name, error);
    if (error) {
        return false;
    }
    time = static_cast<uint64_t>(stamp.time_since_epoch().count());
    return true;
}

// ---------------------------------------------------------------------------------------------
// Dictionary

Dictionary::Dictionary() {
    letterMap_.fill('!');
    SetStatus(kInvalidDictionaryText);
}

const std::string& Dictionary::Path() const {
    return path_ ? *path_ : EmptyPath();
}

uint32_t Dictionary::SectionOffset(int L) const {
    return InRange(L) ? a_[L] : 0;
}

bool Dictionary::SectionPresent(int L) const {
    if (L < 1 || L >= lengthClasses_) {
        return false;
    }
    return L == lengthClasses_ - 1 || static_cast<int32_t>(a_[static_cast<std::size_t>(L) + 1]) >
                                          static_cast<int32_t>(a_[static_cast<std::size_t>(L)]);
}

uint32_t Dictionary::WordCount(int L) const {
    return InRange(L) ? b_[L] : 0;
}

void Dictionary::SetStatus(const char* text) {
    status_.fill('\0');
    std::strncpy(status_.data(), text, kStatusSize - 1);
}

void Dictionary::Reset() {
    extras_.clear();
    // A failed load must not leave a half-read header for callers that ask about length classes
    // without checking the loaded flag first.
    lengthClasses_ = 0;
    SetStatus(kInvalidDictionaryText);
}

bool Dictionary::Load(std::optional<std::string_view> path, bool loadExtras) {
    if (loaded_ && path && path_ && *path_ == *path) {
        return true;
    }
    loaded_ = false;
    loadExtras_ = loadExtras;
    lastWriteTime_ = 0;
    path_.reset();
    if (path) {
        path_.emplace(*path);
    }
    Reset();
    if (!path_) {
        return false;
    }

    std::FILE* file = nullptr;
    if (path_->find('\0') == std::string::npos) {
        file = std::fopen(path_->c_str(), "rb");
    }
    if (file == nullptr || !GetLastWriteTime(*path_, lastWriteTime_)) {
        if (file != nullptr) {
            std::fclose(file);
        }
        lastWriteTime_ = 0;
        SetStatus(kDictionaryNotFoundText);
        return false;
    }

    bool ok = ReadHeader(file) && BuildCodeTree(file) && (!loadExtras || ReadExtras(file));
    if (ok && !SectionsStartInside(file)) {
        // The header itself is whole, so its description would be read as the reason.
        SetStatus(kInvalidDictionaryText);
        ok = false;
    }
    std::fclose(file);
    // A file cut where its description block begins has read no text at all; the status of a
    // failed load must still say why.
    if (!ok && status_[0] == '\0') {
        SetStatus(kInvalidDictionaryText);
    }
    loaded_ = ok;
    return ok;
}

bool Dictionary::ReadHeader(std::FILE* file) {
    char magic[4];
    if (!ReadBytes(file, magic, 4) || std::memcmp(magic, "TSD", 3) != 0 ||
        (magic[3] != '0' && magic[3] != '1')) {
        return false;
    }
    version_ = magic[3] - '0';

    uint16_t n = 0;
    // The tables hold 32 length classes; a larger count cannot be honoured, only refused.
    if (!ReadU16(file, n) || n > kMaxLengthClasses) {
        return false;
    }

    if (version_ > 0) {
        for (uint32_t& value : headerValues_) {
            if (!ReadU32(file, value)) {
                return false;
            }
        }
        if (!ReadTable(file, c_, n) || !ReadTable(file, d_, n) || !ReadTable(file, e_, n)) {
            return false;
        }
    } else {
        headerValues_.fill(0);
        for (int L = 0; L < n; ++L) {
            c_[L] = 0xFFFFFFFFu;
            d_[L] = 0xFFFFFFFFu;
            e_[L] = 0;
        }
    }
    if (!ReadTable(file, a_, n) || !ReadTable(file, b_, n)) {
        return false;
    }
    lengthClasses_ = n;

    // The description goes straight into the status text. The buffer is cleared first so the
    // text stays terminated even when the block fills it or the file ends inside it.
    const std::size_t size = version_ > 0 ? kDescriptionSizeV1 : kDescriptionSizeV0;
    status_.fill('\0');
    if (std::fread(status_.data(), 1, size, file) != size) {
        return false;
    }
    return ReadI16(file, recordSize_) && ReadI16(file, secondHeaderWord_);
}

bool Dictionary::BuildCodeTree(std::FILE* file) {
    for (int j = 0; j < kLeafCount; ++j) {
        tree_[j] = {0, kNoLetter};
    }
    for (int n = kRoot; n < kNodeCount; ++n) {
        tree_[n] = {-1, -1};
    }
    letterMap_.fill('!');
    int nextFree = kRoot + 1;

    for (int j = 0; j < kLeafCount; ++j) {
        unsigned char record[8];
        if (!ReadBytes(file, record, sizeof record)) {
            return false;
        }
        const char character = static_cast<char>(record[0]);
        const unsigned length = record[1];
        const auto letter = static_cast<int16_t>(record[2] | (record[3] << 8));
        const uint32_t code =
            static_cast<uint32_t>(record[4]) | (static_cast<uint32_t>(record[5]) << 8) |
            (static_cast<uint32_t>(record[6]) << 16) | (static_cast<uint32_t>(record[7]) << 24);
        // A code cannot be longer than the 32 bits that hold it, and a letter index has to fit
        // the 256-entry letter map, or be a pair of them (a character such as ß that stands for
        // two letters) whose first is a letter; anything else is a broken file.
        if (length > 32 || (IsLetterPair(letter) && FirstLetter(letter) == kNoLetter)) {
            return false;
        }
        if (length != 0) {
            int node = kRoot;
            for (int bit = static_cast<int>(length) - 1; bit >= 1; --bit) {
                for (int child = 0; child < 2; ++child) {
                    if (tree_[node][child] == -1) {
                        if (nextFree >= kNodeCount) {
                            return false; // more internal nodes than the tree can hold
                        }
                        tree_[node][child] = nextFree++;
                    }
                }
                const int next = tree_[node][(code >> bit) & 1u];
                // Walking on through another symbol's leaf would write children into that
                // leaf's code length and letter index: the code is not a prefix code.
                if (next < kRoot) {
                    return false;
                }
                node = next;
            }
            tree_[node][code & 1u] = j;
            tree_[j][0] = static_cast<int32_t>(length);
        }
        if (letter >= 0) {
            tree_[j][1] = letter;
            // A pair's character is not the character of either of its letters alone.
            if (!IsLetterPair(letter)) {
                letterMap_[static_cast<std::size_t>(letter)] = character;
            }
        }
    }
    BuildFastTable();
    return true;
}

void Dictionary::BuildFastTable() {
    for (uint32_t v = 0; v < 256; ++v) {
        int node = kRoot;
        uint8_t depth = 0;
        while (depth < 8 && node >= kRoot) {
            node = tree_[node][(v >> depth) & 1u];
            ++depth;
        }
        fastNode_[v] = node;
        fastDepth_[v] = depth;
    }
}

bool Dictionary::ReadExtras(std::FILE* file) {
    uint16_t count = 0;
    if (!ReadU16(file, count) || recordSize_ < 0) {
        return false;
    }
    // Each record is allocated only as it is read, so a count the file cannot back ends the
    // load at the file's end instead of reserving memory for records that are not there.
    for (uint16_t i = 0; i < count; ++i) {
        std::vector<char> record(static_cast<std::size_t>(recordSize_));
        if (!record.empty() && !ReadBytes(file, record.data(), record.size())) {
            extras_.clear();
            return false;
        }
        extras_.push_back(std::move(record));
    }
    return true;
}

// A copy broken off part-way (an interrupted download or copy) keeps a whole header whose later
// sections start past its end. The offsets tell so without reading a word: a section the reader
// opens holds at least its end marker, so it must start before the file's last byte. Refusing
// the file here keeps it out of the game and the dictionary choice instead of playing a part of
// its words.
bool Dictionary::SectionsStartInside(std::FILE* file) const {
    uint64_t size = 0;
    if (!FileSize(file, size)) {
        return false;
    }
    for (int L = 1; L < lengthClasses_; ++L) {
        if (SectionPresent(L) && a_[static_cast<std::size_t>(L)] >= size) {
            return false;
        }
    }
    return true;
}

bool Dictionary::Revalidate() {
    uint64_t time = 0;
    if (path_ && GetLastWriteTime(*path_, time) && time == lastWriteTime_) {
        return loaded_;
    }
    const std::optional<std::string> path = path_;
    const bool extras = loadExtras_;
    Load(std::nullopt, extras);
    if (path) {
        Load(std::string_view(*path), extras);
    }
    return loaded_;
}

// ---------------------------------------------------------------------------------------------
// TSDictionaryList

TSDictionaryList::TSDictionaryList(std::string_view nameList, bool loadExtras)
    : nameList_(nameList) {
    if (nameList.empty()) {
        return;
    }
    auto& cache = Cache();
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = nameList.find(';', start);
        const std::string_view path =
            nameList.substr(start, semicolon == std::string_view::npos ? std::string_view::npos
                                                                       : semicolon - start);

        Dictionary* found = nullptr;
        for (const auto& cached : cache) {
            if (cached->HasPath() && EqualsIgnoringCase(cached->Path(), path)) {
                found = cached.get();
                break;
            }
        }
        if (found != nullptr) {
            ++found->shareCount_;
        } else {
            auto fresh = std::make_unique<Dictionary>();
            fresh->shareCount_ = 1;
            fresh->Load(path, loadExtras);
            found = fresh.get();
            cache.push_back(std::move(fresh));
        }
        entries_.push_back(found);

        if (semicolon == std::string_view::npos) {
            break;
        }
        start = semicolon + 1;
    }
}

TSDictionaryList::~TSDictionaryList() {
    Release();
}

void TSDictionaryList::Release() {
    auto& cache = Cache();
    for (Dictionary* entry : entries_) {
        auto it = std::find_if(cache.begin(), cache.end(),
                               [entry](const auto& cached) { return cached.get() == entry; });
        if (it == cache.end()) {
            continue;
        }
        if (--entry->shareCount_ <= 0) {
            entry->Load(std::nullopt, false);
            cache.erase(it);
        }
    }
    entries_.clear();
}

TSDictionaryList::Dictionary* TSDictionaryList::Entry(int d) const {
    if (d < 0 || d >= Count()) {
        return nullptr;
    }
    return entries_[static_cast<std::size_t>(d)];
}

const char* TSDictionaryList::FirstInvalid() {
    for (Dictionary* entry : entries_) {
        if (!entry->Revalidate()) {
            return entry->Path().c_str();
        }
    }
    return nullptr;
}

bool TSDictionaryList::IsValid(int d) {
    Dictionary* entry = Entry(d);
    return entry != nullptr && entry->Revalidate();
}

uint16_t TSDictionaryList::LengthClasses(int d) const {
    const Dictionary* entry = Entry(d);
    return entry != nullptr ? entry->LengthClasses() : 0;
}

uint32_t TSDictionaryList::WordCount(int d, int L) const {
    const Dictionary* entry = Entry(d);
    return entry != nullptr ? entry->WordCount(L) : 0;
}

uint32_t TSDictionaryList::SectionOffset(int d, int L) const {
    const Dictionary* entry = Entry(d);
    return entry != nullptr ? entry->SectionOffset(L) : 0;
}

char TSDictionaryList::IndexLetter(int d, uint8_t index) const {
    const Dictionary* entry = Entry(d);
    return entry != nullptr ? entry->IndexLetter(index) : '!';
}

std::size_t TSDictionaryList::CachedCount() {
    return Cache().size();
}
