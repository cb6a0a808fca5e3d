#include "armoury/armoury.hpp"
#include "armoury/armoury_session.hpp"
#include "armoury/armoury_test_data.hpp"

#include <gtest/gtest.h>

namespace siacci::armoury {
namespace {

using testing::fullRifle;

TEST(ArmouryRules, FullRifleIsSoundAndEachBadFieldIsNamed)
{
    EXPECT_EQ(rifleProblem(fullRifle()), "");
    Rifle r = fullRifle();
    r.name.clear();
    EXPECT_EQ(rifleProblem(r), "L'arma non ha un nome.");
    r = fullRifle();
    r.zeroAtmosphere.humidity_pct = 120;
    EXPECT_NE(rifleProblem(r).find("umidità"), std::string::npos);
    r = fullRifle();
    r.loads[2].dragTable[2].mach = 0.5; // Mach must grow
    EXPECT_NE(rifleProblem(r).find("devono crescere"), std::string::npos);
    r = fullRifle();
    r.loads[0].bc = 0;
    EXPECT_NE(rifleProblem(r).find("coefficiente balistico"), std::string::npos);
    r = fullRifle();
    r.loads[1].bcSteps[1].fromVelocity_ms = 760;
    EXPECT_NE(rifleProblem(r).find("stessa velocità"), std::string::npos);
    r = fullRifle();
    r.loads[1].description = r.loads[0].description;
    EXPECT_NE(rifleProblem(r).find("due cariche"), std::string::npos);
    Armoury a{{fullRifle(), fullRifle()}};
    EXPECT_NE(armouryProblem(a).find("Due armi"), std::string::npos);
}

TEST(ArmouryRules, VelocityFollowsPowderTemperature)
{
    const Load load = fullRifle().loads[0]; // 815 m/s at 21 C, 0.9 m/s per C
    EXPECT_DOUBLE_EQ(velocityAt_ms(load, 21), 815);
    EXPECT_DOUBLE_EQ(velocityAt_ms(load, 1), 797);
    EXPECT_DOUBLE_EQ(velocityAt_ms(load, 31), 824);
}

TEST(ArmouryRules, AddDuplicateAndImportKeepNamesUnique)
{
    Armoury a;
    EXPECT_EQ(addRifle(a, fullRifle()), 0u);
    EXPECT_EQ(duplicateRifle(a, 0), 1u);
    EXPECT_EQ(a.rifles[1].name, "Sako 85 .308 (2)");
    EXPECT_EQ(duplicateRifle(a, 0), 1u); // beside the original, the next free name
    EXPECT_EQ(a.rifles[1].name, "Sako 85 .308 (3)");
    EXPECT_EQ(duplicateLoad(a.rifles[0], 0), 1u);
    EXPECT_EQ(a.rifles[0].loads[1].description, "168 gr HPBT Match (2)");
    EXPECT_EQ(armouryProblem(a), "");

    Rifle imported = fullRifle();
    imported.zero_m = 300;
    Armoury b{{fullRifle()}};
    EXPECT_EQ(importRifle(b, imported, ClashChoice::Skip), std::nullopt);
    EXPECT_EQ(b.rifles.size(), 1u);
    EXPECT_EQ(b.rifles[0].zero_m, 150);
    EXPECT_EQ(importRifle(b, imported, ClashChoice::KeepBoth), 1u);
    EXPECT_EQ(b.rifles[1].name, "Sako 85 .308 (2)");
    EXPECT_EQ(b.rifles[0].zero_m, 150);
    EXPECT_EQ(importRifle(b, imported, ClashChoice::Replace), 0u);
    EXPECT_EQ(b.rifles[0].zero_m, 300);
    EXPECT_EQ(b.rifles.size(), 2u);
    Rifle other = fullRifle();
    other.name = "Blaser R8";
    EXPECT_EQ(importRifle(b, other, ClashChoice::Skip), 2u); // no clash: always taken
}

TEST(ArmouryRules, EngineInputsCarryEveryRifleAndLoadValue)
{
    const Rifle r = fullRifle();
    EngineInputs in = engineInputs(r, r.loads[0], 1);
    EXPECT_DOUBLE_EQ(in.bullet.muzzleVelocity_ms, 797);
    EXPECT_EQ(in.bullet.model, pointmass::DragModel::G7);
    EXPECT_DOUBLE_EQ(in.bullet.bc_lbin2, 0.218);
    EXPECT_EQ(in.bullet.twist_in, -11); // left-hand
    EXPECT_EQ(in.bullet.diameter_mm, 7.82);
    EXPECT_DOUBLE_EQ(in.zeroing.sightHeight_cm, 4.5);
    EXPECT_DOUBLE_EQ(in.zeroing.zeroDistance_m, 150);
    ASSERT_TRUE(in.zeroing.atmosphere);
    EXPECT_DOUBLE_EQ(in.zeroing.atmosphere->pressure_hPa, 962.3);
    EXPECT_EQ(in.click.unit, pointmass::AngleUnit::Moa);
    EXPECT_EQ(in.turretClicksPerTurn, 60);
    in = engineInputs(r, r.loads[1], 21);
    EXPECT_EQ(in.bullet.bcSteps.size(), 2u);
    in = engineInputs(r, r.loads[2], 21);
    EXPECT_EQ(in.bullet.dragTable.size(), 4u);
    EXPECT_TRUE(in.bullet.bcSteps.empty());
}

TEST(ArmouryText, StepsAndTablesReadWhatTheyWrite)
{
    EXPECT_EQ(readNumber(" 0,505 "), 0.505);
    EXPECT_EQ(readNumber("0.5x"), std::nullopt);
    EXPECT_EQ(readNumber(""), std::nullopt);
    const auto steps = readBcSteps("0,435@760; 0.42@610");
    ASSERT_TRUE(steps);
    EXPECT_EQ(bcStepsText(*steps), "0,435@760 0,42@610");
    EXPECT_FALSE(readBcSteps("0,435 760"));
    EXPECT_TRUE(readBcSteps("")->empty());
    const auto table = readDragTable("0 0,152\n0,9\t0,16\n\n1 0.33\n");
    ASSERT_TRUE(table);
    ASSERT_EQ(table->size(), 3u);
    const auto again = readDragTable(dragTableText(*table));
    ASSERT_TRUE(again);
    ASSERT_EQ(again->size(), 3u);
    EXPECT_EQ((*again)[1].mach, 0.9);
    EXPECT_EQ((*again)[1].cd, 0.16);
    EXPECT_FALSE(readDragTable("1 0,3 7"));
}

class RecordingStorage : public ArmouryStorage {
public:
    std::vector<Armoury> saved;
    std::string failure;
    std::string save(const Armoury& a) override
    {
        saved.push_back(a);
        return failure;
    }
};

TEST(ArmourySession, SavesEverySoundChangeAndRefusesUnsoundOnes)
{
    RecordingStorage storage;
    ArmourySession session({}, storage);
    int told = 0;
    const int id = session.subscribe([&] { ++told; });
    EXPECT_EQ(session.change(Armoury{{fullRifle()}}), "");
    EXPECT_EQ(storage.saved.size(), 1u);
    EXPECT_EQ(told, 1);
    Armoury bad{{fullRifle()}};
    bad.rifles[0].sightHeight_cm = -1;
    EXPECT_NE(session.change(bad), "");
    EXPECT_EQ(storage.saved.size(), 1u);
    EXPECT_EQ(session.armoury().rifles[0].sightHeight_cm, 4.5);
    storage.failure = "disco pieno";
    Armoury next = session.armoury();
    next.rifles[0].zero_m = 200;
    EXPECT_EQ(session.change(next), "L'armeria non è stata salvata: disco pieno");
    EXPECT_EQ(session.armoury().rifles[0].zero_m, 200); // kept for this run
    session.unsubscribe(id);
    session.change(next);
    EXPECT_EQ(told, 2);
}

} // namespace
} // namespace siacci::armoury
