#include "cli/values.h"

#include "station/locator.h"
#include "station/settings_schema.h"
#include "common/civil_time.h"
#include "common/whole_number.h"
#include "common/worker_threads.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

namespace orvela::cli {

namespace {

constexpr const char* PositionForm =
    "expected LAT,LON in degrees with hemisphere letters, e.g. 48.85N,2.35E or 40N,74W";

// Digits, optionally a point and more digits: no sign, no exponent, no blank,
// nothing the C library would also read ("inf", "0x1p3").
bool IsPlainDecimal(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
    }
    if (i == 0) {
        return false;
    }
    if (i == s.size()) {
        return true;
    }
    if (s[i] != '.' || i + 1 == s.size()) {
        return false;
    }
    for (++i; i < s.size(); ++i) {
        if (!IsDigit(s[i])) {
            return false;
        }
    }
    return true;
}

// The value of a text that IsPlainDecimal accepted.
std::optional<ld> DecimalValue(std::string_view s)
{
    ld v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// One coordinate: a plain number of degrees, then one of two hemisphere
// letters. The first letter counts positive in the program's convention
// (north for latitudes, west for longitudes).
struct Axis {
    const char* Name;
    char Positive;
    char Negative;
    char OtherA; // the letters of the other axis
    char OtherB;
    int Limit;
    const char* Letters; // as the message names them
};

constexpr Axis LatitudeAxis{"latitude", 'N', 'S', 'E', 'W', 90, "N or S"};
constexpr Axis LongitudeAxis{"longitude", 'W', 'E', 'N', 'S', 180, "E or W"};

Parsed<ld> ParseCoordinate(std::string_view text, const Axis& axis)
{
    const std::string name = axis.Name;
    if (text.empty()) {
        return Parsed<ld>::Fail("the " + name + " is missing; " + PositionForm);
    }
    const char letter = Upper(text.back());
    const std::string_view number = text.substr(0, text.size() - 1);
    if (letter == axis.OtherA || letter == axis.OtherB) {
        return Parsed<ld>::Fail(name + " " + Quoted(text) + " has the letter of the other axis; " + PositionForm);
    }
    const std::string letters = axis.Letters;
    if (IsDigit(letter) || letter == '.') {
        return Parsed<ld>::Fail(name + " " + Quoted(text) + " has no hemisphere letter (" + letters + "); " +
                                PositionForm);
    }
    if (letter != axis.Positive && letter != axis.Negative) {
        return Parsed<ld>::Fail(name + " " + Quoted(text) + " does not end in " + letters + "; " + PositionForm);
    }
    if (!IsPlainDecimal(number)) {
        return Parsed<ld>::Fail(name + " " + Quoted(text) + " is not a plain number of degrees; " + PositionForm);
    }
    const std::optional<ld> v = DecimalValue(number);
    if (!v || *v > axis.Limit) {
        return Parsed<ld>::Fail(name + " " + Quoted(text) + " is out of range: at most " + std::to_string(axis.Limit) +
                                " degrees " + letters);
    }
    // Zero gets no sign, whichever hemisphere was written.
    if (*v == 0) {
        return Parsed<ld>::Ok(0);
    }
    return Parsed<ld>::Ok(letter == axis.Positive ? *v : -*v);
}

} // namespace

Parsed<GeoPosition> ParsePosition(std::string_view text)
{
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return Parsed<GeoPosition>::Fail(Quoted(text) + " has no comma; " + PositionForm);
    }
    if (text.find(',', comma + 1) != std::string_view::npos) {
        return Parsed<GeoPosition>::Fail(Quoted(text) + " has more than one comma; " + PositionForm);
    }
    const Parsed<ld> lat = ParseCoordinate(text.substr(0, comma), LatitudeAxis);
    if (!lat) {
        return Parsed<GeoPosition>::Fail(lat.Error);
    }
    const Parsed<ld> lon = ParseCoordinate(text.substr(comma + 1), LongitudeAxis);
    if (!lon) {
        return Parsed<GeoPosition>::Fail(lon.Error);
    }
    return Parsed<GeoPosition>::Ok(GeoPosition{*lat.Value, *lon.Value});
}

Parsed<GeoPosition> ParseLocator(std::string_view text)
{
    // Positions count characters, so that an accented letter is one place.
    std::string upper = LocatorCharacters(text);
    if (upper.size() != 4 && upper.size() != 6) {
        return Parsed<GeoPosition>::Fail(std::string(text) +
                                         ": a locator has four or six characters, e.g. JN18 or JN18DU");
    }
    for (char& c : upper) {
        c = Upper(c);
    }
    // A square has no sub-square letters to check: any valid pair stands in.
    const std::string checked = upper.size() == 4 ? upper + "AA" : upper;
    if (const int bad = FirstBadLocatorCharacter(checked); bad != 0) {
        // What each place of a locator takes.
        static const char* const allowed[] = {"a letter A to R", "a letter A to R", "a digit 0 to 9",
                                              "a digit 0 to 9",  "a letter A to X", "a letter A to X"};
        return Parsed<GeoPosition>::Fail(std::string(text) + ": character " + std::to_string(bad) +
                                         " of a locator must be " + allowed[bad - 1]);
    }
    if (upper.size() == 4) {
        // The centre of the square, its longitude turned to positive west.
        return Parsed<GeoPosition>::Ok(GeoPosition{SquareCentre(upper, "Lat"), -SquareCentre(upper, "Lon")});
    }
    const StationPosition p = LocatorToStation(upper);
    return Parsed<GeoPosition>::Ok(GeoPosition{p.Latitude, p.Longitude});
}

Parsed<GeoPosition> ParsePositionOrLocator(std::string_view text)
{
    // LAT,LON always has a comma and starts with a digit. Four or six
    // characters without a comma are meant as a locator when they start with
    // a letter, as every locator does, or are all letters and digits; its
    // message then names the wrong place. "48.85N" is still a position that
    // lacks its longitude.
    const std::size_t characters = LocatorCharacters(text).size();
    const bool startsWithLetter = !text.empty() && Upper(text.front()) >= 'A' && Upper(text.front()) <= 'Z';
    const bool lettersAndDigits = std::all_of(
        text.begin(), text.end(), [](char c) { return IsDigit(c) || (Upper(c) >= 'A' && Upper(c) <= 'Z'); });
    const bool locatorShaped = (characters == 4 || characters == 6) && text.find(',') == std::string_view::npos &&
                               (startsWithLetter || lettersAndDigits);
    return locatorShaped ? ParseLocator(text) : ParsePosition(text);
}

Parsed<ld> ParseFlux(std::string_view text)
{
    const char* range = "the solar flux is 1 to 500 sfu";
    // A signed number is a number too: below the range, or within it after "+".
    std::string_view number = text;
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '-' || number.front() == '+')) {
        number.remove_prefix(1);
    }
    if (!IsPlainDecimal(number)) {
        return Parsed<ld>::Fail(Quoted(text) + " is not a number; " + range);
    }
    const std::optional<ld> v = DecimalValue(number);
    if (!v || negative || *v < 1 || *v > 500) {
        return Parsed<ld>::Fail(Quoted(text) + " is out of range: " + range);
    }
    // One decimal, halves away from zero.
    return Parsed<ld>::Ok(static_cast<ld>(llroundl(*v * 10)) / 10);
}

Parsed<ld> ParseFrequency(std::string_view text, const std::string& range)
{
    if (!IsPlainDecimal(text)) {
        return Parsed<ld>::Fail(Quoted(text) + " is not a number; " + range);
    }
    const std::optional<ld> v = DecimalValue(text);
    if (!v || *v < 2 || *v > 30) {
        return Parsed<ld>::Fail(Quoted(text) + " is out of range: " + range);
    }
    return Parsed<ld>::Ok(*v);
}

Parsed<int> ParsePower(std::string_view text)
{
    const SettingRow& power = SettingRowOf(SettingId::Power);
    return ParseWholeInRange(text, power.WholeMin(), power.WholeMax(),
                             "the power is " + std::to_string(power.WholeMin()) + " to " +
                                 std::to_string(power.WholeMax()) + " dBW");
}

Parsed<int> ParseMinAngle(std::string_view text)
{
    const SettingRow& angle = SettingRowOf(SettingId::MinAngle);
    return ParseWholeInRange(text, angle.WholeMin(), angle.WholeMax(),
                             "the minimum take-off angle is " + std::to_string(angle.WholeMin()) + " to " +
                                 std::to_string(angle.WholeMax()) + " degrees");
}

Parsed<int> ParseThreads(std::string_view text)
{
    return ParseWholeInRange(text, 0, MaxWorkerThreads,
                             "the threads are 0 (one per core) to " + std::to_string(MaxWorkerThreads));
}

Parsed<CivilDate> ParseDate(std::string_view text)
{
    const CivilTimeRead<CivilDate> read = ReadIsoDate(text);
    if (read.Fault == CivilTimeFault::Shape) {
        return Parsed<CivilDate>::Fail(Quoted(text) + " is not a date; expected YYYY-MM-DD");
    }
    if (read.Fault != CivilTimeFault::None) {
        return Parsed<CivilDate>::Fail(Quoted(text) + " is not a day of the calendar");
    }
    return Parsed<CivilDate>::Ok(read.Value);
}

Parsed<int> ParseChoice(std::string_view text, std::span<const std::string_view> names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (text == names[i]) {
            return Parsed<int>::Ok(static_cast<int>(i));
        }
    }
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ");
        list += names[i];
    }
    return Parsed<int>::Fail(Quoted(text) + " is not a choice; expected " + list);
}

namespace {

Parsed<std::string> ParseHttpAddress(std::string_view text, const char* example)
{
    const auto fail = [example] {
        return Parsed<std::string>::Fail(std::string("expected an http:// or https:// address, e.g. ") + example);
    };
    std::string_view rest;
    if (text.substr(0, 7) == "http://") {
        rest = text.substr(7);
    } else if (text.substr(0, 8) == "https://") {
        rest = text.substr(8);
    } else {
        return fail();
    }
    if (rest.empty() || rest.front() == '/') {
        return fail();
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) {
            return fail();
        }
    }
    return Parsed<std::string>::Ok(std::string(text));
}

} // namespace

Parsed<std::string> ParseFluxUrl(std::string_view text)
{
    return ParseHttpAddress(text, "https://services.swpc.noaa.gov/text/wwv.txt");
}

Parsed<std::string> ParseServiceUrl(std::string_view text)
{
    return ParseHttpAddress(text, "https://services.swpc.noaa.gov");
}

} // namespace orvela::cli
