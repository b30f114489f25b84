// Running out of file handles: cursors lend each other their handles and carry on where they
// stopped. On POSIX the handle limit is lowered only inside a forked child, so the test process
// and the other tests keep theirs; on Windows, which cannot fork, the C runtime's handle table is
// filled in-process and emptied again before the test ends.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <functional>
#include <vector>

#include "dictionary/inputengine.h"
#include "tests/dictionary/tsdfixture.h"

using tsdtest::DecodedEntry;
using tsdtest::TempFolder;

namespace {

// Takes every free low-level handle but `spare` and gives them all back when it goes. Exhausted()
// tells whether the last refusal really was a full handle table (EMFILE, or ENFILE as Wine's C
// runtime reports it); anything else means the test would prove nothing about the borrowing path.
class HandleHog {
public:
    explicit HandleHog(int spare) {
#ifdef _WIN32
        // The C runtime hands out low-level handles from a table of fixed size (2048 slots by
        // default), whatever the system could still open. It is filled with the very call the
        // reader makes, because _dup reports a full table differently on some runtimes.
        while (held_.size() < kCap) {
            const int fd = _open("NUL", _O_RDONLY | _O_BINARY);
            if (fd < 0) {
                exhausted_ = errno == EMFILE || errno == ENFILE;
                break;
            }
            held_.push_back(fd);
        }
#else
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = 64;
        setrlimit(RLIMIT_NOFILE, &limit);
        while (held_.size() < kCap) {
            const int fd = open("/dev/null", O_RDONLY);
            if (fd < 0) {
                exhausted_ = errno == EMFILE || errno == ENFILE;
                break;
            }
            held_.push_back(fd);
        }
#endif
        for (int i = 0; i < spare && !held_.empty(); ++i) {
            CloseOne(held_.back());
            held_.pop_back();
        }
    }
    ~HandleHog() {
        for (int fd : held_) {
            CloseOne(fd);
        }
    }
    HandleHog(const HandleHog&) = delete;
    HandleHog& operator=(const HandleHog&) = delete;

    bool Exhausted() const {
        return exhausted_;
    }

private:
    static constexpr std::size_t kCap = 1u << 16;

    static void CloseOne(int fd) {
#ifdef _WIN32
        _close(fd);
#else
        close(fd);
#endif
    }

    std::vector<int> held_;
    bool exhausted_ = false;
};

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
    HandleHog hog(1);
    if (!hog.Exhausted()) {
        return 15;
    }
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
    HandleHog hog(0);
    if (!hog.Exhausted()) {
        return 21;
    }
    InputEngine cursor(list, 0);
    return cursor.Start(6) ? 20 : 0;
}

// Runs `body` where its used-up handles cannot hurt the rest of the test process, and gives its
// exit code: in a forked child whose lowered limit dies with it, or on Windows in-process, where
// the body's HandleHog has given every handle back before it returns.
int Isolated(const std::function<int()>& body) {
#ifdef _WIN32
    return body();
#else
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
#endif
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
    EXPECT_EQ(Isolated([&] { return InterleavedReading(path, words); }), 0);
    EXPECT_EQ(Isolated([&] { return NoHandleToBorrow(path); }), 0);
}
