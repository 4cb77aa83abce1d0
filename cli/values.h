// Parsers for the values the command line takes. Each one reads the whole
// text or refuses it with a message that says what was expected; none of
// them depends on the locale.
#pragma once

#include "engine/format.h"
#include "engine/model.h"
#include "cli/program.h" // Parsed

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvela::cli {

// A point on the Earth in the program's own convention: latitude positive
// north, longitude positive WEST, both in degrees.
struct GeoPosition {
    ld LatDeg = 0;
    ld LonDeg = 0;
};

// "LAT,LON" in decimal degrees, each followed by its hemisphere letter
// ("48.85N,2.35E", "40n,74w"). A bare or signed number is refused: which
// way is positive differs between programs, and this one counts longitudes
// west-positive.
Parsed<GeoPosition> ParsePosition(std::string_view text);

// A six-character Maidenhead locator in any letter case ("JN18DU",
// "jn18du"): the position the setup dialog stores for it, the centre of the
// sub-square cut to whole seconds (toward zero), with its hemisphere kept
// within a degree of the equator or of Greenwich. A four-character one
// ("JN18") is the exact centre of its square. A wrong character is named by
// its place, counted in characters.
Parsed<GeoPosition> ParseLocator(std::string_view text);

// A locator when the text is four or six characters without a comma that
// start with a letter or are all letters and digits, otherwise LAT,LON as
// ParsePosition reads it.
Parsed<GeoPosition> ParsePositionOrLocator(std::string_view text);

// Solar flux in sfu, 1 to 500, kept to one decimal like the flux spin edit:
// digits with an optional point and decimals, after an optional sign.
Parsed<ld> ParseFlux(std::string_view text);

// Address of the Geophysical Alert Message: an http:// or https:// URL with
// a host, and no blanks or control characters.
Parsed<std::string> ParseFluxUrl(std::string_view text);
// The base address of NOAA's service (--service-url): the same rules, with
// an example of a base address.
Parsed<std::string> ParseServiceUrl(std::string_view text);

// Transmitter power, whole dBW, within the range the station's settings
// allow (5 to 2500).
// A frequency from 2 to 30 MHz, a plain decimal number: "7", "7.1", "14.07".
Parsed<ld> ParseFrequency(std::string_view text, const std::string& range);

Parsed<int> ParsePower(std::string_view text);

// Lowest take-off angle, whole degrees, within the range the station's
// settings allow (0 to 90).
Parsed<int> ParseMinAngle(std::string_view text);

// Threads that share a computation, 0 (one per core) to MaxWorkerThreads.
Parsed<int> ParseThreads(std::string_view text);

// A calendar date written YYYY-MM-DD (years 0001 to 9999).
Parsed<CivilDate> ParseDate(std::string_view text);

// The position of `text` in `names`, which are matched exactly.
Parsed<int> ParseChoice(std::string_view text, std::span<const std::string_view> names);

} // namespace orvela::cli
