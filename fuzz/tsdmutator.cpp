#include "tsdmutator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Rng = std::minstd_rand;

constexpr std::size_t kCodeTableSize = 256 * 8;

int Below(Rng& rng, int n) {
    return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng);
}

bool OneIn(Rng& rng, int n) {
    return Below(rng, n) == 0;
}

uint32_t GetU32(const Bytes& b, std::size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

void SetU32(Bytes& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    }
}

uint16_t GetU16(const Bytes& b, std::size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

void SetU16(Bytes& b, std::size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// Where the fields of a header lie, from its magic and class count.
struct Layout {
    int version = 0;
    int n = 0;
    std::size_t aAt = 0;
    std::size_t bAt = 0;
    std::size_t descriptionAt = 0;
    std::size_t recordSizeAt = 0;
    std::size_t tableAt = 0;
    std::size_t extrasAt = 0;

    bool Parse(const Bytes& b) {
        if (b.size() < 6 || std::memcmp(b.data(), "TSD", 3) != 0 || (b[3] != '0' && b[3] != '1')) {
            return false;
        }
        version = b[3] - '0';
        n = GetU16(b, 4);
        if (n > 32) {
            return false;
        }
        const auto classes = static_cast<std::size_t>(n);
        aAt = version > 0 ? 18 + 12 * classes : 6;
        bAt = aAt + 4 * classes;
        descriptionAt = bAt + 4 * classes;
        recordSizeAt = descriptionAt + (version > 0 ? 1000 : 80);
        tableAt = recordSizeAt + 4;
        extrasAt = tableAt + kCodeTableSize;
        return b.size() >= extrasAt;
    }

    uint32_t A(const Bytes& b, int L) const {
        return GetU32(b, aAt + 4 * static_cast<std::size_t>(L));
    }
    void SetA(Bytes& b, int L, uint32_t v) const {
        SetU32(b, aAt + 4 * static_cast<std::size_t>(L), v);
    }
    std::size_t BAt(int L) const { return bAt + 4 * static_cast<std::size_t>(L); }

    // The reader's rule: the last class always, another when its successor starts later.
    bool Present(const Bytes& b, int L) const {
        return L >= 1 && L < n &&
               (L == n - 1 || static_cast<int32_t>(A(b, L + 1)) > static_cast<int32_t>(A(b, L)));
    }

    // Bytes of class L: from its offset to the next larger offset of any class, or the end.
    std::pair<std::size_t, std::size_t> Span(const Bytes& b, int L) const {
        const std::size_t begin = std::min<std::size_t>(A(b, L), b.size());
        std::size_t end = b.size();
        for (int k = 0; k < n; ++k) {
            const std::size_t a = A(b, k);
            if (a > begin && a < end) {
                end = a;
            }
        }
        return {begin, end};
    }

    // After bytes were put in or taken out before `from`, moves every offset at or past it
    // along, but for those at `stay` (classes that start where the change began).
    void Shift(Bytes& b, std::size_t from, long delta, std::size_t stay) const {
        for (int k = 0; k < n; ++k) {
            const uint32_t a = A(b, k);
            if (a >= from && a != stay) {
                SetA(b, k, static_cast<uint32_t>(static_cast<long>(a) + delta));
            }
        }
    }
};

struct Code {
    int length = 0;
    uint32_t code = 0;
    int letter = -1;
};
using Codes = std::array<Code, 256>;

Codes ReadCodes(const Bytes& b, const Layout& layout) {
    Codes codes;
    for (std::size_t j = 0; j < 256; ++j) {
        const std::size_t r = layout.tableAt + 8 * j;
        codes[j].length = b[r + 1];
        codes[j].letter = static_cast<int16_t>(GetU16(b, r + 2));
        codes[j].code = GetU32(b, r + 4);
    }
    return codes;
}

void WriteCode(Bytes& b, const Layout& layout, std::size_t j, const Code& code) {
    const std::size_t r = layout.tableAt + 8 * j;
    b[r + 1] = static_cast<uint8_t>(code.length);
    SetU16(b, r + 2, static_cast<uint16_t>(code.letter));
    SetU32(b, r + 4, code.code);
}

// Packs codes as the reader takes them: 32-bit little-endian words filled from the lowest bit,
// each code's most significant bit first.
class BitWriter {
public:
    void Put(uint32_t code, int length) {
        for (int bit = length - 1; bit >= 0; --bit) {
            word_ |= ((code >> bit) & 1u) << used_;
            if (++used_ == 32) {
                PutU32(out_, word_);
                word_ = 0;
                used_ = 0;
            }
        }
    }
    std::size_t Size() const { return out_.size() + (used_ > 0 ? 4 : 0); }
    Bytes Finish() {
        if (used_ > 0) {
            PutU32(out_, word_);
            used_ = 0;
        }
        return std::move(out_);
    }

private:
    Bytes out_;
    uint32_t word_ = 0;
    int used_ = 0;
};

// A section of class L written with the given codes: mostly entries of L letters, some with
// symbols that are no letters, extra text after a line feed, a word given again, now and then an
// entry the format does not allow, and the end marker (usually).
Bytes EncodeSection(const Codes& codes, int version, int L, std::size_t budget, Rng& rng) {
    std::vector<int> letters;
    std::vector<int> others;
    for (int j = 1; j < 256; ++j) {
        const Code& c = codes[static_cast<std::size_t>(j)];
        if (j == '\n' || c.length < 1 || c.length > 32) {
            continue;
        }
        (c.letter >= 0 && c.letter < 255 ? letters : others).push_back(j);
    }
    BitWriter out;
    auto put = [&](int symbol) {
        const Code& c = codes[static_cast<std::size_t>(symbol)];
        out.Put(c.code, c.length);
    };
    const Code& end = codes[0];
    if (end.length < 1 || end.length > 32) {
        Bytes noise(static_cast<std::size_t>(Below(rng, 64)));
        for (uint8_t& byte : noise) {
            byte = static_cast<uint8_t>(Below(rng, 256));
        }
        return noise;
    }
    const bool lineFeed = codes['\n'].length >= 1 && codes['\n'].length <= 32;
    std::vector<std::vector<int>> said;
    const int entries = OneIn(rng, 8) ? Below(rng, 2000) : Below(rng, 40);
    for (int e = 0; e < entries && !letters.empty() && out.Size() + 64 < budget; ++e) {
        std::vector<int> word;
        if (!said.empty() && OneIn(rng, 8)) {
            word = said[static_cast<std::size_t>(Below(rng, static_cast<int>(said.size())))];
        } else {
            int want = L;
            if (OneIn(rng, 24)) {
                want = std::max(0, L + Below(rng, 3) - 1);
            }
            for (int i = 0; i < want; ++i) {
                if (!others.empty() && OneIn(rng, 7)) {
                    word.push_back(others[static_cast<std::size_t>(
                        Below(rng, static_cast<int>(others.size())))]);
                }
                word.push_back(letters[static_cast<std::size_t>(
                    Below(rng, static_cast<int>(letters.size())))]);
            }
            if (OneIn(rng, 300)) {
                word.insert(word.end(), 900, word.empty() ? ' ' : word.back());
            }
            said.push_back(word);
        }
        for (const int symbol : word) {
            put(symbol);
        }
        if (lineFeed && OneIn(rng, 5)) {
            put('\n');
            for (int k = Below(rng, 12); k > 0; --k) {
                const std::vector<int>& pool = others.empty() || OneIn(rng, 2) ? letters : others;
                put(pool[static_cast<std::size_t>(Below(rng, static_cast<int>(pool.size())))]);
            }
        }
        put(0);
        if (version > 0) {
            out.Put(static_cast<uint32_t>(Below(rng, 2)), 1);
        }
    }
    if (!OneIn(rng, 16)) {
        put(0);
    }
    return out.Finish();
}

// A fresh complete prefix code for the symbols the file uses: a random binary tree grown by
// splitting leaves, now and then always the deepest one, so that codes of up to 32 bits occur.
void NewCodes(Codes& codes, Rng& rng) {
    std::vector<int> symbols;
    for (int j = 0; j < 256; ++j) {
        if (codes[static_cast<std::size_t>(j)].length > 0 || j == 0) {
            symbols.push_back(j);
        }
    }
    if (symbols.size() < 2) {
        symbols.push_back('a');
    }
    std::vector<std::pair<int, uint32_t>> leaves = {{0, 0}}; // depth, path
    const bool deep = OneIn(rng, 3);
    while (leaves.size() < symbols.size()) {
        std::size_t pick = static_cast<std::size_t>(Below(rng, static_cast<int>(leaves.size())));
        if (deep) {
            pick = static_cast<std::size_t>(std::max_element(leaves.begin(), leaves.end()) -
                                            leaves.begin());
        }
        auto [depth, path] = leaves[pick];
        if (depth >= 32) {
            pick = static_cast<std::size_t>(std::min_element(leaves.begin(), leaves.end()) -
                                            leaves.begin());
            std::tie(depth, path) = leaves[pick];
        }
        leaves[pick] = {depth + 1, path << 1};
        leaves.push_back({depth + 1, (path << 1) | 1u});
    }
    std::shuffle(symbols.begin(), symbols.end(), rng);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        Code& c = codes[static_cast<std::size_t>(symbols[i])];
        c.length = std::max(1, leaves[i].first);
        c.code = leaves[i].second;
    }
}

class Mutation {
public:
    Mutation(Bytes& b, std::size_t maxSize, Rng& rng) : b_(b), maxSize_(maxSize), rng_(rng) {}

    bool Run() {
        if (!layout_.Parse(b_)) {
            return false;
        }
        switch (Below(rng_, 10)) {
        case 0:
        case 1:
            TweakNumber();
            break;
        case 2:
            TweakCode();
            if (OneIn(rng_, 2)) {
                RewriteSection(RandomClass());
            }
            break;
        case 3:
        case 4:
            RewriteSection(RandomClass());
            break;
        case 5:
            Recode();
            break;
        case 6:
            Extras();
            break;
        case 7:
            Truncate();
            break;
        case 8:
            ChangeClassCount();
            break;
        default:
            TweakDescription();
            break;
        }
        if (OneIn(rng_, 3)) {
            KeepSectionsInside();
        }
        return true;
    }

private:
    int RandomClass() {
        std::vector<int> present;
        for (int L = 1; L < layout_.n; ++L) {
            if (layout_.Present(b_, L)) {
                present.push_back(L);
            }
        }
        if (present.empty()) {
            return layout_.n > 1 ? 1 + Below(rng_, layout_.n - 1) : 0;
        }
        return present[static_cast<std::size_t>(Below(rng_, static_cast<int>(present.size())))];
    }

    uint32_t InterestingNumber(uint32_t old) {
        switch (Below(rng_, 9)) {
        case 0:
            return 0;
        case 1:
            return old + 1;
        case 2:
            return old - 1;
        case 3:
            return old + 4 * static_cast<uint32_t>(Below(rng_, 16));
        case 4:
            return static_cast<uint32_t>(b_.size());
        case 5:
            return static_cast<uint32_t>(b_.size()) - 1 - static_cast<uint32_t>(Below(rng_, 8));
        case 6:
            return 0x7FFFFFFFu + static_cast<uint32_t>(Below(rng_, 3));
        case 7:
            return 0xFFFFFFFFu;
        default:
            return static_cast<uint32_t>(rng_());
        }
    }

    void TweakNumber() {
        const int n = std::max(layout_.n, 1);
        switch (Below(rng_, 5)) {
        case 0: { // a section offset, often that of another class
            const int L = Below(rng_, n);
            if (layout_.n == 0) {
                return;
            }
            const uint32_t v = OneIn(rng_, 2) ? layout_.A(b_, Below(rng_, n))
                                              : InterestingNumber(layout_.A(b_, L));
            layout_.SetA(b_, L, v);
            break;
        }
        case 1: // a word count
            if (layout_.n > 0) {
                const std::size_t at = layout_.BAt(Below(rng_, n));
                SetU32(b_, at, InterestingNumber(GetU32(b_, at)));
            }
            break;
        case 2: // the record size or the second header word
            SetU16(b_, layout_.recordSizeAt + 2 * static_cast<std::size_t>(Below(rng_, 2)),
                   static_cast<uint16_t>(InterestingNumber(GetU16(b_, layout_.recordSizeAt))));
            break;
        case 3: // the class count, the rest of the header left where it was
            SetU16(b_, 4,
                   static_cast<uint16_t>(OneIn(rng_, 2) ? Below(rng_, 34)
                                                        : InterestingNumber(layout_.n)));
            break;
        default: // the magic
            b_[3] = static_cast<uint8_t>(OneIn(rng_, 2) ? '0' + Below(rng_, 3) : rng_());
            break;
        }
    }

    void TweakCode() {
        Codes codes = ReadCodes(b_, layout_);
        std::size_t j = static_cast<std::size_t>(Below(rng_, 256));
        if (OneIn(rng_, 3)) {
            j = OneIn(rng_, 2) ? 0 : '\n';
        }
        Code& c = codes[j];
        switch (Below(rng_, 5)) {
        case 0: {
            static constexpr int kLengths[] = {0, 1, 8, 9, 31, 32, 33, 255};
            c.length = OneIn(rng_, 2) ? kLengths[Below(rng_, 8)] : c.length + Below(rng_, 3) - 1;
            c.length = std::clamp(c.length, 0, 255);
            break;
        }
        case 1: {
            static constexpr int kLetters[] = {-1, -32768, 0, 25, 254, 255, 256, 32767};
            c.letter = OneIn(rng_, 2) ? kLetters[Below(rng_, 8)] : Below(rng_, 26);
            break;
        }
        case 2:
            c.code ^= 1u << Below(rng_, std::clamp(c.length, 1, 32));
            break;
        case 3: // another symbol's code, or a prefix of it
            c = codes[static_cast<std::size_t>(Below(rng_, 256))];
            c.letter = codes[j].letter;
            break;
        default:
            b_[layout_.tableAt + 8 * j] = static_cast<uint8_t>(OneIn(rng_, 2) ? '\n' : rng_());
            return;
        }
        WriteCode(b_, layout_, j, c);
    }

    // Replaces the bytes of class L by a section written with the file's own codes.
    void RewriteSection(int L) {
        if (L < 1) {
            return;
        }
        const Codes codes = ReadCodes(b_, layout_);
        auto [begin, end] = layout_.Span(b_, L);
        if (begin < layout_.extrasAt) {
            return; // an offset into the header: leave that damage as it is
        }
        const std::size_t rest = b_.size() - (end - begin);
        if (rest + 8 > maxSize_) {
            return;
        }
        const Bytes section = EncodeSection(codes, layout_.version, L, maxSize_ - rest, rng_);
        if (begin == b_.size()) {
            layout_.SetA(b_, L, static_cast<uint32_t>(b_.size()));
        }
        const long delta = static_cast<long>(section.size()) - static_cast<long>(end - begin);
        b_.erase(b_.begin() + static_cast<long>(begin), b_.begin() + static_cast<long>(end));
        b_.insert(b_.begin() + static_cast<long>(begin), section.begin(), section.end());
        layout_.Shift(b_, end, delta, begin);
    }

    // New codes for every symbol in use, and every present section written again with them.
    void Recode() {
        Codes codes = ReadCodes(b_, layout_);
        NewCodes(codes, rng_);
        for (std::size_t j = 0; j < 256; ++j) {
            WriteCode(b_, layout_, j, codes[j]);
        }
        for (int L = 1; L < layout_.n; ++L) {
            if (layout_.Present(b_, L)) {
                RewriteSection(L);
            }
        }
    }

    // Extra records after the code table: a count and records of the header's record size, the
    // sections moved along behind them. Sometimes fewer bytes than the count needs.
    void Extras() {
        std::size_t first = b_.size();
        for (int L = 0; L < layout_.n; ++L) {
            const std::size_t a = layout_.A(b_, L);
            if (a >= layout_.extrasAt && a < first) {
                first = a;
            }
        }
        const int size = OneIn(rng_, 8) ? -Below(rng_, 3) - 1 : Below(rng_, 9);
        const int count = OneIn(rng_, 8) ? 0xFFFF : Below(rng_, 5);
        std::size_t bytes = 2 + static_cast<std::size_t>(std::max(size, 0)) *
                                    static_cast<std::size_t>(std::min(count, 8));
        if (OneIn(rng_, 4) && bytes > 2) {
            bytes -= static_cast<std::size_t>(1 + Below(rng_, static_cast<int>(bytes - 2)));
        }
        if (b_.size() - (first - layout_.extrasAt) + bytes > maxSize_) {
            return;
        }
        Bytes block(bytes);
        for (uint8_t& byte : block) {
            byte = static_cast<uint8_t>(Below(rng_, 256));
        }
        SetU16(block, 0, static_cast<uint16_t>(count));
        SetU16(b_, layout_.recordSizeAt, static_cast<uint16_t>(size));
        const long delta = static_cast<long>(bytes) - static_cast<long>(first - layout_.extrasAt);
        b_.erase(b_.begin() + static_cast<long>(layout_.extrasAt),
                 b_.begin() + static_cast<long>(first));
        b_.insert(b_.begin() + static_cast<long>(layout_.extrasAt), block.begin(), block.end());
        layout_.Shift(b_, first, delta, layout_.extrasAt);
    }

    // A copy cut short: inside the header, at a section's start, or inside a section.
    void Truncate() {
        std::size_t cut = static_cast<std::size_t>(Below(rng_, static_cast<int>(b_.size())));
        if (OneIn(rng_, 2) && layout_.n > 1) {
            const std::size_t a = std::min<std::size_t>(layout_.A(b_, RandomClass()), b_.size());
            cut = std::min(b_.size(), a + static_cast<std::size_t>(Below(rng_, 9)));
        }
        b_.resize(cut);
    }

    // One class more or fewer: every table of the header grows or shrinks, so the rest of the
    // file moves and the offsets move with it. A new last class gets a section of its own.
    void ChangeClassCount() {
        const int n = layout_.n;
        const int wanted = OneIn(rng_, 2) ? n + 1 : n - 1;
        if (wanted < 0 || wanted > 32) {
            return;
        }
        const int tables = layout_.version > 0 ? 5 : 2;
        Bytes out(b_.begin(), b_.begin() + 6);
        SetU16(out, 4, static_cast<uint16_t>(wanted));
        if (layout_.version > 0) {
            out.insert(out.end(), b_.begin() + 6, b_.begin() + 18);
        }
        const long delta = static_cast<long>(tables) * 4 * (wanted - n);
        const std::size_t tableStart = layout_.version > 0 ? 18 : 6;
        for (int t = 0; t < tables; ++t) {
            const std::size_t at = tableStart + 4 * static_cast<std::size_t>(n * t);
            const bool offsets = t == tables - 2;
            for (int L = 0; L < wanted; ++L) {
                uint32_t v = L < n ? GetU32(b_, at + 4 * static_cast<std::size_t>(L)) : 0;
                if (offsets) {
                    v = L < n ? static_cast<uint32_t>(static_cast<long>(v) + delta)
                              : static_cast<uint32_t>(static_cast<long>(b_.size()) + delta);
                }
                PutU32(out, v);
            }
        }
        out.insert(out.end(), b_.begin() + static_cast<long>(layout_.descriptionAt), b_.end());
        if (out.size() > maxSize_) {
            return;
        }
        b_ = std::move(out);
        layout_.Parse(b_);
        if (wanted > n) {
            RewriteSection(wanted - 1);
        }
    }

    void TweakDescription() {
        const std::size_t size = layout_.recordSizeAt - layout_.descriptionAt;
        const std::size_t from = static_cast<std::size_t>(Below(rng_, static_cast<int>(size)));
        const uint8_t fill = OneIn(rng_, 2) ? 0 : static_cast<uint8_t>('a' + Below(rng_, 26));
        std::fill(b_.begin() + static_cast<long>(layout_.descriptionAt + from),
                  b_.begin() + static_cast<long>(layout_.descriptionAt + size), fill);
    }

    // Present sections that start past the end are moved to where another section starts, so
    // the file gets past the loader.
    void KeepSectionsInside() {
        if (!layout_.Parse(b_) || b_.size() <= layout_.extrasAt) {
            return;
        }
        std::vector<uint32_t> starts;
        for (int L = 0; L < layout_.n; ++L) {
            const uint32_t a = layout_.A(b_, L);
            if (a >= layout_.extrasAt && a < b_.size()) {
                starts.push_back(a);
            }
        }
        if (starts.empty()) {
            starts.push_back(static_cast<uint32_t>(layout_.extrasAt));
        }
        for (int L = 1; L < layout_.n; ++L) {
            if (layout_.Present(b_, L) && layout_.A(b_, L) >= b_.size()) {
                layout_.SetA(
                    b_, L,
                    starts[static_cast<std::size_t>(Below(rng_, static_cast<int>(starts.size())))]);
            }
        }
    }

    Bytes& b_;
    std::size_t maxSize_;
    Rng& rng_;
    Layout layout_;
};

} // namespace

std::size_t MutateDictionary(uint8_t* data, std::size_t size, std::size_t maxSize,
                             unsigned int seed, RawMutator rawMutate) {
    Rng rng(seed);
    Bytes bytes(data, data + size);
    // A share of plain byte changes keeps damaged headers and odd bytes coming.
    if (OneIn(rng, 4) || !Mutation(bytes, maxSize, rng).Run()) {
        return rawMutate(data, size, maxSize);
    }
    if (bytes.size() > maxSize) {
        bytes.resize(maxSize);
    }
    std::copy(bytes.begin(), bytes.end(), data);
    return bytes.size();
}

extern "C" std::size_t LLVMFuzzerMutate(uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    return MutateDictionary(data, size, maxSize, seed, LLVMFuzzerMutate);
}
