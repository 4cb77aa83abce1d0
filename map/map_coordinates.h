// The 512 x 256 equirectangular world map: 180 degrees West at the left
// edge, 90 degrees North at the top, longitude 0 at x = 256, the equator at
// y = 128. Longitudes are positive west, as everywhere in the program.
#pragma once

namespace orvela {

// Whole degrees of a map pixel (integer arithmetic, truncated toward zero).
// No clamping: a mouse held captured beyond the map gives degrees beyond it.
int PixelToLongitude(int x);
int PixelToLatitude(int y);

// Top-left corner, in the map panel, of a marker at a position in degrees
// (rounded to the nearest pixel, halves to even). The home marker sits
// there; the remote marker's corner is 4 pixels up and left of it.
int MarkerLeft(double lonWestDeg);
int MarkerTop(double latitudeDeg);

} // namespace orvela
