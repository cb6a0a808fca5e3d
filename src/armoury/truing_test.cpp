#include "armoury/truing.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace siacci::armoury {
namespace {

using pointmass::AngleUnit;
using pointmass::DragModel;

// The worked example's bullet (G1 0.4, 800 m/s, 150 grains), zeroed at 100 m, ICAO air.
TruingShot shot(DragModel model, TruingEngine engine)
{
    TruingShot s;
    s.bullet.muzzleVelocity_ms = 800;
    s.bullet.weight_gr = 150;
    s.bullet.model = model;
    s.bullet.bc_lbin2 = model == DragModel::G1 ? 0.4 : 0.2;
    s.zeroing.sightHeight_cm = 4;
    s.zeroing.zeroDistance_m = 100;
    s.click = {0.25, AngleUnit::Moa};
    s.engine = engine;
    return s;
}

pointmass::Row rowAt(const TruingShot& s, double distance_m)
{
    const pointmass::TableSpan span{distance_m, distance_m};
    const auto r = s.engine == TruingEngine::PointMass
                       ? pointmass::computeTrajectory(s.bullet, s.conditions, s.zeroing, span)
                       : pointmass::computeSiacciTrajectory(s.bullet, s.conditions, s.zeroing, span);
    EXPECT_TRUE(r.ok());
    return r.trajectory.rows.back();
}

struct Case {
    DragModel model;
    TruingEngine engine;
};
const Case kCases[] = {{DragModel::G1, TruingEngine::PointMass},
                       {DragModel::G7, TruingEngine::PointMass},
                       {DragModel::G1, TruingEngine::Siacci}};

// A shot computed forward with a known coefficient gives the velocity at 500 m; the shot started
// from a wrong coefficient is trued back to the known one.
TEST(Truing, CoefficientFromAVelocityDownrange)
{
    for (const Case& c : kCases) {
        const TruingShot truth = shot(c.model, c.engine);
        const double seen = rowAt(truth, 500).velocity_ms;
        TruingShot wrong = truth;
        wrong.bullet.bc_lbin2 *= 1.2;
        const TruingResult r = trueFromVelocity(wrong, {seen, 500});
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(r.quantity, TruedQuantity::Bc);
        EXPECT_NEAR(r.solved, truth.bullet.bc_lbin2, 0.002);
        EXPECT_DOUBLE_EQ(r.previous, wrong.bullet.bc_lbin2);
    }
}

// The same with the correction dialled at 400 m (decimal clicks of 1/4 MOA, and cm): the muzzle
// velocity comes back within 0.5 m/s.
TEST(Truing, VelocityFromTheDialledCorrection)
{
    for (const Case& c : kCases) {
        const TruingShot truth = shot(c.model, c.engine);
        const auto correction = pointmass::correctionAt(rowAt(truth, 400), truth.click);
        TruingShot wrong = truth;
        wrong.bullet.muzzleVelocity_ms = 760;
        const double clicks = correction.elevation_moa / 0.25;
        TruingResult r = trueVelocityFromCorrection(wrong, {clicks, CorrectionUnit::Clicks, 400});
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_NEAR(r.solved, 800, 0.5);
        EXPECT_EQ(r.previous, 760);
        r = trueVelocityFromCorrection(wrong, {-rowAt(truth, 400).path_cm, CorrectionUnit::Cm, 400});
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_NEAR(r.solved, 800, 0.5);
        // And the coefficient from the same correction, when that is what the user asks.
        wrong = truth;
        wrong.bullet.bc_lbin2 *= 0.8;
        r = trueBcFromCorrection(wrong, {correction.elevation_mrad, CorrectionUnit::Mrad, 400});
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_NEAR(r.solved, truth.bullet.bc_lbin2, 0.002);
    }
}

// Before, 0 click at 100 m (the zero) gave 901.6 m/s and at 50 m 821 m/s: there the correction
// hardly depends on what is solved for, and the answer is refused, for both engines, for the
// velocity and the coefficient alike.
TEST(Truing, NearTheZeroTheCorrectionCannotTellTheAnswer)
{
    for (const TruingEngine engine : {TruingEngine::PointMass, TruingEngine::Siacci}) {
        TruingShot s = shot(DragModel::G1, engine);
        s.click = {0.1, AngleUnit::Mrad};
        for (const double distance : {50.0, 100.0}) {
            const ObservedCorrection seen{0, CorrectionUnit::Clicks, distance};
            for (const TruingResult& r : {trueVelocityFromCorrection(s, seen), trueBcFromCorrection(s, seen)}) {
                EXPECT_EQ(r.outcome, TruingOutcome::Insensitive) << distance << " " << r.message;
                EXPECT_NE(r.message.find("a questa distanza la correzione non dipende abbastanza"),
                          std::string::npos);
            }
        }
        // Far from the zero the same click count is an answer.
        const ObservedCorrection far{pointmass::correctionAt(rowAt(s, 500), s.click).elevation_mrad / 0.1,
                                     CorrectionUnit::Clicks, 500};
        EXPECT_TRUE(trueVelocityFromCorrection(s, far).ok());
    }
}

// A stepped or measured curve is trued as a whole, by a multiplier.
TEST(Truing, CurvesAreTruedByAMultiplier)
{
    TruingShot truth = shot(DragModel::G1, TruingEngine::PointMass);
    truth.bullet.bcSteps = {{0.44, 700}, {0.42, 550}};
    TruingShot shifted = truth;
    shifted.bullet = applyTruing(truth.bullet, TruedQuantity::BcMultiplier, 1.1);
    const double v600 = rowAt(shifted, 600).velocity_ms;
    TruingResult r = trueFromVelocity(truth, {v600, 600});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.quantity, TruedQuantity::BcMultiplier);
    EXPECT_NEAR(r.solved, 1.1, 0.002);

    truth.bullet.bcSteps.clear();
    truth.bullet.dragTable = {{0, 0.2}, {0.8, 0.21}, {1.0, 0.4}, {1.5, 0.34}, {3, 0.25}};
    truth.bullet.diameter_mm = 7.82;
    shifted.bullet = applyTruing(truth.bullet, TruedQuantity::BcMultiplier, 0.9);
    r = trueFromVelocity(truth, {rowAt(shifted, 300).velocity_ms, 300});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_NEAR(r.solved, 0.9, 0.002);
}

TEST(Truing, AppliedToALoadAtItsOwnTemperature)
{
    Load load;
    load.velocity_ms = 800;
    load.velocityTemperature_C = 20;
    load.temperatureSensitivity_msPerC = 1;
    applyTruing(load, TruedQuantity::Velocity, 790, 0); // 790 m/s seen at 0 C
    EXPECT_DOUBLE_EQ(load.velocity_ms, 810);
    load.drag = LoadDrag::Table;
    load.dragTable = {{0, 0.3}, {1, 0.5}};
    load.bc = 0.4;
    applyTruing(load, TruedQuantity::BcMultiplier, 2, 0);
    EXPECT_DOUBLE_EQ(load.dragTable[1].cd, 0.25);
    EXPECT_DOUBLE_EQ(load.bc, 0.4);
}

// Observations nothing can explain are answered with a message, quickly, whatever they are.
TEST(Truing, UnsolvableObservationsAreAnsweredWithoutHanging)
{
    const auto start = std::chrono::steady_clock::now();
    const TruingShot s = shot(DragModel::G1, TruingEngine::PointMass);
    TruingResult r = trueFromVelocity(s, {850, 300});
    EXPECT_EQ(r.outcome, TruingOutcome::NoPlausibleValue);
    EXPECT_NE(r.message.find("minore di quella alla bocca"), std::string::npos);
    r = trueFromVelocity(s, {150, 300}); // would need an absurdly low coefficient
    EXPECT_EQ(r.outcome, TruingOutcome::NoPlausibleValue);
    EXPECT_NE(r.message.find("Nessun coefficiente"), std::string::npos) << r.message;
    r = trueVelocityFromCorrection(s, {2000, CorrectionUnit::Clicks, 300});
    EXPECT_EQ(r.outcome, TruingOutcome::NoPlausibleValue);
    EXPECT_NE(r.message.find("Nessuna velocità"), std::string::npos) << r.message;
    r = trueVelocityFromCorrection(s, {-50, CorrectionUnit::Moa, 300}); // far above the line
    EXPECT_EQ(r.outcome, TruingOutcome::NoPlausibleValue);
    r = trueFromVelocity(s, {600, 0});
    EXPECT_EQ(r.outcome, TruingOutcome::BadObservation);
    r = trueFromVelocity(s, {std::nan(""), 300});
    EXPECT_EQ(r.outcome, TruingOutcome::BadObservation);
    r = trueVelocityFromCorrection(s, {10, CorrectionUnit::Clicks, -5});
    EXPECT_EQ(r.outcome, TruingOutcome::BadObservation);
    r = trueFromVelocity(shot(DragModel::G7, TruingEngine::Siacci), {600, 300});
    EXPECT_EQ(r.outcome, TruingOutcome::ShotRefused);
    EXPECT_FALSE(r.message.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// At long range a slower bullet and a worse coefficient drop it alike: say so, and the
// coefficient can be solved instead. At 400 m the velocity is still what the drop tells.
TEST(Truing, VelocityAndCoefficientConfoundedAtLongRange)
{
    const TruingShot s = shot(DragModel::G1, TruingEngine::PointMass);
    const auto far = pointmass::correctionAt(rowAt(s, 1000), s.click);
    TruingResult r = trueVelocityFromCorrection(s, {far.elevation_moa / 0.25 + 8, CorrectionUnit::Clicks, 1000});
    EXPECT_EQ(r.outcome, TruingOutcome::Confounded);
    EXPECT_NE(r.message.find("Ricava il coefficiente"), std::string::npos) << r.message;
    r = trueBcFromCorrection(s, {far.elevation_moa / 0.25 + 8, CorrectionUnit::Clicks, 1000});
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_LT(r.solved, 0.4);
    r = trueVelocityFromCorrection(s, {30, CorrectionUnit::Clicks, 400});
    EXPECT_TRUE(r.ok()) << r.message;
}

} // namespace
} // namespace siacci::armoury
