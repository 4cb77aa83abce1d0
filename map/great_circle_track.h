// The great circle through two points drawn on the equirectangular world
// map: the short path from home to the remote point, and the long path, the
// rest of the same circle, each as lines of map pixels broken where they
// leave the map at one edge and come back at the other.
#pragma once

#include <vector>

namespace orvela {

struct TrackPoint {
    double X = 0;
    double Y = 0;
};
using TrackLine = std::vector<TrackPoint>;

struct GreatCircleTracks {
    std::vector<TrackLine> ShortPath;
    std::vector<TrackLine> LongPath;
};

// On a map `width` x `height` pixels with 180 degrees West at x = 0 and the
// North Pole at y = 0 (longitudes positive west, latitudes positive north,
// in degrees). A line that crosses the 180th meridian ends on one edge and
// goes on from the other at the same height; one over a pole ends on the
// top or bottom edge and goes on from there at the longitude opposite.
// Points `stepDeg` of arc apart along the circle. Two points closer than a
// hundredth of a degree have no path at all; two antipodal points, joined by
// every great circle, are joined by the one through the North Pole.
GreatCircleTracks GreatCircleTrack(double homeLatDeg, double homeLonWestDeg, double remoteLatDeg,
                                   double remoteLonWestDeg, double width, double height, double stepDeg = 1.0);

} // namespace orvela
