#include "card/hit_presets.hpp"

#include "common/portable_math.hpp"

#include <cmath>

namespace siacci::card {

const char* rangeFinderCaption(RangeFinder r)
{
    switch (r) {
    case RangeFinder::Telemetro: return "telemetro ±1 m";
    case RangeFinder::AOcchio: return "a occhio ±10 %";
    }
    return "";
}

const char* windReadingCaption(WindReading w)
{
    switch (w) {
    case WindReading::Misurato: return "vento misurato ±1,5 km/h";
    case WindReading::Stimato: return "vento stimato ±4 km/h";
    }
    return "";
}

const char* shootingPositionCaption(ShootingPosition p)
{
    switch (p) {
    case ShootingPosition::Banco: return "banco";
    case ShootingPosition::ATerra: return "a terra";
    case ShootingPosition::Bastone: return "bastone";
    case ShootingPosition::Seduto: return "seduto";
    case ShootingPosition::InPiedi: return "in piedi";
    }
    return "";
}

const char* aimModeCaption(AimMode aim)
{
    return aim == AimMode::Corrected ? "con la correzione" : "senza correzione";
}

RangeError rangeFinderError(RangeFinder r)
{
    return r == RangeFinder::Telemetro ? RangeError{1, 0} : RangeError{0, 10};
}

double windReadingSd_kmh(WindReading w)
{
    return w == WindReading::Misurato ? 1.5 : 4;
}

double positionSd_moa(ShootingPosition p)
{
    switch (p) {
    case ShootingPosition::Banco: return 0;
    case ShootingPosition::ATerra: return 0.5;
    case ShootingPosition::Bastone: return 1;
    case ShootingPosition::Seduto: return 0.8;
    case ShootingPosition::InPiedi: return 2.5;
    }
    return 0;
}

double coneSdFromGroup_moa(double group5_moa)
{
    return group5_moa / kFiveShotSpreadPerSd;
}

double coneSd_moa(double group5_moa, ShootingPosition position)
{
    // The portable hypot: the page and the desktop fly the same cone to the last bit.
    return siacci::pm::hypot(coneSdFromGroup_moa(group5_moa), positionSd_moa(position));
}

} // namespace siacci::card
