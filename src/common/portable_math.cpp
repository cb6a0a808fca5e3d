#include "common/portable_math.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// Only +, -, *, / and sqrt on doubles (no fused multiply-add: the build does not contract), and
// exact operations on the bits. The algorithms and coefficients are fdlibm's.
namespace siacci::pm {
namespace {

std::uint64_t bitsOf(double x)
{
    std::uint64_t u = 0;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

double fromBits(std::uint64_t u)
{
    double x = 0;
    std::memcpy(&x, &u, sizeof x);
    return x;
}

std::uint32_t highWord(double x)
{
    return static_cast<std::uint32_t>(bitsOf(x) >> 32);
}

// The whole number nearest to x, ties to even, as nearbyint gives it in the default rounding,
// without the library's call (which costs as much as the rest of exp): below 2^51, adding and
// taking away 1.5 * 2^52 leaves x rounded to a whole number.
double nearestWhole(double x)
{
    constexpr double kShifter = 0x1.8p52;
    if (!(std::fabs(x) < 0x1p51))
        return std::nearbyint(x);
    return std::copysign((x + kShifter) - kShifter, x);
}

// x * 2^k as ldexp gives it: while 2^k is a normal number, one multiplication by it, built from
// its bits, is the same single rounding of the exact product.
double timesPowerOfTwo(double x, int k)
{
    if (k < -1022 || k > 1023)
        return std::ldexp(x, k);
    return x * fromBits(static_cast<std::uint64_t>(k + 1023) << 52);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// sin on [-pi/4, pi/4]; y the tail of x.
double kernelSin(double x, double y, bool tail)
{
    constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03,
                     S3 = -1.98412698298579493134e-04, S4 = 2.75573137070700676789e-06,
                     S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
    const double z = x * x;
    const double w = z * z;
    const double r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
    const double v = z * x;
    if (!tail)
        return x + v * (S1 + z * r);
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos on [-pi/4, pi/4]; y the tail of x.
double kernelCos(double x, double y)
{
    constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03,
                     C3 = 2.48015872894767294178e-05, C4 = -2.75573143513906633035e-07,
                     C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;
    const double z = x * x;
    double w = z * z;
    const double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
    const double hz = 0.5 * z;
    w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// x = n·pi/2 + y[0] + y[1], |y| <= about pi/4; returns n. Cody and Waite's three-part pi/2,
// exact enough for the angles of a shot (|x| below 2^20·pi/2).
int reduceHalfPi(double x, double y[2])
{
    constexpr double invpio2 = 6.36619772367581382433e-01, pio2_1 = 1.57079632673412561417e+00,
                     pio2_1t = 6.07710050650619224932e-11, pio2_2 = 6.07710050630396597660e-11,
                     pio2_2t = 2.02226624879595063154e-21, pio2_3 = 2.02226624871116645580e-21,
                     pio2_3t = 8.47842766036889956997e-32;
    const double fn = nearestWhole(x * invpio2);
    const int n = static_cast<int>(fn);
    double r = x - fn * pio2_1;
    double w = fn * pio2_1t;
    y[0] = r - w;
    const int ex = static_cast<int>((highWord(x) >> 20) & 0x7ff);
    int ey = static_cast<int>((highWord(y[0]) >> 20) & 0x7ff);
    if (ex - ey > 16) {
        double t = r;
        w = fn * pio2_2;
        r = t - w;
        w = fn * pio2_2t - ((t - r) - w);
        y[0] = r - w;
        ey = static_cast<int>((highWord(y[0]) >> 20) & 0x7ff);
        if (ex - ey > 49) {
            t = r;
            w = fn * pio2_3;
            r = t - w;
            w = fn * pio2_3t - ((t - r) - w);
            y[0] = r - w;
        }
    }
    y[1] = (r - y[0]) - w;
    return n;
}

} // namespace

double sin(double x)
{
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    if (ix <= 0x3fe921fb)
        return ix < 0x3e500000 ? x : kernelSin(x, 0, false);
    if (ix >= 0x7ff00000)
        return kNaN;
    double y[2];
    switch (reduceHalfPi(x, y) & 3) {
    case 0: return kernelSin(y[0], y[1], true);
    case 1: return kernelCos(y[0], y[1]);
    case 2: return -kernelSin(y[0], y[1], true);
    default: return -kernelCos(y[0], y[1]);
    }
}

double cos(double x)
{
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    if (ix <= 0x3fe921fb)
        return ix < 0x3e46a09e ? 1.0 : kernelCos(x, 0);
    if (ix >= 0x7ff00000)
        return kNaN;
    double y[2];
    switch (reduceHalfPi(x, y) & 3) {
    case 0: return kernelCos(y[0], y[1]);
    case 1: return -kernelSin(y[0], y[1], true);
    case 2: return -kernelCos(y[0], y[1]);
    default: return kernelSin(y[0], y[1], true);
    }
}

double tan(double x)
{
    return sin(x) / cos(x);
}

double atan(double x)
{
    static constexpr double atanhi[] = {4.63647609000806093515e-01, 7.85398163397448278999e-01,
                                        9.82793723247329054082e-01, 1.57079632679489655800e+00};
    static constexpr double atanlo[] = {2.26987774529616870924e-17, 3.06161699786838301793e-17,
                                        1.39033110312309984516e-17, 6.12323399573676603587e-17};
    static constexpr double aT[] = {3.33333333333329318027e-01,  -1.99999999998764832476e-01,
                                    1.42857142725034663711e-01,  -1.11111104054623557880e-01,
                                    9.09088713343650656196e-02,  -7.69187620504482999495e-02,
                                    6.66107313738753120669e-02,  -5.83357013379057348645e-02,
                                    4.97687799461593236017e-02,  -3.65315727442169155270e-02,
                                    1.62858201153657823623e-02};
    const bool negative = std::signbit(x);
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    if (ix >= 0x44100000) {   // |x| >= 2^66
        if (std::isnan(x))
            return x;
        return negative ? -atanhi[3] : atanhi[3];
    }
    int id = -1;
    if (ix < 0x3fdc0000) {    // |x| < 0.4375
        if (ix < 0x3e400000)
            return x;
    } else {
        x = std::fabs(x);
        if (ix < 0x3ff30000) {
            if (ix < 0x3fe60000) {
                id = 0;
                x = (2.0 * x - 1.0) / (2.0 + x);
            } else {
                id = 1;
                x = (x - 1.0) / (x + 1.0);
            }
        } else if (ix < 0x40038000) {
            id = 2;
            x = (x - 1.5) / (1.0 + 1.5 * x);
        } else {
            id = 3;
            x = -1.0 / x;
        }
    }
    const double z = x * x;
    const double w = z * z;
    const double s1 = z * (aT[0] + w * (aT[2] + w * (aT[4] + w * (aT[6] + w * (aT[8] + w * aT[10])))));
    const double s2 = w * (aT[1] + w * (aT[3] + w * (aT[5] + w * (aT[7] + w * aT[9]))));
    if (id < 0)
        return x - x * (s1 + s2);
    const double r = atanhi[id] - ((x * (s1 + s2) - atanlo[id]) - x);
    return negative ? -r : r;
}

double atan2(double y, double x)
{
    constexpr double pi = 3.1415926535897931160e+00, pi_lo = 1.2246467991473531772e-16,
                     halfPi = 1.5707963267948965580e+00;
    if (std::isnan(x) || std::isnan(y))
        return x + y;
    if (y == 0)
        return std::signbit(x) ? std::copysign(pi, y) : y;
    if (x == 0)
        return std::copysign(halfPi, y);
    const double a = atan(std::fabs(y / x));
    if (x > 0)
        return std::copysign(a, y);
    return std::copysign(pi - (a - pi_lo), y);
}

double exp(double x)
{
    constexpr double ln2HI = 6.93147180369123816490e-01, ln2LO = 1.90821492927058770002e-10,
                     invln2 = 1.44269504088896338700e+00, P1 = 1.66666666666666019037e-01,
                     P2 = -2.77777777770155933842e-03, P3 = 6.61375632143793436117e-05,
                     P4 = -1.65339022054652515390e-06, P5 = 4.13813679705723846039e-08;
    if (std::isnan(x))
        return x;
    if (x > 709.782712893383973096)
        return kInfinity;
    if (x < -745.13321910194110842)
        return 0;
    const double ax = std::fabs(x);
    double hi = x;
    double lo = 0;
    int k = 0;
    if (ax > 0.5 * 0.6931471805599453) {
        k = static_cast<int>(nearestWhole(invln2 * x));
        hi = x - k * ln2HI;
        lo = k * ln2LO;
        x = hi - lo;
    } else if (ax < 0x1p-28) {
        return 1 + x;
    }
    const double t = x * x;
    const double c = x - t * (P1 + t * (P2 + t * (P3 + t * (P4 + t * P5))));
    const double y = 1 - ((lo - (x * c) / (2 - c)) - hi);
    return k == 0 ? y : timesPowerOfTwo(y, k);
}

double log(double x)
{
    constexpr double ln2_hi = 6.93147180369123816490e-01, ln2_lo = 1.90821492927058770002e-10,
                     Lg1 = 6.666666666666735130e-01, Lg2 = 3.999999999940941908e-01,
                     Lg3 = 2.857142874366239149e-01, Lg4 = 2.222219843214978396e-01,
                     Lg5 = 1.818357216161805012e-01, Lg6 = 1.531383769920937332e-01,
                     Lg7 = 1.479819860511658591e-01;
    if (std::isnan(x) || x < 0)
        return kNaN;
    if (x == 0)
        return -kInfinity;
    if (std::isinf(x))
        return x;
    std::uint64_t u = bitsOf(x);
    int k = 0;
    if (x < 0x1p-1022) {   // subnormal: scale up
        k -= 54;
        u = bitsOf(x * 0x1p54);
    }
    std::uint32_t hx = static_cast<std::uint32_t>(u >> 32);
    if (hx == 0x3ff00000 && (u & 0xffffffff) == 0)
        return 0;
    // x = 2^k · (1 + f), sqrt(2)/2 < 1 + f < sqrt(2)
    hx += 0x3ff00000 - 0x3fe6a09e;
    k += static_cast<int>(hx >> 20) - 0x3ff;
    hx = (hx & 0x000fffff) + 0x3fe6a09e;
    u = (static_cast<std::uint64_t>(hx) << 32) | (u & 0xffffffff);
    const double f = fromBits(u) - 1.0;
    const double hfsq = 0.5 * f * f;
    const double s = f / (2.0 + f);
    const double z = s * s;
    const double w = z * z;
    const double t1 = w * (Lg2 + w * (Lg4 + w * Lg6));
    const double t2 = z * (Lg1 + w * (Lg3 + w * (Lg5 + w * Lg7)));
    const double R = t2 + t1;
    const double dk = k;
    return s * (hfsq + R) + dk * ln2_lo - hfsq + f + dk * ln2_hi;
}

double pow(double x, double y)
{
    if (y == 0 || x == 1)
        return 1;
    if (std::isnan(x) || std::isnan(y))
        return x + y;
    if (x > 0)
        return exp(y * log(x));
    if (x == 0)
        return y > 0 ? 0 : kInfinity;
    if (std::floor(y) != y)
        return kNaN;
    const double magnitude = exp(y * log(-x));
    return std::fmod(y, 2) != 0 ? -magnitude : magnitude;
}

double cbrt(double x)
{
    constexpr std::uint32_t B1 = 715094163, B2 = 696219795;
    constexpr double P0 = 1.87595182427177009643, P1 = -1.88497979543377169875,
                     P2 = 1.621429720105354466140, P3 = -0.758397934778766047437,
                     P4 = 0.145996192886612446982;
    std::uint64_t u = bitsOf(x);
    std::uint32_t hx = static_cast<std::uint32_t>(u >> 32) & 0x7fffffff;
    if (hx >= 0x7ff00000)
        return x + x;
    if (hx < 0x00100000) {
        u = bitsOf(x * 0x1p54);
        hx = static_cast<std::uint32_t>(u >> 32) & 0x7fffffff;
        if (hx == 0)
            return x;
        hx = hx / 3 + B2;
    } else {
        hx = hx / 3 + B1;
    }
    u &= std::uint64_t{1} << 63;
    u |= static_cast<std::uint64_t>(hx) << 32;
    double t = fromBits(u);
    double r = (t * t) * (t / x);
    t = t * ((P0 + r * (P1 + r * P2)) + ((r * r) * r) * (P3 + r * P4));
    u = (bitsOf(t) + 0x80000000) & 0xffffffffc0000000ULL;
    t = fromBits(u);
    const double s = t * t;
    r = x / s;
    const double w = t + t;
    r = (r - t) / (w + r);
    return t + t * r;
}

double hypot(double x, double y)
{
    x = std::fabs(x);
    y = std::fabs(y);
    if (std::isinf(x) || std::isinf(y))
        return kInfinity;
    const double big = x > y ? x : y;
    if (big == 0 || std::isnan(big))
        return x + y;
    // Scaled by a power of two (exact) so that the squares neither overflow nor underflow.
    const int e = std::ilogb(big);
    const double sx = timesPowerOfTwo(x, -e);
    const double sy = timesPowerOfTwo(y, -e);
    return timesPowerOfTwo(std::sqrt(sx * sx + sy * sy), e);
}

} // namespace siacci::pm
