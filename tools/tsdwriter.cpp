#include "tools/tsdwriter.h"

#include <algorithm>

#include "dictionary/cp1252.h"

namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>((v >> shift) & 0xFF));
    }
}

void PatchU32(std::vector<uint8_t>& out, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
    }
}

// Packs codes the way the reader takes them: each 32-bit little-endian word filled from its
// lowest bit up, each code's most significant bit first.
class BitSink {
public:
    explicit BitSink(std::vector<uint8_t>& out) : out_(out) {}
    void Put(uint32_t code, int length) {
        for (int b = length - 1; b >= 0; --b) {
            word_ |= ((code >> b) & 1u) << used_;
            if (++used_ == 32) {
                Flush();
            }
        }
    }
    // Completes the last word with zero bits.
    void Finish() {
        if (used_ > 0) {
            Flush();
        }
    }

private:
    void Flush() {
        PutU32(out_, word_);
        word_ = 0;
        used_ = 0;
    }
    std::vector<uint8_t>& out_;
    uint32_t word_ = 0;
    int used_ = 0;
};

} // namespace

int InternalNodesNeeded(const CodeLengths& lengths, const Codes& codes) {
    // The loader's own walk: every node passed through gets both children numbered, and a
    // leaf placed later over a numbered child wastes that number.
    std::vector<std::array<int, 2>> nodes(1, {-1, -1});
    for (int j = 0; j < 256; ++j) {
        const int length = lengths[j];
        if (length == 0) {
            continue;
        }
        int node = 0;
        for (int bit = length - 1; bit >= 1; --bit) {
            for (int child = 0; child < 2; ++child) {
                if (nodes[node][child] == -1) {
                    nodes[node][child] = static_cast<int>(nodes.size());
                    nodes.push_back({-1, -1});
                }
            }
            const int next = nodes[node][(codes[j] >> bit) & 1u];
            if (next < 0) {
                return 1 << 20; // runs through a leaf: not a prefix code at all
            }
            node = next;
        }
        nodes[node][codes[j] & 1u] = -2 - j;
    }
    return static_cast<int>(nodes.size());
}

TsdWriter::TsdWriter(int version) : version_(version) {
    for (int c = 0; c < 256; ++c) {
        letterIndex_[c] = FoldedLetters(static_cast<unsigned char>(c));
        letterChar_[c] = c < 26 ? static_cast<char>('A' + c) : '!';
    }
}

std::string TsdWriter::Key(std::string_view entry) const {
    std::string key;
    for (const char ch : entry) {
        if (ch == '\n') {
            break;
        }
        const int16_t index = letterIndex_[static_cast<unsigned char>(ch)];
        // Letter index 255 is the reader's "no letter".
        if (index < 0 || FirstLetter(index) == 255) {
            continue;
        }
        key += letterChar_[static_cast<std::size_t>(FirstLetter(index))];
        if (IsLetterPair(index)) {
            key += letterChar_[static_cast<std::size_t>(SecondLetter(index))];
        }
    }
    return key;
}

int TsdWriter::LetterCount(std::string_view entry) const {
    return static_cast<int>(Key(entry).size());
}

TsdWriter::AddResult TsdWriter::Add(std::string_view entry) {
    if (entry.find('\0') != std::string_view::npos) {
        return AddResult::HasNul; // symbol 0 would end the entry early
    }
    if (entry.size() > kMaxSymbols) {
        return AddResult::TooLong;
    }
    const int letters = LetterCount(entry);
    if (letters == 0) {
        return AddResult::NoLetters; // would read as a section's end marker
    }
    if (letters > kMaxLetters) {
        return AddResult::TooManyLetters;
    }
    classes_[static_cast<std::size_t>(letters)].emplace_back(entry);
    return AddResult::Added;
}

void TsdWriter::AddRaw(int L, std::string_view entry) {
    classes_[static_cast<std::size_t>(std::clamp(L, 1, kMaxLetters))].emplace_back(entry);
}

std::optional<std::vector<uint8_t>> TsdWriter::Build(std::string* error) const {
    auto fail = [&](const char* why) {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };

    int last = 0;
    for (int L = 1; L <= kMaxLetters; ++L) {
        if (!classes_[static_cast<std::size_t>(L)].empty()) {
            last = L;
        }
    }
    const int n = std::clamp(std::max(last + 1, minimumClasses_), 1, 32);
    auto present = [&](int L) {
        return L >= 1 && L < n && (L == n - 1 || !classes_[static_cast<std::size_t>(L)].empty());
    };

    SymbolCounts counts{};
    for (int L = 1; L < n; ++L) {
        if (!present(L)) {
            continue;
        }
        for (const std::string& entry : classes_[static_cast<std::size_t>(L)]) {
            for (const char ch : entry) {
                ++counts[static_cast<unsigned char>(ch)];
            }
            ++counts[0];
        }
        ++counts[0]; // the end marker
    }

    CodeLengths lengths = fixedLengths_ ? *fixedLengths_ : LimitedCodeLengths(counts, 32);
    for (int s = 0; s < 256; ++s) {
        if (counts[s] > 0 && lengths[s] == 0) {
            return fail("a symbol in use has no code");
        }
    }
    Codes codes{};
    if (!CanonicalCodes(lengths, codes)) {
        return fail("the code lengths over-fill the code space");
    }
    if (InternalNodesNeeded(lengths, codes) > 255) {
        return fail("the code table needs more tree nodes than the format holds");
    }
    lastLengths_ = lengths;
    lastCodes_ = codes;

    std::vector<uint8_t> out;
    out.insert(out.end(), {'T', 'S', 'D', static_cast<uint8_t>('0' + version_)});
    PutU16(out, static_cast<uint16_t>(n));
    if (version_ > 0) {
        for (int i = 0; i < 3; ++i) {
            PutU32(out, 0);
        }
        for (int L = 0; L < n; ++L) {
            PutU32(out, 0xFFFFFFFFu);
        }
        for (int L = 0; L < n; ++L) {
            PutU32(out, 0xFFFFFFFFu);
        }
        for (int L = 0; L < n; ++L) {
            PutU32(out, 0);
        }
    }
    const std::size_t offsetsAt = out.size();
    for (int L = 0; L < n; ++L) {
        PutU32(out, 0);
    }
    for (int L = 0; L < n; ++L) {
        PutU32(out, present(L) ? static_cast<uint32_t>(classes_[static_cast<std::size_t>(L)].size())
                               : 0);
    }
    // The description keeps a terminating zero inside its block.
    const std::size_t block = version_ > 0 ? 1000 : 80;
    std::string description = description_.substr(0, block - 1);
    description.resize(block, '\0');
    out.insert(out.end(), description.begin(), description.end());
    PutU16(out, 0); // record size
    PutU16(out, 0); // second header word
    for (int j = 0; j < 256; ++j) {
        int16_t index = letterIndex_[j];
        // A reader that knows single letters only refuses a file with a pair in its table; a
        // pair no entry uses is left out, so files without ß, Æ or Œ stay readable everywhere.
        if (IsLetterPair(index) && counts[j] == 0) {
            index = -1;
        }
        out.push_back(static_cast<uint8_t>(index >= 0 ? letterChar_[index & 0xFF] : j));
        out.push_back(lengths[j]);
        PutU16(out, static_cast<uint16_t>(index));
        PutU32(out, codes[j]);
    }
    PutU16(out, 0); // no extra records

    std::array<uint32_t, 32> offsets{};
    for (int L = 1; L < n; ++L) {
        offsets[L] = static_cast<uint32_t>(out.size());
        if (!present(L)) {
            continue;
        }
        BitSink sink(out);
        for (const std::string& entry : classes_[static_cast<std::size_t>(L)]) {
            for (const char ch : entry) {
                const auto s = static_cast<unsigned char>(ch);
                sink.Put(codes[s], lengths[s]);
            }
            sink.Put(codes[0], lengths[0]);
            if (version_ > 0) {
                sink.Put(0, 1); // the entry's flag bit
            }
        }
        sink.Put(codes[0], lengths[0]);
        sink.Finish();
    }
    offsets[0] = n > 1 ? offsets[1] : static_cast<uint32_t>(out.size());
    for (int L = 0; L < n; ++L) {
        PatchU32(out, offsetsAt + 4 * static_cast<std::size_t>(L), offsets[L]);
    }
    return out;
}
