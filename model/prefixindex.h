// The prefixes of a dictionary's words, for searches over the board that stop as soon as no word
// starts with a chain's letters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every prefix of every word added, the words themselves included, as a trie over the letters A
// to Z. A search over the board walks it one letter at a time and gives up on a chain as soon as
// no word starts with its letters.
//
// Nodes are numbered breadth first, so the children of a node are consecutive and sorted by
// letter: a node is a 26-bit mask of the letters that follow it plus the number of its first
// child, and a step to a child costs one population count. Eight bytes a node.
class PrefixIndex {
public:
    using Node = uint32_t;
    static constexpr Node kRoot = 0;
    static constexpr Node kNoNode = 0xFFFFFFFF;

    // An empty index: the root alone, with no word below it.
    PrefixIndex();

    // Drops every word and any words added since the last Build.
    void Clear();
    // Takes a word for the next Build. A word holding anything but the capitals A to Z cannot be
    // spelt by tiles and is left out, as is the empty word.
    void Add(std::string_view word);
    // Replaces the index with the words added since the last Build or Clear. The words may come
    // in any order and more than once; the time taken is linear in their letters.
    void Build();

    // The node reached from `node` by `letter`, or kNoNode when no word continues that way.
    Node Child(Node node, char letter) const {
        const auto index = static_cast<unsigned>(static_cast<unsigned char>(letter) - 'A');
        if (index >= kLetters) {
            return kNoNode;
        }
        const NodeData& data = nodes_[node];
        const uint32_t bit = uint32_t{1} << index;
        if ((data.mask & bit) == 0) {
            return kNoNode;
        }
        return data.firstChild + BitCount(data.mask & (bit - 1));
    }
    // The node reached from `from` by the letters of `text`, or kNoNode.
    Node Walk(std::string_view text, Node from = kRoot) const;
    // True when a word added ends at `node`.
    bool IsWord(Node node) const { return (nodes_[node].mask & kWordBit) != 0; }
    // True when some word goes on past `node`.
    bool HasChildren(Node node) const { return (nodes_[node].mask & kLetterMask) != 0; }
    // True for every prefix of every word, the words included; the empty text is a prefix
    // exactly when the index holds a word.
    bool IsPrefix(std::string_view text) const;

    // Nodes, the root included: one more than the number of distinct prefixes.
    std::size_t NodeCount() const { return nodeCount_; }
    // Bytes the built index holds on the heap.
    std::size_t MemoryBytes() const { return room_ * sizeof(NodeData); }

    // The number of bits set. std::popcount becomes a library call on processors assumed to
    // lack the instruction, which made it the costliest part of a step.
    static constexpr uint32_t BitCount(uint32_t x) {
        x = x - ((x >> 1) & 0x55555555u);
        x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
        x = (x + (x >> 4)) & 0x0F0F0F0Fu;
        return (x * 0x01010101u) >> 24;
    }

private:
    static constexpr unsigned kLetters = 26;
    static constexpr uint32_t kLetterMask = (uint32_t{1} << kLetters) - 1;
    static constexpr uint32_t kWordBit = uint32_t{1} << 31;

    struct NodeData {
        uint32_t mask; // bit i: letter 'A' + i follows; kWordBit: a word ends here
        Node firstChild;
    };
    struct FreeNodes {
        void operator()(NodeData* nodes) const { std::free(nodes); }
    };
    // Room for `room` nodes, holding the root alone, with no word below it.
    void Reset(std::size_t room);

    // Held in memory of the C allocator: a build takes room for a node per letter it was given,
    // far more than it needs, and hands the rest back with realloc, which keeps the block where
    // it is.
    std::unique_ptr<NodeData[], FreeNodes> nodes_;
    std::size_t room_ = 0;
    std::size_t nodeCount_ = 0;
    // Words taken since the last Build, by letter position: column d holds letter d, as 0 to
    // 25, of every word that has it and does not share it with the word before (see Add), in
    // the order the words came. kJoins marks a word's first entry when it is not in column 0,
    // kLastLetter its last.
    static constexpr uint8_t kLetterBits = 31;
    static constexpr uint8_t kJoins = 0x40;
    static constexpr uint8_t kLastLetter = 0x80;
    struct Column {
        std::vector<uint8_t> entries; // room grows ahead of size
        std::size_t size = 0;
    };
    std::vector<Column> columns_;
    std::string previous_; // the word taken last
};
