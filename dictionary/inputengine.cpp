#include "dictionary/inputengine.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "dictionary/cp1252.h"

namespace {

// The low-level calls differ only in name and flags between the platforms; the cursor reads
// raw bytes either way (no text translation).
int OpenReadOnly(const char* path) {
#ifdef _WIN32
    return _open(path, _O_RDONLY | _O_BINARY);
#else
    int flags = O_RDONLY;
#ifdef O_CLOEXEC
    flags |= O_CLOEXEC;
#endif
    return open(path, flags);
#endif
}

int64_t SeekTo(int file, int64_t offset, int whence) {
#ifdef _WIN32
    // long is 32 bits on Windows: the 64-bit call keeps offsets past 2 GiB intact.
    return _lseeki64(file, offset, whence);
#else
    return lseek(file, static_cast<off_t>(offset), whence);
#endif
}

long ReadBlock(int file, void* buffer, std::size_t size) {
    for (;;) {
#ifdef _WIN32
        const long count = _read(file, buffer, static_cast<unsigned>(size));
#else
        const long count = static_cast<long>(read(file, buffer, size));
#endif
        if (count >= 0 || errno != EINTR) {
            return count;
        }
    }
}

// A full handle table, whether the process's (EMFILE) or the system's (ENFILE): either way a
// handle given up by another cursor lets this open succeed. Some Windows runtimes, Wine's among
// them, report a full C runtime table as ENFILE.
bool OutOfHandles(int error) {
    return error == EMFILE || error == ENFILE;
}

void CloseHandle(int file) {
#ifdef _WIN32
    _close(file);
#else
    close(file);
#endif
}

} // namespace

InputEngine* InputEngine::oldest_ = nullptr;
InputEngine* InputEngine::newest_ = nullptr;

InputEngine::InputEngine(TSDictionaryList& list, int d)
    : list_(list), d_(d), dictionary_(list.Entry(d)) {
    older_ = newest_;
    if (newest_ != nullptr) {
        newest_->newer_ = this;
    } else {
        oldest_ = this;
    }
    newest_ = this;
}

InputEngine::~InputEngine() {
    // Cursors are normally destroyed newest first, but unlinking from anywhere in the chain
    // keeps the registry whole whatever order the owners choose.
    if (older_ != nullptr) {
        older_->newer_ = newer_;
    } else {
        oldest_ = newer_;
    }
    if (newer_ != nullptr) {
        newer_->older_ = older_;
    } else {
        newest_ = older_;
    }
    CloseFile();
}

void InputEngine::CloseFile() {
    if (file_ != -1) {
        CloseHandle(file_);
        file_ = -1;
    }
}

bool InputEngine::Start(int L) {
    lengthClass_ = L;
    sectionMode_ = (dictionary_ != nullptr && dictionary_->Version() > 0) ? 2 : 0;
    sectionLive_ = false;
    CloseFile();

    // IsValid may reload the dictionary in place when its file changed, so the header is read
    // only after it.
    if (dictionary_ != nullptr && list_.IsValid(d_)) {
        const int n = dictionary_->LengthClasses();
        if (L >= 1 && L < n) {
            savedPosition_ = dictionary_->SectionOffset(L);
            if (dictionary_->SectionPresent(L) && !Refill()) {
                CloseFile();
            }
        }
    }

    key_.fill(0);
    text_.fill(0);
    if (L >= 0 && static_cast<std::size_t>(L) < kKeySize) {
        key_[static_cast<std::size_t>(L)] = kEndKey;
    }
    sectionLive_ = FileOpen();
    return sectionLive_;
}

bool InputEngine::OpenFile() {
    const TSDictionaryList::Dictionary* entry = list_.Entry(d_);
    if (entry == nullptr || !entry->HasPath() || entry->Path().find('\0') != std::string::npos) {
        return false;
    }
    for (;;) {
        const int file = OpenReadOnly(entry->Path().c_str());
        if (file != -1) {
            file_ = file;
            break;
        }
        if (!OutOfHandles(errno)) {
            return false;
        }
        // Out of file handles: the oldest cursor holding a file gives it up and remembers
        // where it was, so it can reopen and carry on from there on its next refill.
        InputEngine* victim = oldest_;
        while (victim != nullptr && victim->file_ == -1) {
            victim = victim->newer_;
        }
        if (victim == nullptr) {
            return false;
        }
        victim->savedPosition_ = SeekTo(victim->file_, 0, SEEK_CUR);
        victim->CloseFile();
    }
    if (savedPosition_ != 0 && SeekTo(file_, savedPosition_, SEEK_SET) != savedPosition_) {
        // Reading from anywhere else would decode the wrong bytes as words.
        CloseFile();
        return false;
    }
    return true;
}

bool InputEngine::Refill() {
    if (file_ == -1 && !OpenFile()) {
        return false;
    }
    const long count = ReadBlock(file_, buffer_.data(), kBlockSize);
    if (count < 0) {
        return false;
    }
    const auto bytes = static_cast<std::size_t>(count);
    const std::size_t words = (bytes + 3) / 4;
    // The last partial word is completed with zeros, never with what an earlier block left in
    // the buffer, so a short read cannot feed stale bits into the stream.
    std::memset(buffer_.data() + bytes, 0, words * 4 - bytes);
    wordPos_ = 0;
    endPos_ = words;
    bitsConsumed_ = 0;
    current_ = words > 0 ? WordAt(0) : 0;
    return count > 0;
}

uint32_t InputEngine::WordAt(std::size_t index) const {
    const uint8_t* p = buffer_.data() + index * 4;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool InputEngine::AdvanceWord() {
    ++wordPos_;
    if (wordPos_ < endPos_) {
        current_ = WordAt(wordPos_);
        bitsConsumed_ = 0;
        return true;
    }
    if (Refill()) {
        return true;
    }
    wordPos_ = endPos_;
    bitsConsumed_ = 0;
    return false;
}

bool InputEngine::TakeBit(uint32_t& bit) {
    if (bitsConsumed_ >= 32 && !AdvanceWord()) {
        return false;
    }
    bit = (current_ >> bitsConsumed_) & 1u;
    ++bitsConsumed_;
    return true;
}

void InputEngine::Consume(unsigned bits) {
    bitsConsumed_ += bits;
    if (bitsConsumed_ > 32) {
        // Only called across a boundary when the next word is already in the buffer.
        bitsConsumed_ -= 32;
        ++wordPos_;
        current_ = WordAt(wordPos_);
    }
}

bool InputEngine::DecodeFromNode(int node, int& symbol) {
    const auto& tree = dictionary_->CodeTree();
    for (;;) {
        uint32_t bit = 0;
        if (!TakeBit(bit)) {
            return false;
        }
        const int child = tree[static_cast<std::size_t>(node)][bit];
        if (child < 0) {
            return false; // a branch no code leads to: the stream is broken
        }
        if (child < TSDictionaryList::Dictionary::kRoot) {
            symbol = child;
            return true;
        }
        node = child;
    }
}

bool InputEngine::DecodeSymbol(int& symbol) {
    constexpr int kRoot = TSDictionaryList::Dictionary::kRoot;
    if (bitsConsumed_ >= 32 && !AdvanceWord()) {
        return false;
    }
    const unsigned left = 32 - bitsConsumed_;
    const uint32_t bits = current_ >> bitsConsumed_;
    int node = dictionary_->FastNode(bits);
    unsigned depth = dictionary_->FastDepth(bits);
    if (node >= 0 && node < kRoot && depth <= left) {
        Consume(depth);
        symbol = node;
        return true;
    }
    if (node >= kRoot && left >= 8) {
        Consume(8);
        return DecodeFromNode(node, symbol);
    }
    if (node < 0 && depth <= left) {
        return false; // real bits, not padding, led to an unassigned branch
    }
    // The look-up ran past the end of the current word: join the bits left with the next
    // word of the buffer and look again; all 8 bits are real now.
    if (wordPos_ + 1 < endPos_) {
        const uint32_t joined = bits | (WordAt(wordPos_ + 1) << left);
        node = dictionary_->FastNode(joined);
        depth = dictionary_->FastDepth(joined);
        if (node < 0) {
            return false;
        }
        if (node < kRoot) {
            Consume(depth);
            symbol = node;
            return true;
        }
        Consume(8);
        return DecodeFromNode(node, symbol);
    }
    // No next word in the buffer: go bit by bit, refilling as the stream needs.
    return DecodeFromNode(kRoot, symbol);
}

const uint8_t* InputEngine::EndSection() {
    key_[0] = kEndKey;
    text_[0] = '\0';
    sectionLive_ = false;
    return key_.data();
}

const uint8_t* InputEngine::Next() {
    if (!sectionLive_ || dictionary_ == nullptr) {
        key_[0] = kEndKey;
        return key_.data();
    }
    const auto& tree = dictionary_->CodeTree();
    const auto L = static_cast<std::size_t>(lengthClass_);
    std::size_t keyPos = 0;
    std::size_t textPos = 0;
    bool keyActive = true;

    for (;;) {
        int symbol = 0;
        if (!DecodeSymbol(symbol)) {
            return EndSection();
        }
        if (symbol != 0 && textPos >= kTextSize - 2) {
            return EndSection(); // the entry does not fit the text buffer: broken section
        }
        text_[textPos++] = static_cast<char>(symbol);
        if (symbol == 0) {
            text_[textPos] = '\0';
            break;
        }
        if (symbol == '\n') {
            text_[textPos - 1] = '\0';
            keyActive = false;
        } else if (keyActive) {
            const auto letters = static_cast<int16_t>(tree[static_cast<std::size_t>(symbol)][1]);
            const auto first = static_cast<uint8_t>(FirstLetter(letters));
            if (first != kEndKey) {
                // More letters than the class holds would overwrite the key's terminator.
                if (keyPos >= L) {
                    return EndSection();
                }
                key_[keyPos++] = first;
                if (IsLetterPair(letters)) {
                    if (keyPos >= L) {
                        return EndSection();
                    }
                    key_[keyPos++] = static_cast<uint8_t>(SecondLetter(letters));
                }
            }
        }
    }

    if (keyActive && keyPos == 0) {
        return EndSection(); // the end marker
    }
    if (keyPos != L) {
        return EndSection(); // a key that does not fit its length class
    }
    if (sectionMode_ == 2) {
        uint32_t flag = 0;
        if (!TakeBit(flag)) {
            return EndSection();
        }
    }
    return key_.data();
}
