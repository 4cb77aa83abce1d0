// The targets of a plan: the entities of the country file, and the user's
// entries resolved to positions.
#include "planner/targets.h"
#include "tests/planner/country_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace orvela;
using namespace orvela::planner;

const country::CountryFile& Fixture()
{
    return orvela_test::SmallCountryFile();
}

// Every DXCC entity, in the file's order, with its own values; the entities
// that count only on the WAE list are not targets of their own.
TEST(EntityTargets, AreTheDxccEntitiesOfTheFile)
{
    const std::vector<Target> targets = EntityTargets(Fixture());
    std::vector<std::string> prefixes;
    for (const Target& t : targets) {
        prefixes.push_back(t.Prefix);
        EXPECT_TRUE(t.Resolved);
        EXPECT_EQ(t.Kind, TargetKind::Entity);
        EXPECT_EQ(t.Entry, t.Prefix);
    }
    EXPECT_EQ(prefixes, (std::vector<std::string>{"1A", "3D2", "3D2/r", "VE", "DL", "F", "G", "I", "JA", "K", "KH6",
                                                  "OE", "UA", "UA9", "VP2E"}));
    const Target& japan = targets[8];
    EXPECT_EQ(japan.Name, "Japan");
    EXPECT_EQ(japan.Continent, "AS");
    EXPECT_EQ(japan.CqZone, 25);
    EXPECT_EQ(japan.ItuZone, 45);
    EXPECT_DOUBLE_EQ(japan.LatDeg, 36.40);
    EXPECT_DOUBLE_EQ(japan.LonWestDeg, -138.38);
}

// Call signs and prefixes take the entity with the alias's own values;
// locators their square's or sub-square's centre; what resolves to nothing
// is kept with the reason.
TEST(ResolveEntry, CallsPrefixesLocatorsAndFailures)
{
    struct Case {
        const char* Entry;
        TargetKind Kind;
        bool Resolved;
        const char* Name;
        const char* Prefix;
        int Cq;
        double LatDeg;
        double LonWestDeg;
    };
    const Case cases[] = {
        {" JA1ABC ", TargetKind::CallSign, true, "Japan", "JA", 25, 36.40, -138.38},
        {"kh6", TargetKind::Prefix, true, "Hawaii", "KH6", 31, 21.12, 157.48},
        // The call-area digit moves the station to the 6 area's zone.
        {"W1ABC/6", TargetKind::CallSign, true, "United States of America", "K", 3, 37.60, 91.87},
        // An alias with a position of its own.
        {"JA1ZZZ/JD1", TargetKind::CallSign, true, "Japan", "JA", 27, 27.10, -142.20},
        {"jn18du", TargetKind::Locator, true, "JN18DU", "", 0, 48.854166, -2.291666},
        {"JN18", TargetKind::Locator, true, "JN18", "", 0, 48.5, -3.0},
        {"XX9ZZZ", TargetKind::CallSign, false, "", "", 0, 0, 0},
        {"W1ABC/MM", TargetKind::CallSign, false, "", "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Entry);
        const Target t = ResolveEntry(&Fixture(), c.Entry);
        EXPECT_EQ(t.Kind, c.Kind);
        EXPECT_EQ(t.Resolved, c.Resolved);
        EXPECT_EQ(t.Problem.empty(), c.Resolved) << t.Problem;
        EXPECT_EQ(t.Name, c.Name);
        EXPECT_EQ(t.Prefix, c.Prefix);
        EXPECT_EQ(t.CqZone, c.Cq);
        EXPECT_NEAR(t.LatDeg, c.LatDeg, 1e-5);
        EXPECT_NEAR(t.LonWestDeg, c.LonWestDeg, 1e-5);
        EXPECT_FALSE(t.Entry.empty());
        EXPECT_EQ(t.Entry.front() == ' ' || t.Entry.back() == ' ', false);
    }
    EXPECT_NE(ResolveEntry(&Fixture(), "W1ABC/MM").Problem.find("MM"), std::string::npos)
        << ResolveEntry(&Fixture(), "W1ABC/MM").Problem;

    // Without a country file only locators resolve.
    EXPECT_TRUE(ResolveEntry(nullptr, "JN18DU").Resolved);
    const Target call = ResolveEntry(nullptr, "JA1ABC");
    EXPECT_FALSE(call.Resolved);
    EXPECT_EQ(call.Entry, "JA1ABC");
    EXPECT_NE(call.Problem.find("country file"), std::string::npos);
}

// Entries as typed in a box or listed in a file, and each of them kept in
// its order, the ones that do not resolve too.
TEST(EntryTargets, SplitsAndKeepsEveryEntry)
{
    const std::vector<std::string> entries = SplitEntries("JA1ABC, kh6\r\nJN18  # the home square\n\n;XX9ZZZ,,\tF5ABC");
    EXPECT_EQ(entries, (std::vector<std::string>{"JA1ABC", "kh6", "JN18", "XX9ZZZ", "F5ABC"}));
    const std::vector<Target> targets = EntryTargets(&Fixture(), entries);
    ASSERT_EQ(targets.size(), 5u);
    EXPECT_EQ(targets[3].Entry, "XX9ZZZ");
    EXPECT_FALSE(targets[3].Resolved);
    EXPECT_EQ(targets[4].Name, "France");
}

} // namespace
