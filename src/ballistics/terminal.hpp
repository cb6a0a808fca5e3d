#pragma once

#include "common/shot.hpp"

// The bullet's own numbers behind the terminal-ballistics table (rscalc), and the five indices
// of one row.
namespace siacci {

// Computed once per run from the diameter (mm) and the weight (grains).
struct TerminalBullet {
    double diameter_mm = 0;
    double diameter_in = 0;    // d / 25.4
    double k = 0.8;            // calibre factor of the P.I.R.
    double area_in2 = 0;       // (d_in / 2)^2 * 3.14
    double mass_g = 0;         // 0.0648 w
    double area_cm2 = 0;       // 0.785 (d / 10)^2
    double threshold_ms = 0;   // 125 / (m / A_cm) + 22: below it the bullet does not enter tissue
    double weight_gr = 0;
};

// The calibre factor K: 0.8 up to 0.25 inch (0.249 to 0.25 included), then 0.85 above 0.25,
// 0.9 above 0.3, 1 above 0.35, 1.1 above 0.4 and 1.15 above 0.45 inch.
double calibreFactor(double diameter_in);

TerminalBullet terminalBullet(double diameter_mm, double weight_gr);

// The values of one row, formed from the velocity and energy as the row shows them.
struct TerminalValues {
    double softTissue_cm = 0; // 0 at or below the threshold velocity
    double pir = 0;
    double rsp = 0;           // 0 when the shown velocity is 0
    double rii = 0;           // 0 when the shown velocity is 0
    double bone_cm = 0;
};

// shownVelocity_ms and shownEnergy_kgm are the whole numbers of the row's cells. Unset
// coefficients count as 0.
TerminalValues terminalValues(const TerminalBullet& bullet, const TerminalCoefficients& c,
                              double shownVelocity_ms, double shownEnergy_kgm);

} // namespace siacci
