// orvela-plan as a user runs it: the same cells as orvela-predict gives for
// each target alone, its chart, CSV and JSON, its filters and its refusals.
#include "tests/cli/child_process.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;
using orvela::child::Outcome;
using orvela::child::Shown;

const std::string CountryFile = std::string(ORVELA_SOURCE_DIR) + "/tests/country/fixtures/cty-small.dat";

// Paris on 11 December 2026 with a dipole, the fixture's country file.
Outcome RunPlan(std::vector<std::string> args)
{
    std::vector<std::string> all{"--home", "48.85N,2.35E", "--date", "2026-12-11",     "--flux",
                                 "120",    "--antenna",    "dipole", "--country-file", CountryFile};
    all.insert(all.end(), args.begin(), args.end());
    return orvela::child::RunProgram(ORVELA_PLAN_PATH, std::move(all));
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Each target's cells are the cells of orvela-predict's table for that
// remote point alone, band by band, on either path; the distance and
// bearing are its path's.
TEST(OrvelaPlan, GivesWhatOrvelaPredictGivesForEachTarget)
{
    for (const bool longPath : {false, true}) {
        std::vector<std::string> args{"--band", "20m", "--targets", "JA1ABC,FN31,W1ABC/6", "--format", "json"};
        if (longPath) {
            args.push_back("--long-path");
        }
        const Outcome plan = RunPlan(args);
        ASSERT_EQ(plan.Status, 0) << plan.Err;
        const Json j = Json::parse(plan.Out);
        ASSERT_EQ(j["targets"].size(), 3u);
        for (const Json& t : j["targets"]) {
            SCOPED_TRACE(t["entry"].get<std::string>() + (longPath ? " long path" : ""));
            const double lat = t["lat_deg"], lonW = t["lon_west_deg"];
            std::ostringstream remote;
            remote.precision(17);
            remote << std::abs(lat) << (lat < 0 ? "S," : "N,") << std::abs(lonW) << (lonW < 0 ? "E" : "W");
            std::vector<std::string> predictArgs{"--home",     "48.85N,2.35E", "--remote", remote.str(), "--date",
                                                 "2026-12-11", "--flux",       "120",      "--antenna",  "dipole",
                                                 "--bands",    "ham",          "--format", "json"};
            if (longPath) {
                predictArgs.push_back("--long-path");
            }
            const Outcome one = orvela::child::RunProgram(ORVELA_PREDICT_PATH, predictArgs);
            ASSERT_EQ(one.Status, 0) << Shown(predictArgs) << ": " << one.Err;
            const Json p = Json::parse(one.Out);
            int row = -1;
            for (const Json& b : p["bands"]) {
                row = b["name"] == "20 m" ? b["row"].get<int>() : row;
            }
            ASSERT_GE(row, 0);
            for (int h = 0; h < 24; ++h) {
                EXPECT_EQ(t["hours"][h]["text"], p["grid"][row][h + 1]) << "hour " << h;
            }
            EXPECT_NEAR(t["distance_km"].get<double>(), p["path"]["distance_km"].get<double>(), 1e-9);
            EXPECT_NEAR(t["bearing_deg"].get<double>(), p["path"]["azimuth_deg"].get<double>(), 1e-9);
        }
    }
}

// The chart: a caption, a legend, the hours, one line per DXCC entity of
// the file with a character per hour.
TEST(OrvelaPlan, ChartsEveryEntity)
{
    const Outcome o = RunPlan({"--call", "F6XYZ"});
    ASSERT_EQ(o.Status, 0) << o.Err;
    EXPECT_EQ(o.Err, "");
    const std::vector<std::string> lines = LinesOf(o.Out);
    ASSERT_EQ(lines.size(), 3u + 15u);
    EXPECT_EQ(lines[0], "F6XYZ 48.85N 2.35E, 2026-12-11, all bands, flux 120, short path");
    EXPECT_NE(lines[1].find("8=80 m"), std::string::npos);
    EXPECT_NE(lines[2].find("00 03 06 09 12 15 18 21 UTC"), std::string::npos);
    const std::size_t hours = lines[2].find("00 03");
    for (std::size_t i = 3; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].size(), hours + 24) << lines[i];
        EXPECT_EQ(lines[i].substr(hours).find_first_not_of(".-864327510"), std::string::npos) << lines[i];
    }
    // Grouped by continent: Asia's two entities first.
    EXPECT_EQ(lines[3].rfind("Asiatic Russia", 0), 0u);
    EXPECT_EQ(lines[4].rfind("Japan", 0), 0u);
}

// A file of entries, an unknown call among them: CSV with a line per entry
// and the reason in place of the unknown one's cells; ordered by distance.
TEST(OrvelaPlan, TargetsFromAFileAsCsv)
{
    orvela_test::TempFile list("JA1ABC # Japan\nFN31\n\nXX9ZZZ, DL1ABC\n");
    const Outcome o = RunPlan({"--targets", list.Path(), "--format", "csv", "--sort", "distance"});
    ASSERT_EQ(o.Status, 0) << o.Err;
    const std::vector<std::string> lines = LinesOf(o.Out);
    ASSERT_EQ(lines.size(), 10u + 1u + 4u);
    EXPECT_EQ(lines[4], "Band,\"all bands\"");
    EXPECT_EQ(lines[11].rfind("DL1ABC,call,Germany,DL,EU,14,28,", 0), 0u) << lines[11];
    EXPECT_EQ(lines[12].rfind("FN31,locator,FN31,", 0), 0u) << lines[12];
    EXPECT_EQ(lines[13].rfind("JA1ABC,call,Japan,JA,AS,25,45,", 0), 0u) << lines[13];
    EXPECT_EQ(lines[14].rfind("XX9ZZZ,call,\"No DXCC entity for XX9ZZZ", 0), 0u) << lines[14];
}

// --hour keeps what is open at that hour, --search what holds the text.
TEST(OrvelaPlan, FiltersByHourAndSearch)
{
    const Outcome all = RunPlan({"--format", "json"});
    ASSERT_EQ(all.Status, 0) << all.Err;
    std::vector<std::string> openAt3;
    const Json allTargets = Json::parse(all.Out)["targets"];
    for (const Json& t : allTargets) {
        if (t["hours"][3]["class"] == "open") {
            openAt3.push_back(t["entry"]);
        }
    }
    ASSERT_FALSE(openAt3.empty());
    ASSERT_LT(openAt3.size(), 15u);
    const Outcome at3 = RunPlan({"--format", "json", "--hour", "3"});
    std::vector<std::string> listed;
    const Json at3Targets = Json::parse(at3.Out)["targets"];
    for (const Json& t : at3Targets) {
        listed.push_back(t["entry"]);
    }
    EXPECT_EQ(listed, openAt3);

    const Outcome russia = RunPlan({"--format", "json", "--search", "RUSSIA", "--sort", "name"});
    const Json r = Json::parse(russia.Out)["targets"];
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0]["entity"]["name"], "Asiatic Russia");
    EXPECT_EQ(r[1]["entity"]["name"], "European Russia");
}

TEST(OrvelaPlan, RefusesBadArgumentsInOneLine)
{
    const struct {
        std::vector<std::string> Args;
        const char* Says;
    } cases[] = {
        {{"--band", "70m"}, "--band: \"70m\" is not an amateur band"},
        {{"--hour", "24"}, "--hour: "},
        {{"--open-now", "--hour", "3"}, "exclude each other"},
        {{"--sort", "size"}, "--sort: "},
        {{"--format", "xml"}, "--format: "},
        {{"--targets", ""}, "--targets: "},
        {{"--targets", ", ,"}, "no call sign, prefix or locator"},
        {{"--long-path=false"}, "--long-path"},
        {{"--power", "1"}, "--power: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Shown(c.Args));
        orvela::child::ExpectRefusal(RunPlan(c.Args), "orvela-plan", c.Says);
    }
    orvela::child::ExpectRefusal(orvela::child::RunProgram(ORVELA_PLAN_PATH, {"--band", "20m"}), "orvela-plan",
                                 "--home is required");
    orvela::child::ExpectRefusal(
        orvela::child::RunProgram(ORVELA_PLAN_PATH, {"--home", "JN18", "--country-file", "/nonexistent/cty.dat"}),
        "orvela-plan", "/nonexistent/cty.dat");
}

} // namespace
