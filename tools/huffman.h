// Prefix codes for the 256 byte symbols of a dictionary: optimal code lengths under a length
// limit, and the canonical codes for given lengths.
#pragma once

#include <array>
#include <cstdint>

using SymbolCounts = std::array<uint64_t, 256>;
using CodeLengths = std::array<uint8_t, 256>;
using Codes = std::array<uint32_t, 256>;

// Code lengths of least total size with no length above maxLength (1..32), by package-merge.
// Unused symbols get 0. A lone used symbol gets length 1.
CodeLengths LimitedCodeLengths(const SymbolCounts& counts, int maxLength);

// Canonical codes: shorter codes first, equal lengths in symbol order. Each code sits in the low
// `length` bits. False when the lengths over-fill the code space (Kraft sum above 1).
bool CanonicalCodes(const CodeLengths& lengths, Codes& codes);
