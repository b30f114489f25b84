// fuzz_seeds FOLDER: writes the dictionaries the fuzz corpus was grown from. Each one takes the
// reader somewhere a random file would not: both layouts, a word in every length class, codes of
// up to 32 bits, sections longer than one read block, extra records, entries the format does not
// allow, and headers damaged in the ways a copy or an editor damages them.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/huffman.h"
#include "tools/tsdwriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string folder;
int failures = 0;

void Save(const std::string& name, const Bytes& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", name.c_str());
        ++failures;
    }
}

Bytes Build(const TsdWriter& writer, const std::string& name) {
    std::string error;
    auto bytes = writer.Build(&error);
    if (!bytes) {
        std::fprintf(stderr, "fuzz_seeds: %s: %s\n", name.c_str(), error.c_str());
        ++failures;
        return {};
    }
    return *bytes;
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

void SetU16(Bytes& b, std::size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

int Classes(const Bytes& b) {
    return b[4] | (b[5] << 8);
}

std::size_t OffsetsAt(const Bytes& b) {
    return b[3] == '1' ? 18 + 12 * static_cast<std::size_t>(Classes(b)) : 6;
}

std::size_t RecordSizeAt(const Bytes& b) {
    const auto n = static_cast<std::size_t>(Classes(b));
    return b[3] == '1' ? 1018 + 20 * n : 86 + 8 * n;
}

std::size_t ExtrasAt(const Bytes& b) {
    return RecordSizeAt(b) + 4 + 256 * 8;
}

std::size_t CodeRecordAt(const Bytes& b, int symbol) {
    return RecordSizeAt(b) + 4 + 8 * static_cast<std::size_t>(symbol);
}

// `count` records of `size` bytes after the code table, with the sections moved behind them.
Bytes WithExtras(Bytes b, int16_t size, uint16_t count) {
    const std::size_t at = ExtrasAt(b);
    Bytes block;
    for (int i = 0; i < size * count; ++i) {
        block.push_back(static_cast<uint8_t>('A' + i % 26));
    }
    SetU16(b, RecordSizeAt(b), static_cast<uint16_t>(size));
    SetU16(b, at, count);
    b.insert(b.begin() + static_cast<long>(at + 2), block.begin(), block.end());
    for (int L = 0; L < Classes(b); ++L) {
        const std::size_t o = OffsetsAt(b) + 4 * static_cast<std::size_t>(L);
        SetU32(b, o, GetU32(b, o) + static_cast<uint32_t>(block.size()));
    }
    return b;
}

Bytes Cut(const Bytes& b, std::size_t size) {
    return Bytes(b.begin(), b.begin() + static_cast<long>(std::min(size, b.size())));
}

// Code lengths 1, 2, ..., 32, 32 over the 33 symbols of `alphabet`: a complete code.
CodeLengths Staircase(const std::string& alphabet, int rotation) {
    CodeLengths lengths{};
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        const std::size_t slot = (i + static_cast<std::size_t>(rotation)) % alphabet.size();
        lengths[static_cast<unsigned char>(alphabet[i])] =
            static_cast<uint8_t>(slot + 1 >= alphabet.size() ? 32 : slot + 1);
    }
    return lengths;
}

const std::vector<std::string> kMixed = {
    "cat", "dog",          "quiz",       "cafe\ncafe's", "co-op", "\xE9t\xE9", "ice cream",
    "ab",  "Cat\nthe pet", "cat\nagain", "it's",         "x",     "zz",        "naive\nna\xEFve"};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    folder = argv[1];

    for (int version : {0, 1}) {
        const std::string v = "-v" + std::to_string(version);

        TsdWriter mixed(version);
        mixed.SetDescription("mixed seed");
        for (const std::string& entry : kMixed) {
            mixed.Add(entry);
        }
        const Bytes small = Build(mixed, "mixed");
        Save("mixed" + v + ".tsd", small);

        // A word in every class up to 31 letters, and all 32 classes.
        TsdWriter every(version);
        every.SetMinimumLengthClasses(32);
        std::string word;
        for (int L = 1; L <= 31; ++L) {
            word += static_cast<char>('a' + (L * 7) % 26);
            every.Add(word);
            every.Add(word + "\nmore");
        }
        const Bytes all = Build(every, "every");
        Save("every-class" + v + ".tsd", all);

        // Codes of every length up to 32 bits over a small alphabet.
        const std::string alphabet = std::string(1, '\0') + "\n-' abcdefghijklmnopqrstuvwxyz.,";
        for (int rotation : {0, 11, 29}) {
            TsdWriter longCodes(version);
            longCodes.SetCodeLengths(Staircase(alphabet, rotation));
            for (int i = 0; i < 60; ++i) {
                std::string entry;
                for (int k = 0; k < 2 + i % 9; ++k) {
                    entry += static_cast<char>('a' + (i * 5 + k * 3) % 26);
                }
                if (i % 4 == 0) {
                    entry.insert(1, "-");
                }
                if (i % 6 == 0) {
                    entry += "\nsee it's";
                }
                longCodes.Add(entry);
            }
            Save("long-codes-" + std::to_string(rotation) + v + ".tsd",
                 Build(longCodes, "long codes"));
        }

        // A section longer than one 16 KiB read block.
        TsdWriter big(version);
        for (int i = 0; i < 8000; ++i) {
            std::string entry;
            for (int k = 0, x = i; k < 5; ++k, x /= 26) {
                entry += static_cast<char>('a' + (x + k) % 26);
            }
            big.Add(entry);
        }
        Save("two-blocks" + v + ".tsd", Build(big, "two blocks"));

        // Extra records, whole and cut short.
        const Bytes extras = WithExtras(small, 5, 3);
        Save("extras" + v + ".tsd", extras);
        Save("extras-cut" + v + ".tsd", Cut(extras, ExtrasAt(extras) + 6));

        // Entries the format does not allow: wrong letter counts, letters only after the line
        // feed, an entry longer than the text buffer.
        TsdWriter bad(version);
        bad.AddRaw(3, "cat");
        bad.AddRaw(3, "cats");
        bad.AddRaw(4, "\nabcd");
        bad.AddRaw(4, "abcd");
        bad.AddRaw(4, "ab" + std::string(899, '-') + "cd");
        bad.AddRaw(5, "ab");
        Save("malformed" + v + ".tsd", Build(bad, "malformed"));

        // Damaged headers.
        Save("cut-at-description" + v + ".tsd", Cut(small, RecordSizeAt(small) - 80));
        Save("cut-in-table" + v + ".tsd", Cut(small, ExtrasAt(small) - 100));
        Save("cut-in-sections" + v + ".tsd", Cut(all, all.size() / 2));
        Save("cut-in-last" + v + ".tsd", Cut(all, all.size() - 3));
        Bytes wrong = small;
        wrong[3] = '2';
        Save("magic" + v + ".tsd", wrong);
        Bytes classes = small;
        SetU16(classes, 4, 33);
        Save("classes" + v + ".tsd", classes);
        Bytes letter = small;
        SetU16(letter, CodeRecordAt(letter, 'c') + 2, 256);
        Save("letter-index" + v + ".tsd", letter);
        // Every symbol of letter index 2 turns it back into a line feed.
        Bytes newline = small;
        for (int symbol = 0; symbol < 256; ++symbol) {
            const std::size_t at = CodeRecordAt(newline, symbol);
            if (newline[at + 2] == 2 && newline[at + 3] == 0) {
                newline[at] = '\n';
            }
        }
        Save("newline-letter" + v + ".tsd", newline);
        Bytes incomplete = small;
        incomplete[CodeRecordAt(incomplete, 'd') + 1] = 0;
        Save("incomplete-code" + v + ".tsd", incomplete);
        Bytes through = small;
        SetU32(through, CodeRecordAt(through, 'c') + 4,
               GetU32(through, CodeRecordAt(through, 0) + 4) << 1);
        through[CodeRecordAt(through, 'c') + 1] =
            static_cast<uint8_t>(through[CodeRecordAt(through, 0) + 1] + 1);
        Save("not-prefix" + v + ".tsd", through);
    }
    return failures == 0 ? 0 : 1;
}
