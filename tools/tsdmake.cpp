// tsdmake: builds a dictionary file from a word list, one entry per line.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dictionary/cp1252.h"
#include "dictionary/letterstext.h"
#include "tools/arguments.h"
#include "tools/lettertally.h"
#include "tools/tsdwriter.h"
#include "tools/wordlist.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: tsdmake [-v 0|1] [-d DESCRIPTION] [--cp1252] [--unique [--prefer CHARS]]\n"
           "               [--letters | --letters-from WEIGHTS] WORDLIST OUTPUT.tsd\n"
           "\n"
           "Each line of WORDLIST (\"-\" reads standard input) is one entry: the word as it is\n"
           "shown, optionally followed by a TAB and further text stored with it. Letters A-Z of\n"
           "either case, and accented letters folded to their base letter, make up the word's\n"
           "key (ligatures and sharp s give two letters: AE, OE, SS, TH); its letter count\n"
           "chooses its length class (words of more than 31 letters are skipped).\n"
           "\n"
           "  -v 0|1        file layout version (default 0)\n"
           "  -d TEXT       description stored in the header (UTF-8)\n"
           "  --cp1252      the word list is Windows-1252 already, not UTF-8\n"
           "  --unique      one entry per key: of entries spelt with the same letters, the one\n"
           "                with the most characters of CHARS, then the fewest other characters\n"
           "                outside a-z and A-Z, then the first in byte order, in the place of\n"
           "                the first of them\n"
           "  --prefer CHARS\n"
           "                the letters (UTF-8) --unique favours: a language's own letters\n"
           "                with marks, which make other words than the plain letter\n"
           "  --letters     also write the letter weights the game draws tiles by: how often\n"
           "                each letter occurs in the keys of the words of 2 to 31 letters (a U\n"
           "                after Q not counted, every letter at least 1), to OUTPUT.letters\n"
           "  --letters-from WEIGHTS\n"
           "                write the weights of the file WEIGHTS there instead: 26 lines\n"
           "                \"<letter> <weight>\", A to Z\n";
}

const char* Reason(TsdWriter::AddResult result) {
    switch (result) {
    case TsdWriter::AddResult::NoLetters:
        return "no letters";
    case TsdWriter::AddResult::TooManyLetters:
        return "more than 31 letters";
    case TsdWriter::AddResult::TooLong:
        return "entry longer than 898 characters";
    case TsdWriter::AddResult::HasNul:
        return "holds a zero byte";
    case TsdWriter::AddResult::Added:
        break;
    }
    return "";
}

// Which of the entries of one key is shown. A language's own letters (Swedish å, ä, ö) make
// other words than the plain letter, often commoner ones (är, not ar); other accents and marks
// mostly tell apart rarer words or stress (Norwegian fòr beside for, Dutch dáárop beside
// daarop). Ties go by byte order, so the choice does not depend on the list's order.
class Preference {
public:
    explicit Preference(std::string_view own) {
        for (const char c : own) {
            own_[static_cast<unsigned char>(c)] = true;
        }
    }
    bool Better(std::string_view a, std::string_view b) const {
        const auto [ownA, otherA] = Marks(a);
        const auto [ownB, otherB] = Marks(b);
        if (ownA != ownB) {
            return ownA > ownB;
        }
        if (otherA != otherB) {
            return otherA < otherB;
        }
        return a < b;
    }

private:
    std::pair<int, int> Marks(std::string_view entry) const {
        entry = entry.substr(0, entry.find('\n'));
        int own = 0;
        int other = 0;
        for (const char c : entry) {
            if (own_[static_cast<unsigned char>(c)]) {
                ++own;
            } else if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
                ++other;
            }
        }
        return {own, other};
    }
    std::array<bool, 256> own_{};
};

struct Pending {
    long line = 0;
    std::string entry;
};

// Leaves one entry per key, in the place of the first of them.
void KeepOnePerKey(const TsdWriter& writer, const Preference& preference,
                   std::vector<Pending>& pending, long& dropped) {
    std::unordered_map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const auto [at, fresh] = first.try_emplace(writer.Key(pending[i].entry), i);
        if (fresh) {
            continue;
        }
        Pending& kept = pending[at->second];
        if (preference.Better(pending[i].entry, kept.entry)) {
            kept.entry = std::move(pending[i].entry);
        }
        pending[i].line = 0; // lines count from 1: this marks the entry to go
        ++dropped;
    }
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [](const Pending& p) { return p.line == 0; }),
                  pending.end());
}

bool ReadWholeFile(const std::string& name, std::string& text) {
    std::ifstream file(PathFromUtf8(name), std::ios::binary);
    if (!file) {
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool WriteWholeFile(const std::string& name, const char* data, std::size_t size) {
    std::ofstream out(PathFromUtf8(name), std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    int version = 0;
    std::string description;
    bool raw = false;
    bool unique = false;
    std::string prefer;
    bool letters = false;
    std::string lettersFrom;
    std::string input;
    std::string output;
    int positional = 0;
    const std::vector<std::string> args = Utf8Arguments(argc, argv);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            Usage(std::cout);
            return 0;
        }
        if (arg == "-v" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            if (value != "0" && value != "1") {
                std::cerr << "tsdmake: version must be 0 or 1, not \"" << value << "\"\n";
                return 2;
            }
            version = value[0] - '0';
        } else if (arg == "-d" && i + 1 < args.size()) {
            description = args[++i];
        } else if (arg == "--cp1252") {
            raw = true;
        } else if (arg == "--unique") {
            unique = true;
        } else if (arg == "--prefer" && i + 1 < args.size()) {
            prefer = args[++i];
        } else if (arg == "--letters") {
            letters = true;
        } else if (arg == "--letters-from" && i + 1 < args.size()) {
            lettersFrom = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "tsdmake: unknown option \"" << arg << "\"\n";
            Usage(std::cerr);
            return 2;
        } else if (positional == 0) {
            input = arg;
            ++positional;
        } else if (positional == 1) {
            output = arg;
            ++positional;
        } else {
            Usage(std::cerr);
            return 2;
        }
    }
    if (positional != 2 || (letters && !lettersFrom.empty())) {
        Usage(std::cerr);
        return 2;
    }

    const auto descriptionBytes = Utf8ToCp1252(description);
    if (!descriptionBytes) {
        std::cerr << "tsdmake: the description holds characters Windows-1252 cannot show\n";
        return 2;
    }
    const auto preferBytes = Utf8ToCp1252(prefer);
    if (!preferBytes) {
        std::cerr << "tsdmake: the preferred letters hold characters Windows-1252 cannot show\n";
        return 2;
    }
    const std::size_t block = version > 0 ? 1000 : 80;
    if (descriptionBytes->size() > block - 1) {
        std::cerr << "tsdmake: warning: description cut to " << block - 1 << " bytes\n";
    }

    // A weights file that cannot be used stops the run before anything is written.
    std::string weights;
    if (!lettersFrom.empty()) {
        std::string text;
        if (!ReadWholeFile(lettersFrom, text)) {
            std::cerr << "tsdmake: cannot read \"" << lettersFrom << "\": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        const auto table = ParseLetterWeightsText(text);
        if (!table) {
            std::cerr << "tsdmake: \"" << lettersFrom
                      << "\" is not 26 lines \"<letter> <weight>\" from A to Z with a total from 1 "
                         "to 2147483647\n";
            return 1;
        }
        LetterTally given{};
        std::copy(table->begin(), table->end(), given.begin());
        weights = FormatLetterWeights(given);
        for (std::size_t i = 0; i < table->size(); ++i) {
            if ((*table)[i] == 0) {
                std::cerr << "tsdmake: warning: " << static_cast<char>('A' + i)
                          << " has weight 0 and is written as 1\n";
            }
        }
    }

    std::ifstream file;
    std::istream* in = &std::cin;
    if (input == "-") {
        BinaryStandardInput();
    } else {
        file.open(PathFromUtf8(input), std::ios::binary);
        if (!file) {
            std::cerr << "tsdmake: cannot read \"" << input << "\": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
        in = &file;
    }

    TsdWriter writer(version);
    writer.SetDescription(*descriptionBytes);
    std::string line;
    long lineNumber = 0;
    long skipped = 0;
    std::vector<Pending> pending;
    while (std::getline(*in, line)) {
        ++lineNumber;
        WordListLine parsed = ParseWordListLine(line, raw);
        if (parsed.status == LineStatus::Blank) {
            continue;
        }
        if (parsed.status == LineStatus::BadText) {
            std::cerr << input << ":" << lineNumber << ": warning: skipped, "
                      << (raw ? "holds a zero byte" : "not Windows-1252 text") << "\n";
            ++skipped;
            continue;
        }
        pending.push_back({lineNumber, std::move(parsed.entry)});
    }
    if (in->bad()) {
        std::cerr << "tsdmake: error reading \"" << input << "\"\n";
        return 1;
    }

    long duplicates = 0;
    if (unique) {
        KeepOnePerKey(writer, Preference(*preferBytes), pending, duplicates);
    }
    long added = 0;
    LetterTally tally{};
    for (const Pending& p : pending) {
        const TsdWriter::AddResult result = writer.Add(p.entry);
        if (result != TsdWriter::AddResult::Added) {
            std::cerr << input << ":" << p.line << ": warning: skipped, " << Reason(result) << "\n";
            ++skipped;
            continue;
        }
        ++added;
        if (!letters) {
            continue;
        }
        // Only the words the game can play: 2 to 31 letters, no space in what it shows.
        const std::string key = writer.Key(p.entry);
        const std::string_view shown = std::string_view(p.entry).substr(0, p.entry.find('\n'));
        if (key.size() >= 2 && shown.find(' ') == std::string_view::npos) {
            CountKeyLetters(key, tally);
        }
    }

    std::string error;
    const auto bytes = writer.Build(&error);
    if (!bytes) {
        std::cerr << "tsdmake: cannot build the dictionary: " << error << "\n";
        return 1;
    }
    if (!WriteWholeFile(output, reinterpret_cast<const char*>(bytes->data()), bytes->size())) {
        std::cerr << "tsdmake: cannot write \"" << output << "\"\n";
        return 1;
    }
    std::cerr << "tsdmake: " << output << ": " << added << " entries, " << skipped << " skipped, ";
    if (unique) {
        std::cerr << duplicates << " duplicate keys left out, ";
    }
    std::cerr << bytes->size() << " bytes\n";

    if (letters) {
        weights = FormatLetterWeights(tally);
    }
    if (!weights.empty()) {
        const std::string path = LetterWeightsPath(output);
        if (!WriteWholeFile(path, weights.data(), weights.size())) {
            std::cerr << "tsdmake: cannot write \"" << path << "\"\n";
            return 1;
        }
        std::cerr << "tsdmake: " << path << ": letter weights "
                  << (letters ? "counted from the words" : "from \"" + lettersFrom + "\"") << "\n";
    }
    return 0;
}
