#include "session/page_sensors.hpp"

#include "common/number_text.hpp"

#include <cmath>

namespace siacci::session {

namespace {

constexpr double kMaxAngle_deg = 80; // the card's limit of the angle of the shot

double normalised(double deg)
{
    const double d = std::fmod(deg, 360);
    return d < 0 ? d + 360 : d;
}

} // namespace

std::optional<double> TiltMeter::reading(double tilt_deg)
{
    if (m_held || !std::isfinite(tilt_deg))
        return std::nullopt;
    const double angle = std::round((tilt_deg - m_zero_deg) * 10) / 10;
    if (std::fabs(angle) > kMaxAngle_deg)
        return std::nullopt;
    return angle == 0 ? 0.0 : angle;
}

void TiltMeter::zeroed(double tilt_deg)
{
    if (!std::isfinite(tilt_deg) || std::fabs(tilt_deg) > 20)
        return; // no table is that far from level: a reading of the phone held up, not laid down
    m_zero_deg = tilt_deg;
    m_zeroed = true;
    m_held = false;
}

std::string TiltMeter::zeroText() const
{
    return m_zeroed ? "Azzerato su " + roundedText(m_zero_deg, 1, ',') + "°" : std::string("Non azzerato");
}

int windClockFromCompass(double windFrom_deg, double azimuth_deg)
{
    const double relative = normalised(windFrom_deg - azimuth_deg);
    const int hour = static_cast<int>(std::lround(relative / 30)) % 12;
    return hour == 0 ? 12 : hour;
}

std::string headingText(double heading_deg)
{
    const long h = std::lround(normalised(heading_deg)) % 360;
    return std::to_string(h);
}

std::string latitudeText(double latitude_deg)
{
    return roundedText(latitude_deg, 4, ',');
}

std::string altitudeText(double altitude_m)
{
    return roundedText(altitude_m, 0, ',');
}

} // namespace siacci::session
