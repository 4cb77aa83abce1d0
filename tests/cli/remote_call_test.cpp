// orvela-predict --remote-call and the batch key "remote_call": the remote
// point from a call sign or prefix, looked up in a small country file of the
// real format.
#include "tests/cli/child_process.h"
#include "tests/support/test_files.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;
using orvela::child::Outcome;
using orvela_test::ParisText;

const std::string CountryFixture = std::string(ORVELA_SOURCE_DIR) + "/tests/country/fixtures/cty-small.dat";

Outcome RunPredict(std::vector<std::string> args)
{
    return orvela::child::RunProgram(ORVELA_PREDICT_PATH, std::move(args));
}

Outcome PredictCall(const std::string& call, const std::string& format)
{
    return RunPredict({"--home", ParisText, "--remote-call", call, "--country-file", CountryFixture, "--date",
                       "2026-12-10", "--format", format});
}

TEST(RemoteCall, JsonNamesTheEntityAndUsesTheFilesPosition)
{
    struct Case {
        const char* Call;
        const char* Name;
        const char* Prefix;
        int Cq, Itu;
        const char* Continent;
        double LatDeg, LonWestDeg;
    };
    const Case cases[] = {
        {"JA1ABC", "Japan", "JA", 25, 45, "AS", 36.40, -138.38},
        {"ja", "Japan", "JA", 25, 45, "AS", 36.40, -138.38},
        {"JA1ABC/P", "Japan", "JA", 25, 45, "AS", 36.40, -138.38},
        // An exact call with its own zone and position.
        {"JA1ZZZ/JD1", "Japan", "JA", 27, 45, "AS", 27.10, -142.20},
        // A call-area digit: the prefix's zones, the entity's position.
        {"W1ABC/6", "United States of America", "K", 3, 6, "NA", 37.60, 91.87},
        // Every override of an alias.
        {"UA0YAB", "Asiatic Russia", "UA9", 23, 32, "AS", 51.70, -94.40},
        // A WAE entity: its prefix without the marker.
        {"IT9XYZ", "Sicily", "IT9", 15, 28, "EU", 37.50, -14.00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Call);
        const Outcome o = PredictCall(c.Call, "json");
        ASSERT_EQ(o.Status, 0) << o.Err;
        const Json remote = Json::parse(o.Out).at("remote");
        EXPECT_EQ(remote.at("lat_deg").get<double>(), c.LatDeg);
        EXPECT_EQ(remote.at("lon_deg").get<double>(), c.LonWestDeg);
        const Json& e = remote.at("entity");
        EXPECT_EQ(e.at("name"), c.Name);
        EXPECT_EQ(e.at("prefix"), c.Prefix);
        EXPECT_EQ(e.at("cq"), c.Cq);
        EXPECT_EQ(e.at("itu"), c.Itu);
        EXPECT_EQ(e.at("continent"), c.Continent);
    }
}

TEST(RemoteCall, PredictsAsThePositionItGives)
{
    const Outcome byCall = PredictCall("JA1ABC", "json");
    const Outcome byPosition =
        RunPredict({"--home", ParisText, "--remote", "36.40N,138.38E", "--date", "2026-12-10", "--format", "json"});
    ASSERT_EQ(byCall.Status, 0) << byCall.Err;
    ASSERT_EQ(byPosition.Status, 0) << byPosition.Err;
    Json a = Json::parse(byCall.Out);
    const Json b = Json::parse(byPosition.Out);
    EXPECT_FALSE(b.at("remote").contains("entity"));
    a.at("remote").erase("entity");
    EXPECT_EQ(a, b);
}

TEST(RemoteCall, TextAndCsvNameTheEntity)
{
    const std::string line = "Remote point: Japan (JA), CQ zone 25, ITU zone 45, AS\n";
    const Outcome text = PredictCall("JA1ABC", "text");
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_TRUE(text.Out.ends_with(line)) << text.Out;
    const Outcome csv = PredictCall("JA1ABC", "csv");
    ASSERT_EQ(csv.Status, 0) << csv.Err;
    const std::vector<std::string> lines = orvela_test::Lines(csv.Out);
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines[19] + "\n", "# " + line);
}

TEST(RemoteCall, RefusalsAreOneLineWithStatusTwo)
{
    struct Case {
        std::vector<std::string> Args;
        const char* Says;
    };
    const Case cases[] = {
        {{"--remote-call", "K1ABC/MM", "--country-file", CountryFixture}, "maritime mobile"},
        {{"--remote-call", "XX9ABC", "--country-file", CountryFixture}, "No DXCC entity for XX9ABC"},
        {{"--remote-call", "JA1ABC", "--country-file", "/nonexistent/cty.dat"}, "/nonexistent/cty.dat"},
        {{"--remote-call", "JA1ABC", "--remote", "FN31"}, "give one of them"},
        {{"--remote", "FN31", "--country-file", CountryFixture}, "only used with --remote-call"},
        {{"--remote-call", ""}, "expected a call sign"},
        {{}, "--remote is required"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--home", ParisText};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        SCOPED_TRACE(c.Says);
        const Outcome o = RunPredict(args);
        EXPECT_EQ(o.Status, 2);
        EXPECT_TRUE(o.Out.empty());
        EXPECT_NE(o.Err.find(c.Says), std::string::npos) << o.Err;
        EXPECT_EQ(o.Err.find('\n'), o.Err.size() - 1) << o.Err;
    }
}

TEST(RemoteCall, BatchLinesTakeRemoteCall)
{
    const orvela_test::TempFile batch("{\"home\": \"JN18DU\", \"remote_call\": \"JA1ABC\", \"date\": \"2026-12-10\"}\n"
                                      "{\"home\": \"JN18DU\", \"remote_call\": \"XX9ABC\"}\n"
                                      "{\"home\": \"JN18DU\", \"remote\": \"FN31\", \"date\": \"2026-12-10\"}\n"
                                      "{\"home\": \"JN18DU\", \"remote-call\": \"JA1ABC\"}\n");
    const Outcome json = RunPredict({"--batch", batch.Path(), "--country-file", CountryFixture});
    EXPECT_EQ(json.Status, 2);
    const std::vector<std::string> lines = orvela_test::Lines(json.Out);
    ASSERT_EQ(lines.size(), 4u) << json.Out;
    EXPECT_EQ(Json::parse(lines[0]).at("remote").at("entity").at("name"), "Japan");
    EXPECT_NE(Json::parse(lines[1]).at("error").get<std::string>().find("No DXCC entity"), std::string::npos);
    EXPECT_FALSE(Json::parse(lines[2]).at("remote").contains("entity"));
    EXPECT_NE(Json::parse(lines[3]).at("error").get<std::string>().find("unknown key"), std::string::npos);

    const Outcome csv = RunPredict({"--batch", batch.Path(), "--country-file", CountryFixture, "--format", "csv"});
    EXPECT_NE(csv.Out.find("\n1,entity,Japan,JA,25,45,AS\n"), std::string::npos) << csv.Out;
}

} // namespace
