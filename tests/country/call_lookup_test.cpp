// A call sign to its entity, as contest loggers resolve it: exact calls,
// the longest prefix, the suffixes that say how a station works, a prefix
// before or after the call, a new call area, and the calls with no entity.
#include "country/call_lookup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvela::country;

const CountryFile& Fixture()
{
    static const CountryFile file = [] {
        CountryFileResult r = ReadCountryFile(std::string(ORVELA_COUNTRY_FIXTURES) + "/cty-small.dat");
        EXPECT_TRUE(r.File) << r.Problem;
        return r.File ? std::move(*r.File) : CountryFile();
    }();
    return file;
}

TEST(CallLookup, ResolvesAsContestLoggersDo)
{
    struct Case {
        const char* call;
        const char* name;
        int cq;
        const char* lookedUp;
        const char* matched;
    };
    const Case cases[] = {
        // The longest prefix.
        {"JA1ABC", "Japan", 25, "JA1ABC", "JA"},
        {"UA1ABC", "European Russia", 16, "UA1ABC", "UA"},
        {"UA0ABC", "Asiatic Russia", 17, "UA0ABC", "UA0"},
        {"UA0YAB", "Asiatic Russia", 23, "UA0YAB", "UA0Y"},
        {"VE7ABC", "Canada", 5, "VE7ABC", "VE"},
        {"VE2ABC", "Canada", 2, "VE2ABC", "VE2"},
        {"IT9ABC", "Sicily", 15, "IT9ABC", "IT9"},
        // Capitals or not, blanks around.
        {"  ja1abc\t", "Japan", 25, "JA1ABC", "JA"},
        // An exact call before any prefix, with '/' in it, and one that
        // belongs to the DXCC entity rather than to the WAE entity before it.
        {"3D2AB/P", "Rotuma Island", 32, "3D2AB/P", "=3D2AB/P"},
        {"3D2AB", "Fiji", 32, "3D2AB", "3D2"},
        {"ja1zzz/jd1", "Japan", 27, "JA1ZZZ/JD1", "=JA1ZZZ/JD1"},
        {"K1XYZ/MM", "United States of America", 5, "K1XYZ/MM", "=K1XYZ/MM"},
        {"4U1XYZ", "Austria", 15, "4U1XYZ", "=4U1XYZ"},
        // The ways of working are set aside; the exact call is then tried.
        {"JA1ABC/P", "Japan", 25, "JA1ABC", "JA"},
        {"JA1ABC/M", "Japan", 25, "JA1ABC", "JA"},
        {"JA1ABC/QRP", "Japan", 25, "JA1ABC", "JA"},
        {"JA1ABC/A", "Japan", 25, "JA1ABC", "JA"},
        {"JA1ABC/B", "Japan", 25, "JA1ABC", "JA"},
        {"JA1ABC/LH", "Japan", 25, "JA1ABC", "JA"},
        {"JA1ABC/J", "Japan", 25, "JA1ABC", "JA"},
        {"W1ABC/AE", "United States of America", 5, "W1ABC", "W"},
        {"3D2RX/P", "Rotuma Island", 32, "3D2RX", "=3D2RX"},
        // A prefix before or after the call: the shorter part.
        {"DL/W1ABC", "Germany", 14, "DL", "DL"},
        {"F/JA1ABC/P", "France", 14, "F", "F"},
        {"K1ABC/VP2E", "Anguilla", 8, "VP2E", "VP2E"},
        {"W1ABC/KH6", "Hawaii", 31, "KH6", "KH6"},
        {"JA1ABC/M/KH6", "Hawaii", 31, "KH6", "KH6"},
        {"VP2E/G4AB", "Anguilla", 8, "VP2E", "VP2E"}, // as long: the first
        // A new call area.
        {"W1ABC/6", "United States of America", 3, "W6ABC", "W6"},
        {"VE3XYZ/2", "Canada", 2, "VE2XYZ", "VE2"},
        {"VE2XYZ/3", "Canada", 4, "VE3XYZ", "VE3"},
        {"W6ABC/1", "United States of America", 5, "W1ABC", "W"},
        {"UA0YAB/3/P", "European Russia", 16, "UA3YAB", "UA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const CallLookup r = LookUpCall(Fixture(), c.call);
        ASSERT_TRUE(r.Found) << r.Problem;
        EXPECT_EQ(r.Problem, "");
        EXPECT_EQ(r.Found->Name, c.name);
        EXPECT_EQ(r.Found->CqZone, c.cq);
        EXPECT_EQ(r.Found->LookedUp, c.lookedUp);
        EXPECT_EQ(r.Found->Matched, c.matched);
        EXPECT_EQ(Fixture().Entities()[r.Found->Entity].Name, c.name);
    }
}

TEST(CallLookup, GivesTheAliasValuesWhereItHasThemAndTheEntityValuesElse)
{
    const CallLookup kc4 = LookUpCall(Fixture(), "KC4ABC");
    ASSERT_TRUE(kc4.Found) << kc4.Problem;
    const CallEntity& a = *kc4.Found;
    EXPECT_EQ(a.Name, "United States of America");
    EXPECT_EQ(a.PrimaryPrefix, "K");
    EXPECT_EQ(a.CqZone, 13);
    EXPECT_EQ(a.ItuZone, 74);
    EXPECT_EQ(a.Continent, "AN");
    EXPECT_DOUBLE_EQ(a.LatDeg, -77.85);
    EXPECT_DOUBLE_EQ(a.LonWestDeg, -166.67);
    EXPECT_DOUBLE_EQ(a.UtcOffsetHours, -12.0);

    // Zones only: the position and the rest are the entity's.
    const CallLookup w6 = LookUpCall(Fixture(), "W6XYZ");
    ASSERT_TRUE(w6.Found) << w6.Problem;
    EXPECT_EQ(w6.Found->ItuZone, 6);
    EXPECT_EQ(w6.Found->Continent, "NA");
    EXPECT_DOUBLE_EQ(w6.Found->LatDeg, 37.60);
    EXPECT_DOUBLE_EQ(w6.Found->LonWestDeg, 91.87);
    EXPECT_DOUBLE_EQ(w6.Found->UtcOffsetHours, 5.0);

    // The WAE marker is no part of the prefix given.
    const CallLookup sicily = LookUpCall(Fixture(), "IT9XYZ");
    ASSERT_TRUE(sicily.Found);
    EXPECT_EQ(sicily.Found->PrimaryPrefix, "IT9");
    EXPECT_TRUE(sicily.Found->WaeOnly);
    const CallLookup rotuma = LookUpCall(Fixture(), "3D2RX");
    ASSERT_TRUE(rotuma.Found);
    EXPECT_EQ(rotuma.Found->PrimaryPrefix, "3D2/r");
}

TEST(CallLookup, SaysWhyACallHasNoEntity)
{
    const struct {
        const char* call;
        const char* problem;
    } cases[] = {
        {"W1ABC/MM", "W1ABC/MM is maritime mobile: a station at sea has no DXCC entity"},
        {"g4abc/am", "G4ABC/AM is aeronautical mobile: a station in the air has no DXCC entity"},
        {"JA1ABC/P/MM", "JA1ABC/P/MM is maritime mobile: a station at sea has no DXCC entity"},
        {"Q1ABC", "No DXCC entity for Q1ABC: no prefix in the country file begins it"},
        {"XZ/W1ABC", "No DXCC entity for XZ/W1ABC: no prefix in the country file begins XZ"},
        {"JA1ZZZ/JD2", "No DXCC entity for JA1ZZZ/JD2: no prefix in the country file begins JD2"},
        {"Q1ABC/3", "No DXCC entity for Q1ABC/3: no prefix in the country file begins Q3ABC"},
        {"ABC/6", "ABC/6 is not a call sign: ABC has no call-area digit for 6 to replace"},
        {"DL/W1ABC/F",
         "DL/W1ABC/F is not a call sign: more than one part besides the call sign and the ways of working"},
        {"W1ABC//P", "W1ABC//P is not a call sign: a '/' with nothing on one side"},
        {"/W1ABC", "/W1ABC is not a call sign: a '/' with nothing on one side"},
        {"W1ABC/", "W1ABC/ is not a call sign: a '/' with nothing on one side"},
        {"", "No call sign was given"},
        {" \t ", "No call sign was given"},
        {"W1 ABC", "A call sign holds only letters, digits and '/'"},
        {"J\xC3\x84"
         "1ABC",
         "A call sign holds only letters, digits and '/'"},
        {"W1ABC\x1b[2J", "A call sign holds only letters, digits and '/'"},
        {"W1ABCDEFGHIJKLMNOPQRSTUVWXYZ/12345", "A call sign has at most 32 characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        const CallLookup r = LookUpCall(Fixture(), c.call);
        EXPECT_FALSE(r.Found);
        EXPECT_EQ(r.Problem, c.problem);
    }
}

} // namespace
