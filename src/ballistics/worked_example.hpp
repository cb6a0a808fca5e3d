#pragma once

#include "common/shot.hpp"

namespace siacci {

// The program's reference shot, the one whose metric table every figure is checked against:
// 800 m/s, BC 0.4, 150 grains, sight 4 cm, zero 220 m, every 25 m to 300 m, 15 degrees C at
// sea level, no site angle and no description. Its table has 13 rows, from
// 0, 800, 0, -4, 0, 317, 0, 0 to 300, 594, 0.435, -24.3, 26.7, 175, 84.2, 21.7.
// Tests, benchmarks and screenshots start from it and change only what they are about.
inline ShotInput workedExample()
{
    ShotInput in;
    in.velocity = 800;
    in.bc = 0.4;
    in.weight = 150;
    in.sightHeight = 4;
    in.zeroDistance = 220;
    in.increment = 25;
    in.maxDistance = 300;
    in.temperature = 15;
    in.altitude = 0;
    return in;
}

} // namespace siacci
