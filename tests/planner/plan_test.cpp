// The plan's cells, the hours they open and the row's sentence.
#include "planner/plan.h"
#include "tests/planner/country_fixture.h"

#include "engine/hour.h"
#include "tests/support/test_paths.h"

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

// Paris in December, a dipole at 100 W.
PlanInputs Paris()
{
    PlanInputs in;
    in.HomeLatDeg = orvela_test::Paris.Lat;
    in.HomeLonWestDeg = orvela_test::Paris.LonWestDeg;
    in.GainTable = Antenna::Dipole;
    in.Flux = 120;
    in.Date = {2026, 12, 11};
    return in;
}

std::uint32_t Mask(std::initializer_list<int> hours)
{
    std::uint32_t m = 0;
    for (const int h : hours) {
        m |= 1U << h;
    }
    return m;
}

// Each row is what a run towards its target alone gives on each band, for
// one band and for all of them, on either path: the same cells, distance
// and bearing. For all bands an hour shows the highest band whose cell the
// table colours as usable, or failing that the highest with a mode; a band
// is open exactly where its own cell is usable.
TEST(ComputePlan, RowsAreTheRunsTowardsEachTarget)
{
    int shownBelowStrongest = 0, openCells = 0, belowCells = 0;
    for (const bool longPath : {false, true}) {
        for (const bool allBands : {true, false}) {
            PlanInputs in = Paris();
            in.LongPath = longPath;
            if (!allBands) {
                in.Band = *AmateurBandNamed("20m");
            }
            std::vector<Target> targets = EntityTargets(Fixture());
            targets.push_back(ResolveEntry(&Fixture(), "XX9ZZZ"));
            const Plan plan = ComputePlan(in, targets, 2);
            ASSERT_EQ(plan.Rows.size(), targets.size());
            EXPECT_EQ(plan.Bands, PlanBands(in));
            EXPECT_EQ(plan.Bands.size(), allBands ? 9u : 1u);
            PlanRow none;
            none.OpenHours.assign(plan.Bands.size(), 0);
            EXPECT_EQ(plan.Rows.back(), none);

            Workspace ws;
            for (std::size_t i = 0; i + 1 < targets.size(); ++i) {
                SCOPED_TRACE(targets[i].Name + (longPath ? " long path" : "") + (allBands ? " all bands" : ""));
                const RunInput run = RunInputFor(in, targets[i]);
                Prediction full;
                ComputeMUF(run, ws, full);
                const PlanRow& row = plan.Rows[i];
                EXPECT_EQ(row.DistanceKm, full.Path.DistanceKm);
                EXPECT_EQ(row.BearingDeg, full.Path.AzimuthDeg);
                for (int h = 0; h < 24; ++h) {
                    int open = -1, withMode = -1, strongest = -1;
                    for (int b = 0; b < static_cast<int>(plan.Bands.size()); ++b) {
                        const BandResult r = ComputeBand(run, h, b + 1, ws);
                        const bool usable = r.HasPath && r.Text[0] != '-';
                        EXPECT_EQ((row.OpenHours[static_cast<std::size_t>(b)] >> h) & 1U, usable ? 1U : 0U);
                        open = usable ? b : open;
                        withMode = r.HasPath ? b : withMode;
                        if (usable && (strongest < 0 || r.LevelDb > ComputeBand(run, h, strongest + 1, ws).LevelDb)) {
                            strongest = b;
                        }
                    }
                    const int shown = open >= 0 ? open : withMode;
                    const PlanCell& cell = row.Hours[static_cast<std::size_t>(h)];
                    ASSERT_EQ(cell.Band, shown) << "hour " << h;
                    if (shown < 0) {
                        EXPECT_EQ(cell, PlanCell{});
                        continue;
                    }
                    const BandResult r = ComputeBand(run, h, shown + 1, ws);
                    EXPECT_EQ(cell.Text, r.Text);
                    EXPECT_EQ(cell.LevelDb, r.LevelDb);
                    EXPECT_EQ(cell.Class, open >= 0 ? TableCellClass::Usable : TableCellClass::Below);
                    EXPECT_EQ(OpenAt(row, h), open >= 0);
                    ++(open >= 0 ? openCells : belowCells);
                    shownBelowStrongest += strongest != open ? 1 : 0;
                }
            }
        }
    }
    EXPECT_GT(openCells, 100);
    EXPECT_GT(belowCells, 10);
    // The highest open band is not always the strongest: the rule matters.
    EXPECT_GT(shownBelowStrongest, 10);
}

// From Paris on a December night the low bands reach North America and
// the high bands stay shut; by day the high bands open to the sunlit south.
TEST(ComputePlan, FollowsDayAndNight)
{
    // New England, and South Africa by its locator.
    const Plan plan = ComputePlan(Paris(), EntryTargets(&Fixture(), {"W1ABC", "KG33"}), 1);
    const auto band = [&](const char* name) {
        for (std::size_t b = 0; b < plan.Bands.size(); ++b) {
            if (plan.Bands[b].Name == name) {
                return b;
            }
        }
        return plan.Bands.size();
    };
    const PlanRow& usa = plan.Rows[0];
    EXPECT_TRUE(usa.OpenHours[band("80 m")] & Mask({2, 3, 4}));
    EXPECT_TRUE(usa.OpenHours[band("40 m")] & Mask({2, 3, 4}));
    EXPECT_FALSE(usa.OpenHours[band("10 m")] & Mask({0, 1, 2, 3, 4}));
    const PlanRow& south = plan.Rows[1];
    EXPECT_TRUE(south.OpenHours[band("15 m")] & Mask({13, 14, 15, 16}));
    EXPECT_TRUE(south.OpenHours[band("10 m")] & Mask({13, 14, 15, 16}));
    EXPECT_FALSE(south.OpenHours[band("10 m")] & Mask({0, 1, 2, 3}));
}

// The best cell is the highest level among the open cells, the earliest of
// equals, and none when nothing opens.
TEST(ComputePlan, BestIsTheStrongestOpenCell)
{
    const Plan plan = ComputePlan(Paris(), EntityTargets(Fixture()), 2);
    int withBest = 0;
    for (const PlanRow& row : plan.Rows) {
        int best = -1;
        for (int h = 0; h < 24; ++h) {
            const PlanCell& c = row.Hours[static_cast<std::size_t>(h)];
            if (c.Class == OpenClass && (best < 0 || c.LevelDb > row.Hours[static_cast<std::size_t>(best)].LevelDb)) {
                best = h;
            }
        }
        EXPECT_EQ(row.BestHour, best);
        if (best >= 0) {
            ++withBest;
            EXPECT_EQ(row.BestLevelDb, row.Hours[static_cast<std::size_t>(best)].LevelDb);
        }
    }
    EXPECT_GT(withBest, 5);
}

// Once asked to stop, the plan gives up rather than answering.
TEST(ComputePlan, GivesUpWhenCancelled)
{
    const std::atomic<bool> cancel{true};
    EXPECT_THROW(ComputePlan(Paris(), EntityTargets(Fixture()), 2, &cancel), CancelledPlan);
}

TEST(HourRangesText, RangesOfWholeHoursOverMidnight)
{
    const struct {
        std::uint32_t Hours;
        const char* Text;
    } cases[] = {
        {0, ""},
        {Mask({5}), "05 UTC"},
        {Mask({6, 7, 8, 9}), "06\u201309 UTC"},
        {Mask({22, 23, 0, 1}), "22\u201301 UTC"},
        {Mask({0, 1, 14, 23}), "14, 23\u201301 UTC"},
        {Mask({0, 1, 2, 10, 11}), "00\u201302, 10\u201311 UTC"},
        {0xFFFFFFU & ~Mask({12}), "13\u201311 UTC"},
        {0xFFFFFFU, "all day"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HourRangesText(c.Hours), c.Text) << std::hex << c.Hours;
    }
}

// A small plan written by hand: the sentence says the target, its distance
// and bearing, each band's open hours and the best cell.
TEST(RowSentence, SaysWhenEachBandOpens)
{
    Plan plan;
    plan.In = Paris();
    plan.Bands = {*AmateurBandNamed("40m"), *AmateurBandNamed("20m")};
    Target japan;
    japan.Name = "Japan";
    japan.Entry = japan.Prefix = "JA";
    japan.Resolved = true;
    Target square;
    square.Entry = "jn18";
    square.Kind = TargetKind::Locator;
    square.Resolved = true;
    square.Name = "JN18";
    Target unknown;
    unknown.Entry = "XX9ZZZ";
    unknown.Kind = TargetKind::CallSign;
    unknown.Problem = "no entity has a prefix of XX9ZZZ";
    plan.Targets = {japan, japan, square, unknown};
    PlanRow open;
    open.DistanceKm = 9714.6L;
    open.BearingDeg = 34.7L;
    open.OpenHours = {Mask({22, 23, 0}), Mask({6, 7, 8, 9})};
    open.BestHour = 7;
    open.BestLevelDb = 10;
    open.Hours[7] = {TableCellClass::Usable, 1, 10, "10j2 "};
    PlanRow closed;
    closed.DistanceKm = 412.2L;
    closed.BearingDeg = 359.6L;
    closed.OpenHours = {0, 0};
    plan.Rows = {open, closed, closed, PlanRow{}};

    EXPECT_EQ(RowSentence(plan, 0), "Japan, JA, 9,710 km at 35\u00B0: 40 m open 22\u201300 UTC; 20 m open "
                                    "06\u201309 UTC, best 10 dB at 07 UTC on 20 m");
    EXPECT_EQ(RowSentence(plan, 1), "Japan, JA, 410 km at 0\u00B0: no band open");
    EXPECT_EQ(RowSentence(plan, 3), "XX9ZZZ: no entity has a prefix of XX9ZZZ");

    plan.Bands = {*AmateurBandNamed("20m")};
    plan.Rows[0].OpenHours = {Mask({6, 7, 8, 9})};
    plan.Rows[0].Hours[7].Band = 0;
    plan.Rows[2].OpenHours = {0};
    EXPECT_EQ(RowSentence(plan, 0), "Japan, JA, 9,710 km at 35\u00B0: 20 m open 06\u201309 UTC, best 10 dB at 07 UTC");
    EXPECT_EQ(RowSentence(plan, 2), "JN18, 410 km at 0\u00B0: 20 m not open");
}

} // namespace
