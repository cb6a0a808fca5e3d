#pragma once

#include <string>

// What the range card needs from the main window: its current shot, always in metric units
// (the main window converts when it is showing imperial ones).
namespace siacci {

struct CardShot {
    double velocity_ms = 0;
    double bc = 0;
    double weight_gr = 0;
    double sightHeight_cm = 0;
    double zero_m = 0;
    double maxDistance_m = 0;
    double increment_m = 0;
    double temperature_C = 0;
    double altitude_m = 0;
    std::string description;
    // The bullet is a catalogue load of the main window (else numbers typed there).
    bool fromCatalogue = false;
    friend bool operator==(const CardShot&, const CardShot&) = default;
    // No load chosen or typed yet: the card starts from its own defaults.
    bool empty() const { return velocity_ms <= 0 || bc <= 0; }
};

class CardHost {
public:
    virtual ~CardHost() = default;
    virtual CardShot cardShot() const = 0;
};

} // namespace siacci
