// Where the points of a coverage grid lie on a map of the whole globe, and
// which grid point a position on the map belongs to. The map is
// equirectangular, as the day/night map: 180 degrees West on its left edge,
// the North Pole on its top edge. Longitudes are positive west.
#pragma once

#include <cstddef>

namespace orvela::area {

// A map of Width x Height pixels of the whole globe. Pixel coordinates are
// not rounded: x = 0 is the left edge of the first column, x = Width the
// right edge of the last.
struct MapProjection {
    int Width = 0;
    int Height = 0;

    double X(double lonWestDeg) const { return (180 - lonWestDeg) / 360 * Width; }
    double Y(double latDeg) const { return (90 - latDeg) / 180 * Height; }
    double LonWestDeg(double x) const { return 180 - x / Width * 360; }
    double Lat(double y) const { return 90 - y / Height * 180; }
};

// The grid of GridPoints(stepDeg): its rows from the South Pole up to the
// North Pole, its columns from 180 degrees East (west-positive -180)
// westward.
int GridRows(int stepDeg);
int GridColumns(int stepDeg);
// The row of the grid latitude nearest to a latitude, the poles' rows for
// anything beyond them.
int NearestGridRow(double latDeg, int stepDeg);
// The column of the grid meridian nearest to a longitude, round the world:
// 180 degrees West and 180 degrees East are the same column.
int NearestGridColumn(double lonWestDeg, int stepDeg);
// The index of the grid point nearest to a position, in the order of
// GridPoints(stepDeg).
std::size_t NearestGridPoint(double latDeg, double lonWestDeg, int stepDeg);

} // namespace orvela::area
