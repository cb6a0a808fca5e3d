#include "common/portable_random.hpp"

#include "common/portable_math.hpp"

#include <cmath>
#include <numbers>

namespace siacci {

namespace {

constexpr std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

} // namespace

std::uint64_t SplitMix64::next()
{
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

PortableRandom::PortableRandom(std::uint64_t seed)
{
    SplitMix64 fill(seed);
    for (std::uint64_t& word : m_s)
        word = fill.next();
}

std::uint64_t PortableRandom::next()
{
    const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
    const std::uint64_t t = m_s[1] << 17;
    m_s[2] ^= m_s[0];
    m_s[3] ^= m_s[1];
    m_s[1] ^= m_s[2];
    m_s[0] ^= m_s[3];
    m_s[2] ^= t;
    m_s[3] = rotl(m_s[3], 45);
    return result;
}

double PortableRandom::uniform()
{
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double PortableRandom::normal()
{
    if (m_haveSpare) {
        m_haveSpare = false;
        return m_spare;
    }
    // 1 - u lies in (0, 1]: the logarithm is always finite.
    const double radius = std::sqrt(-2 * pm::log(1 - uniform()));
    const double angle = 2 * std::numbers::pi * uniform();
    m_spare = radius * pm::sin(angle);
    m_haveSpare = true;
    return radius * pm::cos(angle);
}

} // namespace siacci
