// The tsdmake and tsddump commands as a user runs them: usage, warnings, exit codes, and a
// listing of exactly the words the game would accept.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/dictionary/tsdfixture.h"

namespace {

// Exit code and everything the command printed.
std::pair<int, std::string> Execute(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return {-1, output};
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int raw = pclose(pipe);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, output};
}

const std::string kMake = TSDMAKE_PATH;
const std::string kDump = TSDDUMP_PATH;

} // namespace

// Wrong arguments give the usage and exit code 2; files that cannot be read give 1, and a file
// that is not a dictionary gets its status text.
TEST(Commands, UsageAndErrors) {
    tsdtest::TempFolder folder;
    EXPECT_EQ(Execute(kMake).first, 2);
    EXPECT_NE(Execute(kMake).second.find("usage: tsdmake"), std::string::npos);
    EXPECT_EQ(Execute(kMake + " -v 7 a b").first, 2);
    EXPECT_EQ(Execute(kMake + " '" + folder.File("none.txt") + "' out.tsd").first, 1);
    EXPECT_EQ(Execute(kDump).first, 2);
    const std::string bad = folder.File("bad.tsd");
    std::ofstream(bad) << "TSD9 not a dictionary";
    auto [status, output] = Execute(kDump + " '" + bad + "'");
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("-- INVALID DICTIONARY FILE --"), std::string::npos);
    std::tie(status, output) = Execute(kDump + " '" + folder.File("no.tsd") + "'");
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
    const auto made = Execute(kMake + " -v 1 -d 'Test words' '" + list + "' '" + dictionary + "'");
    ASSERT_EQ(made.first, 0) << made.second;
    EXPECT_NE(made.second.find(":5: warning"), std::string::npos) << made.second;
    EXPECT_NE(made.second.find(":6: warning: skipped, more than 31 letters"), std::string::npos);

    const auto dumped = Execute(kDump + " '" + dictionary + "'");
    ASSERT_EQ(dumped.first, 0) << dumped.second;
    EXPECT_NE(dumped.second.find("# version 1\n"), std::string::npos);
    EXPECT_NE(dumped.second.find("# description Test words\n"), std::string::npos);
    EXPECT_NE(dumped.second.find("# words of 2 to 31 letters 5\n"), std::string::npos);
    const std::size_t words = dumped.second.find("CAT\t");
    ASSERT_NE(words, std::string::npos);
    EXPECT_EQ(dumped.second.substr(words),
              "CAT\tcat\nETE\t\xC3\xA9t\xC3\xA9\nDOG\tdog\nQUIZ\tquiz\n");
}
