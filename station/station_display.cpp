#include "station/station_display.h"

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

namespace {

// A positive number below 1000 as the watts label shows it: one decimal
// below 10, whole above, with no trailing ".0".
std::string ShortNumber(long double v)
{
    char buf[32];
    const bool oneDecimal = v < 10;
    const long double rounded = oneDecimal ? roundl(v * 10) / 10 : roundl(v);
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(rounded),
                                                 std::chars_format::fixed, oneDecimal ? 1 : 0);
    std::string text(buf, r.ptr);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) {
        text.resize(text.size() - 2);
    }
    return text;
}

} // namespace

std::string PowerInWatts(int dBW)
{
    static const char* const units[] = {"W", "kW", "MW", "GW", "TW"};
    // Every 30 dB is a factor of 1000: one step of unit. Below 0 dBW (not
    // a power the station accepts) the figure stays in watts.
    const int step = dBW < 0 ? 0 : dBW / 30;
    if (step < 5) {
        const long double v = powl(10.0L, static_cast<long double>(dBW - 30 * step) / 10);
        return ShortNumber(v) + " " + units[step];
    }
    const long double mantissa = powl(10.0L, static_cast<long double>(dBW % 10) / 10);
    return ShortNumber(mantissa) + "e" + std::to_string(dBW / 10) + " W";
}

} // namespace orvela
