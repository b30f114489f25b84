// The tsdmake and tsddump commands as a user runs them: usage, warnings, exit codes, and a
// listing of exactly the words the game would accept.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/dictionary/tsdfixture.h"

using tsdtest::TempFolder;

namespace {

struct CommandRun {
    int status = -1;
    std::string output; // standard output and standard error together
};

CommandRun Execute(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, count);
    }
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

} // namespace

// Wrong arguments print the usage and exit with 2; an unreadable word list exits with 1.
TEST(Commands, UsageAndErrors) {
    TempFolder folder;
    EXPECT_EQ(Execute(TSDMAKE_PATH).status, 2);
    EXPECT_NE(Execute(TSDMAKE_PATH).output.find("usage: tsdmake"), std::string::npos);
    EXPECT_EQ(Execute(std::string(TSDMAKE_PATH) + " -v 7 a b").status, 2);
    EXPECT_EQ(Execute(std::string(TSDMAKE_PATH) + " --bogus a b").status, 2);
    EXPECT_EQ(Execute(std::string(TSDMAKE_PATH) + " " + Quote(folder.File("none.txt")) + " " +
                      Quote(folder.File("out.tsd")))
                  .status,
              1);
    EXPECT_EQ(Execute(TSDDUMP_PATH).status, 2);
    EXPECT_EQ(Execute(std::string(TSDMAKE_PATH) + " --help").status, 0);
}

// A word list made into a dictionary and listed again: skipped lines are warned about with
// their line numbers, and the listing holds every word of 2 to 31 letters without a space,
// in file order, as capitals, TAB, display text in UTF-8.
TEST(Commands, MakeThenDump) {
    TempFolder folder;
    const std::string list = folder.File("words.txt");
    std::ofstream(list, std::ios::binary) << "cat\r\n"
                                          << "a\n"
                                          << "\xC3\xA9t\xC3\xA9\n"
                                          << "ice cream\n"
                                          << "\xE4\xB8\xAD\n"
                                          << std::string(32, 'z') << "\n"
                                          << "\n"
                                          << "dog\tfaithful friend\n"
                                          << "quiz\n";
    const std::string dictionary = folder.File("words.tsd");
    const CommandRun made = Execute(std::string(TSDMAKE_PATH) + " -v 1 -d 'Test words' " +
                                    Quote(list) + " " + Quote(dictionary));
    ASSERT_EQ(made.status, 0) << made.output;
    EXPECT_NE(made.output.find(":5: warning"), std::string::npos) << made.output;
    EXPECT_NE(made.output.find(":6: warning: skipped, more than 31 letters"), std::string::npos);

    const CommandRun dumped = Execute(std::string(TSDDUMP_PATH) + " " + Quote(dictionary));
    ASSERT_EQ(dumped.status, 0) << dumped.output;
    EXPECT_NE(dumped.output.find("# version 1\n"), std::string::npos);
    EXPECT_NE(dumped.output.find("# description Test words\n"), std::string::npos);
    EXPECT_NE(dumped.output.find("# words of 2 to 31 letters 5\n"), std::string::npos);
    const std::size_t words = dumped.output.find("CAT\t");
    ASSERT_NE(words, std::string::npos);
    EXPECT_EQ(dumped.output.substr(words),
              "CAT\tcat\nETE\t\xC3\xA9t\xC3\xA9\nDOG\tdog\nQUIZ\tquiz\n");
}

// A file that is not a dictionary gets its status text and a failing exit code.
TEST(Commands, DumpOfABadFileFails) {
    TempFolder folder;
    const std::string bad = folder.File("bad.tsd");
    std::ofstream(bad, std::ios::binary) << "TSD9 not a dictionary";
    const CommandRun run = Execute(std::string(TSDDUMP_PATH) + " " + Quote(bad));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("-- INVALID DICTIONARY FILE --"), std::string::npos);
    const CommandRun missing =
        Execute(std::string(TSDDUMP_PATH) + " " + Quote(folder.File("no.tsd")));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("-- DICTIONARY FILE NOT FOUND --"), std::string::npos);
}
