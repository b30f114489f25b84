#include "words.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "dictionary/inputengine.h"
#include "dictionary/loadprogress.h"
#include "dictionary/tsdictionary.h"

uint32_t WordHash(std::string_view text) {
    uint32_t h = 0;
    for (const char c : text) {
        // The character counts as a signed byte, so letters above 127 flip the high bits too.
        const auto extended = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(c)));
        h = (h << 2) ^ extended;
    }
    return h % Words::kBucketCount;
}

PrefixIndex::PrefixIndex() {
    Reset(1);
}

void PrefixIndex::Reset(std::size_t room) {
    // Not cleared: a build takes far more room than it fills, and clears each level as it
    // comes, so the pages it never reaches are never touched.
    auto* const fresh = static_cast<NodeData*>(std::malloc(room * sizeof(NodeData)));
    if (fresh == nullptr) {
        throw std::bad_alloc();
    }
    nodes_.reset(fresh);
    nodes_[kRoot] = NodeData{0, 0};
    room_ = room;
    nodeCount_ = 1;
}

void PrefixIndex::Clear() {
    Reset(1);
    columns_.clear();
    previous_.clear();
}

void PrefixIndex::Add(std::string_view word) {
    const std::size_t length = word.size();
    if (length == 0) {
        return;
    }
    // The letters this word shares with the one before it lead to a node that word has already
    // reached, so they are not stepped through again: dictionaries list their words sorted, and
    // that halves the work. The word joins at the last shared position that both words still
    // have letters after; the build takes the node there from the entry before it in that
    // column, which is the word before or one that shares even more with it.
    const std::size_t limit = std::min(previous_.size(), length);
    const char* const previous = previous_.data();
    const char* const letters = word.data();
    std::size_t join = 0;
    while (join + 1 < limit && previous[join] == letters[join]) {
        ++join;
    }
    if (columns_.size() < length) {
        columns_.resize(length);
    }
    // The shared letters were checked with the word before.
    bool spellable = true;
    Column* const columns = columns_.data();
    for (std::size_t d = join; d < length; ++d) {
        const auto letter = static_cast<uint8_t>(letters[d] - 'A');
        spellable &= letter < kLetters;
        Column& column = columns[d];
        const std::size_t size = column.size;
        if (size == column.entries.size()) {
            column.entries.resize(std::max<std::size_t>(64, 2 * size));
        }
        column.entries[size] = letter;
        column.size = size + 1;
    }
    if (!spellable) {
        for (std::size_t d = join; d < length; ++d) {
            --columns_[d].size;
        }
        return;
    }
    if (join > 0) {
        columns_[join].entries[columns_[join].size - 1] |= kJoins;
    }
    columns_[length - 1].entries[columns_[length - 1].size - 1] |= kLastLetter;
    previous_.resize(length);
    std::copy(word.begin() + static_cast<std::ptrdiff_t>(join), word.end(),
              previous_.begin() + static_cast<std::ptrdiff_t>(join));
}

void PrefixIndex::Build() {
    // One level at a time, breadth first, reading column d and then column d + 1 straight
    // through. At depth d every entry of column d sits on a node of the level whose mask
    // already holds the entry's letter, so the level's children can be numbered in order first:
    // each node's children come out consecutive and sorted without the words ever being sorted.
    // Then each entry steps to its child, and the entries of the next column take their nodes
    // from those steps (or, joining there, from the entry before) and mark their letters.
    std::size_t entryCount = 0;
    for (const Column& column : columns_) {
        entryCount += column.size;
    }
    // Each entry opens at most one node.
    Reset(entryCount + 1);
    NodeData* const nodes = nodes_.get();
    std::vector<Node> at;        // the node each entry of the column has reached
    std::vector<Node> next;      // the same for the next column
    std::vector<Node> continued; // the children reached by words that go on
    if (!columns_.empty()) {
        at.assign(columns_[0].size, kRoot);
        for (std::size_t i = 0; i < columns_[0].size; ++i) {
            nodes[kRoot].mask |= uint32_t{1} << (columns_[0].entries[i] & kLetterBits);
        }
    }
    std::size_t levelBegin = 0;
    for (std::size_t depth = 0; depth < columns_.size(); ++depth) {
        const std::size_t levelEnd = nodeCount_;
        auto firstFree = static_cast<Node>(levelEnd);
        for (std::size_t n = levelBegin; n < levelEnd; ++n) {
            nodes[n].firstChild = firstFree;
            firstFree += BitCount(nodes[n].mask & kLetterMask);
        }
        std::fill(nodes + levelEnd, nodes + firstFree, NodeData{0, 0});
        nodeCount_ = firstFree;

        // Every entry steps to its child; a word's last entry marks that the word ends there,
        // the others keep the child, in order, for the next column.
        const Column& column = columns_[depth];
        const uint8_t* const entries = column.entries.data();
        const Node* const from = at.data();
        continued.resize(column.size + 1);
        Node* const kept = continued.data();
        std::size_t k = 0;
        for (std::size_t i = 0; i < column.size; ++i) {
            const uint8_t entry = entries[i];
            const NodeData& parent = nodes[from[i]];
            const uint32_t bit = uint32_t{1} << (entry & kLetterBits);
            const Node child = parent.firstChild + BitCount(parent.mask & (bit - 1));
            const uint32_t ends = (entry & kLastLetter) != 0 ? 1 : 0;
            nodes[child].mask |= kWordBit * ends;
            kept[k] = child;
            k += 1 - ends;
        }
        // Each entry of the next column takes the next kept child or, for a word that joins
        // there, the node of the entry before it, and marks its letter there.
        if (depth + 1 == columns_.size()) {
            break;
        }
        const Column& following = columns_[depth + 1];
        const uint8_t* const ahead = following.entries.data();
        next.resize(following.size);
        Node* const reached = next.data();
        k = 0;
        Node previous = kRoot;
        for (std::size_t j = 0; j < following.size; ++j) {
            const uint8_t entry = ahead[j];
            const bool joins = (entry & kJoins) != 0;
            const Node node = joins ? previous : kept[k];
            k += joins ? 0 : 1;
            reached[j] = node;
            nodes[node].mask |= uint32_t{1} << (entry & kLetterBits);
            previous = node;
        }
        at.swap(next);
        levelBegin = levelEnd;
    }
    auto* const kept =
        static_cast<NodeData*>(std::realloc(nodes_.get(), nodeCount_ * sizeof(NodeData)));
    if (kept != nullptr) {
        static_cast<void>(nodes_.release());
        nodes_.reset(kept);
        room_ = nodeCount_;
    }
    // The columns hold every letter of every word; they are not kept between loads.
    std::vector<Column>().swap(columns_);
    previous_.clear();
}

PrefixIndex::Node PrefixIndex::Walk(std::string_view text, Node from) const {
    Node node = from;
    for (const char c : text) {
        node = Child(node, c);
        if (node == kNoNode) {
            break;
        }
    }
    return node;
}

bool PrefixIndex::IsPrefix(std::string_view text) const {
    // Every node below the root has a letter after it or ends a word; the root has neither when
    // the index is empty.
    const Node node = Walk(text);
    return node != kNoNode && nodes_[node].mask != 0;
}

Words::Words() = default;

void Words::Load(const std::string& dictionaryPath, LoadProgress* progress) {
    wordCount_ = 0;
    prefixes_.Clear();
    // The buckets' room is taken at the first load rather than at construction: the index is
    // made with the game's window, which should not wait for 4 MB it needs only for a game.
    for (std::string& bucket : buckets_) {
        bucket.clear();
        bucket.reserve(kBucketReserve);
    }

    TSDictionaryList list(dictionaryPath, false);
    if (list.FirstInvalid() == nullptr && list.Count() > 0) {
        int64_t total = 0;
        for (int n = kShortestWord; n <= kLongestWord; ++n) {
            total += list.WordCount(0, n);
        }
        // A header may claim up to 30 times 2^32 words; the progress range is 32-bit.
        if (total > std::numeric_limits<int32_t>::max()) {
            total = std::numeric_limits<int32_t>::max();
        }
        if (progress != nullptr) {
            progress->Begin(static_cast<int32_t>(total));
        }

        InputEngine cursor(list, 0);
        std::string word;
        for (int n = kShortestWord; n <= kLongestWord; ++n) {
            if (!cursor.Start(n)) {
                continue;
            }
            // Fetched after Start: a changed file is reloaded there, letter map and all.
            const TSDictionaryList::Dictionary* dictionary = list.Entry(0);
            word.resize(static_cast<std::size_t>(n));
            for (;;) {
                const uint8_t* key = cursor.Next();
                if (key[0] == InputEngine::kEndKey) {
                    break;
                }
                const char* text = cursor.Text();
                if (std::strchr(text, ' ') != nullptr) {
                    continue;
                }
                for (int i = 0; i < n; ++i) {
                    word[static_cast<std::size_t>(i)] = dictionary->IndexLetter(key[i]);
                }
                // A newline inside a word text would split its record in two; such a word can
                // never be spelled by tiles anyway.
                if (word.find('\n') != std::string::npos ||
                    wordCount_ == std::numeric_limits<int32_t>::max()) {
                    continue;
                }
                std::string& bucket = buckets_[WordHash(word)];
                bucket += '\n';
                bucket += word;
                bucket += '\n';
                bucket += text;
                prefixes_.Add(word);
                ++wordCount_;
                if (progress != nullptr && wordCount_ % kProgressStep == 0) {
                    progress->Advance(wordCount_);
                }
            }
        }
    }
    list.Release();
    // After the last progress report, so the loading window's reports stay as they were.
    prefixes_.Build();
    weights_ = LetterWeightsForDictionary(dictionaryPath);
    dictionaryPath_ = dictionaryPath;
}

std::size_t Words::BucketMemoryBytes() const {
    std::size_t bytes = 0;
    for (const std::string& bucket : buckets_) {
        // Only room beyond the string's own inline buffer is on the heap.
        if (bucket.capacity() > std::string().capacity()) {
            bytes += bucket.capacity() + 1;
        }
    }
    return bytes;
}

std::string Words::Lookup(std::string_view word) const {
    // No chain is empty or holds a newline; either would match the record separators.
    if (word.empty() || word.find('\n') != std::string_view::npos) {
        return {};
    }
    const std::string& bucket = buckets_[WordHash(word)];
    const char* const begin = bucket.data();
    const char* const end = begin + bucket.size();
    const std::size_t n = word.size();

    // Candidates are found by the word's first character, which memchr skips to quickly: most
    // lookups are of chains that are not words and find none. A candidate must be a word field,
    // not a display text that happens to read the same (another letter case, say): word fields
    // follow an odd number of newlines, as every record is newline, word, newline, display.
    const char* counted = begin;
    std::size_t newlines = 0;
    for (const char* p = begin; p < end;) {
        const auto* hit =
            static_cast<const char*>(std::memchr(p, word[0], static_cast<std::size_t>(end - p)));
        if (hit == nullptr) {
            break;
        }
        p = hit + 1;
        if (hit == begin || hit[-1] != '\n' || static_cast<std::size_t>(end - hit) <= n ||
            hit[n] != '\n' || std::memcmp(hit, word.data(), n) != 0) {
            continue;
        }
        newlines += static_cast<std::size_t>(std::count(counted, hit, '\n'));
        counted = hit;
        if (newlines % 2 == 1) {
            const char* display = hit + n + 1;
            const auto* displayEnd = static_cast<const char*>(
                std::memchr(display, '\n', static_cast<std::size_t>(end - display)));
            return std::string(display, displayEnd != nullptr ? displayEnd : end);
        }
    }
    return {};
}
