#include "card/ranging.hpp"

#include "card/input_limits.hpp"
#include "common/number_text.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace siacci::card {

namespace {

// One MOA in mrad: a sixtieth of a degree.
constexpr double kMradPerMoa = std::numbers::pi / 180 / 60 * 1000;

// A reticle unit at the magnification in use, in true mrad.
double mradPerUnit(const Reticle& reticle, double magnification)
{
    return (reticle.unit == ReticleUnit::Moa ? kMradPerMoa : 1) * subtensionScale(reticle, magnification);
}

// The finest interval between neighbouring marks (the centre counts), in reticle units.
double finestInterval(const Reticle& reticle)
{
    double finest = 0, below = 0;
    for (double m : reticle.verticalMarks) {
        if (finest == 0 || m - below < finest)
            finest = m - below;
        below = m;
    }
    return finest;
}

} // namespace

double defaultSpeciesHeight_m(Species species)
{
    switch (species) {
    case Species::Capriolo: return 0.70;
    case Species::Camoscio: return 0.75;
    case Species::Cinghiale: return 0.85;
    case Species::Cervo: return 1.20;
    }
    return 0.70;
}

RangeEstimate rangeFromReading(const Reticle& reticle, double magnification, double size_m,
                               double reading)
{
    RangeEstimate out;
    for (const auto& [input, value] : {std::pair{LimitedInput::AnimalSize, size_m},
                                       std::pair{LimitedInput::ReticleReading, reading},
                                       std::pair{LimitedInput::Magnification, magnification}})
        if (std::string r = limitRefusal(input, value); !r.empty()) {
            out.refusal = r;
            return out;
        }
    const double perUnit = mradPerUnit(reticle, magnification);
    const auto distanceOf = [&](double units) { return size_m * 1000 / (units * perUnit); };
    out.distance_m = distanceOf(reading);
    // Read to the nearest half mark, the reading is off by at most a quarter mark.
    const double error = finestInterval(reticle) / 4;
    if (!(reading > error)) {
        out.refusal = "Lettura troppo piccola per questo reticolo: ingrandisci o misura una parte più grande.";
        return out;
    }
    out.uncertainty_m = (distanceOf(reading - error) - distanceOf(reading + error)) / 2;
    out.text = roundedText(out.distance_m, 0) + " m ± " + roundedText(out.uncertainty_m, 0) + " m";
    return out;
}

double readingAt(const Reticle& reticle, double magnification, double size_m, double distance_m)
{
    return size_m * 1000 / (distance_m * mradPerUnit(reticle, magnification));
}

} // namespace siacci::card
