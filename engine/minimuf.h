// The MINIMUF 3.5 model of the path's maximum usable frequency.
#pragma once

#include "engine/model.h"

#include <vector>

namespace orvela {

// Sunspot number for a 10.7 cm solar flux (solar flux units).
ld FluxToSpots(ld flx);

// One control point of a path, with everything that does not depend on the hour.
struct ControlPoint {
    bool Dark = false; // the sun stays far below the horizon all day: no ionisation
    ld Dl = 0;         // length of the ionospheric day, hours
    ld Tr = 0, Ts = 0; // rise and set, hours of Universal Time
    ld Z = 0;          // cosine of the sun's zenith angle at local noon
    ld X = 0;          // time constant of the ionisation, hours: 9.7 Z^9.6, at least 0.1
    ld M = 0;          // pi X / Dl, the time constant against the length of the day
    ld NightDecay = 0; // 1 + e^(-Dl/X)
    ld DayFactor = 0;  // 1 - 0.1 e^((Dl - 24)/3)
    ld LatFactor = 0;  // 0.8 at or beyond 45 degrees of latitude, else 1
};

// A path prepared for the model: its control points for one date.
struct MiniMufPath {
    ld M9 = 0;               // path factor 1 + 2.5 sin Q sqrt(sin Q): a longer hop carries more
    ld HemisphereFactor = 0; // 1.2 for a path that crosses the equator, else 1
    std::vector<ControlPoint> Points;
};

// Most control points visited on one path. The step between points shrinks
// to nothing as the path nears 0.62899 rad (K = 1/0.9999); past this many
// points it is widened so that the loop ends quickly. Paths with fewer points
// are untouched.
inline constexpr int MaxControlPoints = 1000;

void PrepareMiniMuf(MiniMufPath& path, ld mo, ld dy, ld tla, ld tlo, ld rla, ld rlo);
ld EvalMiniMuf(const MiniMufPath& path, ld ho, ld sunSpots);

// MUF in MHz (at most 100) of the short great-circle path between the first
// station (tla, tlo) and the second (rla, rlo) at hour ho of Universal Time.
// The names are MINIMUF's own: mo and dy the month and day, ho the UTC
// hour, tla/tlo and rla/rlo the transmitter's and receiver's latitude and
// longitude in radians (longitude positive west).
ld MiniMuf(ld mo, ld dy, ld ho, ld tla, ld tlo, ld rla, ld rlo, ld sunSpots);

} // namespace orvela
