#pragma once

#include <cstdint>

// Random numbers that are the same to the last bit on every platform the program is built for
// (the desktop and the WebAssembly page): the standard library's distributions are not (how
// std::normal_distribution turns bits into numbers is left to each library), so both the bits
// and their transform are written out here.
//   - xoshiro256** 1.0 (Blackman and Vigna, 2018, public domain), its state filled from the seed
//     by SplitMix64 as its authors recommend;
//   - uniform doubles in [0, 1) from the top 53 bits;
//   - standard normals by the Box-Muller transform, both of each pair used, with the program's
//     own portable log, sin and cos (common/portable_math.hpp) and the IEEE square root.
namespace siacci {

// SplitMix64 (Steele, Lea and Flood, 2014): one 64-bit number per call from a counter.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next();

private:
    std::uint64_t m_state;
};

class PortableRandom {
public:
    explicit PortableRandom(std::uint64_t seed);
    // The next 64 random bits.
    std::uint64_t next();
    // Uniform in [0, 1): a multiple of 2^-53.
    double uniform();
    // Standard normal (mean 0, standard deviation 1).
    double normal();

private:
    std::uint64_t m_s[4];
    double m_spare = 0;
    bool m_haveSpare = false;
};

} // namespace siacci
