// What the coverage window's status line says of a point of the map, in
// words a screen reader reads out as they are.
#pragma once

#include "coverage/area_coverage.h"

#include <cstddef>
#include <string>

namespace orvela::area {

// A position in whole degrees with its hemispheres, "40° S, 20° W"; a
// degree that rounds to zero has no letter, "0°". Longitude positive west.
std::string PositionName(double latDeg, double lonWestDeg);

// A grid point at an hour: its position, and the level, S-meter reading,
// day/night letter and hops of its path, or that it has none, or that the
// hour is still being computed. `band` names the band ("14 MHz", "20 m").
std::string PointDescription(const CoverageDaySummary& day, int utcHour, std::size_t point, const std::string& band);

} // namespace orvela::area
