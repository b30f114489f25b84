// tsdmake: builds a dictionary file from a word list, one entry per line.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/arguments.h"
#include "dictionary/cp1252.h"
#include "tools/tsdwriter.h"
#include "tools/wordlist.h"

namespace {

void Usage(std::ostream& out) {
    out << "usage: tsdmake [-v 0|1] [-d DESCRIPTION] [--cp1252] WORDLIST OUTPUT.tsd\n"
           "\n"
           "Each line of WORDLIST (\"-\" reads standard input) is one entry: the word as it is\n"
           "shown, optionally followed by a TAB and further text stored with it. Letters A-Z of\n"
           "either case, and accented letters folded to their base letter, make up the word's\n"
           "key; its letter count chooses its length class (words of more than 31 letters are\n"
           "skipped).\n"
           "\n"
           "  -v 0|1        file layout version (default 0)\n"
           "  -d TEXT       description stored in the header (UTF-8)\n"
           "  --cp1252      the word list is Windows-1252 already, not UTF-8\n";
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

} // namespace

int main(int argc, char** argv) {
    int version = 0;
    std::string description;
    bool raw = false;
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
    if (positional != 2) {
        Usage(std::cerr);
        return 2;
    }

    const auto descriptionBytes = Utf8ToCp1252(description);
    if (!descriptionBytes) {
        std::cerr << "tsdmake: the description holds characters Windows-1252 cannot show\n";
        return 2;
    }
    const std::size_t block = version > 0 ? 1000 : 80;
    if (descriptionBytes->size() > block - 1) {
        std::cerr << "tsdmake: warning: description cut to " << block - 1 << " bytes\n";
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
    long added = 0;
    long skipped = 0;
    while (std::getline(*in, line)) {
        ++lineNumber;
        const WordListLine parsed = ParseWordListLine(line, raw);
        if (parsed.status == LineStatus::Blank) {
            continue;
        }
        if (parsed.status == LineStatus::BadText) {
            std::cerr << input << ":" << lineNumber << ": warning: skipped, "
                      << (raw ? "holds a zero byte" : "not Windows-1252 text") << "\n";
            ++skipped;
            continue;
        }
        const TsdWriter::AddResult result = writer.Add(parsed.entry);
        if (result != TsdWriter::AddResult::Added) {
            std::cerr << input << ":" << lineNumber << ": warning: skipped, " << Reason(result)
                      << "\n";
            ++skipped;
            continue;
        }
        ++added;
    }
    if (in->bad()) {
        std::cerr << "tsdmake: error reading \"" << input << "\"\n";
        return 1;
    }

    std::string error;
    const auto bytes = writer.Build(&error);
    if (!bytes) {
        std::cerr << "tsdmake: cannot build the dictionary: " << error << "\n";
        return 1;
    }
    std::ofstream out(PathFromUtf8(output), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes->data()),
              static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
        std::cerr << "tsdmake: cannot write \"" << output << "\"\n";
        return 1;
    }
    std::cerr << "tsdmake: " << output << ": " << added << " entries, " << skipped << " skipped, "
              << bytes->size() << " bytes\n";
    return 0;
}
