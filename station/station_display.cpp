#include "station_display.h"

#include <cmath>
#include <cstdio>

namespace orvela {

Dms SplitDMS(long double x)
{
    const long double deg = truncl(x);
    const long double seconds = roundl(fabsl(x - deg) * 3600 * 1e9L) / 1e9L;
    const long double min = floorl(seconds / 60);
    return {deg, min, seconds - min * 60};
}

std::string FormatGeneral(long double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15Lg", v);
    return buf;
}

} // namespace orvela
