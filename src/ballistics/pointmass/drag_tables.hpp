#pragma once

#include "ballistics/pointmass/pointmass.hpp"

#include <span>

namespace siacci::pointmass {

// The points (Mach ascending, Cd) of a standard drag function, exactly as data/drag-functions.tsv
// gives them; the source defining this is generated from that file when the program is built.
std::span<const DragPoint> standardDragPoints(DragModel model);

} // namespace siacci::pointmass
