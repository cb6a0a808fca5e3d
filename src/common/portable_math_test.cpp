#include "common/portable_math.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

// The engine's elementary functions against the C library's, which differs from platform to
// platform in the last bit: within a few units in the last place everywhere a shot can take
// them, and exact where the answer is exact.
namespace siacci {
namespace {

// Distance in units in the last place between two finite doubles of the same sign.
double ulps(double a, double b)
{
    if (a == b)
        return 0;
    std::int64_t ia = 0;
    std::int64_t ib = 0;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    if ((ia < 0) != (ib < 0))
        return 1e18;
    return static_cast<double>(ia > ib ? ia - ib : ib - ia);
}

template <typename Ours, typename Theirs>
void expectClose(const char* name, double lo, double hi, double most, Ours ours, Theirs theirs)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> pick(lo, hi);
    double worst = 0;
    for (int k = 0; k < 200000; ++k) {
        const double x = pick(random);
        const double a = ours(x);
        const double b = theirs(x);
        worst = std::max(worst, std::fabs(b) < 1e-300 ? std::fabs(a - b) : ulps(a, b));
    }
    EXPECT_LE(worst, most) << name << " on [" << lo << ", " << hi << "]";
}

TEST(PortableMath, AgreesWithTheCLibraryWithinAFewUnitsInTheLastPlace)
{
    expectClose("sin", -7, 7, 1, [](double x) { return pm::sin(x); }, [](double x) { return std::sin(x); });
    expectClose("cos", -7, 7, 1, [](double x) { return pm::cos(x); }, [](double x) { return std::cos(x); });
    expectClose("sin far", -2000, 2000, 1, [](double x) { return pm::sin(x); }, [](double x) { return std::sin(x); });
    expectClose("tan", -1.5, 1.5, 3, [](double x) { return pm::tan(x); }, [](double x) { return std::tan(x); });
    expectClose("atan", -50, 50, 1, [](double x) { return pm::atan(x); }, [](double x) { return std::atan(x); });
    expectClose("atan small", -1e-3, 1e-3, 1, [](double x) { return pm::atan(x); }, [](double x) { return std::atan(x); });
    expectClose("atan2", -50, 50, 2, [](double x) { return pm::atan2(x, 0.37); }, [](double x) { return std::atan2(x, 0.37); });
    expectClose("atan2 behind", -50, 50, 2, [](double x) { return pm::atan2(x, -3.1); }, [](double x) { return std::atan2(x, -3.1); });
    expectClose("exp", -700, 700, 1, [](double x) { return pm::exp(x); }, [](double x) { return std::exp(x); });
    expectClose("exp near 0", -1, 1, 1, [](double x) { return pm::exp(x); }, [](double x) { return std::exp(x); });
    expectClose("log", 1e-300, 1e300, 1, [](double x) { return pm::log(x); }, [](double x) { return std::log(x); });
    expectClose("log near 1", 0.5, 2, 1, [](double x) { return pm::log(x); }, [](double x) { return std::log(x); });
    expectClose("pow", 0.01, 40, 16, [](double x) { return pm::pow(x, 1.83); }, [](double x) { return std::pow(x, 1.83); });
    expectClose("pow near 1", 0.7, 1.1, 4, [](double x) { return pm::pow(x, 5.255876); }, [](double x) { return std::pow(x, 5.255876); });
    expectClose("cbrt", -1e6, 1e6, 4, [](double x) { return pm::cbrt(x); }, [](double x) { return std::cbrt(x); });
    expectClose("hypot", -1e4, 1e4, 1, [](double x) { return pm::hypot(x, 321.5); }, [](double x) { return std::hypot(x, 321.5); });
}

TEST(PortableMath, ExactAndSpecialValues)
{
    EXPECT_EQ(pm::sin(0.0), 0.0);
    EXPECT_EQ(pm::cos(0.0), 1.0);
    EXPECT_EQ(pm::exp(0.0), 1.0);
    EXPECT_EQ(pm::log(1.0), 0.0);
    EXPECT_EQ(pm::pow(2.5, 0.0), 1.0);
    EXPECT_EQ(pm::pow(-2.0, 3.0), -std::exp(3 * std::log(2.0)));
    EXPECT_TRUE(std::isnan(pm::pow(-2.0, 0.5)));
    EXPECT_EQ(pm::cbrt(27.0), 3.0);
    EXPECT_EQ(pm::cbrt(-8.0), -2.0);
    EXPECT_EQ(pm::hypot(3.0, 4.0), 5.0);
    EXPECT_EQ(pm::atan2(0.0, -1.0), std::atan2(0.0, -1.0));
    EXPECT_EQ(pm::atan2(1.0, 0.0), std::atan2(1.0, 0.0));
    EXPECT_EQ(pm::exp(800.0), INFINITY);
    EXPECT_EQ(pm::exp(-800.0), 0.0);
    EXPECT_EQ(pm::log(0.0), -INFINITY);
    EXPECT_TRUE(std::isnan(pm::log(-1.0)));
    EXPECT_TRUE(std::isnan(pm::sin(INFINITY)));
}

} // namespace
} // namespace siacci

namespace siacci {
namespace {

// SplitMix64: the same arguments on every platform and standard library.
struct Arguments {
    std::uint64_t state = 0x5eed;
    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    double in(double lo, double hi) { return lo + (hi - lo) * (next() >> 11) * 0x1p-53; }
    // Any positive finite double, subnormals included, evenly by its bits.
    double positive()
    {
        double x = 0;
        const std::uint64_t bits = next() % 0x7ff0000000000000ULL;
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }
};

// FNV-1a over the bits of the results.
struct Digest {
    std::uint64_t value = 0xcbf29ce484222325ULL;
    void add(double x)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &x, sizeof x);
        for (int k = 0; k < 8; ++k) {
            value ^= (bits >> (8 * k)) & 0xff;
            value *= 0x100000001b3ULL;
        }
    }
};

// Every bit of these functions is in the program's figures (a step of the engine one bit longer
// moves a transonic row), on every platform alike: the digests of their results over arguments
// that reach each branch (reduction, subnormal and overflowing results, negative bases) are the
// ones recorded when the functions were written. A faster form must give them again.
TEST(PortableMath, GivesTheBitsRecorded)
{
    Arguments a;
    const auto digest = [&](auto f) {
        Digest d;
        for (int k = 0; k < 100000; ++k)
            d.add(f());
        return d.value;
    };
    EXPECT_EQ(digest([&] { return pm::exp(a.in(-760, 720)); }), 6394490710759156279u) << "exp";
    EXPECT_EQ(digest([&] { return pm::exp(a.in(-2, 2)); }), 4636193174206331451u) << "exp near 0";
    EXPECT_EQ(digest([&] { return pm::log(a.positive()); }), 5382972483973083589u) << "log";
    // Two arguments drawn in order (the order of a call's arguments is the compiler's).
    const auto two = [&](auto f, auto x, auto y) {
        return [&, f, x, y] {
            const double first = x();
            return f(first, y());
        };
    };
    const auto in = [&](double lo, double hi) { return [&a, lo, hi] { return a.in(lo, hi); }; };
    const auto positive = [&a] { return a.positive(); };
    const auto whole = [&a] { return std::floor(a.in(-6, 6)); };
    const auto pow = [](double x, double y) { return pm::pow(x, y); };
    const auto atan2 = [](double y, double x) { return pm::atan2(y, x); };
    const auto hypot = [](double x, double y) { return pm::hypot(x, y); };
    EXPECT_EQ(digest(two(pow, in(1e-6, 1), in(-0.5, -0.1))), 10825832182688273063u)
        << "pow of a step's error";
    EXPECT_EQ(digest(two(pow, in(-10, 10), whole)), 14508584055129233692u)
        << "pow with a whole exponent";
    EXPECT_EQ(digest([&] { return pm::sin(a.in(-1e6, 1e6)); }), 15005694704778490456u) << "sin";
    EXPECT_EQ(digest([&] { return pm::cos(a.in(-4, 4)); }), 3302713758765265945u) << "cos";
    EXPECT_EQ(digest([&] { return pm::tan(a.in(-1.5, 1.5)); }), 16594986469001252647u) << "tan";
    EXPECT_EQ(digest(two(atan2, in(-5, 5), in(-5, 5))), 6936330886709464229u) << "atan2";
    EXPECT_EQ(digest([&] { return pm::cbrt(a.in(-1e3, 1e3)); }), 5340838758327278156u) << "cbrt";
    EXPECT_EQ(digest(two(hypot, positive, positive)), 14338998243883908091u) << "hypot";
    EXPECT_EQ(digest(two(hypot, in(-3, 3), in(-3, 3))), 2081037982989169782u) << "hypot near 1";
}

} // namespace
} // namespace siacci
