#pragma once

#include "armoury/armoury.hpp"
#include "armoury/armoury_model.hpp"
#include "armoury/armoury_session.hpp"

// A rifle with every field set, for the armoury's tests: a single G7 coefficient, a stepped G1
// load and a load with its own measured drag table.
namespace siacci::armoury::testing {

inline Rifle fullRifle()
{
    Rifle r;
    r.name = "Sako 85 .308";
    r.sightHeight_cm = 4.5;
    r.twist_in = 11;
    r.twistRightHand = false;
    r.clickValue = 0.25;
    r.clickUnit = pointmass::AngleUnit::Moa;
    r.turretClicksPerTurn = 60;
    r.zero_m = 150;
    r.zeroAtmosphere = {8.5, 962.3, 55};
    r.scope.reticle = "personalizzato";
    r.scope.plane = card::FocalPlane::Second;
    r.scope.calibratedMagnification = 12;
    r.scope.magnification = 8;
    r.scope.postTip = 14.5;
    r.scope.customMarks = {0.5, 1, 2.5};
    r.scope.customUnit = card::ReticleUnit::Moa;
    Load g7;
    g7.description = "168 gr HPBT Match";
    g7.velocity_ms = 815;
    g7.velocityTemperature_C = 21;
    g7.temperatureSensitivity_msPerC = 0.9;
    g7.drag = LoadDrag::G7;
    g7.bc = 0.218;
    g7.weight_gr = 168;
    g7.diameter_mm = 7.82;
    g7.length_mm = 31.2;
    g7.notes = "lotto 42, \"caricata\" a mano";
    Load stepped = g7;
    stepped.description = "165 gr SP a gradini";
    stepped.drag = LoadDrag::G1;
    stepped.bc = 0.404;
    stepped.bcSteps = {{0.435, 760}, {0.42, 610}};
    stepped.diameter_mm.reset();
    stepped.length_mm.reset();
    stepped.notes = "";
    Load table = g7;
    table.description = "Misurata (radar)";
    table.drag = LoadDrag::Table;
    table.dragTable = {{0.0, 0.152}, {0.9, 0.16}, {1.0, 0.33}, {2.0, 0.27}};
    r.loads = {g7, stepped, table};
    return r;
}

// Keeps nothing and counts the saves the session asked for.
class MemoryStorage : public ArmouryStorage {
public:
    int saves = 0;
    std::string save(const Armoury&) override
    {
        ++saves;
        return {};
    }
};

// The main window as the armoury sees it: the catalogue load chosen there, if any.
class FakeHost : public ArmouryHost {
public:
    std::optional<CatalogueLoadChoice> choice;
    std::optional<CatalogueLoadChoice> chosenCatalogueLoad() const override { return choice; }
};

} // namespace siacci::armoury::testing
