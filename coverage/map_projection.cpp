#include "coverage/map_projection.h"

#include <algorithm>
#include <cmath>

namespace orvela::area {

int GridRows(int stepDeg)
{
    return 180 / stepDeg + 1;
}

int GridColumns(int stepDeg)
{
    return 360 / stepDeg;
}

int NearestGridRow(double latDeg, int stepDeg)
{
    return std::clamp(static_cast<int>(std::lround((latDeg + 90) / stepDeg)), 0, GridRows(stepDeg) - 1);
}

int NearestGridColumn(double lonWestDeg, int stepDeg)
{
    const int columns = GridColumns(stepDeg);
    const int column = static_cast<int>(std::lround((lonWestDeg + 180) / stepDeg)) % columns;
    return column < 0 ? column + columns : column;
}

std::size_t NearestGridPoint(double latDeg, double lonWestDeg, int stepDeg)
{
    return static_cast<std::size_t>(NearestGridRow(latDeg, stepDeg)) * static_cast<std::size_t>(GridColumns(stepDeg)) +
           static_cast<std::size_t>(NearestGridColumn(lonWestDeg, stepDeg));
}

} // namespace orvela::area
