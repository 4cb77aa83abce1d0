#include "station_display.h"

#include <charconv>
#include <cmath>

namespace orvela {

Dms SplitDMS(long double x)
{
    const long double deg = truncl(x);
    const long double seconds = roundl(fabsl(x - deg) * 3600 * 1e9L) / 1e9L;
    // A value a hair short of a whole degree rounds up to sixty minutes: that
    // is the next degree, away from zero (so -0.9999999999999999 is -1 0 0).
    if (seconds >= 3600) {
        return {std::signbit(x) ? deg - 1 : deg + 1, 0, 0};
    }
    const long double min = floorl(seconds / 60);
    return {deg, min, seconds - min * 60};
}

std::string FormatGeneral(long double v)
{
    // std::to_chars writes '.' whatever the C locale says: under a German
    // locale printf's %g would write 44,16.
    char buf[64];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

} // namespace orvela
