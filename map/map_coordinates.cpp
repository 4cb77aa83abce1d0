#include "map/map_coordinates.h"

#include <cmath>

namespace orvela {

int PixelToLongitude(int x)
{
    return (256 - x) * 180 / 256;
}

int PixelToLatitude(int y)
{
    return (128 - y) * 90 / 128;
}

int MarkerLeft(double lonWestDeg)
{
    return 256 - static_cast<int>(std::nearbyint(lonWestDeg / 180 * 256));
}

int MarkerTop(double latitudeDeg)
{
    return 128 - static_cast<int>(std::nearbyint(latitudeDeg / 90 * 128));
}

} // namespace orvela
