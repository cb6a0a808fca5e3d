#pragma once

#include "ballistics/engine/engine.hpp"
#include "common/shot.hpp"

#include <array>
#include <string>
#include <string_view>

// The trajectory of the graph: the bullet's path relative to the line of sight from the muzzle
// out to 1000 m, whatever maximum distance the user typed for the table.
namespace siacci {

// The highest index of GraphPoints. Index 0 exists and is never used, so the table holds the
// origin and at most 499 computed points.
inline constexpr int kGraphPointsLast = 500;
inline constexpr int kGraphComputedPointsMax = kGraphPointsLast - 1;

// The graph always reaches this distance (m), the first point at or beyond 999.51 m included.
inline constexpr double kGraphReach_m = 1000;

// One plotted point, single precision as the graph keeps it.
struct GraphPoint {
    float distance_dm = 0;       // distance from the muzzle, decimetres
    float height_tenthMm = 0;    // height relative to the line of sight, tenths of a millimetre

    friend bool operator==(const GraphPoint&, const GraphPoint&) = default;
};

using GraphPointTable = std::array<GraphPoint, kGraphPointsLast + 1>;

// The range scale of the graph window, in metres; unset until the user picks one.
enum class GraphScale { Unset = 0, Metres200 = 200, Metres350 = 350, Metres500 = 500, Metres1000 = 1000 };

// The program-wide graph state, owned by the main window's model; the graph window gets it by
// reference. The two point lists are texts "%d1%d2..." (each item a "%" and a number, "." as
// the decimal point, no trailing "%"): Text1 distances in metres rounded to 0.1 m, Text2 heights
// in millimetres in the short number form (a space before a number that is not negative).
// Item k of one list belongs to item k of the other. The terminal-ballistics table writes them
// in the same form.
struct GraphState {
    std::string Text1;            // distance list, m
    std::string Text2;            // height list, mm
    GraphPointTable GraphPoints{};
    int N = 1;                    // valid entries from index 1; point 1 is the origin (0, 0)
    GraphScale graphScale = GraphScale::Unset; // survives closing the graph window
    std::string Label2;           // the title line of the graph window
    bool truncated = false;       // the lists hold only the first 499 points of the curve
};

// How a graph computation went. The lists are empty unless it is Computed or Truncated.
enum class GraphOutcome {
    Computed,
    Truncated,      // the step is so short that only the first 499 points were kept
    NoBand,         // the muzzle velocity lies outside the engine's band table
    InvalidInput,   // velocity, ballistic coefficient or step 0 or not a number
    Refused,        // the engine refused the shot's conditions: see GraphRun::refusal
};

// The outcome with the engine's reason when it refused (a negative coefficient, an altitude or
// temperature outside the limits).
struct GraphRun {
    GraphOutcome outcome = GraphOutcome::Computed;
    ShotRefusal refusal = ShotRefusal::None;
    friend bool operator==(const GraphRun& run, GraphOutcome outcome)
    {
        return run.outcome == outcome;
    }
};

// Recomputes both point lists from metric shot inputs (m/s, m, cm, grains, C) and the input's
// site angle: the distances 0, s, 2s, ... (s = the range step) out to the first one at or beyond
// 999.51 m, each with its path height (site-angle correction included; the muzzle point is
// -sight height). The input's maximum distance plays no part. The velocity check with its
// prompt is the caller's. At most 499 points are kept, so no step, however short, can hang the
// program or overflow GraphPoints.
GraphRun europagraphic(const ShotInput& metricInput, GraphState& state);

// Rebuilds GraphPoints and N from the two lists: N = 1 + the number of "%" in the distance list
// (at most 500), point i takes item i - 1 of each list read by the plain reading times 10 (an
// empty or missing item reads 0), so point 1 is always the origin.
void LoadGraphPoints(GraphState& state);

// The title line of the graph button: description, "   Taratura Arma metri:", the zero distance,
// "   Velocità Iniziale metri:" and the velocity, the numbers in the short number form.
std::string graphTitle(std::string_view description, double zeroDistance, double velocity);

} // namespace siacci
