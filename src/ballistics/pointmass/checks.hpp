#pragma once

#include "ballistics/pointmass/pointmass.hpp"

#include <cstddef>
#include <vector>

// What both engines check before they compute, and the distances of the rows.
namespace siacci::pointmass {

inline constexpr std::size_t kMaxRows = 10000;
inline constexpr double kMaxLookAngle_deg = 80;

// The first reason the inputs cannot be computed, in the order the user is told: the bullet,
// the air, the slope, the table, the zero.
Refusal inputRefusal(const Bullet& bullet, const Conditions& conditions, const Zeroing& zeroing,
                     const TableSpan& span);

// 0, increment, 2 increment ... up to the maximum (a last step short of the maximum by less
// than a millionth of the increment still counts).
std::vector<double> rowDistances(const TableSpan& span);

} // namespace siacci::pointmass
