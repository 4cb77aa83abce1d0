// Maidenhead "QTH Locator" conversion, and the composition of a station
// position from the degrees, minutes and seconds of the setup dialog.
#pragma once

#include <string>
#include <string_view>

namespace orvela {

// Degrees, minutes and seconds of one coordinate, all three signed like the
// degrees, with the hemisphere word: "North"/"South" for a latitude,
// "East"/"West" for a longitude.
struct TLoc {
    long double Deg = 0;
    long double Min = 0;
    long double Sec = 0;
    std::string Sens;
};

// Position (1..6) of the first character of a six-character, upper-case
// locator that its place does not allow, or 0 when all six are valid.
// Places 1-2 take A..R, 3-4 take 0..9, 5-6 take A..X. In a shorter text the
// first missing place counts as wrong; characters past the sixth are not
// looked at.
int FirstBadLocatorCharacter(std::string_view upper);

// The text with one byte per character, so that positions count characters:
// each character written with several UTF-8 bytes (an accented letter, say)
// becomes a single '?', which no place of a locator allows.
std::string LocatorCharacters(std::string_view utf8);

// The French message for a wrong character at that position (CR LF inside).
std::string LocatorCharacterMessage(int position);

// The centre of the locator's sub-square in signed decimal degrees, before
// any truncation, for the kind "Lat" (north positive) or any other kind
// (longitude, east positive). LocatorToLoc splits this value.
long double LocatorCentre(std::string_view upper, std::string_view kind);

// The exact centre of a four-character locator's square (2 degrees of
// longitude by 1 of latitude) in signed decimal degrees, for the kind "Lat"
// (north positive) or any other kind (longitude, east positive). The first
// four characters are valid and upper-case; any further ones are ignored.
long double SquareCentre(std::string_view upper, std::string_view kind);

// Whether `upper` is a whole locator: a field and square ("JN18") or those
// with a sub-square ("JN18DU"), every character allowed in its place.
bool IsLocator(std::string_view upper);

// The centre of a whole locator's square or sub-square, as a point on the
// map: latitude north positive, longitude west positive.
struct LocatorPoint {
    long double LatDeg = 0;
    long double LonWestDeg = 0;
};
LocatorPoint LocatorCentreWest(std::string_view upper);

// The centre of the locator's sub-square, truncated to whole seconds, for
// the kind "Lat" (latitude, north positive) or any other kind (longitude,
// EAST positive, as locators count). The locator is six valid upper-case
// characters.
TLoc LocatorToLoc(std::string_view upper, std::string_view kind);

// A position from signed whole degrees and unsigned minutes and seconds:
// -((-d + m/60) + s/3600) for a negative value, (d + m/60) + s/3600
// otherwise. A position less than one degree from zero has degrees 0, which
// carry no sign: `negative` then gives it.
long double ComposeDMS(long double degrees, long double minutes, long double seconds, bool negative);

// Home position, positive west and north, that the setup dialog stores when
// it converts the locator and is accepted: the whole-degree spins, minute and
// second magnitudes, and the hemisphere kept when the degrees are 0.
struct StationPosition {
    long double Longitude = 0;
    long double Latitude = 0;
};
StationPosition LocatorToStation(std::string_view upper);

} // namespace orvela
