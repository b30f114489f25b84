// Helpers shared by the dictionary, word index and tool tests: a scratch folder, dictionary
// files built in-process, a header written field by field, and a plain bit-by-bit decoder that
// the reader's fast decoding is checked against.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/inputengine.h"
#include "tools/tsdwriter.h"

namespace tsdtest {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    // create_directory fails on a name that is already there, so two test processes running at
    // once can never share a folder; a clash just draws the next name.
    TempFolder() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 draw(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            char name[32];
            std::snprintf(name, sizeof name, "pellin-dict-%016llx",
                          static_cast<unsigned long long>(draw()));
            std::error_code error;
            if (std::filesystem::create_directory(base / name, error)) {
                path_ = base / name;
                return;
            }
        }
        ADD_FAILURE() << "cannot create a temporary folder under " << base.string();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A dictionary of the given entries (Windows-1252 bytes, "\n" before any extra text).
inline Bytes MakeDictionary(const std::vector<std::string>& entries, int version = 0,
                            const std::string& description = "test dictionary") {
    TsdWriter writer(version);
    writer.SetDescription(description);
    for (const std::string& entry : entries) {
        EXPECT_EQ(writer.Add(entry), TsdWriter::AddResult::Added) << entry;
    }
    std::string error;
    auto bytes = writer.Build(&error);
    EXPECT_TRUE(bytes.has_value()) << error;
    return bytes ? *bytes : Bytes{};
}

inline Bytes BuildOrFail(const TsdWriter& writer) {
    std::string error;
    auto bytes = writer.Build(&error);
    EXPECT_TRUE(bytes.has_value()) << error;
    return bytes ? *bytes : Bytes{};
}

inline void PutU16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutU32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

inline uint32_t GetU32(const Bytes& in, std::size_t at) {
    return static_cast<uint32_t>(in[at]) | (static_cast<uint32_t>(in[at + 1]) << 8) |
           (static_cast<uint32_t>(in[at + 2]) << 16) | (static_cast<uint32_t>(in[at + 3]) << 24);
}

// One code table record as the file holds it.
struct CodeRecord {
    uint8_t character = 0;
    uint8_t length = 0;
    int16_t letter = -1;
    uint32_t code = 0;
};

// A header written field by field from the documented layout, independently of the writer.
struct Header {
    int version = 0;
    uint16_t n = 4;
    std::array<uint32_t, 3> values{};
    std::vector<uint32_t> a, b, c, d, e;
    std::string description;
    int16_t recordSize = 0;
    int16_t secondWord = 0;
    std::array<CodeRecord, 256> records{};

    Bytes Encode() const {
        Bytes out{'T', 'S', 'D', static_cast<uint8_t>('0' + version)};
        PutU16(out, n);
        auto table = [&](const std::vector<uint32_t>& t) {
            for (uint16_t i = 0; i < n; ++i) {
                PutU32(out, i < t.size() ? t[i] : 0);
            }
        };
        if (version > 0) {
            for (uint32_t v : values) {
                PutU32(out, v);
            }
            table(c);
            table(d);
            table(e);
        }
        table(a);
        table(b);
        std::string block = description;
        block.resize(version > 0 ? 1000 : 80, '\0');
        out.insert(out.end(), block.begin(), block.end());
        PutU16(out, static_cast<uint16_t>(recordSize));
        PutU16(out, static_cast<uint16_t>(secondWord));
        for (const CodeRecord& r : records) {
            out.push_back(r.character);
            out.push_back(r.length);
            PutU16(out, static_cast<uint16_t>(r.letter));
            PutU32(out, r.code);
        }
        return out;
    }
};

// Offset of the code table and of the first byte after it, per the documented layout.
inline std::size_t CodeTableOffset(int version, int n) {
    return version > 0 ? 1022 + 20 * static_cast<std::size_t>(n)
                       : 90 + 8 * static_cast<std::size_t>(n);
}

struct DecodedEntry {
    std::vector<uint8_t> key;
    std::string text;
    bool operator==(const DecodedEntry& o) const { return key == o.key && text == o.text; }
};

// Decodes length class L of a whole file one bit at a time by matching codes against the code
// table, treating bits past the file's end as zeros up to the next 32-bit word. Stops at the end
// marker, when the data runs out, or at an entry that cannot belong to the class.
inline std::vector<DecodedEntry> ReferenceDecode(const Bytes& file, int L) {
    std::vector<DecodedEntry> result;
    const int version = file[3] - '0';
    const int n = file[4] | (file[5] << 8);
    const std::size_t aAt = version > 0 ? 18 + 12 * static_cast<std::size_t>(n) : 6;
    const std::size_t tableAt = CodeTableOffset(version, n);
    std::map<std::pair<int, uint32_t>, int> symbols;
    std::array<int, 256> letter{};
    for (int j = 0; j < 256; ++j) {
        const std::size_t r = tableAt + 8 * static_cast<std::size_t>(j);
        const int length = file[r + 1];
        const auto index = static_cast<int16_t>(file[r + 2] | (file[r + 3] << 8));
        letter[j] = index < 0 ? 255 : index;
        if (length > 0) {
            const uint32_t code = GetU32(file, r + 4);
            const uint32_t mask = length == 32 ? 0xFFFFFFFFu : ((1u << length) - 1);
            symbols[{length, code & mask}] = j;
        }
    }
    const std::size_t start = GetU32(file, aAt + 4 * static_cast<std::size_t>(L));
    const std::size_t available = file.size() > start ? file.size() - start : 0;
    const std::size_t totalBits = (available + 3) / 4 * 32;
    std::size_t pos = 0;
    auto bit = [&](uint32_t& out) {
        if (pos >= totalBits) {
            return false;
        }
        const std::size_t word = pos / 32;
        const std::size_t byte = start + word * 4 + (pos % 32) / 8;
        const uint8_t value = byte < file.size() ? file[byte] : 0;
        out = (value >> (pos % 8)) & 1u;
        ++pos;
        return true;
    };
    for (;;) {
        DecodedEntry entry;
        bool keyActive = true;
        int symbolCount = 0;
        for (;;) {
            uint32_t acc = 0;
            int length = 0;
            int symbol = -1;
            while (symbol < 0) {
                uint32_t b = 0;
                if (!bit(b) || length == 32) {
                    return result;
                }
                acc = (acc << 1) | b;
                ++length;
                auto it = symbols.find({length, acc});
                if (it != symbols.end()) {
                    symbol = it->second;
                }
            }
            if (symbol == 0) {
                break;
            }
            if (++symbolCount > 898) {
                return result; // longer than any entry the reader can hold
            }
            if (symbol == '\n') {
                keyActive = false;
            }
            if (keyActive) {
                entry.text += static_cast<char>(symbol);
                // A letter index above 255 packs two letters: the first in the low byte, the
                // second plus one in the high byte.
                if ((letter[symbol] & 0xFF) != 255) {
                    entry.key.push_back(static_cast<uint8_t>(letter[symbol] & 0xFF));
                    if (letter[symbol] > 255) {
                        entry.key.push_back(static_cast<uint8_t>((letter[symbol] >> 8) - 1));
                    }
                }
            }
        }
        if (keyActive && entry.key.empty()) {
            return result; // end marker
        }
        if (entry.key.size() != static_cast<std::size_t>(L)) {
            return result; // a key that does not fit the class ends the section
        }
        if (version > 0) {
            uint32_t flag = 0;
            if (!bit(flag)) {
                return result;
            }
        }
        result.push_back(std::move(entry));
    }
}

// Every entry the cursor yields for class L; each key is checked to end with 255 at position L.
inline std::vector<DecodedEntry> EngineDecode(InputEngine& cursor, int L,
                                              std::size_t limit = 1u << 22) {
    std::vector<DecodedEntry> result;
    if (!cursor.Start(L)) {
        return result;
    }
    while (result.size() < limit) {
        const uint8_t* key = cursor.Next();
        if (key[0] == InputEngine::kEndKey) {
            break;
        }
        EXPECT_EQ(key[L], InputEngine::kEndKey) << "key of class " << L << " not terminated";
        DecodedEntry entry;
        entry.key.assign(key, key + L);
        entry.text = cursor.Text();
        result.push_back(std::move(entry));
    }
    return result;
}

} // namespace tsdtest
