#pragma once

#include "card/cartellino.hpp"
#include "card/reticle.hpp"

#include <string>

// Ranging with the reticle: an animal of known size read on the reticle at the magnification in
// use gives the distance (size x 1000 / mrad, or the MOA form), with how far a reading to the
// nearest half mark can be off.
namespace siacci::card {

// The height at the withers of a grown animal of the species, m (the size read on the reticle).
double defaultSpeciesHeight_m(Species species);

struct RangeEstimate {
    double distance_m = 0;
    double uncertainty_m = 0;   // half the span of distances a quarter mark either way gives
    std::string text;           // "270 m ± 13 m"
    std::string refusal;        // Italian; empty when estimated
    bool ok() const { return refusal.empty(); }
};

// `size_m`: the animal's size; `reading`: the size it covers on the reticle, in the reticle's
// marks at `magnification`.
RangeEstimate rangeFromReading(const Reticle& reticle, double magnification, double size_m,
                               double reading);

// The reading the animal would give at a distance: the inverse, for checks.
double readingAt(const Reticle& reticle, double magnification, double size_m, double distance_m);

} // namespace siacci::card
