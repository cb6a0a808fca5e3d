#include "card/ranging.hpp"
#include "card/reticle.hpp"
#include "card/reticle_drawing.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace siacci::card {
namespace {

const Reticle& named(const char* key)
{
    const Reticle* r = findReticle(key);
    EXPECT_NE(r, nullptr) << key;
    return *r;
}

pm::Correction mrad(double up, double right)
{
    pm::Correction c;
    c.elevation_mrad = up;
    c.windage_mrad = right;
    c.elevation_moa = up * 3.4377468;
    c.windage_moa = right * 3.4377468;
    return c;
}

TEST(Reticles, TheCompiledTableHoldsTheGenericOnes)
{
    ASSERT_TRUE(readReticles(reticlesTsv()).problem.empty()) << readReticles(reticlesTsv()).problem;
    const struct {
        const char* key;
        ReticleUnit unit;
        FocalPlane plane;
        std::size_t marksBelow;
        double firstMark;
    } expected[] = {
        {"duplex", ReticleUnit::Moa, FocalPlane::Second, 0, 0},
        {"mildot", ReticleUnit::Mrad, FocalPlane::Second, 5, 1},
        {"mrad", ReticleUnit::Mrad, FocalPlane::First, 20, 0.5},
        {"moa", ReticleUnit::Moa, FocalPlane::First, 15, 2},
        {"albero", ReticleUnit::Mrad, FocalPlane::First, 10, 1},
        {"personalizzato", ReticleUnit::Mrad, FocalPlane::Second, 0, 0},
    };
    ASSERT_EQ(reticles().size(), std::size(expected));
    for (const auto& e : expected) {
        const Reticle& r = named(e.key);
        EXPECT_EQ(r.unit, e.unit) << e.key;
        EXPECT_EQ(r.plane, e.plane) << e.key;
        EXPECT_EQ(r.verticalMarks.size(), e.marksBelow) << e.key;
        if (e.marksBelow) {
            EXPECT_DOUBLE_EQ(r.verticalMarks.front(), e.firstMark) << e.key;
        }
    }
    EXPECT_TRUE(named("duplex").userTip);
    EXPECT_TRUE(named("personalizzato").userMarks);
    // The tree's side marks are 0.2 mrad apart.
    EXPECT_NEAR(named("albero").horizontalMarks[1] - named("albero").horizontalMarks[0], 0.2, 1e-12);
    EXPECT_EQ(findReticle("MIL-DOT"), findReticle("mildot"));
    EXPECT_EQ(findReticle("nessuno"), nullptr);
}

TEST(Reticles, ABadTableLineIsRefusedWithItsLine)
{
    const std::string good = "k\tK\tmrad\tfirst\t0\thash\t1 2\t1\ttacca\tf\ttacca\tf\n";
    EXPECT_TRUE(readReticles(good).problem.empty());
    const struct {
        std::string text;
        const char* problem;
    } cases[] = {
        {"k\tK\tmrad\tfirst\t0\thash\t1 2\t1\ttacca\tf\ttacca\n", "riga 1 dei reticoli: non ha 12 colonne"},
        {"# c\nk\tK\tmils\tfirst\t0\thash\t1\t1\ttacca\tf\ttacca\tf\n", "riga 2 dei reticoli: unità non mrad né moa"},
        {"k\tK\tmrad\tfirst\t0\thash\t2 1\t1\ttacca\tf\ttacca\tf\n", "riga 1 dei reticoli: tacche non valide"},
        {"k\tK\tmrad\tfirst\t0\thash\t1:0:5\t1\ttacca\tf\ttacca\tf\n", "riga 1 dei reticoli: tacche non valide"},
        {"k\tK\tmrad\tsecond\t0\thash\t1\t1\ttacca\tf\ttacca\tf\n", "riga 1 dei reticoli: ingrandimento di taratura non valido"},
        {good + good, "riga 2 dei reticoli: nome ripetuto"},
        {"", "nessun reticolo"},
    };
    for (const auto& c : cases) {
        const ReticleTable t = readReticles(c.text);
        EXPECT_EQ(t.problem, c.problem) << c.text;
        EXPECT_TRUE(t.reticles.empty());
    }
}

TEST(Reticles, MarkNamesToTheNearestHalfMark)
{
    const std::vector<double> dots = {1, 2, 3, 4, 5};
    const std::vector<double> hash = {0.5, 1, 1.5, 2};
    const struct {
        const std::vector<double>* marks;
        double value;
        bool feminine;
        const char* name;
    } cases[] = {
        {&dots, 0, false, ""},
        {&dots, 0.2, false, ""},
        {&dots, 0.5, false, "metà"},
        {&dots, 0.74, false, "metà"},
        {&dots, 1, false, "1° puntino"},
        {&dots, 1.4, false, "1° puntino e mezzo"},
        {&dots, 2.05, false, "2° puntino"},
        {&dots, 5.1, false, "5° puntino"},
        {&dots, 6.5, false, "oltre il 5° puntino"},
        {&hash, 0.75, true, "1ª tacca e mezza"},
        {&hash, 1.9, true, "4ª tacca"},
        {&hash, 3, true, "oltre la 4ª tacca"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(markName(*c.marks, c.value, c.feminine ? "tacca" : "puntino", c.feminine), c.name) << c.value;
    // One mark only (the duplex's post tip): no ordinal.
    EXPECT_EQ(markName({12}, 12, "punta del montante", true), "punta del montante");
    EXPECT_EQ(markName({12}, 6, "punta del montante", true), "metà");
}

TEST(Holds, NameTheMarkToPutOnTheTarget)
{
    const Reticle& mildot = named("mildot");
    const struct {
        double up, right;
        const char* text;
    } cases[] = {
        {2, 0.5, "2° puntino sotto, metà a sinistra"},
        {0, 0, "al centro"},
        {-1, -3, "1° puntino sopra, 3° puntino a destra"},
        {0.1, -1.5, "1° puntino e mezzo a destra"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(holdFor(mildot, 10, mrad(c.up, c.right)).text, c.text);
}

TEST(Holds, OnTheSecondPlaneScaleWithTheMagnification)
{
    Reticle sfp = named("mildot");
    const pm::Correction c = mrad(2.4, -0.8);
    const Hold atCalibrated = holdFor(sfp, 10, c);
    EXPECT_DOUBLE_EQ(atCalibrated.elevation, 2.4);
    // At half the magnification every mark subtends twice as much: half the marks.
    for (double m : {5.0, 8.0, 12.0}) {
        const Hold h = holdFor(sfp, m, c);
        EXPECT_NEAR(h.elevation, 2.4 * m / 10, 1e-12) << m;
        EXPECT_NEAR(h.windage, -0.8 * m / 10, 1e-12) << m;
    }
    EXPECT_EQ(holdFor(sfp, 5, c).text, "1° puntino sotto, metà a destra");
    // The first plane is true at every magnification.
    sfp.plane = FocalPlane::First;
    EXPECT_DOUBLE_EQ(holdFor(sfp, 5, c).elevation, 2.4);
    // A MOA reticle reads the MOA correction.
    EXPECT_NEAR(holdFor(named("moa"), 10, c).elevation, 2.4 * 3.4377468, 1e-9);
    EXPECT_EQ(holdFor(named("moa"), 10, c).text, "4ª tacca sotto, 1ª tacca e mezza a destra");
}

TEST(Scopes, TheUsersMarksAndPostTip)
{
    ScopeSetup scope;
    scope.reticle = "personalizzato";
    scope.customMarks = {1, 2, 3.5};
    scope.customUnit = ReticleUnit::Moa;
    ScopeReticle sr = scopeReticle(scope);
    ASSERT_TRUE(sr.ok()) << sr.problem;
    EXPECT_EQ(sr.reticle.verticalMarks, scope.customMarks);
    EXPECT_EQ(sr.reticle.unit, ReticleUnit::Moa);

    scope.reticle = "duplex";
    scope.postTip = 14;
    sr = scopeReticle(scope);
    EXPECT_EQ(sr.reticle.verticalMarks, std::vector<double>{14});

    const struct {
        void (*change)(ScopeSetup&);
        const char* problem;
    } refused[] = {
        {[](ScopeSetup& s) { s.reticle = "xyz"; }, "Reticolo sconosciuto: \"xyz\""},
        {[](ScopeSetup& s) { s.magnification = 0; }, "Ingrandimento: deve essere tra 1 e 100 ×"},
        {[](ScopeSetup& s) { s.calibratedMagnification = 200; },
         "Reticolo esatto a: Ingrandimento: deve essere tra 1 e 100 ×"},
        {[](ScopeSetup& s) { s.reticle = "duplex"; s.postTip = 0; }, "Punta del montante: deve essere tra 0,1 e 100 MOA"},
        {[](ScopeSetup& s) { s.reticle = "personalizzato"; s.customMarks = {2, 1}; },
         "Tacche del reticolo: numeri crescenti tra 0 e 100, al più 40"},
        {[](ScopeSetup& s) { s.reticle = "personalizzato"; s.customMarks.clear(); },
         "Tacche del reticolo: numeri crescenti tra 0 e 100, al più 40"},
    };
    for (const auto& r : refused) {
        ScopeSetup s;
        r.change(s);
        EXPECT_EQ(scopeReticle(s).problem, r.problem);
    }
    // A first-plane scope needs no calibrated magnification.
    ScopeSetup ffp;
    ffp.plane = FocalPlane::First;
    ffp.calibratedMagnification = 0;
    EXPECT_TRUE(scopeReticle(ffp).ok());
}

TEST(Scopes, ReadTheUsersMarks)
{
    EXPECT_EQ(readMarks("1 2 3,5 5"), (std::vector<double>{1, 2, 3.5, 5}));
    EXPECT_EQ(readMarks("0,5; 1"), (std::vector<double>{0.5, 1}));
    EXPECT_EQ(readMarks("1:1:3"), (std::vector<double>{1, 2, 3}));
    for (const char* bad : {"", "2 1", "0 1", "1 1", "a", "1 200", "-1", "0.1:0.1:10"})
        EXPECT_FALSE(readMarks(bad)) << bad;
    EXPECT_EQ(marksText({1, 2, 3.5}), "1 2 3,5");
}

TEST(Ranging, ReadingAndDistanceRoundTrip)
{
    for (const char* key : {"mildot", "mrad", "moa", "albero"})
        for (double magnification : {6.0, 10.0, 14.0})
            for (double distance : {120.0, 287.0, 450.0}) {
                const Reticle& r = named(key);
                const double reading = readingAt(r, magnification, 0.7, distance);
                const RangeEstimate e = rangeFromReading(r, magnification, 0.7, reading);
                ASSERT_TRUE(e.ok()) << e.refusal;
                EXPECT_NEAR(e.distance_m, distance, 1e-9) << key << magnification;
                EXPECT_GT(e.uncertainty_m, 0);
            }
}

TEST(Ranging, SizeTimesAThousandOverTheMrad)
{
    // 0.7 m covering 2.5 mrad: 280 m; a reading to the nearest half of 0.5 mrad marks is off
    // by at most 0.125 mrad: from 266.7 to 294.7 m.
    const RangeEstimate e = rangeFromReading(named("mrad"), 10, 0.7, 2.5);
    EXPECT_NEAR(e.distance_m, 280, 1e-9);
    EXPECT_NEAR(e.uncertainty_m, (700 / 2.375 - 700 / 2.625) / 2, 1e-9);
    EXPECT_EQ(e.text, "280 m ± 14 m");
    // A second-plane Mil-Dot at half its magnification: each dot covers 2 mrad.
    EXPECT_NEAR(rangeFromReading(named("mildot"), 5, 0.7, 1.25).distance_m, 280, 1e-9);
    // The MOA form: 2.5 mrad is 8.594 MOA.
    EXPECT_NEAR(rangeFromReading(named("moa"), 10, 0.7, 2.5 * 3.4377468).distance_m, 280, 1e-3);
    EXPECT_EQ(rangeFromReading(named("mildot"), 10, 0.7, 0.2).refusal,
              "Lettura troppo piccola per questo reticolo: ingrandisci o misura una parte più grande.");
    EXPECT_EQ(rangeFromReading(named("mildot"), 10, 9, 2).refusal, "Misura dell'animale: deve essere tra 0,05 e 5 m");
}

TEST(ReticleDrawing, PlacesTheHoldsWhereTheTargetGoes)
{
    const Reticle& r = named("mildot");
    const MarkedHold shot{"", 2, 0.5};
    const ReticleDrawing d = drawReticle(r, 10, {{"300", 1, 0.2}, {"900", 30, 0}}, &shot);
    const auto count = [&](ShapeKind kind, ShapeRole role) {
        return std::count_if(d.shapes.begin(), d.shapes.end(),
                             [&](const ReticleShape& s) { return s.kind == kind && s.role == role; });
    };
    EXPECT_EQ(count(ShapeKind::Dot, ShapeRole::Reticle), 20);
    // The 900 m hold lies beyond twice the reticle: not drawn.
    EXPECT_EQ(count(ShapeKind::Dot, ShapeRole::RowHold), 1);
    const auto hold = std::find_if(d.shapes.begin(), d.shapes.end(),
                                   [](const ReticleShape& s) { return s.role == ShapeRole::Hold; });
    ASSERT_NE(hold, d.shapes.end());
    // Holding up and right: the target goes below the centre and to its left.
    EXPECT_DOUBLE_EQ(hold->x1, -0.5);
    EXPECT_DOUBLE_EQ(hold->y1, 2);
    const std::string svg = reticleSvg(d, 200);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("class=\"mira\""), std::string::npos);
    EXPECT_NE(svg.find(">300</text>"), std::string::npos);
    EXPECT_EQ(svg.find(">900</text>"), std::string::npos);
    EXPECT_NE(d.caption.find("secondo piano a 10×"), std::string::npos);
}

} // namespace
} // namespace siacci::card
