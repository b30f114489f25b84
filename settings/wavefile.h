#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

// What a RIFF/WAVE file holds, as far as playing it needs.
struct WaveFormat {
    int channels = 0;      // 1 or 2
    int sampleRate = 0;    // frames per second
    int bitsPerSample = 0; // 8 (unsigned) or 16 (signed)
    uint64_t dataOffset = 0;
    uint64_t dataSize = 0; // whole frames only, never past the end of the file
};

// Reads n bytes at offset into dst; false when they are not all there.
using WaveReader = std::function<bool(uint64_t offset, char* dst, size_t n)>;

// Walks the chunks of a wave file of the given size and returns its format and sound data,
// or nothing when it is not a PCM wave of 8 or 16 bits, mono or stereo, with some sound in
// it. Chunk sizes are never trusted: a size that runs past the end of the file ends the walk
// (the data chunk of a truncated file plays what is there).
std::optional<WaveFormat> ParseWave(const WaveReader& read, uint64_t size);
std::optional<WaveFormat> ParseWave(const char* data, size_t size);
