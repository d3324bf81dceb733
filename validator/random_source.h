// A seeded random source whose sequence is the same on every platform and
// standard library (the standard distributions are not), so that a seed
// replays a run exactly.
#ifndef VREL_VALIDATOR_RANDOM_SOURCE_H
#define VREL_VALIDATOR_RANDOM_SOURCE_H

#include <cstdint>

class random_source {
public:
    explicit random_source(uint64_t seed) : state_(seed) {}

    // splitmix64.
    uint64_t next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // 0 to bound - 1; bound must be positive. The slight bias of the modulo
    // does not matter here.
    uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }

    // from to to, both included.
    int32_t between(int32_t from, int32_t to) {
        const uint64_t span = static_cast<uint64_t>(int64_t{to} - int64_t{from}) + 1;
        return static_cast<int32_t>(int64_t{from} + static_cast<int64_t>(next() % span));
    }

    // Any 32-bit value.
    int32_t anyInt() { return static_cast<int32_t>(static_cast<uint32_t>(next())); }

    // True with `percent` in 100.
    bool chance(uint32_t percent) { return below(100) < percent; }

private:
    uint64_t state_;
};

#endif
