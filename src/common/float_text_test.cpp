#include "common/float_text.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

// The program's own number text forms must print and read exactly as the standard library's
// (which the native build has and the WebAssembly build lacks), on every kind of number.
namespace siacci {
namespace {

template <typename T>
using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;

template <typename T>
std::vector<T> corpus(std::size_t count = 12000)
{
    using L = std::numeric_limits<T>;
    std::vector<T> values{0,       -T(0),     1,          -1,         T(0.1),      T(0.5),
                          T(1.5),  T(2.5),    T(9.5),     T(0.3),     T(800),      T(0.45),
                          T(1e21), T(1e22),   T(1e23),    T(123456789012345680000.0),
                          T(5e-324), L::min(), L::max(), L::lowest(), L::denorm_min(),
                          L::epsilon(), T(9007199254740993.0), T(0.000123), T(1e-5),
                          T(99999.5), T(0.00001), T(3.14159265358979), T(1e15), T(1e16),
                          T(1e17), T(123456.789), T(-0.0001234), T(9007199254740994.0),
                          T(16777217.0), T(33554436.0)};
    for (int e = -60; e <= 70; ++e) {
        values.push_back(std::ldexp(T(1), e));
        values.push_back(std::pow(T(10), T(e)));
    }
    std::mt19937_64 random(20261209);
    while (values.size() < count) {
        const T any = std::bit_cast<T>(static_cast<Bits<T>>(random()));
        if (std::isfinite(any))
            values.push_back(any);
        // Numbers as a shooter types or a table computes them, and their neighbours, which
        // round the other way at a tie.
        const T typed = T(static_cast<double>(random() % 2000000) / std::pow(10.0, random() % 8));
        values.push_back(typed);
        values.push_back(std::nextafter(typed, L::max()));
        values.push_back(std::nextafter(typed, L::lowest()));
        values.push_back(T((static_cast<double>(random() % 2000000) + 0.5) /
                           std::pow(10.0, random() % 6)));
        values.push_back(T(std::uniform_real_distribution<double>(-2000, 2000)(random)));
        // Huge, tiny and subnormal.
        values.push_back(std::ldexp(T(1) + T(random() % 1024) / 1024,
                                    static_cast<int>(random() % (2 * L::max_exponent + L::digits)) -
                                        L::max_exponent - L::digits));
    }
    return values;
}

template <typename Write, typename Reference>
void expectSameText(const char* form, double shown, Write ours, Reference theirs)
{
    char a[1600];
    char b[1600];
    const auto x = ours(a, a + sizeof a);
    const auto y = theirs(b, b + sizeof b);
    ASSERT_EQ(x.ec, y.ec) << form << " " << shown;
    ASSERT_EQ(std::string(a, x.ptr), std::string(b, y.ptr)) << form << " of " << shown;
}

template <typename T>
void compareWriting(std::size_t count = 12000)
{
    const std::chars_format formats[] = {std::chars_format::fixed, std::chars_format::scientific,
                                         std::chars_format::general};
    for (const T v : corpus<T>(count)) {
        expectSameText("shortest", v, [&](char* f, char* l) { return toChars(f, l, v); },
                       [&](char* f, char* l) { return std::to_chars(f, l, v); });
        for (const auto fmt : formats) {
            expectSameText("shortest in a format", v,
                           [&](char* f, char* l) { return toChars(f, l, v, fmt); },
                           [&](char* f, char* l) { return std::to_chars(f, l, v, fmt); });
            for (const int precision : {0, 1, 3, 6, 14, 17, 25}) {
                expectSameText("precision", v,
                               [&](char* f, char* l) { return toChars(f, l, v, fmt, precision); },
                               [&](char* f, char* l) { return std::to_chars(f, l, v, fmt, precision); });
            }
        }
    }
}

TEST(FloatText, WritesDoublesAsTheStandardLibrary)
{
    compareWriting<double>();
}

TEST(FloatText, WritesFloatsAsTheStandardLibrary)
{
    compareWriting<float>();
}

// Over a million numbers in every form: random bits, typed decimals near their rounding ties,
// huge, tiny and subnormal ones.
TEST(FloatText, DISABLED_WritesMillionsOfNumbersAsTheStandardLibrary)
{
    compareWriting<double>(1000000);
    compareWriting<float>(300000);
}

TEST(FloatText, WritesSpecialValuesAndRefusesShortBuffers)
{
    char b[8];
    const double specials[] = {std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               -std::numeric_limits<double>::quiet_NaN()};
    for (const double v : specials) {
        char c[8];
        const auto x = toChars(b, b + sizeof b, v, std::chars_format::fixed, 3);
        const auto y = std::to_chars(c, c + sizeof c, v, std::chars_format::fixed, 3);
        EXPECT_EQ(std::string(b, x.ptr), std::string(c, y.ptr));
    }
    const auto small = toChars(b, b + 3, 1234.5);
    EXPECT_EQ(small.ec, std::errc::value_too_large);
    EXPECT_EQ(small.ptr, b + 3);
}

template <typename T>
void expectSameReading(const std::string& text, std::chars_format fmt)
{
    T ours = T(-77.25);
    T theirs = T(-77.25);
    const auto x = fromChars(text.data(), text.data() + text.size(), ours, fmt);
    const auto y = std::from_chars(text.data(), text.data() + text.size(), theirs, fmt);
    ASSERT_EQ(x.ec, y.ec) << '"' << text << '"';
    ASSERT_EQ(x.ptr - text.data(), y.ptr - text.data()) << '"' << text << '"';
    if (std::isnan(theirs))
        ASSERT_TRUE(std::isnan(ours)) << text;
    else
        ASSERT_EQ(std::bit_cast<Bits<T>>(ours), std::bit_cast<Bits<T>>(theirs)) << '"' << text << '"';
}

template <typename T>
void compareReading(std::size_t count = 12000)
{
    std::vector<std::string> texts{"",        "-",       ".",        "-.",       "e5",      "1e",
                                   "1e+",     "1e-x",    "+1",       "1.",       ".5",      "-.5e-3",
                                   "0",       "-0",      "0.000",    "0e999",    "00012.50", "1E5",
                                   "inf",     "-INF",    "infinity", "infinit",  "nan",     "-nan",
                                   "nan(abc_1)", "nan(",  "nan()x",  "1.5e400",  "1e-400",  "2e-324",
                                   "3e-324",  "1e308",   "1.8e308",  "1e-310",   "1e-45",   "3.4e38",
                                   "3.5e38",  "1e-38",   "7e-46",    "0.45",     "800 m",   "1,5",
                                   "12e3x",   "1e99999999999", "-1e-99999999999", " 1",
                                   "4.9406564584124654e-324", "2.4703282292062327e-324",
                                   "2.4703282292062328e-324", "9007199254740993",
                                   "1.00000000000000011102230246251565404236316680908203125",
                                   std::string(400, '9'), "0." + std::string(350, '0') + "1"};
    std::mt19937_64 random(7);
    const char alphabet[] = "0123456789.eE-+";
    for (std::size_t k = 0; k < 2 * count; ++k) {
        std::string text;
        const std::size_t length = 1 + random() % 24;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % 15 < 10 ? random() % 10 : random() % 15];
        texts.push_back(text);
    }
    for (const T v : corpus<T>(count)) {
        char b[1600];
        for (const auto fmt : {std::chars_format::fixed, std::chars_format::scientific,
                               std::chars_format::general}) {
            texts.emplace_back(b, std::to_chars(b, b + sizeof b, v, fmt).ptr);
            texts.emplace_back(b, std::to_chars(b, b + sizeof b, v, fmt, 20).ptr);
        }
    }
    for (const auto fmt : {std::chars_format::fixed, std::chars_format::scientific,
                           std::chars_format::general})
        for (const auto& text : texts)
            expectSameReading<T>(text, fmt);
}

TEST(FloatText, ReadsDoublesAsTheStandardLibrary)
{
    compareReading<double>();
}

TEST(FloatText, ReadsFloatsAsTheStandardLibrary)
{
    compareReading<float>();
}

TEST(FloatText, DISABLED_ReadsMillionsOfTextsAsTheStandardLibrary)
{
    compareReading<double>(300000);
    compareReading<float>(100000);
}

} // namespace
} // namespace siacci
