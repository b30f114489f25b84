#include "prefixindex.h"

#include <algorithm>
#include <new>

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
