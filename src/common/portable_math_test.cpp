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
