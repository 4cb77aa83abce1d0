#include "cli/values.h"

#include "station/locator.h"
#include "cli/program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace orvela::cli {
namespace {

struct GoodPosition {
    const char* Text;
    double Lat;        // north-positive
    double LonWestDeg; // west-positive
};

TEST(ParsePosition, ReadsHemisphereLettersWestPositive)
{
    const GoodPosition cases[] = {
        {"48.85N,2.35E", 48.85, -2.35},    {"40N,74W", 40, 74},    {"40n,74w", 40, 74},
        {"33.92S,18.42E", -33.92, -18.42}, {"90S,180W", -90, 180}, {"90N,180E", 90, -180},
        {"0.5s,179.999e", -0.5, -179.999}, {"007N,0010W", 7, 10},
    };
    for (const GoodPosition& c : cases) {
        SCOPED_TRACE(c.Text);
        const Parsed<GeoPosition> p = ParsePosition(c.Text);
        ASSERT_TRUE(p) << p.Error;
        EXPECT_NEAR(static_cast<double>(p.Value->LatDeg), c.Lat, 1e-12);
        EXPECT_NEAR(static_cast<double>(p.Value->LonWestDeg), c.LonWestDeg, 1e-12);
    }
}

TEST(ParsePosition, ZeroHasNoSignInEitherHemisphere)
{
    // A negative zero would print as "-0" and fold differently in the run.
    for (const char* text : {"0S,0E", "0.0S,0.000E", "0N,0W"}) {
        SCOPED_TRACE(text);
        const Parsed<GeoPosition> p = ParsePosition(text);
        ASSERT_TRUE(p) << p.Error;
        EXPECT_EQ(p.Value->LatDeg, 0);
        EXPECT_EQ(p.Value->LonWestDeg, 0);
        EXPECT_FALSE(std::signbit(p.Value->LatDeg));
        EXPECT_FALSE(std::signbit(p.Value->LonWestDeg));
    }
}

struct BadPosition {
    const char* Text;
    const char* Says; // part of the message
};

TEST(ParsePosition, RefusesWithAReason)
{
    const BadPosition cases[] = {
        {"48.85,2.35", "48.85N,2.35E"}, // bare numbers: the message shows the form
        {"48.85N,2.35", "has no hemisphere letter (E or W)"},
        {"48.85,2.35E", "has no hemisphere letter (N or S)"},
        {"48.85N", "no comma"},
        {"48.85N 2.35E", "no comma"},
        {"48N,2E,3", "more than one comma"},
        {"", "no comma"},
        {",", "latitude is missing"},
        {"48N,", "longitude is missing"},
        {",2E", "latitude is missing"},
        {"48E,2N", "other axis"},
        {"48N,2S", "other axis"},
        {"-48N,2E", "not a plain number"},
        {"+48N,2E", "not a plain number"},
        {"N,2E", "not a plain number"},
        {"nanN,2E", "not a plain number"},
        {"infN,2E", "not a plain number"},
        {"1e1N,2E", "not a plain number"},
        {"48.N,2E", "not a plain number"},
        {".5N,2E", "not a plain number"},
        {"48,5N,2E", "more than one comma"},
        {" 48N,2E", "not a plain number"},
        {"48N,2E ", "does not end in E or W"},
        {"48N,2Ex", "does not end in E or W"},
        {"48NN,2E", "not a plain number"},
        {"48X,2E", "does not end in N or S"},
        {"90.01N,0E", "out of range"},
        {"0N,180.001W", "out of range"},
        {"99999999999999999999999999N,0E", "out of range"},
    };
    for (const BadPosition& c : cases) {
        SCOPED_TRACE(c.Text);
        const Parsed<GeoPosition> p = ParsePosition(c.Text);
        EXPECT_FALSE(p);
        EXPECT_NE(p.Error.find(c.Says), std::string::npos) << p.Error;
    }
}

// Six letters and digits are a locator, in any case; anything else is read
// as LAT,LON.
TEST(ParsePositionOrLocator, SixLettersAndDigitsAreALocator)
{
    const StationPosition jn18du = LocatorToStation("JN18DU");
    for (const char* text : {"JN18DU", "jn18du", "jN18Du"}) {
        SCOPED_TRACE(text);
        const Parsed<GeoPosition> p = ParsePositionOrLocator(text);
        ASSERT_TRUE(p) << p.Error;
        EXPECT_EQ(p.Value->LatDeg, jn18du.Latitude);
        EXPECT_EQ(p.Value->LonWestDeg, jn18du.Longitude);
    }
    const Parsed<GeoPosition> decimal = ParsePositionOrLocator("48N,2E");
    ASSERT_TRUE(decimal) << decimal.Error;
    EXPECT_EQ(decimal.Value->LatDeg, 48);
    EXPECT_EQ(decimal.Value->LonWestDeg, -2);

    const BadPosition cases[] = {
        {"JS18DU", "JS18DU: character 2 of a locator must be a letter A to R"},
        {"sn18du", "sn18du: character 1 of a locator must be a letter A to R"},
        {"JNA8DU", "character 3 of a locator must be a digit 0 to 9"},
        {"JN1ADU", "character 4 of a locator must be a digit 0 to 9"},
        {"JN18YU", "character 5 of a locator must be a letter A to X"},
        {"jn18dy", "character 6 of a locator must be a letter A to X"},
        {"48N2E0", "character 1 of a locator"},
        // Four or six characters without a comma are meant as a locator.
        {"JN18D!", "JN18D!: character 6 of a locator must be a letter A to X"},
        {"JN-8DU", "character 3 of a locator"},
        {"JN18D\xC3\xA9", "character 6 of a locator"}, // é is one character
        {"JS18", "JS18: character 2 of a locator must be a letter A to R"},
        {"JN1X", "character 4 of a locator must be a digit 0 to 9"},
        {"48N2", "character 1 of a locator"},
        // Otherwise the position's message.
        {"JN18D", "no comma"},
        {"JN18DUX", "no comma"},
        {"JN1", "no comma"},
        {"48.85N", "no comma"}, // a latitude alone, not a locator
        {"48N 2E", "no comma"},
    };
    for (const BadPosition& c : cases) {
        SCOPED_TRACE(c.Text);
        const Parsed<GeoPosition> p = ParsePositionOrLocator(c.Text);
        EXPECT_FALSE(p);
        EXPECT_NE(p.Error.find(c.Says), std::string::npos) << p.Error;
    }
}

// A square's centre: 2 degrees of longitude by 1 of latitude, positive west.
TEST(ParsePositionOrLocator, FourCharactersAreTheCentreOfTheSquare)
{
    const struct {
        const char* Text;
        double Lat;
        double LonWestDeg;
    } cases[] = {
        {"JN18", 48.5, -3},                         // Paris's square: 2..4 E, 48..49 N
        {"jn18", 48.5, -3},   {"AA00", -89.5, 179}, // the south-west corner of the grid
        {"RR99", 89.5, -179},                       // the north-east one
        {"IO90", 50.5, 1},                          // just west of Greenwich
        {"FI09", -0.5, 79},                         // just south of the equator
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const Parsed<GeoPosition> p = ParsePositionOrLocator(c.Text);
        ASSERT_TRUE(p) << p.Error;
        EXPECT_EQ(p.Value->LatDeg, c.Lat);
        EXPECT_EQ(p.Value->LonWestDeg, c.LonWestDeg);
    }
}

TEST(ParseFlux, RangeAndOneDecimal)
{
    const struct {
        const char* Text;
        double Value;
    } good[] = {{"1", 1}, {"500", 500}, {"100", 100}, {"150.56", 150.6}, {"73.04", 73.0}, {"1.00", 1}, {"+72", 72}};
    for (const auto& c : good) {
        SCOPED_TRACE(c.Text);
        const Parsed<ld> f = ParseFlux(c.Text);
        ASSERT_TRUE(f) << f.Error;
        EXPECT_NEAR(static_cast<double>(*f.Value), c.Value, 1e-12);
    }
    for (const char* text : {"0.99", "500.01", "0", "-100", "abc", "", "1e2", "nan", "100 "}) {
        SCOPED_TRACE(text);
        const Parsed<ld> f = ParseFlux(text);
        EXPECT_FALSE(f);
        EXPECT_NE(f.Error.find("1 to 500"), std::string::npos) << f.Error;
    }
}

TEST(WholeNumbers, PowerAndMinAngleBounds)
{
    EXPECT_EQ(ParsePower("5").Value, 5);
    EXPECT_EQ(ParsePower("2500").Value, 2500);
    EXPECT_EQ(ParseMinAngle("0").Value, 0);
    EXPECT_EQ(ParseMinAngle("90").Value, 90);
    for (const char* text : {"4", "2501", "-5", "100.0", "", "99999999999999999999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParsePower(text));
    }
    for (const char* text : {"91", "-1", "10.5", "ten", "4294967306"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseMinAngle(text));
    }
}

// A sign does not stop a number being whole: it is judged by its value,
// however many digits it has; only a text that is no whole number at all
// is called so.
TEST(WholeNumbers, ASignedNumberIsJudgedByItsValue)
{
    const std::string range = "the angle is 0 to 90";
    const struct {
        const char* Text;
        std::optional<int> Value;
        const char* Says; // for a refusal, what follows the quoted text
    } cases[] = {
        {"+45", 45, ""},
        {"-0", 0, ""},
        {"0090", 90, ""},
        {"-1", std::nullopt, " is out of range: the angle is 0 to 90"},
        {"91", std::nullopt, " is out of range: the angle is 0 to 90"},
        {"-2147483648", std::nullopt, " is out of range: the angle is 0 to 90"},
        {"99999999999999999999", std::nullopt, " is out of range: the angle is 0 to 90"},
        {"-99999999999999999999", std::nullopt, " is out of range: the angle is 0 to 90"},
        {"4294967306", std::nullopt, " is out of range: the angle is 0 to 90"}, // 10 in 32 bits
        {"10.0", std::nullopt, " is not a whole number; the angle is 0 to 90"},
        {"1e1", std::nullopt, " is not a whole number; the angle is 0 to 90"},
        {"+", std::nullopt, " is not a whole number; the angle is 0 to 90"},
        {"--1", std::nullopt, " is not a whole number; the angle is 0 to 90"},
        {" 1", std::nullopt, " is not a whole number; the angle is 0 to 90"},
        {"", std::nullopt, " is not a whole number; the angle is 0 to 90"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const Parsed<int> v = ParseWholeInRange(c.Text, 0, 90, range);
        EXPECT_EQ(v.Value, c.Value);
        EXPECT_EQ(v.Error, c.Value ? "" : "\"" + std::string(c.Text) + "\"" + c.Says);
    }
}

TEST(ParseDate, CalendarDatesOnly)
{
    const Parsed<CivilDate> leap = ParseDate("2024-02-29");
    ASSERT_TRUE(leap) << leap.Error;
    EXPECT_EQ(leap.Value->Year, 2024);
    EXPECT_EQ(leap.Value->Month, 2);
    EXPECT_EQ(leap.Value->Day, 29);
    EXPECT_TRUE(ParseDate("2000-02-29"));
    EXPECT_TRUE(ParseDate("2026-12-31"));

    for (const char* text :
         {"2023-02-29", "1900-02-29", "2024-04-31", "2024-13-01", "2024-00-10", "2024-01-00", "0000-01-01"}) {
        SCOPED_TRACE(text);
        const Parsed<CivilDate> d = ParseDate(text);
        EXPECT_FALSE(d);
        EXPECT_NE(d.Error.find("not a day of the calendar"), std::string::npos) << d.Error;
    }
    for (const char* text : {"24-01-01", "2024-1-01", "2024/01/01", "2024-01-01x", "2024-+1-01", ""}) {
        SCOPED_TRACE(text);
        const Parsed<CivilDate> d = ParseDate(text);
        EXPECT_FALSE(d);
        EXPECT_NE(d.Error.find("YYYY-MM-DD"), std::string::npos) << d.Error;
    }
}

// A refused value is named as typed, but nothing in it reaches the terminal
// as a control: escapes, line ends, C1 controls and text-reversing marks
// come out as their codes, and printable text, accents included, as it was.
TEST(Quoted, WritesControlsAsTheirCodes)
{
    const struct {
        std::string In, Out;
    } cases[] = {
        {"dipole", "\"dipole\""},
        {"", "\"\""},
        {"F\xC3\xA9lix \xE2\x82\xAC", "\"F\xC3\xA9lix \xE2\x82\xAC\""}, // é and €
        {"\x1B[2J", "\"\\x1B[2J\""},
        {"a\nb\rc\td", "\"a\\x0Ab\\x0Dc\\x09d\""},
        {std::string("a\0b", 3), "\"a\\x00b\""},
        {"\x7F", "\"\\x7F\""},
        {"\xC2\x9B"
         "31m",
         "\"\\u009B31m\""}, // C1 CSI
        {"abc\xE2\x80\xAE"
         "def",
         "\"abc\\u202Edef\""},                                // right-to-left override
        {"\xE2\x81\xA6x\xE2\x81\xA9", "\"\\u2066x\\u2069\""}, // isolates
        {"\xD8\x9C\xE2\x80\x8F", "\"\\u061C\\u200F\""},
        {"\xE2\x80\x94", "\"\xE2\x80\x94\""}, // an em dash stays
        {"\xC2", "\"\xC2\""},                 // a cut sequence is left alone
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Quoted(c.In), c.Out);
    }
}

} // namespace
} // namespace orvela::cli
