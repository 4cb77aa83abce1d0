// How the station's position is written in the degree, minute and second edits.
#pragma once

#include <string>

namespace orvela {

struct Dms {
    long double Degrees; // signed, truncated toward zero
    long double Minutes; // unsigned, whole
    long double Seconds; // unsigned
};

// Signed degrees, unsigned minutes and seconds of a value in degrees. The
// seconds keep nine decimals: below that lies only the binary form of a
// decimal entry, which would otherwise show 48.85 as 48 50 59.9999999999999
// or 48 51 2.5e-15. Seconds that round up to sixty carry into the minutes,
// and sixty minutes into the degrees.
Dms SplitDMS(long double x);

// Shortest form with up to 15 significant digits and a point, whatever the
// locale: 48, 30.5, -2.
std::string FormatGeneral(long double v);

// A transmitter power in whole dBW as watts, for a reader who thinks in
// watts: the unit that leaves 1 to 999 of it (W, kW, MW, GW, TW), with one
// decimal below 10 and none above, a trailing ".0" left out. From 1000 TW
// (150 dBW) on, a power of ten: "3.2e15 W". 20 gives "100 W", 5 "3.2 W",
// 31 "1.3 kW".
std::string PowerInWatts(int dBW);

} // namespace orvela
