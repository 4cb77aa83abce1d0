// A plan written as CSV and JSON.
#include "planner/plan_export.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

using namespace orvela;
using namespace orvela::planner;

// Japan with a cell at 07 UTC (open) and 08 UTC (below the sensitivity),
// a locator with nothing, an entry that did not resolve.
Plan Fixture(bool allBands)
{
    Plan plan;
    plan.In.HomeLatDeg = 48.85L;
    plan.In.HomeLonWestDeg = -2.35L;
    plan.In.Flux = 120;
    plan.In.Date = {2026, 12, 11};
    if (!allBands) {
        plan.In.Band = *AmateurBandNamed("20m");
    }
    plan.Bands = PlanBands(plan.In);
    const int band = allBands ? 4 : 0;
    Target ja;
    ja.Entry = "JA1ABC";
    ja.Kind = TargetKind::CallSign;
    ja.Resolved = true;
    ja.Name = "Japan";
    ja.Prefix = "JA";
    ja.Continent = "AS";
    ja.CqZone = 25;
    ja.ItuZone = 45;
    ja.LatDeg = 36.4;
    ja.LonWestDeg = -138.38;
    Target jn18;
    jn18.Entry = jn18.Name = "JN18";
    jn18.Kind = TargetKind::Locator;
    jn18.Resolved = true;
    jn18.LatDeg = 48.5;
    jn18.LonWestDeg = -3;
    Target unknown;
    unknown.Entry = "XX9ZZZ";
    unknown.Kind = TargetKind::CallSign;
    unknown.Problem = "no entity, here";
    plan.Targets = {ja, jn18, unknown};
    PlanRow japan;
    japan.DistanceKm = 9714.6L;
    japan.BearingDeg = 34.7L;
    japan.Hours[7] = {TableCellClass::Usable, band, 10, "10j2 "};
    japan.Hours[8] = {TableCellClass::Below, band, 0, "-0j2s"};
    japan.OpenHours.assign(plan.Bands.size(), 0);
    japan.OpenHours[static_cast<std::size_t>(band)] = 1U << 7;
    japan.BestHour = 7;
    japan.BestLevelDb = 10;
    PlanRow square;
    square.DistanceKm = 41.2L;
    square.BearingDeg = 270;
    square.OpenHours.assign(plan.Bands.size(), 0);
    plan.Rows = {japan, square, PlanRow{}};
    return plan;
}

TEST(PlanCsv, HeadingThenOneLinePerRow)
{
    const std::string heading = "Station,F6XYZ\n"
                                "\"Station position\",\"48.85N 2.35E\"\n"
                                "Path,\"short path\"\n"
                                "Date,2026-12-11\n"
                                "Band,%\n"
                                "\"Solar flux (sfu)\",120.0\n"
                                "\"Power (dBW)\",20\n"
                                "\"Lowest take-off angle (degrees)\",10\n"
                                "Open,\"at or above the receiver's sensitivity\"\n"
                                "\n"
                                "entry,kind,name,prefix,continent,cq,itu,lat_deg,lon_west_deg,distance_km,bearing_deg,"
                                "best_db,best_hour,00,01,02,03,04,05,06,07,08,09,10,11,12,13,14,15,16,17,18,19,20,21,"
                                "22,23\n";
    const std::string empty15 = std::string(15, ',');
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "all bands" : "20 m");
        std::string expected = heading;
        expected.replace(expected.find('%'), 1, all ? "\"all bands\"" : "\"20 m\"");
        expected += "JA1ABC,call,Japan,JA,AS,25,45,36.40,-138.38,9715,35,10,07,,,,,,,," +
                    std::string(all ? "\"20 m 10\",\"20 m -0\"" : "10,-0") + empty15 + "\n";
        expected += "JN18,locator,JN18,,,,,48.50,-3.00,41,270,," + std::string(24, ',') + "\n";
        expected += "XX9ZZZ,call,\"no entity, here\"\n";
        EXPECT_EQ(PlanCsv(Fixture(all), {0, 1, 2}, {"F6XYZ"}), expected);
    }
    // Only the rows asked for, in their order.
    const std::string some = PlanCsv(Fixture(false), {2, 0}, {"F6XYZ"});
    EXPECT_LT(some.find("XX9ZZZ"), some.find("JA1ABC"));
    EXPECT_EQ(some.find("JN18"), std::string::npos);
}

TEST(PlanJson, OneObjectPerTarget)
{
    const nlohmann::json j = nlohmann::json::parse(PlanJson(Fixture(true), {0, 1, 2}, {"F6XYZ"}));
    EXPECT_EQ(j["station"], "F6XYZ");
    EXPECT_EQ(j["date"], "2026-12-11");
    EXPECT_EQ(j["band"], "all bands");
    EXPECT_EQ(j["flux"], 120.0);
    EXPECT_EQ(j["long_path"], false);
    const nlohmann::json& t = j["targets"];
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0]["entity"],
              nlohmann::json({{"name", "Japan"}, {"prefix", "JA"}, {"cq", 25}, {"itu", 45}, {"continent", "AS"}}));
    EXPECT_EQ(t[0]["distance_km"], 9714.6);
    EXPECT_EQ(t[0]["best"], nlohmann::json({{"hour", 7}, {"level_db", 10}}));
    ASSERT_EQ(t[0]["hours"].size(), 24u);
    EXPECT_EQ(t[0]["hours"][7],
              nlohmann::json({{"hour", 7}, {"class", "open"}, {"band", "20 m"}, {"level_db", 10}, {"text", "10j2 "}}));
    EXPECT_EQ(t[0]["hours"][8]["class"], "below");
    EXPECT_EQ(t[0]["hours"][9]["class"], "empty");
    EXPECT_TRUE(t[0]["hours"][9]["band"].is_null());
    EXPECT_TRUE(t[1]["entity"].is_null());
    EXPECT_TRUE(t[1]["best"].is_null());
    EXPECT_EQ(t[2], nlohmann::json({{"entry", "XX9ZZZ"}, {"kind", "call"}, {"problem", "no entity, here"}}));
}

} // namespace
