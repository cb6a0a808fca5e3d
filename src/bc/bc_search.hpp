#pragma once

#include "common/ports.hpp"
#include "common/shot.hpp"

#include <optional>
#include <string>

// The ballistic-coefficient calculator: from two chronograph readings a known distance apart,
// the smallest coefficient (a whole number of thousandths) for which the engine, run in the
// standard atmosphere, predicts at that distance a rounded velocity at least the second reading.
namespace siacci {

// The three readings, as the user typed them once read: m/s, m/s, metres.
struct BcReadings {
    double v1_ms = 0;       // first velocity; also the muzzle velocity of the shot
    double v2_ms = 0;       // second velocity
    double distance_m = 0;  // distance between the two readings
};

// Why a search gives no coefficient.
enum class BcRefusal {
    None,
    MissingData,       // a reading missing (0), or a first velocity under 100 m/s
    NegativeReading,   // a second velocity or a distance below 0
    SecondAboveFirst,  // the bullet cannot speed up between the readings
    NoBand,            // first velocity beyond the engine's tables (4500 fps and up)
    NoPlausibleCoefficient, // nothing up to a coefficient of 100 reaches the second velocity
};

// The Italian text shown for a refusal (empty for None).
const std::string& bcRefusalText(BcRefusal refusal);

// The outcome of one search: the coefficient in thousandths, or a refusal.
struct BcResult {
    BcRefusal refusal = BcRefusal::None;
    int thousandths = 0; // the coefficient is thousandths / 1000; 0 with a refusal

    double coefficient() const { return thousandths / 1000.0; }
    friend bool operator==(const BcResult&, const BcResult&) = default;
};

// The search stops above this coefficient (in thousandths): 100. No bullet comes near it, but
// two close readings over a short distance do (800, 800 and 10 m give 10.432), and the window
// shows what the readings give; the bound only keeps the same velocity over a long distance
// from searching for ever.
inline constexpr int kMaxBcThousandths = 100000;

// The least first velocity the window accepts, m/s.
inline constexpr double kMinFirstVelocity_ms = 100;

// The velocity the engine predicts at `distance_m` for a bullet leaving at `v1_ms` with the
// coefficient thousandths / 1000, in the standard atmosphere (sea level, 15 C), m/s rounded to a
// whole number as floor(0.3048 V + 0.49). Returns nullopt when the first velocity has no band.
// Below the slow end of the tables the prediction is an extrapolation, often far below zero.
std::optional<double> predictedVelocity_ms(double v1_ms, int thousandths, double distance_m);

// The two checks of the window and, past them, the search. The fast search gallops through the
// coefficients and bisects; it returns exactly what the linear search returns.
BcResult searchBc(const BcReadings& readings);

// The reference: every coefficient 0.001, 0.002, ... in turn. Kept to prove the fast search.
BcResult searchBcLinear(const BcReadings& readings);

// The window `CB`: three fields, the result label `Label2` and the button `Command1`
// ("CALCOLA"). Every press stores the first velocity as the shot's muzzle velocity. The result
// is written with the decimal separator of the main window's table (the user's locale).
class CbModel {
public:
    CbModel(ShotInput& shot, Dialogs& dialogs, char decimalSeparator = '.');

    const std::string& text1() const { return m_text1; } // first velocity, m/s
    const std::string& text2() const { return m_text2; } // second velocity, m/s
    const std::string& text3() const { return m_text3; } // distance between them, m
    const std::string& label2() const { return m_label2; } // the coefficient found
    void setText1(std::string text) { m_text1 = std::move(text); }
    void setText2(std::string text) { m_text2 = std::move(text); }
    void setText3(std::string text) { m_text3 = std::move(text); }

    // `Command1` ("CALCOLA"): reads the fields and writes the coefficient into `Label2`, or
    // shows why there is none (the label then keeps its text).
    void calcola();

private:
    ShotInput& m_shot;
    Dialogs& m_dialogs;
    char m_decimal;
    std::string m_text1, m_text2, m_text3, m_label2;
};

} // namespace siacci
