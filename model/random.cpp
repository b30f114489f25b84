#include "random.h"

namespace Random {

namespace {

// A 64-bit counter scrambled by the splitmix64 finaliser: tiny, fast, and every output bit is
// well mixed, so both "modulo n" and "is it even" draws are fair.
uint64_t state = 1;

} // namespace

void Seed(uint32_t seed) {
    state = seed;
}

int32_t Next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<int32_t>(z >> 33);
}

} // namespace Random
