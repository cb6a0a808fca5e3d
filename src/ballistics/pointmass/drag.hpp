#pragma once

#include "ballistics/pointmass/pointmass.hpp"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace siacci::pointmass {

// A drag curve Cd(Mach) through its points by monotone piecewise-cubic Hermite interpolation
// (PCHIP, as SciPy's PchipInterpolator: weighted harmonic-mean slopes inside, three-point
// one-sided slopes at the ends); outside the points it holds the end values. Straight lines
// between the points would move long-range results by a few tenths of a MOA.
class PchipCurve {
public:
    // The points need at least two entries with the Mach strictly increasing.
    explicit PchipCurve(std::span<const DragPoint> points);
    double operator()(double mach) const;

private:
    struct Piece {
        double mach0;
        double c0, c1, c2, c3; // Cd = c0 + c1 s + c2 s^2 + c3 s^3, s = mach - mach0
    };
    std::vector<Piece> m_pieces;
    // A direct index: the piece where each Mach bucket of width m_bucketWidth starts, so a lookup
    // needs at most a short walk.
    std::vector<std::uint32_t> m_bucketPiece;
    double m_bucketWidth = 1;
    double m_lastMach = 0, m_lastCd = 0;
};

// The drag the bullet meets: a standard function scaled by its (possibly stepped) ballistic
// coefficient, or its own measured curve.
class DragFunction {
public:
    // The bullet must have passed validation (bulletRefusal).
    explicit DragFunction(const Bullet& bullet);
    // Deceleration per unit of squared air speed (1/m): a = k * |v_air|^2 along -v_air,
    // in air of density rho (kg/m^3).
    double coefficient_perm(double density_kgm3, double airSpeed_ms, double mach) const
    {
        return density_kgm3 * m_curve(mach) * factorAt(airSpeed_ms);
    }

private:
    double factorAt(double airSpeed_ms) const
    {
        for (const Band& band : m_bands)
            if (airSpeed_ms >= band.fromVelocity_ms)
                return band.factor;
        return m_baseFactor;
    }
    struct Band {
        double fromVelocity_ms;
        double factor;
    };
    PchipCurve m_curve;
    std::vector<Band> m_bands; // fastest first
    double m_baseFactor = 0;   // pi / (8 BC_SI), or pi d^2 / (8 m) for a measured curve
};

inline constexpr double kKgm2PerLbIn2 = 703.06958; // ballistic coefficient lb/in^2 -> kg/m^2
inline constexpr double kKgPerGrain = 64.79891e-6;

// A measured drag table as text: one "Mach Cd" pair per line (spaces, tabs, a comma or a
// semicolon between them; a decimal comma is read as a point when the separator is not a comma),
// blank lines and lines starting with # ignored. Empty when a line is not two numbers, or when
// the Mach does not increase, or fewer than two points remain.
std::vector<DragPoint> readDragTable(std::string_view text);

// Whether a drag table can be used: at least two points and at most kMaxDragTablePoints, finite, Mach >= 0 strictly increasing,
// Cd >= 0.
bool dragTableUsable(std::span<const DragPoint> points);

} // namespace siacci::pointmass
