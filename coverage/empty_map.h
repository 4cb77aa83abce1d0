// Why a coverage map shows no path at all, in words for the operator: the
// caption of orvela-area's picture, its CSV and its JSON say it.
#pragma once

#include "coverage/area_coverage.h"

#include <array>
#include <string>

namespace orvela::area {

// True when some point of the map has a path.
bool AnyPath(const Coverage& c);

// Why no point of the map of `band` (1-based, in in.Bands) has a path at each
// UTC hour asked for in `hours`, over the grid of `stepDeg`; the hours not
// asked for, and those where a point has a path, get an empty text. Each
// point's path is worked out again, once for all the hours, on `threads`
// threads (0: one per core). Either the band lies above every path's
// usable frequencies ("No mode reaches any point of the map: 28 MHz lies
// above 85% of every path's MUF (the highest is 23.3 MHz), the most the
// model works a path on."), or every path is too weak, and then the reason
// names the power that would give a first point and the strongest path.
std::array<std::string, HoursPerDay> EmptyMapReasons(const RunInput& in, int band, int stepDeg, unsigned threads,
                                                     const std::array<bool, HoursPerDay>& hours);

// The same for one hour alone.
std::string EmptyMapReason(const RunInput& in, int utcHour, int band, int stepDeg, unsigned threads);

} // namespace orvela::area
