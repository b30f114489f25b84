#include "tools/huffman.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// One coin of the package-merge collector: its weight and how many times each used symbol
// occurs in it.
struct Item {
    uint64_t weight = 0;
    std::vector<uint8_t> uses;
};

} // namespace

CodeLengths LimitedCodeLengths(const SymbolCounts& counts, int maxLength) {
    CodeLengths lengths{};
    std::vector<int> used;
    for (int s = 0; s < 256; ++s) {
        if (counts[s] > 0) {
            used.push_back(s);
        }
    }
    if (used.empty()) {
        return lengths;
    }
    if (used.size() == 1) {
        lengths[used[0]] = 1;
        return lengths;
    }
    // Lightest first; ties by symbol so the result never depends on the sort's whims.
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return counts[a] < counts[b]; });
    const std::size_t n = used.size();

    std::vector<Item> leaves(n);
    for (std::size_t i = 0; i < n; ++i) {
        leaves[i].weight = counts[used[i]];
        leaves[i].uses.assign(n, 0);
        leaves[i].uses[i] = 1;
    }

    // Start with the leaves at the deepest level, then maxLength-1 rounds of pairing the
    // current list into packages and merging them with a fresh copy of the leaves.
    std::vector<Item> current = leaves;
    for (int level = 1; level < maxLength; ++level) {
        std::vector<Item> packages;
        for (std::size_t i = 0; i + 1 < current.size(); i += 2) {
            Item package;
            package.weight = current[i].weight + current[i + 1].weight;
            package.uses.resize(n);
            for (std::size_t k = 0; k < n; ++k) {
                package.uses[k] = static_cast<uint8_t>(current[i].uses[k] + current[i + 1].uses[k]);
            }
            packages.push_back(std::move(package));
        }
        std::vector<Item> merged;
        merged.reserve(leaves.size() + packages.size());
        std::size_t a = 0;
        std::size_t b = 0;
        while (a < leaves.size() || b < packages.size()) {
            // Leaves before packages of equal weight keep codes as short as the limit allows.
            if (b == packages.size() ||
                (a < leaves.size() && leaves[a].weight <= packages[b].weight)) {
                merged.push_back(leaves[a++]);
            } else {
                merged.push_back(std::move(packages[b++]));
            }
        }
        current = std::move(merged);
    }

    // The 2n-2 lightest items of the last list make the code; a symbol's length is the number
    // of them it occurs in.
    std::vector<unsigned> total(n, 0);
    for (std::size_t i = 0; i < 2 * n - 2 && i < current.size(); ++i) {
        for (std::size_t k = 0; k < n; ++k) {
            total[k] += current[i].uses[k];
        }
    }
    for (std::size_t k = 0; k < n; ++k) {
        lengths[used[k]] = static_cast<uint8_t>(total[k]);
    }
    return lengths;
}

bool CanonicalCodes(const CodeLengths& lengths, Codes& codes) {
    codes.fill(0);
    std::vector<int> order;
    for (int s = 0; s < 256; ++s) {
        if (lengths[s] > 0) {
            if (lengths[s] > 32) {
                return false;
            }
            order.push_back(s);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lengths[a] < lengths[b]; });
    uint64_t code = 0;
    int previous = 0;
    for (const int s : order) {
        code <<= (lengths[s] - previous);
        previous = lengths[s];
        if (code >= (uint64_t{1} << previous)) {
            return false; // the code space is used up
        }
        codes[s] = static_cast<uint32_t>(code);
        ++code;
    }
    return true;
}
