// Arbitrary bytes as a dictionary file: the header loader, the word reader over every length
// class, and the word index load must neither crash nor read or write out of bounds, and every
// key the reader hands out must be terminated where its class says.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "dictionary/inputengine.h"
#include "dictionary/tsdictionary.h"
#include "words.h"

namespace {

const std::string& ScratchPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("pellin-fuzz-" + std::to_string(getpid()) + ".tsd"))
                                        .string();
    return path;
}

bool WriteFile(const uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (!WriteFile(data, size)) {
        return 0;
    }
    {
        TSDictionaryList list(ScratchPath(), false);
        const char* status = list.Entry(0)->StatusText();
        if (std::strlen(status) >= TSDictionaryList::Dictionary::kStatusSize) {
            __builtin_trap();
        }
        if (list.FirstInvalid() == nullptr) {
            InputEngine cursor(list, 0);
            const int n = list.LengthClasses(0);
            for (int L = 0; L <= n; ++L) {
                if (!cursor.Start(L)) {
                    continue;
                }
                for (;;) {
                    const uint8_t* key = cursor.Next();
                    if (key[0] == InputEngine::kEndKey) {
                        break;
                    }
                    if (key[L] != InputEngine::kEndKey ||
                        std::strlen(cursor.Text()) >= InputEngine::kTextSize) {
                        __builtin_trap();
                    }
                }
            }
        }
    }
    static auto words = std::make_unique<Words>();
    words->Load(ScratchPath());
    // Lookups of pieces of the input, against whatever the load put in the buckets.
    for (std::size_t at = 0; at + 2 <= size && at < 64; at += 8) {
        const std::size_t length = 1 + data[at] % 31;
        const std::string probe(reinterpret_cast<const char*>(data) + at,
                                std::min(length, size - at));
        if (words->Lookup(probe).size() >= InputEngine::kTextSize) {
            __builtin_trap(); // no display text is longer than the reader's text buffer
        }
    }
    if (TSDictionaryList::CachedCount() != 0) {
        __builtin_trap(); // every share was given back
    }
    return 0;
}
