// Code lengths and canonical codes for the dictionary writer.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

#include "tools/huffman.h"

namespace {

double Kraft(const CodeLengths& lengths) {
    double sum = 0;
    for (uint8_t l : lengths) {
        if (l > 0) {
            sum += 1.0 / static_cast<double>(uint64_t{1} << l);
        }
    }
    return sum;
}

uint64_t Cost(const SymbolCounts& counts, const CodeLengths& lengths) {
    uint64_t cost = 0;
    for (int s = 0; s < 256; ++s) {
        cost += counts[s] * lengths[s];
    }
    return cost;
}

// Total size of a plain (unlimited) Huffman code: the sum of all merged weights.
uint64_t HuffmanCost(const SymbolCounts& counts) {
    std::priority_queue<uint64_t, std::vector<uint64_t>, std::greater<>> queue;
    for (uint64_t c : counts) {
        if (c > 0) {
            queue.push(c);
        }
    }
    uint64_t cost = 0;
    while (queue.size() > 1) {
        const uint64_t a = queue.top();
        queue.pop();
        const uint64_t b = queue.top();
        queue.pop();
        cost += a + b;
        queue.push(a + b);
    }
    return cost;
}

} // namespace

// Where the limit does not bind, the lengths are as short in total as a Huffman code's, they
// fill the code space exactly, and unused symbols get no code.
TEST(CodeLengths, OptimalWhenTheLimitDoesNotBind) {
    SymbolCounts counts{};
    uint32_t state = 5;
    for (int s = 0; s < 256; s += 3) {
        state = state * 1103515245u + 12345u;
        counts[s] = 1 + (state >> 16) % 5000;
    }
    const CodeLengths lengths = LimitedCodeLengths(counts, 32);
    EXPECT_EQ(Cost(counts, lengths), HuffmanCost(counts));
    EXPECT_DOUBLE_EQ(Kraft(lengths), 1.0);
    EXPECT_EQ(lengths[1], 0);

    SymbolCounts two{};
    two['a'] = 1;
    two['b'] = 1000000;
    EXPECT_EQ(LimitedCodeLengths(two, 32)['a'], 1);
    SymbolCounts one{};
    one[0] = 7;
    EXPECT_EQ(LimitedCodeLengths(one, 32)[0], 1);
    EXPECT_EQ(LimitedCodeLengths(SymbolCounts{}, 32)[0], 0);
}

// Frequencies that grow like Fibonacci numbers would need codes of 40 bits; the limit holds
// every code to 32 (or less when asked) and the code space is still filled exactly.
TEST(CodeLengths, LimitHoldsForSkewedFrequencies) {
    SymbolCounts counts{};
    uint64_t a = 1, b = 1;
    for (int s = 0; s < 42; ++s) {
        counts[s] = a;
        const uint64_t next = a + b;
        a = b;
        b = next;
    }
    for (int limit : {32, 12, 6}) {
        const CodeLengths lengths = LimitedCodeLengths(counts, limit);
        for (int s = 0; s < 42; ++s) {
            EXPECT_GE(lengths[s], 1);
            EXPECT_LE(lengths[s], limit);
        }
        EXPECT_DOUBLE_EQ(Kraft(lengths), 1.0) << limit;
        EXPECT_GE(Cost(counts, lengths), HuffmanCost(counts));
    }
}

// Canonical codes are prefix-free, fit their lengths, and lengths that over-fill the code space
// are refused.
TEST(CodeLengths, CanonicalCodesArePrefixFree) {
    CodeLengths lengths{};
    lengths['a'] = 1;
    lengths['b'] = 3;
    lengths['d'] = 2;
    lengths['e'] = 32;
    lengths['f'] = 32;
    lengths['g'] = 4;
    Codes codes{};
    ASSERT_TRUE(CanonicalCodes(lengths, codes));
    EXPECT_EQ(codes['a'], 0b0u);
    EXPECT_EQ(codes['d'], 0b10u);
    for (int x = 0; x < 256; ++x) {
        for (int y = 0; y < 256; ++y) {
            if (x == y || lengths[x] == 0 || lengths[y] == 0 || lengths[x] > lengths[y]) {
                continue;
            }
            EXPECT_NE(codes[y] >> (lengths[y] - lengths[x]), codes[x]) << x << " prefix of " << y;
        }
        if (lengths[x] > 0 && lengths[x] < 32) {
            EXPECT_LT(codes[x], 1u << lengths[x]);
        }
    }
    lengths['h'] = 1;
    EXPECT_FALSE(CanonicalCodes(lengths, codes));
}
