// The tsdmake and tsddump commands as a user runs them: usage, warnings, exit codes, and a
// listing of exactly the words the game would accept.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/dictionary/tsdfixture.h"

namespace {

// Exit code and everything the command printed. The command is UTF-8 text on every platform;
// Windows gets it as wide text, so no character depends on the ANSI code page of the machine.
std::pair<int, std::string> Execute(const std::string& command) {
    std::string output;
    char buffer[4096];
#ifdef _WIN32
    // cmd.exe drops the first and the last quote of a line that holds more than two, so the
    // whole line goes in one more pair of quotes.
    const std::string line = "\"" + command + " 2>&1\"";
    std::wstring wide(line.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    FILE* pipe = _wpopen(wide.c_str(), L"rt");
    if (pipe == nullptr) {
        return {-1, output};
    }
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    return {_pclose(pipe), output};
#else
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return {-1, output};
    }
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int raw = pclose(pipe);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, output};
#endif
}

// A path or argument as one word for the shell: double quotes mean the same to sh and cmd.exe
// for the plain paths the tests use.
std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

#ifdef _WIN32
// The tools are built into the test's own folder. The build's path is a path on the build
// machine, which a Windows process (or Wine) need not see under the same name.
std::string Tool(const char* name) {
    wchar_t self[MAX_PATH];
    const DWORD size = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path folder =
        std::filesystem::path(std::wstring(self, size)).parent_path();
    return Quote((folder / name).string());
}
const std::string kMake = Tool("tsdmake.exe");
const std::string kDump = Tool("tsddump.exe");
#else
const std::string kMake = Quote(TSDMAKE_PATH);
const std::string kDump = Quote(TSDDUMP_PATH);
#endif

} // namespace

// Wrong arguments give the usage and exit code 2; files that cannot be read give 1, and a file
// that is not a dictionary gets its status text.
TEST(Commands, UsageAndErrors) {
    tsdtest::TempFolder folder;
    EXPECT_EQ(Execute(kMake).first, 2);
    EXPECT_NE(Execute(kMake).second.find("usage: tsdmake"), std::string::npos);
    EXPECT_EQ(Execute(kMake + " -v 7 a b").first, 2);
    EXPECT_EQ(Execute(kMake + " " + Quote(folder.File("none.txt")) + " out.tsd").first, 1);
    EXPECT_EQ(Execute(kDump).first, 2);
    const std::string bad = folder.File("bad.tsd");
    std::ofstream(bad) << "TSD9 not a dictionary";
    auto [status, output] = Execute(kDump + " " + Quote(bad));
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("-- INVALID DICTIONARY FILE --"), std::string::npos);
    std::tie(status, output) = Execute(kDump + " " + Quote(folder.File("no.tsd")));
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("-- DICTIONARY FILE NOT FOUND --"), std::string::npos);
}

// Skipped lines are warned about with their line numbers; the listing gives the header, then
// every word of 2 to 31 letters without a space, in file order, as capitals, TAB, display text.
TEST(Commands, MakeThenDump) {
    tsdtest::TempFolder folder;
    const std::string list = folder.File("words.txt");
    std::ofstream(list, std::ios::binary)
        << "cat\r\na\n\xC3\xA9t\xC3\xA9\nice cream\n\xE4\xB8\xAD\n"
        << std::string(32, 'z') << "\n\ndog\tfriend\nquiz\n";
    const std::string dictionary = folder.File("words.tsd");
    const auto made =
        Execute(kMake + " -v 1 -d \"Test words\" " + Quote(list) + " " + Quote(dictionary));
    ASSERT_EQ(made.first, 0) << made.second;
    EXPECT_NE(made.second.find(":5: warning"), std::string::npos) << made.second;
    EXPECT_NE(made.second.find(":6: warning: skipped, more than 31 letters"), std::string::npos);

    const auto dumped = Execute(kDump + " " + Quote(dictionary));
    ASSERT_EQ(dumped.first, 0) << dumped.second;
    EXPECT_NE(dumped.second.find("# version 1\n"), std::string::npos);
    EXPECT_NE(dumped.second.find("# description Test words\n"), std::string::npos);
    EXPECT_NE(dumped.second.find("# words of 2 to 31 letters 5\n"), std::string::npos);
    const std::size_t words = dumped.second.find("CAT\t");
    ASSERT_NE(words, std::string::npos);
    EXPECT_EQ(dumped.second.substr(words),
              "CAT\tcat\nETE\t\xC3\xA9t\xC3\xA9\nDOG\tdog\nQUIZ\tquiz\n");
}

// A word list piped into tsdmake arrives whole, and an accented description typed on the command
// line is stored as its Windows-1252 byte. Windows reads standard input as text, ending it at a
// Ctrl-Z byte, and hands argv over in its ANSI code page rather than UTF-8.
TEST(Commands, StandardInputAndAccentedDescription) {
    tsdtest::TempFolder folder;
    const std::string list = folder.File("piped.txt");
    std::ofstream(list, std::ios::binary) << "cat\n\x1A\ndog\r\nquiz\n";
    const std::string dictionary = folder.File("piped.tsd");
    const auto made = Execute(kMake + " -v 1 -d \"Caf\xC3\xA9 words\" - " + Quote(dictionary) +
                              " < " + Quote(list));
    ASSERT_EQ(made.first, 0) << made.second;
    EXPECT_NE(made.second.find("-:2: warning: skipped, no letters"), std::string::npos)
        << made.second;
    EXPECT_NE(made.second.find(": 3 entries, 1 skipped,"), std::string::npos) << made.second;

    const auto dumped = Execute(kDump + " " + Quote(dictionary));
    ASSERT_EQ(dumped.first, 0) << dumped.second;
    EXPECT_NE(dumped.second.find("# description Caf\xC3\xA9 words\n"), std::string::npos)
        << dumped.second;
    const std::size_t words = dumped.second.find("CAT\t");
    ASSERT_NE(words, std::string::npos);
    EXPECT_EQ(dumped.second.substr(words), "CAT\tcat\nDOG\tdog\nQUIZ\tquiz\n");
}

// A copy cut inside its last section still has every section start in the file, so it loads;
// tsddump lists what is there, then says which class ran out before its count and fails.
TEST(Commands, DumpReportsASectionCutShort) {
    tsdtest::TempFolder folder;
    std::vector<std::string> entries = {"cat", "dog"};
    for (char c = 'a'; c <= 'z'; ++c) {
        entries.push_back(std::string("wave") + c);
    }
    const tsdtest::Bytes full = tsdtest::MakeDictionary(entries, 1);
    const std::string dictionary = folder.File("cut.tsd");
    tsdtest::WriteBytes(dictionary, tsdtest::Bytes(full.begin(), full.end() - 8));
    const auto [status, output] = Execute(kDump + " " + Quote(dictionary));
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("CAT\tcat\nDOG\tdog\nWAVEA\twavea\n"), std::string::npos) << output;
    EXPECT_NE(output.find(": the words of 5 letters end after "), std::string::npos) << output;
    EXPECT_NE(output.find(" of 26\n"), std::string::npos) << output;
}

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The weights file of 26 lines with the given weights, every other letter at 1.
std::string Weights(const std::map<char, int>& counts) {
    std::string text;
    for (char c = 'A'; c <= 'Z'; ++c) {
        const auto it = counts.find(c);
        text +=
            std::string(1, c) + " " + std::to_string(it == counts.end() ? 1 : it->second) + "\n";
    }
    return text;
}

} // namespace

// --unique keeps one entry per key: the one with the most preferred letters, else the fewest
// marks, in the place of the first. --letters counts the letters of the keys of the playable
// words (not a word with a space, nor one of a single letter), a U after Q not at all, and
// writes every letter at least 1 beside the dictionary; without it no weights are written.
TEST(Commands, UniqueKeysAndLetterWeights) {
    tsdtest::TempFolder folder;
    const std::string list = folder.File("words.txt");
    std::ofstream(list, std::ios::binary) << "quiz\naqua\niraq\n\xC3\xA9t\xC3\xA9\nete\n"
                                          << "Stra\xC3\x9F"
                                          << "e\nstrasse\nsun\nhut\nice cream\na\n";
    const std::string dictionary = folder.File("words.tsd");
    const auto made = Execute(kMake + " --unique --prefer \xC3\x9F --letters " + Quote(list) + " " +
                              Quote(dictionary));
    ASSERT_EQ(made.first, 0) << made.second;
    EXPECT_NE(made.second.find(": 9 entries, 0 skipped, 2 duplicate keys left out, "),
              std::string::npos)
        << made.second;
    const auto dumped = Execute(kDump + " " + Quote(dictionary));
    const std::size_t words = dumped.second.find("ETE\t");
    ASSERT_NE(words, std::string::npos) << dumped.second;
    EXPECT_EQ(dumped.second.substr(words), "ETE\tete\nSUN\tsun\nHUT\thut\nQUIZ\tquiz\nAQUA\taqua\n"
                                           "IRAQ\tiraq\nSTRASSE\tStra\xC3\x9F"
                                           "e\n");
    EXPECT_EQ(
        ReadText(folder.File("words.letters")),
        Weights({{'A', 4}, {'E', 3}, {'I', 2}, {'Q', 3}, {'R', 2}, {'S', 4}, {'T', 3}, {'U', 2}}));

    const std::string plain = folder.File("plain.tsd");
    ASSERT_EQ(Execute(kMake + " " + Quote(list) + " " + Quote(plain)).first, 0);
    EXPECT_FALSE(std::filesystem::exists(folder.File("plain.letters")));
}

// --letters-from takes a table as the game reads it, CR LF and all, writes it in the plain form
// with a weight of 0 raised to 1, and a file that is not such a table stops tsdmake before it
// writes anything.
TEST(Commands, LetterWeightsFromAFile) {
    tsdtest::TempFolder folder;
    const std::string list = folder.File("words.txt");
    std::ofstream(list, std::ios::binary) << "cat\n";
    std::string table = Weights({{'A', 0}, {'E', 12345}});
    for (std::size_t at = 0; (at = table.find('\n', at)) != std::string::npos; at += 2) {
        table.insert(at, "\r");
    }
    std::ofstream(folder.File("table.txt"), std::ios::binary) << table;
    const std::string dictionary = folder.File("Mine.TSD");
    const auto made = Execute(kMake + " --letters-from " + Quote(folder.File("table.txt")) + " " +
                              Quote(list) + " " + Quote(dictionary));
    ASSERT_EQ(made.first, 0) << made.second;
    EXPECT_NE(made.second.find("A has weight 0"), std::string::npos) << made.second;
    EXPECT_EQ(ReadText(folder.File("Mine.letters")), Weights({{'E', 12345}}));

    std::ofstream(folder.File("bad.txt"), std::ios::binary) << Weights({}) << "AA 1\n";
    const std::string refused = folder.File("refused.tsd");
    const auto bad = Execute(kMake + " --letters-from " + Quote(folder.File("bad.txt")) + " " +
                             Quote(list) + " " + Quote(refused));
    EXPECT_EQ(bad.first, 1);
    EXPECT_FALSE(std::filesystem::exists(refused));
}
