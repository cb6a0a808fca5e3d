#pragma once

#include "ballistics/pointmass/pointmass.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
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
    double operator()(double mach) const
    {
        if (!(mach > m_firstMach))
            return m_firstCd;
        if (mach >= m_lastMach)
            return m_lastCd;
        // The bucket's first piece, then at most the next ones: a bucket is no wider than the
        // narrowest piece, so one step forward is the most a lookup takes (a dense table
        // capped at 4096 buckets may take a few).
        const auto bucket = static_cast<std::size_t>((mach - m_firstMach) * m_perBucket);
        std::size_t k = m_bucketPiece[bucket < m_lastBucket ? bucket : m_lastBucket];
        while (m_pieces[k + 1].mach0 <= mach)
            ++k;
        while (m_pieces[k].mach0 > mach)
            --k;
        const Piece& piece = m_pieces[k];
        const double s = mach - piece.mach0;
        return piece.c0 + s * (piece.c1 + s * (piece.c2 + s * piece.c3));
    }

private:
    struct Piece {
        double mach0;
        double c0, c1, c2, c3; // Cd = c0 + c1 s + c2 s^2 + c3 s^3, s = mach - mach0
    };
    // The pieces, then one more that starts at the last Mach (no lookup below it goes past it).
    std::vector<Piece> m_pieces;
    // A direct index: the piece where each Mach bucket of width 1 / m_perBucket starts.
    std::vector<std::uint32_t> m_bucketPiece;
    std::size_t m_lastBucket = 0;
    double m_perBucket = 1;
    double m_firstMach = 0, m_firstCd = 0, m_lastMach = 0, m_lastCd = 0;
};

// The drag the bullet meets: a standard function scaled by its (possibly stepped) ballistic
// coefficient, or its own measured curve. The standard curves are built once for the whole
// program and shared; a measured one once per bullet.
class DragFunction {
public:
    // The bullet must have passed validation (bulletRefusal).
    explicit DragFunction(const Bullet& bullet);
    // Deceleration per unit of squared air speed (1/m): a = k * |v_air|^2 along -v_air,
    // in air of density rho (kg/m^3).
    double coefficient_perm(double density_kgm3, double airSpeed_ms, double mach) const
    {
        return density_kgm3 * (*m_curve)(mach) * factorAt(airSpeed_ms);
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
    std::shared_ptr<const PchipCurve> m_curve;
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
