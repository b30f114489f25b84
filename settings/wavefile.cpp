#include "settings/wavefile.h"

#include <cstring>

namespace {

uint32_t Le32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr int kMaxSampleRate = 768000;

} // namespace

std::optional<WaveFormat> ParseWave(const WaveReader& read, uint64_t size) {
    unsigned char head[12];
    if (size < sizeof head || !read(0, reinterpret_cast<char*>(head), sizeof head))
        return std::nullopt;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return std::nullopt;

    WaveFormat format;
    bool haveFormat = false;
    bool haveData = false;
    uint64_t offset = 12;
    while (offset + 8 <= size && !(haveFormat && haveData)) {
        unsigned char chunk[8];
        if (!read(offset, reinterpret_cast<char*>(chunk), sizeof chunk))
            return std::nullopt;
        const uint64_t chunkSize = Le32(chunk + 4);
        const uint64_t body = offset + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            if (chunkSize < 16 || body + 16 > size)
                return std::nullopt;
            unsigned char fmt[40] = {};
            const size_t want = chunkSize >= 40 && body + 40 <= size ? 40 : 16;
            if (!read(body, reinterpret_cast<char*>(fmt), want))
                return std::nullopt;
            uint16_t tag = Le16(fmt);
            // The extensible header names its real format in the first two bytes of its
            // sub-format identifier.
            if (tag == kFormatExtensible && want == 40)
                tag = Le16(fmt + 24);
            if (tag != kFormatPcm)
                return std::nullopt;
            format.channels = Le16(fmt + 2);
            const uint32_t rate = Le32(fmt + 4);
            format.bitsPerSample = Le16(fmt + 14);
            if (format.channels < 1 || format.channels > 2 ||
                (format.bitsPerSample != 8 && format.bitsPerSample != 16) || rate == 0 ||
                rate > kMaxSampleRate)
                return std::nullopt;
            format.sampleRate = static_cast<int>(rate);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
            format.dataOffset = body;
            format.dataSize = chunkSize <= size - body ? chunkSize : size - body;
            haveData = true;
        }
        // Chunks are padded to an even length.
        offset = body + chunkSize + (chunkSize & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    const uint64_t frame = static_cast<uint64_t>(format.channels) * (format.bitsPerSample / 8);
    format.dataSize -= format.dataSize % frame;
    if (format.dataSize == 0)
        return std::nullopt;
    return format;
}

std::optional<WaveFormat> ParseWave(const char* data, size_t size) {
    if (!data)
        return std::nullopt;
    return ParseWave(
        [data, size](uint64_t offset, char* dst, size_t n) {
            if (offset > size || n > size - offset)
                return false;
            std::memcpy(dst, data + offset, n);
            return true;
        },
        size);
}
