#include "station/locator.h"

#include <cmath>

namespace orvela {

namespace {

// How one coordinate is read from a locator. Steps are in degrees except the
// sub-square's, which is in minutes; positions are 0-based.
struct Kind {
    std::size_t FieldAt;
    std::size_t DigitAt;
    std::size_t SubSquareAt;
    long double FieldStep;     // degrees per field letter
    long double DigitStep;     // degrees per square digit
    long double SubSquareStep; // minutes per sub-square letter
    long double Offset;        // degrees from the south-west corner of field AA to the origin
    long double HalfSubSquare; // minutes
    const char* NonNegative;
    const char* Negative;
};

constexpr Kind Latitude{1, 3, 5, 10, 1, 2.5L, 90, 1.25L, "North", "South"};
constexpr Kind Longitude{0, 2, 4, 20, 2, 5, 180, 2.5L, "East", "West"};

const Kind& KindOf(std::string_view kind)
{
    return kind == "Lat" ? Latitude : Longitude;
}

// The signed whole degrees of the south-west corner of the whole-degree cell
// that holds the sub-square, and the minutes from that corner to the
// sub-square's own south-west corner.
struct Corner {
    long double Degrees;
    long double Minutes;
};

// Each step is rounded to extended precision in this order: a different
// order (or a fused multiply-add) moves some centres by one unit in the last
// place, and then their truncated seconds by one.
Corner CornerOf(std::string_view upper, const Kind& k)
{
    const long double a = (upper[k.FieldAt] - 'A') * k.FieldStep;
    long double b = (upper[k.DigitAt] - '0') * k.DigitStep;
    long double c = (upper[k.SubSquareAt] - 'A') * k.SubSquareStep;
    // Longitude sub-squares M to X lie in the second degree of their square.
    if (c >= 60) {
        const long double whole = truncl(c / 60);
        b = b + whole;
        c = c - 60 * whole;
    }
    return {a + b - k.Offset, c};
}

long double CentreOf(const Corner& corner, const Kind& k)
{
    const long double t = corner.Degrees + corner.Minutes / 60;
    return k.HalfSubSquare / 60 + t;
}

bool Between(char c, char low, char high)
{
    return c >= low && c <= high;
}

} // namespace

int FirstBadLocatorCharacter(std::string_view upper)
{
    const char highest[6] = {'R', 'R', '9', '9', 'X', 'X'};
    for (std::size_t i = 0; i < 6; ++i) {
        const char low = highest[i] == '9' ? '0' : 'A';
        if (i >= upper.size() || !Between(upper[i], low, highest[i])) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::string LocatorCharacters(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    int continuing = 0; // continuation bytes still expected after a lead byte
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (continuing > 0 && (byte & 0xC0) == 0x80) {
            --continuing;
            continue;
        }
        continuing = 0;
        if (byte < 0x80) {
            out += c;
            continue;
        }
        // A lead byte starts one character; a stray byte is one on its own.
        out += '?';
        continuing = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    }
    return out;
}

std::string LocatorCharacterMessage(int position)
{
    // "Le caractère n°", "erroné", in UTF-8.
    return "Le caract\xC3\xA8re n\xC2\xB0" + std::to_string(position) + " est erron\xC3\xA9 !\r\n" +
           "Le format du QTH Locator est RR99XX maximum";
}

long double LocatorCentre(std::string_view upper, std::string_view kind)
{
    const Kind& k = KindOf(kind);
    return CentreOf(CornerOf(upper, k), k);
}

long double SquareCentre(std::string_view upper, std::string_view kind)
{
    const Kind& k = KindOf(kind);
    const long double corner =
        (upper[k.FieldAt] - 'A') * k.FieldStep + (upper[k.DigitAt] - '0') * k.DigitStep - k.Offset;
    return corner + k.DigitStep / 2;
}

bool IsLocator(std::string_view upper)
{
    if (upper.size() == 4) {
        return FirstBadLocatorCharacter(std::string(upper) + "AA") == 0;
    }
    return upper.size() == 6 && FirstBadLocatorCharacter(upper) == 0;
}

LocatorPoint LocatorCentreWest(std::string_view upper)
{
    // Locators count longitudes east; the map counts them west.
    if (upper.size() == 4) {
        return {SquareCentre(upper, "Lat"), -SquareCentre(upper, "Lon")};
    }
    return {LocatorCentre(upper, "Lat"), -LocatorCentre(upper, "Lon")};
}

TLoc LocatorToLoc(std::string_view upper, std::string_view kind)
{
    const Kind& k = KindOf(kind);
    const Corner corner = CornerOf(upper, k);
    const long double x = CentreOf(corner, k);
    TLoc loc;
    loc.Sens = corner.Degrees >= 0 ? k.NonNegative : k.Negative;
    loc.Deg = truncl(x);
    const long double minutes = (x - loc.Deg) * 60;
    loc.Min = truncl(minutes);
    const long double seconds = (minutes - loc.Min) * 60;
    loc.Sec = truncl(seconds);
    return loc;
}

long double ComposeDMS(long double degrees, long double minutes, long double seconds, bool negative)
{
    if (degrees < 0 || (degrees == 0 && negative)) {
        return -((-degrees + minutes / 60) + seconds / 3600);
    }
    return (degrees + minutes / 60) + seconds / 3600;
}

StationPosition LocatorToStation(std::string_view upper)
{
    const TLoc lat = LocatorToLoc(upper, "Lat");
    const TLoc lonEastDms = LocatorToLoc(upper, "Lon");
    // The spins as the dialog fills them: the longitude turned west-positive,
    // minutes and seconds as magnitudes. Near the equator or Greenwich the
    // degrees are 0, so the hemisphere comes from the conversion's word.
    StationPosition p;
    p.Latitude = ComposeDMS(lat.Deg, fabsl(lat.Min), fabsl(lat.Sec), lat.Sens == "South");
    p.Longitude = ComposeDMS(-lonEastDms.Deg, fabsl(lonEastDms.Min), fabsl(lonEastDms.Sec), lonEastDms.Sens == "East");
    return p;
}

} // namespace orvela
