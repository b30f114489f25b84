// tsddump: lists a dictionary file's header and the words the game would accept from it.
#include <iostream>
#include <string>

#include "tools/tsddumper.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help") {
        (argc == 2 ? std::cout : std::cerr)
            << "usage: tsddump FILE.tsd\n"
               "\n"
               "Prints the header (lines starting with \"# \"), then every word of 2 to 31\n"
               "letters without a space in its display text, in file order, as the word in\n"
               "capitals, a TAB and the display text (UTF-8). A length class holding fewer\n"
               "words than the header counts is reported, and the exit status is then 1.\n";
        return argc == 2 ? 0 : 2;
    }
    std::ios::sync_with_stdio(false);
    return DumpDictionary(argv[1], std::cout, std::cerr);
}
