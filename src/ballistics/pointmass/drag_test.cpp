#include "ballistics/pointmass/drag.hpp"
#include "ballistics/pointmass/drag_tables.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace siacci::pointmass {
namespace {

#ifdef SIACCI_DRAG_TSV
// The points compiled into the program are those of data/drag-functions.tsv, every one.
TEST(StandardDrag, CompiledPointsAreTheDataFile)
{
    std::ifstream file(SIACCI_DRAG_TSV);
    ASSERT_TRUE(file);
    std::map<std::string, std::vector<DragPoint>> read;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name;
        DragPoint p;
        fields >> name >> p.mach >> p.cd;
        read[name].push_back(p);
    }
    for (const auto& [model, name] :
         {std::pair{DragModel::G1, "G1"}, std::pair{DragModel::G7, "G7"}}) {
        const auto compiled = standardDragPoints(model);
        ASSERT_EQ(compiled.size(), read[name].size()) << name;
        for (std::size_t k = 0; k < compiled.size(); ++k) {
            EXPECT_EQ(compiled[k].mach, read[name][k].mach) << name << " " << k;
            EXPECT_EQ(compiled[k].cd, read[name][k].cd) << name << " " << k;
        }
    }
}
#endif

TEST(StandardDrag, PchipPassesThroughThePointsWithoutOvershoot)
{
    for (const DragModel model : {DragModel::G1, DragModel::G7}) {
        const auto points = standardDragPoints(model);
        const PchipCurve curve(points);
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            EXPECT_NEAR(curve(points[k].mach), points[k].cd, 1e-12);
            // Between two points the curve stays between their values when the neighbours keep
            // the same direction, and never leaves the range of the four around it.
            const double lo = std::min(points[k].cd, points[k + 1].cd);
            const double hi = std::max(points[k].cd, points[k + 1].cd);
            for (double u = 0.1; u < 1; u += 0.2) {
                const double cd = curve(points[k].mach + u * (points[k + 1].mach - points[k].mach));
                EXPECT_GE(cd, lo - 1e-12);
                EXPECT_LE(cd, hi + 1e-12);
            }
        }
        // Outside the points the end values hold.
        EXPECT_EQ(curve(-1), points.front().cd);
        EXPECT_EQ(curve(99), points.back().cd);
    }
}

TEST(StandardDrag, PchipIsExactOnStraightLinesAndFlatAtATurn)
{
    const DragPoint line[] = {{0, 1}, {1, 3}, {3, 7}, {3.5, 8}};
    const PchipCurve straight(line);
    EXPECT_NEAR(straight(0.5), 2, 1e-12);
    EXPECT_NEAR(straight(2.2), 5.4, 1e-12);
    // A local maximum at a point: the slope there is 0, so just beside it the curve is below.
    const DragPoint peak[] = {{0, 0}, {1, 1}, {2, 0}};
    const PchipCurve turn(peak);
    EXPECT_LT(turn(0.99), 1);
    EXPECT_LT(turn(1.01), 1);
    EXPECT_NEAR(turn(0.99), 1, 1e-3);
}

TEST(StandardDrag, DecelerationOfTheFieldsExample)
{
    // a = rho v^2 pi Cd / (8 BC_SI): 800 m/s, 1.2250 kg/m^3, Cd 0.3, BC 0.4 lb/in^2 -> 328 m/s^2.
    Bullet b;
    b.weight_gr = 150;
    b.diameter_mm = 7.82;
    b.dragTable = {{0, 0.3}, {5, 0.3}};
    // The same bullet described by a coefficient: BC = m / d^2 makes the form factor 1.
    const double d_m = 7.82e-3, m_kg = 150 * kKgPerGrain;
    const double bc = m_kg / (d_m * d_m) / kKgm2PerLbIn2;
    const double measured = DragFunction(b).coefficient_perm(1.2250, 800, 2.35) * 800 * 800;
    EXPECT_NEAR(measured * bc / 0.4, 328.4, 0.1);

    Bullet stepped;
    stepped.bc_lbin2 = 0.4;
    stepped.bcSteps = {{0.5, 700}, {0.45, 500}};
    const DragFunction drag(stepped);
    const double cd = PchipCurve(standardDragPoints(DragModel::G1))(2);
    const auto expected = [&](double bcInForce) {
        return 1.2250 * cd * 3.141592653589793 / (8 * bcInForce * kKgm2PerLbIn2);
    };
    EXPECT_DOUBLE_EQ(drag.coefficient_perm(1.2250, 800, 2), expected(0.5));
    EXPECT_DOUBLE_EQ(drag.coefficient_perm(1.2250, 700, 2), expected(0.5));
    EXPECT_DOUBLE_EQ(drag.coefficient_perm(1.2250, 600, 2), expected(0.45));
    EXPECT_DOUBLE_EQ(drag.coefficient_perm(1.2250, 499, 2), expected(0.4));
}

TEST(MeasuredDrag, ReadsTwoNumbersPerLine)
{
    const auto points = readDragTable("# Mach Cd\n0.5 0.25\n\n1,0\t0,40\r\n1.5;0.38\n2,0.33\r\n");
    ASSERT_EQ(points.size(), 4u);
    EXPECT_DOUBLE_EQ(points[1].mach, 1.0);
    EXPECT_DOUBLE_EQ(points[1].cd, 0.40);
    EXPECT_DOUBLE_EQ(points[2].cd, 0.38);
    EXPECT_DOUBLE_EQ(points[3].mach, 2.0);
    EXPECT_DOUBLE_EQ(points[3].cd, 0.33);
}

TEST(MeasuredDrag, RefusesWhatIsNotATable)
{
    EXPECT_TRUE(readDragTable("0.5 0.25 7\n1 0.4\n").empty());  // three numbers
    EXPECT_TRUE(readDragTable("0.5 0.25\nMach 0.4\n").empty()); // a word
    EXPECT_TRUE(readDragTable("0.5 0.25\n0.5 0.4\n").empty());  // Mach not increasing
    EXPECT_TRUE(readDragTable("1 0.25\n0.5 0.4\n").empty());
    EXPECT_TRUE(readDragTable("0.5 0.25\n").empty()); // one point
    EXPECT_TRUE(readDragTable("0.5 0.25\n1 nan\n").empty());
    EXPECT_TRUE(readDragTable("").empty());
}

} // namespace
} // namespace siacci::pointmass
