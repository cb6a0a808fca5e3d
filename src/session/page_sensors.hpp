#pragma once

#include <optional>
#include <string>

// The phone's sensors as the page reads them, each only after the user allowed it: the tilt
// for the angle of the shot ("Misura l'angolo", zeroed on a level surface, held with a tap), the
// position for the latitude and the altitude, the compass for the azimuth of fire and for a wind
// given as a compass direction. The page hands over the raw readings; what they mean for the
// card is decided here.
namespace siacci::session {

// The angle of the shot from the phone's tilt: the reading less the zero taken on a level
// surface, to a tenth of a degree; nothing while held, nothing beyond +-80 degrees.
class TiltMeter {
public:
    // A reading of the phone's tilt, degrees (+ nose up). The angle to put in the field, or
    // none (held, or outside the card's limits).
    std::optional<double> reading(double tilt_deg);
    // "Azzera": the phone lies level; its reading is the zero from now on.
    void zeroed(double tilt_deg);
    // A tap holds the value shown; another lets it follow the phone again.
    void holdToggled() { m_held = !m_held; }
    bool held() const { return m_held; }
    double zero_deg() const { return m_zero_deg; }
    // "Azzerato su 1,5°" / "Non azzerato".
    std::string zeroText() const;

private:
    double m_zero_deg = 0;
    bool m_zeroed = false;
    bool m_held = false;
};

// The wind from a compass direction (degrees from north it blows from) turned into the clock
// relative to a shot fired along `azimuth_deg`: 12 from the target, 3 from the right. The
// nearest whole hour, 1 ... 12.
int windClockFromCompass(double windFrom_deg, double azimuth_deg);

// A compass or a position's number the page reads, as the card's field shows it: the heading
// to a whole degree in 0 ... 359, the latitude to four decimals, the altitude to a metre.
std::string headingText(double heading_deg);
std::string latitudeText(double latitude_deg);
std::string altitudeText(double altitude_m);

} // namespace siacci::session
