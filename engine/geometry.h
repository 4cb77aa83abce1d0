// Great-circle geometry of the radio path and the sun's zenith angle along it.
#pragma once

#include "engine/model.h"

namespace orvela {

// -1 for a negative value, +1 otherwise (zero and negative zero included).
int Sign(ld xval);

// Folds a longitude difference into (-short pi, short pi]; exactly +/- short pi
// both end as +short pi.
ld FoldLongitude(ld deltaLon);

// Arc-cosine argument brought into [-1, 1]. Rounding can push the argument of
// a path along a meridian just past 1; a NaN (0/0 at a degenerate point) is
// read as 1.
ld ClampUnit(ld x);

// Initial bearing at (tla, tlo) towards (rla, rlo), radians clockwise from
// north, 0 to 2 pi. Longitudes positive west.
ld ComputeBearing(ld tla, ld tlo, ld rla, ld rlo);

// Bearing from the central angle d of a path and the two latitudes, before
// the turn by the sign of the longitude difference. `fromLat` is where the
// bearing is taken. A pole, or a path of zero or half-turn length, has no
// defined bearing: the pole looks along its only direction (south from the
// north pole, north from the south pole), the others look north.
ld BearingFromArc(ld sinFrom, ld cosFrom, ld fromLat, ld sinTo, ld d);

// Position of the point that lies the central angle dst from home along the
// great circle leaving home with bearing Azimuth.
PathPoint PathPointAt(const Workspace& ws, ld dst);
// Solar zenith angle, 0 to pi, at a path point for the workspace's sun.
ld SunZenithAt(const Workspace& ws, const PathPoint& p);
// Solar zenith angle at the path point dst from home.
ld Zenith(const Workspace& ws, ld dst);

// Take-off angle of a hop of half ground span a reflected at radius layerRadius.
ld TakeOffAngle(ld halfHop, ld ratio);
// Angle from the vertical at which a ray leaving the ground at elevation beta
// meets the layer of radius layerRadius.
ld IncidenceAngle(ld beta, ld layerRadius);

} // namespace orvela
