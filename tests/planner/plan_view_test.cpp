// The order of a plan's rows and the filters over them.
#include "planner/plan_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace orvela;
using namespace orvela::planner;

// Four targets and an unresolved entry; only Japan opens, at 07 UTC.
Plan Fixture()
{
    Plan plan;
    plan.Bands = {*AmateurBandNamed("20m")};
    const auto target = [](const char* name, const char* prefix, const char* continent, int cq) {
        Target t;
        t.Entry = prefix;
        t.Resolved = true;
        t.Name = name;
        t.Prefix = prefix;
        t.Continent = continent;
        t.CqZone = cq;
        return t;
    };
    Target unknown;
    unknown.Entry = "XX9ZZZ";
    unknown.Kind = TargetKind::CallSign;
    unknown.Problem = "no entity";
    plan.Targets = {target("Japan", "JA", "AS", 25), target("Canada", "VE", "NA", 5), unknown,
                    target("Germany", "DL", "EU", 14), target("Asiatic Russia", "UA9", "AS", 17)};
    const auto row = [](double km, double deg) {
        PlanRow r;
        r.DistanceKm = km;
        r.BearingDeg = deg;
        r.OpenHours = {0};
        return r;
    };
    plan.Rows = {row(9700, 35), row(5500, 300), row(0, 0), row(800, 60), row(4000, 50)};
    plan.Rows[0].Hours[7] = {TableCellClass::Usable, 0, 10, "10j2 "};
    plan.Rows[0].OpenHours = {1U << 7};
    plan.Rows[1].Hours[7] = {TableCellClass::Below, 0, -3, "-3n2s"};
    return plan;
}

TEST(VisibleRows, SortsByEachKeyUnresolvedLast)
{
    const Plan plan = Fixture();
    const struct {
        SortKey Key;
        std::vector<std::size_t> Rows;
    } cases[] = {
        {SortKey::Continent, {4, 0, 3, 1, 2}}, // AS (by name), EU, NA
        {SortKey::CqZone, {1, 3, 4, 0, 2}},    {SortKey::Distance, {3, 4, 1, 0, 2}},
        {SortKey::Bearing, {0, 4, 3, 1, 2}},   {SortKey::Name, {4, 1, 3, 0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SortKeyNames[static_cast<std::size_t>(c.Key)]);
        EXPECT_EQ(VisibleRows(plan, c.Key), c.Rows);
        EXPECT_EQ(SortKeyNamed(SortKeyNames[static_cast<std::size_t>(c.Key)]), c.Key);
    }
    EXPECT_FALSE(SortKeyNamed("Name"));
}

// A locator has no continent or zone: it follows the targets that have one
// in those orders, and keeps its place by distance.
TEST(VisibleRows, LocatorsAfterTargetsWithAContinentOrZone)
{
    Plan plan = Fixture();
    Target square;
    square.Entry = square.Name = "AA00";
    square.Kind = TargetKind::Locator;
    square.Resolved = true;
    plan.Targets.push_back(square);
    PlanRow row;
    row.DistanceKm = 100;
    row.OpenHours = {0};
    plan.Rows.push_back(row);
    EXPECT_EQ(VisibleRows(plan, SortKey::Continent), (std::vector<std::size_t>{4, 0, 3, 1, 5, 2}));
    EXPECT_EQ(VisibleRows(plan, SortKey::CqZone), (std::vector<std::size_t>{1, 3, 4, 0, 5, 2}));
    EXPECT_EQ(VisibleRows(plan, SortKey::Distance), (std::vector<std::size_t>{5, 3, 4, 1, 0, 2}));
}

// The search finds a name, a prefix or an entry in any case; "open now"
// keeps what opens at that hour (a red cell is not open).
TEST(VisibleRows, SearchAndOpenNow)
{
    const Plan plan = Fixture();
    const struct {
        const char* Search;
        int OpenAt; // -1: any
        std::vector<std::size_t> Rows;
    } cases[] = {
        {"", -1, {4, 1, 3, 0, 2}}, {"ja", -1, {0}}, {" RUSS ", -1, {4}}, {"ua9", -1, {4}},
        {"xx9", -1, {2}},          {"", 7, {0}},    {"", 8, {}},         {"canada", 7, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("search \"") + c.Search + "\" hour " + std::to_string(c.OpenAt));
        RowFilter filter;
        filter.Search = c.Search;
        if (c.OpenAt >= 0) {
            filter.OpenAtHour = c.OpenAt;
        }
        EXPECT_EQ(VisibleRows(plan, SortKey::Name, filter), c.Rows);
    }
}

} // namespace
