// Running out of file handles: cursors lend each other their handles and carry on where they
// stopped. The handle limit is lowered only inside a forked child, so the test process and the
// other tests keep theirs.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "dictionary/inputengine.h"
#include "tests/dictionary/tsdfixture.h"

using tsdtest::DecodedEntry;
using tsdtest::TempFolder;

namespace {

// Lowers the limit, then takes every free handle but `spare`.
std::vector<int> ExhaustHandles(int spare) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = 64;
    setrlimit(RLIMIT_NOFILE, &limit);
    std::vector<int> held;
    for (;;) {
        const int fd = open("/dev/null", O_RDONLY);
        if (fd < 0) {
            break;
        }
        held.push_back(fd);
    }
    for (int i = 0; i < spare && !held.empty(); ++i) {
        close(held.back());
        held.pop_back();
    }
    return held;
}

std::vector<std::string> ManyWords() {
    std::vector<std::string> words;
    for (int i = 0; i < 12000; ++i) {
        std::string w;
        for (int k = 0, v = i * 7919 + 13; k < 6; ++k, v /= 5) {
            w += static_cast<char>('a' + (v + k * 3) % 26);
        }
        words.push_back(w);
    }
    return words;
}

// Reads class 6 with two (then three) cursors in turn, a word at a time, with one free handle
// between them; each must see every word in order. Exit code 0 means success.
int InterleavedReading(const std::string& path, const std::vector<std::string>& words) {
    TSDictionaryList list(path, false);
    if (list.FirstInvalid() != nullptr) {
        return 10;
    }
    ExhaustHandles(1);
    InputEngine first(list, 0);
    InputEngine second(list, 0);
    InputEngine third(list, 0);
    if (!first.Start(6) || !second.Start(6) || !third.Start(6)) {
        return 11;
    }
    // Only one file can be open at a time: the last Start took it from the others.
    if (first.FileOpen() || second.FileOpen() || !third.FileOpen()) {
        return 12;
    }
    InputEngine* cursors[] = {&first, &second, &third};
    for (std::size_t i = 0; i < words.size(); ++i) {
        for (InputEngine* cursor : cursors) {
            const uint8_t* key = cursor->Next();
            if (key[0] == InputEngine::kEndKey || cursor->Text() != words[i]) {
                std::fprintf(stderr, "word %zu: got \"%s\", expected \"%s\"\n", i, cursor->Text(),
                             words[i].c_str());
                return 13;
            }
        }
    }
    for (InputEngine* cursor : cursors) {
        if (cursor->Next()[0] != InputEngine::kEndKey) {
            return 14;
        }
    }
    return 0;
}

// With no handle free and no cursor holding one, Start fails instead of looping.
int NoHandleToBorrow(const std::string& path) {
    TSDictionaryList list(path, false);
    ExhaustHandles(0);
    InputEngine cursor(list, 0);
    return cursor.Start(6) ? 20 : 0;
}

// Runs `body` in a forked child and gives its exit code; the child's lowered limits and used-up
// handles die with it.
int InChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Cursors take the oldest open handle when the process has none left, and the cursor that lost
// its handle reopens the file at the position it had reached.
TEST(WordReaderHandles, CursorsShareTheLastFreeHandle) {
    TempFolder folder;
    const std::string path = folder.File("many.tsd");
    const std::vector<std::string> words = ManyWords();
    tsdtest::WriteBytes(path, tsdtest::MakeDictionary(words));
    {
        TSDictionaryList list(path, false);
        ASSERT_GT(list.SectionOffset(0, 6 + 1) - list.SectionOffset(0, 6),
                  2 * InputEngine::kBlockSize)
            << "the section must need several refills";
    }
    EXPECT_EQ(InChild([&] { return InterleavedReading(path, words); }), 0);
    EXPECT_EQ(InChild([&] { return NoHandleToBorrow(path); }), 0);
}
