#pragma once

#include "card/hit_probability.hpp"

// What the hunter types for "Fin dove posso tirare?", in words he knows: how he reads the
// distance and the wind, how he holds the rifle, how his rifle groups. Each preset is a standard
// deviation; a "±" figure is taken as one standard deviation. The reasons are in the help
// ("distanza etica").
namespace siacci::card {

enum class RangeFinder { Telemetro, AOcchio };
inline constexpr int kRangeFinderCount = 2;
enum class WindReading { Misurato, Stimato };
inline constexpr int kWindReadingCount = 2;
enum class ShootingPosition { Banco, ATerra, Bastone, Seduto, InPiedi };
inline constexpr int kShootingPositionCount = 5;

const char* rangeFinderCaption(RangeFinder r);      // "telemetro ±1 m"
const char* windReadingCaption(WindReading w);      // "vento stimato ±4 km/h"
const char* shootingPositionCaption(ShootingPosition p); // "bastone"
inline constexpr int kAimModeCount = 2;
const char* aimModeCaption(AimMode aim);            // "con la correzione", "senza correzione"

// The distance's error: (m, % of the distance); one of them is 0.
struct RangeError {
    double sd_m = 0;
    double sd_pct = 0;
};
RangeError rangeFinderError(RangeFinder r);
double windReadingSd_kmh(WindReading w);
// What the position adds to the rifle's own cone, per axis, MOA (the bench adds nothing).
double positionSd_moa(ShootingPosition p);

// The mean extreme spread of five shots from a circular normal cone, in standard deviations
// per axis (3.07: the mean of the largest of the ten distances between five such shots).
inline constexpr double kFiveShotSpreadPerSd = 3.07;
// The cone's standard deviation per axis from the size of a 5-shot group (centre to centre of
// the two farthest holes), MOA.
double coneSdFromGroup_moa(double group5_moa);
// The whole cone: the rifle's (from its group on the bench) and the position's, added in
// quadrature.
double coneSd_moa(double group5_moa, ShootingPosition position);

} // namespace siacci::card
