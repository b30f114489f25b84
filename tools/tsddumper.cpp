#include "tools/tsddumper.h"

#include <cstring>

#include "dictionary/inputengine.h"
#include "dictionary/tsdictionary.h"
#include "dictionary/cp1252.h"

int DumpDictionary(const std::string& path, std::ostream& out, std::ostream& err) {
    TSDictionaryList list(path, false);
    TSDictionaryList::Dictionary* dictionary = list.Entry(0);
    if (dictionary == nullptr) {
        err << "tsddump: no dictionary path given\n";
        return 1;
    }
    if (list.FirstInvalid() != nullptr) {
        // A file cut inside its header keeps what was read of its description as its status,
        // which names the dictionary but not what is wrong with it.
        const bool missing = std::strcmp(dictionary->StatusText(), kDictionaryNotFoundText) == 0;
        err << path << ": " << (missing ? kDictionaryNotFoundText : kInvalidDictionaryText) << "\n";
        return 1;
    }

    const int n = dictionary->LengthClasses();
    uint64_t total = 0;
    out << "# version " << dictionary->Version() << "\n";
    out << "# length classes " << n << "\n";
    for (int L = 1; L < n; ++L) {
        if (dictionary->WordCount(L) > 0) {
            out << "# words of " << L << " letters " << dictionary->WordCount(L) << "\n";
        }
        if (L >= 2) {
            total += dictionary->WordCount(L);
        }
    }
    out << "# words of 2 to 31 letters " << total << "\n";
    out << "# description " << Cp1252ToUtf8(dictionary->StatusText()) << "\n";

    // The same walk the game's index makes: classes 2 to 31, entries without a space.
    InputEngine cursor(list, 0);
    std::string word;
    bool whole = true;
    for (int L = 2; L <= 31; ++L) {
        // Every entry counts against the header, those with a space too: a section that ends
        // before its count was cut short or broken, and the game would silently miss the rest.
        uint64_t entries = 0;
        const bool started = cursor.Start(L);
        word.resize(static_cast<std::size_t>(L));
        while (started) {
            const uint8_t* key = cursor.Next();
            if (key[0] == InputEngine::kEndKey) {
                break;
            }
            ++entries;
            if (std::strchr(cursor.Text(), ' ') != nullptr) {
                continue;
            }
            for (int i = 0; i < L; ++i) {
                word[static_cast<std::size_t>(i)] = list.IndexLetter(0, key[i]);
            }
            out << Cp1252ToUtf8(word) << '\t' << Cp1252ToUtf8(cursor.Text()) << '\n';
        }
        if (entries < dictionary->WordCount(L)) {
            err << path << ": the words of " << L << " letters end after " << entries << " of "
                << dictionary->WordCount(L) << "\n";
            whole = false;
        }
    }
    return out.good() && whole ? 0 : 1;
}
