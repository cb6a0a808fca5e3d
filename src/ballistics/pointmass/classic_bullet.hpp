#pragma once

#include "ballistics/pointmass/pointmass.hpp"

namespace siacci::pointmass {

// The program's reference bullet for the point-mass engine: G1 0.4, 800 m/s, 150 grains (the
// bullet of the classic worked example). Tests start from it and change only what they are about.
inline Bullet classicBullet()
{
    Bullet b;
    b.muzzleVelocity_ms = 800;
    b.weight_gr = 150;
    b.bc_lbin2 = 0.4;
    return b;
}

} // namespace siacci::pointmass
