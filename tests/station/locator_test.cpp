#include "station/locator.h"
#include "station/station_display.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvela {
namespace {

struct Dms3 {
    long double Deg, Min, Sec;
    const char* Sens;
};

void ExpectLoc(const TLoc& got, const Dms3& want)
{
    EXPECT_EQ(got.Deg, want.Deg);
    EXPECT_EQ(got.Min, want.Min);
    EXPECT_EQ(got.Sec, want.Sec);
    EXPECT_EQ(got.Sens, want.Sens);
}

// The sub-square centres, truncated to whole seconds after the extended
// precision arithmetic: a centre on a whole second may come out one short.
TEST(LocatorToLoc, CentresInDegreesMinutesSeconds)
{
    struct Case {
        const char* Locator;
        Dms3 Lat;
        Dms3 LonEastDms; // east positive
    };
    const Case cases[] = {
        // 48 51 15 in exact arithmetic.
        {"JN18DU", {48, 51, 14, "North"}, {2, 17, 30, "East"}},
        // Just west of Greenwich: the degrees are zero.
        {"IO91WM", {51, 31, 14, "North"}, {-0.0L, -7, -30, "West"}},
        {"AA00AA", {-89, -58, -44, "South"}, {-179, -57, -29, "West"}},
        {"RR99XX", {89, 58, 45, "North"}, {179, 57, 30, "East"}},
        // Longitude sub-squares M to X carry one degree into the square.
        {"JN18MU", {48, 51, 14, "North"}, {3, 2, 30, "East"}},
        {"JN18XU", {48, 51, 14, "North"}, {3, 57, 30, "East"}},
        {"JN18LU", {48, 51, 14, "North"}, {2, 57, 30, "East"}},
        // Just south of the equator, and just east of Greenwich.
        {"FI09SW", {-0.0L, -3, -44, "South"}, {-78, -27, -30, "West"}},
        {"JO01AA", {51, 1, 14, "North"}, {0, 2, 30, "East"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Locator);
        ExpectLoc(LocatorToLoc(c.Locator, "Lat"), c.Lat);
        ExpectLoc(LocatorToLoc(c.Locator, "Lon"), c.LonEastDms);
    }
    // Any kind but "Lat" is a longitude.
    ExpectLoc(LocatorToLoc("JN18DU", "Lng"), {2, 17, 30, "East"});
}

TEST(LocatorToStation, PositionsWestPositiveWithTheHemisphereKept)
{
    struct Case {
        const char* Locator;
        long double Latitude;  // north positive
        long double Longitude; // west positive
    };
    // Each value composed by hand from the whole seconds the dialog shows.
    const Case cases[] = {
        {"JN18DU", 48 + 51 / 60.0L + 14 / 3600.0L, -(2 + 17 / 60.0L + 30 / 3600.0L)},
        {"IO91WM", 51 + 31 / 60.0L + 14 / 3600.0L, 7 / 60.0L + 30 / 3600.0L},
        {"AA00AA", -(89 + 58 / 60.0L + 44 / 3600.0L), 179 + 57 / 60.0L + 29 / 3600.0L},
        {"RR99XX", 89 + 58 / 60.0L + 45 / 3600.0L, -(179 + 57 / 60.0L + 30 / 3600.0L)},
        // Degrees 0: south of the equator, east of Greenwich.
        {"FI09SW", -(3 / 60.0L + 44 / 3600.0L), 78 + 27 / 60.0L + 30 / 3600.0L},
        {"JO01AA", 51 + 1 / 60.0L + 14 / 3600.0L, -(2 / 60.0L + 30 / 3600.0L)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Locator);
        const StationPosition p = LocatorToStation(c.Locator);
        EXPECT_NEAR(p.Latitude, c.Latitude, 1e-15L);
        EXPECT_NEAR(p.Longitude, c.Longitude, 1e-15L);
    }
    EXPECT_NEAR(LocatorToStation("FI09SW").Latitude, -0.0625, 0.0003) << "Quito lies south of the equator";
    EXPECT_NEAR(LocatorToStation("JO01AA").Longitude, -0.0417, 0.0001) << "east of Greenwich";
    EXPECT_EQ(LocatorToStation("IO91WM").Longitude, 0.125L) << "west of Greenwich";
}

TEST(FirstBadLocatorCharacter, NamesThePlaceOfTheFirstWrongCharacter)
{
    struct Case {
        const char* Locator;
        int Bad;
    };
    const Case cases[] = {
        {"JN18DU", 0},
        {"AA00AA", 0},
        {"RR99XX", 0},
        {"SN18DU", 1},
        {"JS18DU", 2},
        {"JNA8DU", 3},
        {"JN1ADU", 4},
        {"JN18YU", 5},
        {"JN18DY", 6},
        // Just outside each range.
        {"@N18DU", 1},
        {"J[18DU", 2},
        {"JN/8DU", 3},
        {"JN1:DU", 4},
        {"JN18@U", 5},
        {"JS1ADY", 2}, // the first of several
        {"jn18du", 1}, // the caller upper-cases
        {"JN18D", 6},  // a missing character is a wrong one
        {"", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirstBadLocatorCharacter(c.Locator), c.Bad) << '"' << c.Locator << '"';
    }
}

TEST(LocatorCharacters, OneBytePerCharacterSoPositionsCountCharacters)
{
    struct Case {
        const char* Utf8;
        const char* Characters;
    };
    const Case cases[] = {
        {"JN18DU", "JN18DU"},
        {"JN18D\xC3\xA9", "JN18D?"}, // é, two bytes
        {"\xE2\x82\xAC"
         "N18DU",
         "?N18DU"}, // €, three bytes
        {"JN\xF0\x9F\x93\xA1"
         "8DU",
         "JN?8DU"},              // an antenna emoji, four bytes
        {"JN18D\x80", "JN18D?"}, // a stray continuation byte is a character of its own
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LocatorCharacters(c.Utf8), c.Characters) << c.Characters;
    }
    EXPECT_EQ(FirstBadLocatorCharacter(LocatorCharacters("JN18D\xC3\x89")), 6);
}

TEST(LocatorCharacterMessage, FrenchWithALineBreak)
{
    EXPECT_EQ(LocatorCharacterMessage(2), "Le caract\xC3\xA8re n\xC2\xB0"
                                          "2 est erron\xC3\xA9 !\r\nLe format du QTH Locator est RR99XX maximum");
}

TEST(ComposeDMS, SignFromTheDegreesOrTheHemisphereWhenZero)
{
    struct Case {
        long double Deg, Min, Sec;
        bool Negative;
        long double Expected;
        long double Tolerance;
    };
    const Case cases[] = {
        {-2, 17, 30, false, -2.2917L, 5e-5L},
        {-89, 58, 44, false, -89.9789L, 5e-5L},
        {48, 51, 14, false, 48.8539L, 5e-5L},
        {-2, 15, 0, true, -2.25L, 0}, // the degrees' sign wins
        {3, 0, 0, true, 3, 0},
        {0, 7, 30, true, -0.125L, 0},
        {0, 7, 30, false, 0.125L, 0},
        {-0.0L, 30, 0, false, 0.5L, 0}, // at zero only the flag counts
        {0, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<double>(c.Deg) << " " << static_cast<double>(c.Min) << " "
                                        << static_cast<double>(c.Sec) << (c.Negative ? " negative" : ""));
        EXPECT_NEAR(ComposeDMS(c.Deg, c.Min, c.Sec, c.Negative), c.Expected, c.Tolerance);
    }
}

// What the dialog does with a stored position when it opens and is
// accepted: split for the spins, composed back with the stored sign.
TEST(ComposeDMS, StoredPositionsSurviveTheSplit)
{
    for (const long double stored : {-2.25L, -0.125L, -0.5L, 0.125L, 48.5125L}) {
        SCOPED_TRACE(static_cast<double>(stored));
        const Dms d = SplitDMS(stored);
        EXPECT_EQ(ComposeDMS(d.Degrees, d.Minutes, d.Seconds, std::signbit(stored)), stored);
    }
}

} // namespace
} // namespace orvela
