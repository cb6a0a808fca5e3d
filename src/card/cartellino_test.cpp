#include "card/cartellino.hpp"

#include <gtest/gtest.h>

namespace siacci::card {
namespace {

struct FakeHost : CardHost {
    CardShot shot;
    CardShot cardShot() const override { return shot; }
};

CardShot loaded()
{
    CardShot s;
    s.velocity_ms = 823;
    s.bc = 0.285;
    s.weight_gr = 165;
    s.sightHeight_cm = 4;
    s.zero_m = 220;
    s.maxDistance_m = 300;
    s.increment_m = 25;
    s.temperature_C = 15;
    s.altitude_m = 600;
    s.description = ".308 WINCHESTER (7,62 NATO) 165 grains";
    return s;
}

TEST(Cartellino, StartsFromTheMainWindowsShot)
{
    FakeHost host;
    host.shot = loaded();
    Cartellino card(&host);
    EXPECT_EQ(card.fieldText(CardField::Velocity), "823");
    EXPECT_EQ(card.fieldText(CardField::Bc), "0,285");
    EXPECT_EQ(card.fieldText(CardField::Zero), "220");
    EXPECT_EQ(card.fieldText(CardField::Altitude), "600");
    EXPECT_EQ(card.pressureMode(), PressureMode::AltitudeOnly);
    EXPECT_TRUE(card.hint().empty());
    ASSERT_TRUE(card.sheet().ok()) << card.sheet().refusal;
    EXPECT_EQ(card.sheet().rows.size(), 13u);
    EXPECT_NEAR(card.setup().conditions.atmosphere.pressure_hPa, pm::pressureAtAltitude_hPa(600), 1e-9);
}

TEST(Cartellino, AnEmptyMainWindowGivesDefaultsAndAHint)
{
    FakeHost host;
    Cartellino card(&host);
    EXPECT_FALSE(card.hint().empty());
    EXPECT_TRUE(card.sheet().ok());
    EXPECT_FALSE(card.sheet().rows.empty());
}

TEST(Cartellino, ReadsTheDecimalCommaAndRefusesInItalian)
{
    Cartellino card;
    card.fieldChanged(CardField::Bc, "0,5");
    EXPECT_DOUBLE_EQ(card.setup().bullet.bc_lbin2, 0.5);
    card.fieldChanged(CardField::Increment, "0");
    EXPECT_FALSE(card.sheet().ok());
    EXPECT_EQ(card.sheet().refusal, "Incremento: deve essere tra 0,1 e 10000 m");
    card.fieldChanged(CardField::Increment, "50");
    card.fieldChanged(CardField::Velocity, "-3");
    EXPECT_FALSE(card.sheet().ok()) << "the engine's refusal reaches the window";
    EXPECT_TRUE(card.sheet().rows.empty());
}

// The window takes the limits of the one table: each field outside them is refused naming it.
TEST(Cartellino, EveryLimitedFieldIsRefusedWithItsLimit)
{
    const struct {
        CardField field;
        const char* text;
        const char* refusal;
    } cases[] = {
        {CardField::Velocity, "2500", "Velocità: deve essere tra 50 e 2000 m/s"},
        {CardField::Weight, "1e308", "Peso: deve essere tra 1 e 2000 grains"},
        {CardField::Diameter, "1e308", "Diametro: deve essere tra 1 e 30 mm"},
        {CardField::SightHeight, "31", "Altezza dell'ottica: deve essere tra 0 e 30 cm"},
        {CardField::WindSpeed, "-5", "Vento: deve essere tra 0 e 200 km/h"},
        {CardField::Twist, "1", "Passo di rigatura: deve essere tra 3 e 60 pollici per giro"},
        {CardField::Azimuth, "1e12", "Azimut: deve essere tra -360 e 360 gradi"},
        {CardField::ClicksPerTurn, "1e300", "Click per giro: deve essere tra 0 e 1000"},
        {CardField::LookAngle, "89", "Angolo di tiro: deve essere tra -80 e 80 gradi"},
    };
    for (const auto& c : cases) {
        Cartellino card;
        card.fieldChanged(c.field, c.text);
        EXPECT_EQ(card.sheet().refusal, c.refusal) << c.text;
        EXPECT_TRUE(card.sheet().rows.empty());
        // The message beside the field is the card's own refusal.
        EXPECT_EQ(card.fieldRefusal(c.field, c.text), c.refusal) << c.text;
    }
    Cartellino card;
    card.clickChosen(ClickChoice::TypedMrad);
    card.fieldChanged(CardField::ClickTyped, "1e-300");
    EXPECT_EQ(card.sheet().refusal, "Valore del click: deve essere tra 0,01 e 10 mrad");
    EXPECT_EQ(card.fieldRefusal(CardField::ClickTyped, "1e-300"), card.sheet().refusal);
}

// The message beside each field follows the card's choices: a field the card does not use now
// is never wrong, the weather's pressure has the weather's limits, an optional field may be empty.
TEST(Cartellino, FieldMessagesFollowTheChoices)
{
    Cartellino card;
    EXPECT_FALSE(card.fieldUsed(CardField::Pressure)); // the altitude alone by default
    EXPECT_EQ(card.fieldRefusal(CardField::Pressure, ""), "");
    EXPECT_EQ(card.fieldRefusal(CardField::ClickTyped, "abc"), "");
    card.pressureModeChosen(PressureMode::Station);
    EXPECT_TRUE(card.fieldUsed(CardField::Pressure));
    EXPECT_FALSE(card.fieldUsed(CardField::Altitude));
    EXPECT_EQ(card.fieldRefusal(CardField::Pressure, ""), "Pressione: manca il valore");
    EXPECT_EQ(card.fieldRefusal(CardField::Pressure, "700"), "");
    card.pressureModeChosen(PressureMode::SeaLevel);
    EXPECT_EQ(card.fieldRefusal(CardField::Pressure, "700"),
              "Pressione del bollettino: deve essere tra 800 e 1100 hPa");
    card.clickChosen(ClickChoice::TypedMoa);
    EXPECT_TRUE(card.fieldUsed(CardField::ClickTyped));
    EXPECT_EQ(card.fieldRefusal(CardField::ClickTyped, "20"), "Valore del click: deve essere tra 0,01 e 10 MOA");
    const struct { CardField field; const char* text; const char* message; } cases[] = {
        {CardField::Velocity, "", "Velocità: manca il valore"},
        {CardField::Velocity, "8oo", "Velocità: scrivi un numero"},
        {CardField::Velocity, "823,5", ""},
        {CardField::Temperature, "\xe2\x88\x92" "5", ""},
        {CardField::Diameter, "", ""},
        {CardField::ClicksPerTurn, "", ""},
        {CardField::ClicksPerTurn, "12,5", "Click per giro: deve essere un numero intero"},
        {CardField::Description, "qualsiasi testo", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(card.fieldRefusal(c.field, c.text), c.message) << c.text;
}

TEST(Cartellino, WeatherPressureNeedsTheAltitude)
{
    Cartellino card;
    card.pressureModeChosen(PressureMode::SeaLevel);
    card.fieldChanged(CardField::Pressure, "1020");
    card.fieldChanged(CardField::Altitude, "1500");
    EXPECT_NEAR(card.setup().conditions.atmosphere.pressure_hPa,
                pm::stationPressureFromQnh_hPa(1020, 1500), 1e-9);
    card.fieldChanged(CardField::Altitude, "");
    EXPECT_EQ(card.sheet().refusal, "La pressione del bollettino meteo vuole anche l'altitudine");
    card.pressureModeChosen(PressureMode::Station);
    EXPECT_DOUBLE_EQ(card.setup().conditions.atmosphere.pressure_hPa, 1020);
}

TEST(Cartellino, SpeciesPresetsKeepTheUsersOwnNumbers)
{
    Cartellino card;
    card.speciesChosen(Species::Cinghiale);
    EXPECT_EQ(card.fieldText(CardField::MinEnergy), "2000");
    card.fieldChanged(CardField::MinEnergy, "2200");
    card.speciesChosen(Species::Capriolo);
    EXPECT_EQ(card.fieldText(CardField::MinEnergy), "1000");
    card.speciesChosen(Species::Cinghiale);
    EXPECT_EQ(card.fieldText(CardField::MinEnergy), "2200");
    EXPECT_DOUBLE_EQ(*card.setup().minEnergy_J, 2200);

    // The vital zone and the animal's length come with the species too, and keep the user's.
    card.speciesChosen(Species::Cervo);
    EXPECT_EQ(card.fieldText(CardField::VitalZone), "25");
    EXPECT_EQ(card.fieldText(CardField::AnimalLength), "2");
    card.fieldChanged(CardField::VitalZone, "30");
    card.speciesChosen(Species::Capriolo);
    EXPECT_EQ(card.fieldText(CardField::VitalZone), "12");
    EXPECT_EQ(card.fieldText(CardField::AnimalLength), "1,1");
    card.speciesChosen(Species::Cervo);
    EXPECT_DOUBLE_EQ(*card.setup().vitalZone_cm, 30);
}

// A greyed field shows what the card uses, and gives the user's own number back when it applies.
TEST(Cartellino, GreyedFieldsShowTheValueInUse)
{
    Cartellino card;
    card.fieldChanged(CardField::Altitude, "1500");
    card.fieldChanged(CardField::Pressure, "990");
    EXPECT_EQ(card.shownText(CardField::Pressure), "845,6"); // from the altitude alone
    card.pressureModeChosen(PressureMode::Station);
    EXPECT_EQ(card.shownText(CardField::Pressure), "990");
    card.fieldChanged(CardField::ClickTyped, "0,2");
    card.clickChosen(ClickChoice::Moa025);
    EXPECT_EQ(card.shownText(CardField::ClickTyped), "0,25");
    card.clickChosen(ClickChoice::TypedMrad);
    EXPECT_EQ(card.shownText(CardField::ClickTyped), "0,2");
}

TEST(Cartellino, ClockFaceClicksPickTheNearestHour)
{
    Cartellino card;
    card.clockClicked(0, -1);
    EXPECT_EQ(card.windClock(), 12);
    card.clockClicked(1, 0);
    EXPECT_EQ(card.windClock(), 3);
    card.clockClicked(-0.9, 0.1);
    EXPECT_EQ(card.windClock(), 9);
    EXPECT_DOUBLE_EQ(card.setup().conditions.wind.fromAngle_deg, 270);
    EXPECT_EQ(card.windDirectionText(), "da ore 9 (da sinistra)");
    card.clockClicked(0.5, 0.87);
    EXPECT_EQ(card.windClock(), 5);
}

// The keyboard's way round the clock: by hours and half hours, across 12 both ways.
TEST(Cartellino, TheClockStepsByHalfHours)
{
    struct Case {
        int from;
        int steps;
        double hours;
        const char* text;
        double angle;
    };
    const Case cases[] = {
        {3, 2, 4, "da ore 4 (da destra)", 120},
        {3, 1, 3.5, "da ore 3 e mezza (da destra)", 105},
        {12, -1, 11.5, "da ore 11 e mezza (da sinistra)", 345},
        {12, 1, 12.5, "da ore 12 e mezza (da destra)", 375},
        {11, 2, 12, "da ore 12 (dal bersaglio)", 360},
        {1, -2, 12, "da ore 12 (dal bersaglio)", 360},
        {6, 25, 6.5, "da ore 6 e mezza (da sinistra)", 195},
    };
    for (const Case& k : cases) {
        Cartellino card;
        card.windClockChosen(k.from);
        card.windClockStepped(k.steps);
        EXPECT_DOUBLE_EQ(card.windClockHours(), k.hours) << k.from << " " << k.steps;
        EXPECT_EQ(card.windDirectionText(), k.text);
        EXPECT_NEAR(card.setup().conditions.wind.fromAngle_deg, k.angle, 1e-9) << k.text;
    }
}

TEST(Cartellino, SpinNeedsDiameterLengthAndTwistAndFollowsTheHand)
{
    Cartellino card;
    card.fieldChanged(CardField::Diameter, "7,82");
    card.fieldChanged(CardField::Length, "31");
    EXPECT_FALSE(card.setup().bullet.twist_in);
    card.fieldChanged(CardField::Twist, "10");
    EXPECT_DOUBLE_EQ(*card.setup().bullet.twist_in, 10);
    card.leftHandChosen(true);
    EXPECT_DOUBLE_EQ(*card.setup().bullet.twist_in, -10);
    ASSERT_TRUE(card.sheet().stability_sg);
    card.bcStepChanged(0, 0, "0,3");
    EXPECT_FALSE(card.sheet().ok()) << "a step without its velocity";
    card.bcStepChanged(0, 1, "600");
    ASSERT_TRUE(card.sheet().ok()) << card.sheet().refusal;
    ASSERT_EQ(card.setup().bullet.bcSteps.size(), 1u);
}

// --- the load and its source ---------------------------------------------------------------------

// A load from elsewhere with everything the main window's shot does not have.
CardLoad armouryLoad()
{
    CardLoad l;
    l.velocity_ms = 815;
    l.weight_gr = 168;
    l.model = pm::DragModel::G7;
    l.bc = 0.243;
    l.bcSteps = {{0.243, 600}};
    l.diameter_mm = 7.82;
    l.length_mm = 31.2;
    l.description = "168 gr HPBT";
    l.sightHeight_cm = 4.5;
    l.zero_m = 150;
    l.twist_in = 11;
    l.leftHand = true;
    l.click = ClickChoice::Moa025;
    l.clicksPerTurn = 60;
    l.zeroAir = pm::Atmosphere{8, 960, 50};
    return l;
}

const LoadSource kSako{LoadOrigin::Armoury, false, "Sako", "168 gr HPBT"};

// Taking the main window's shot after an armoury load leaves nothing of that load behind: a
// catalogue bullet is a G1 coefficient without steps, sizes, twist or measured curve.
TEST(CartellinoSource, TakingTheMainShotSetsEveryBulletAndRifleInput)
{
    FakeHost host;
    host.shot = loaded();
    host.shot.fromCatalogue = true;
    Cartellino card(&host);
    card.takeLoad(armouryLoad(), kSako);
    card.armouryExtrasChosen(pm::Atmosphere{8, 960, 50}, {{0, 0.2}, {1, 0.4}, {2, 0.3}});
    EXPECT_EQ(card.source(), kSako);
    EXPECT_EQ(card.sourceText(), "Dall'armeria: Sako, carica \"168 gr HPBT\"");

    card.takeCurrentShot();
    const pm::Bullet& b = card.setup().bullet;
    EXPECT_EQ(b.model, pm::DragModel::G1);
    EXPECT_TRUE(b.bcSteps.empty());
    EXPECT_TRUE(b.dragTable.empty());
    EXPECT_FALSE(b.diameter_mm);
    EXPECT_FALSE(b.length_mm);
    EXPECT_FALSE(b.twist_in);
    EXPECT_FALSE(card.setup().zeroing.atmosphere);
    EXPECT_EQ(card.clickChoice(), ClickChoice::Mrad01);
    EXPECT_FALSE(card.leftHand());
    EXPECT_EQ(card.fieldText(CardField::ClicksPerTurn), "");
    EXPECT_EQ(card.fieldText(CardField::SightHeight), "4");
    EXPECT_EQ(card.fieldText(CardField::Zero), "220");
    EXPECT_FALSE(card.sheet().stability_sg) << "no stability from the armoury bullet";
    EXPECT_EQ(card.source().origin, LoadOrigin::MainShot);
    EXPECT_FALSE(card.modified());
    EXPECT_EQ(card.sourceText(), "Dal tiro della finestra principale (catalogo): il cartellino lo segue");
}

// Each kind of edit marks the load changed, names its source, and is told apart by part (the
// armoury saves only the rifle inputs the user changed); the day's wind is no edit of the load.
TEST(CartellinoSource, EditsMarkTheLoadModified)
{
    struct Case {
        const char* what;
        void (*edit)(Cartellino&);
        bool modified;
        bool rifle;
    };
    const Case cases[] = {
        {"velocity", [](Cartellino& c) { c.fieldChanged(CardField::Velocity, "820"); }, true, false},
        {"model", [](Cartellino& c) { c.dragModelChosen(pm::DragModel::G1); }, true, false},
        {"step", [](Cartellino& c) { c.bcStepChanged(1, 0, "0,23"); }, true, false},
        {"description", [](Cartellino& c) { c.fieldChanged(CardField::Description, "x"); }, true, false},
        {"sight", [](Cartellino& c) { c.fieldChanged(CardField::SightHeight, "5"); }, true, true},
        {"hand", [](Cartellino& c) { c.leftHandChosen(false); }, true, true},
        {"click", [](Cartellino& c) { c.clickChosen(ClickChoice::Mrad01); }, true, true},
        {"wind", [](Cartellino& c) { c.fieldChanged(CardField::WindSpeed, "10"); }, false, false},
        {"temperature", [](Cartellino& c) { c.fieldChanged(CardField::Temperature, "30"); }, false, false},
        {"same text", [](Cartellino& c) { c.fieldChanged(CardField::Weight, "168"); }, false, false},
    };
    for (const Case& k : cases) {
        Cartellino card;
        card.takeLoad(armouryLoad(), kSako);
        k.edit(card);
        EXPECT_EQ(card.modified(), k.modified) << k.what;
        EXPECT_EQ(card.rifleEdited(), k.rifle) << k.what;
        EXPECT_EQ(card.sourceText().ends_with(", modificato"), k.modified) << k.what;
    }
}

TEST(CartellinoSource, FollowsTheMainWindowUntilTheUserChangesTheLoad)
{
    FakeHost host;
    host.shot = loaded();
    Cartellino card(&host);
    EXPECT_FALSE(card.mainShotChanged()) << "the same shot";
    host.shot.velocity_ms = 780;
    host.shot.bc = 0.45;
    EXPECT_TRUE(card.mainShotChanged());
    EXPECT_EQ(card.fieldText(CardField::Velocity), "780");
    EXPECT_FALSE(card.followOffered());

    // The day's temperature typed on the card: the card no longer follows, and offers to.
    card.fieldChanged(CardField::Temperature, "28");
    EXPECT_TRUE(card.followOffered());
    EXPECT_EQ(card.sourceText(),
              "Dal tiro della finestra principale (dati scritti), modificato: il cartellino non lo segue più");
    host.shot.velocity_ms = 700;
    card.mainShotChanged();
    EXPECT_EQ(card.fieldText(CardField::Velocity), "780");
    EXPECT_EQ(card.fieldText(CardField::Temperature), "28");
    card.takeCurrentShot(); // "Segui la finestra principale"
    EXPECT_EQ(card.fieldText(CardField::Velocity), "700");
    EXPECT_FALSE(card.followOffered());

    // An armoury load is never replaced by the main window's shot on its own.
    card.takeLoad(armouryLoad(), kSako);
    host.shot.velocity_ms = 650;
    EXPECT_FALSE(card.mainShotChanged());
    EXPECT_EQ(card.fieldText(CardField::Velocity), "815");
    EXPECT_FALSE(card.followOffered());
}

TEST(CartellinoSource, ARifleAloneKeepsTheBulletAndTheVelocityMovesWithoutAnEdit)
{
    Cartellino card;
    card.takeLoad(armouryLoad(), kSako);
    card.sourceVelocitySet(801.26);
    EXPECT_EQ(card.fieldText(CardField::Velocity), "801,3");
    EXPECT_FALSE(card.modified()) << "the temperature's correction is the load's own";
    CardLoad rifle = armouryLoad();
    rifle.sightHeight_cm = 6;
    rifle.velocity_ms = 1;
    card.takeLoad(rifle, LoadSource{LoadOrigin::Armoury, false, "Blaser", ""}, false);
    EXPECT_EQ(card.fieldText(CardField::SightHeight), "6");
    EXPECT_EQ(card.fieldText(CardField::Velocity), "801,3");
    EXPECT_EQ(card.sourceText(), "Dall'armeria: Blaser (solo l'arma)");
    card.becomeManual();
    EXPECT_EQ(card.sourceText(), "A mano");
    EXPECT_EQ(card.fieldText(CardField::SightHeight), "6");
}

} // namespace
} // namespace siacci::card
