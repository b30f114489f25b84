// A structure-aware mutator for dictionary files. Blind byte changes almost always break the
// header's offsets or the code table, so the loader refuses the file and the word reader is never
// reached; this mutator mostly changes one field of a plausible file at a time, and writes new
// word sections with the file's own code table so that they decode.
#pragma once

#include <cstddef>
#include <cstdint>

// Mutates the `size` bytes at `data` (room for `maxSize`) and returns the new size. `rawMutate`
// is the fuzzer's own byte mutator, used for a share of the changes and on inputs that are not
// dictionaries at all.
using RawMutator = std::size_t (*)(uint8_t* data, std::size_t size, std::size_t maxSize);
std::size_t MutateDictionary(uint8_t* data, std::size_t size, std::size_t maxSize,
                             unsigned int seed, RawMutator rawMutate);
