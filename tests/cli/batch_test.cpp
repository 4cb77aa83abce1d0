// orvela-predict --batch as a user runs it: a file or standard input of
// JSON Lines, one output line per input line.
#include "tests/cli/child_process.h"
#include "engine/table_export.h"
#include "tests/support/http_test_server.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Json = nlohmann::json;
using orvela::child::Outcome;
using orvela::solar::testing::HttpTestServer;
using orvela::solar::testing::Reply;
using orvela_test::Lines;
using orvela_test::TempFile;
using orvela_test::With;

Outcome RunPredict(std::vector<std::string> args, const char* stdinFile = nullptr)
{
    return orvela::child::RunProgram(ORVELA_PREDICT_PATH, std::move(args), nullptr, stdinFile);
}

// A batch with bad lines in it, run on two threads: it ends with status 2
// and says nothing on stderr, each error being a line of the output. Gives
// the output's lines.
std::vector<std::string> FailingBatchLines(const TempFile& input)
{
    const Outcome o = RunPredict({"--batch", input.Path(), "--threads", "2"});
    EXPECT_EQ(o.Status, 2);
    EXPECT_EQ(o.Err, "");
    return Lines(o.Out);
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines) {
        text += l + "\n";
    }
    return text;
}

// A batch line and the options of the same prediction on the command line.
struct SameRun {
    std::string Line;
    std::vector<std::string> Args;
};

// Every key, values as strings and as numbers, a locator, the long path,
// each antenna and display, a coincident point, a pole, and a call sign
// that JSON has to escape.
const std::vector<SameRun>& Runs()
{
    static const std::vector<SameRun> runs = {
        {R"({"home": "48.85N,2.35E", "remote": "40.71N,74.01W", "date": "2024-06-21"})",
         {"--home", "48.85N,2.35E", "--remote", "40.71N,74.01W", "--date", "2024-06-21"}},
        {R"({"home": "JN18DU", "remote": "35N,139E", "flux": 150.55, "power": 200, "min-angle": 5, "long-path": true,)"
         R"( "antenna": "yagi", "display": "best", "bands": "ham", "date": "2024-12-01", "call": "F6XYZ"})",
         {"--home", "JN18DU",      "--remote", "35N,139E",    "--flux",     "150.55", "--power",
          "200",    "--min-angle", "5",        "--long-path", "--antenna",  "yagi",   "--display",
          "best",   "--bands",     "ham",      "--date",      "2024-12-01", "--call", "F6XYZ"}},
        {R"({"remote": "33.9S,151.2E", "home": "51.5N,0.12W", "flux": "72", "power": "100", "min-angle": "0",)"
         R"( "long-path": false, "antenna": "isotropic", "display": "angle", "date": "2025-03-20"})",
         {"--home", "51.5N,0.12W", "--remote", "33.9S,151.2E", "--flux", "72", "--power", "100", "--min-angle", "0",
          "--antenna", "isotropic", "--display", "angle", "--date", "2025-03-20"}},
        {R"({"home": "10N,10E", "remote": "10N,10E", "display": "delay", "antenna": "dipole", "date": "2024-01-01",)"
         R"( "call": "\u00d8Z \"1\"\\"})",
         {"--home", "10N,10E", "--remote", "10N,10E", "--display", "delay", "--antenna", "dipole", "--date",
          "2024-01-01", "--call", "\xc3\x98Z \"1\"\\"}},
        {R"({"home": "90N,0E", "remote": "45S,120W", "flux": 500, "min-angle": 89, "date": "2024-09-09"})",
         {"--home", "90N,0E", "--remote", "45S,120W", "--flux", "500", "--min-angle", "89", "--date", "2024-09-09"}},
        {R"({"home": "45N,0E", "remote": "45N,90W", "flux": 1.2e2, "date": "2024-06-21"})",
         {"--home", "45N,0E", "--remote", "45N,90W", "--flux", "120", "--date", "2024-06-21"}},
    };
    return runs;
}

std::vector<std::string> RunLines()
{
    std::vector<std::string> lines;
    for (const SameRun& r : Runs()) {
        lines.push_back(r.Line);
    }
    return lines;
}

// Each output line is the single run's JSON object with "line" first, under
// one thread and two, from a file and from standard input; the CSV records
// are the single run's rows behind the line and row numbers.
TEST(Batch, EachLineIsItsSingleRun)
{
    const TempFile input(Joined(RunLines()));
    std::vector<Json> singles;
    std::string csv;
    int empty = 0;
    for (std::size_t i = 0; i < Runs().size(); ++i) {
        const Outcome json = RunPredict(With(Runs()[i].Args, {"--format", "json"}));
        ASSERT_EQ(json.Status, 0) << json.Err;
        singles.push_back(Json::parse(json.Out));
        const Outcome rows = RunPredict(With(Runs()[i].Args, {"--format", "csv"}));
        ASSERT_EQ(rows.Status, 0) << rows.Err;
        std::vector<std::string> records = Lines(rows.Out);
        // A run that fills no cell ends in "# " and why; the batch gives
        // the reason a record of its own.
        std::string why;
        if (!records.empty() && records.back().rfind("# ", 0) == 0) {
            why = records.back().substr(2);
            records.pop_back();
            ++empty;
        }
        ASSERT_EQ(records.size(), 19u);
        for (std::size_t r = 0; r < records.size(); ++r) {
            csv += std::to_string(i + 1) + "," + std::to_string(r) + "," + records[r] + "\n";
        }
        if (!why.empty()) {
            csv += std::to_string(i + 1) + ",empty," + orvela::CsvField(why) + "\n";
        }
    }
    EXPECT_EQ(empty, 1) << "the pole at a take-off angle of 89 degrees reaches no receiver";

    for (const char* threads : {"1", "2"}) {
        SCOPED_TRACE(std::string(threads) + " threads");
        const Outcome o = RunPredict({"--batch", input.Path(), "--threads", threads});
        ASSERT_EQ(o.Status, 0) << o.Err;
        EXPECT_EQ(o.Err, "");
        const std::vector<std::string> out = Lines(o.Out);
        ASSERT_EQ(out.size(), singles.size());
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::string first = "{\"line\":" + std::to_string(i + 1) + ",";
            EXPECT_EQ(out[i].rfind(first, 0), 0u) << out[i].substr(0, 40);
            Json j = Json::parse(out[i]);
            j.erase("line");
            EXPECT_EQ(j, singles[i]) << Runs()[i].Line;
        }
        const Outcome stdinRun = RunPredict({"--batch", "-", "--threads", threads}, input.CPath());
        EXPECT_EQ(stdinRun.Status, 0);
        EXPECT_EQ(stdinRun.Out, o.Out);

        const Outcome rows = RunPredict({"--batch", input.Path(), "--format", "csv", "--threads", threads});
        EXPECT_EQ(rows.Status, 0) << rows.Err;
        EXPECT_EQ(rows.Out, csv);
    }
}

// Hundreds of lines go through in chunks; whatever the threads, the outputs
// come in the order of the input, each with its own line number.
TEST(Batch, ManyChunksKeepTheInputOrder)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) {
        lines.push_back(R"({"home": "48.85N,2.35E", "remote": ")" + std::to_string(i % 90) + "N," +
                        std::to_string(i % 180) + R"(W", "power": )" + std::to_string(5 + i) +
                        R"(, "date": "2024-06-21"})");
    }
    const TempFile input(Joined(lines));
    const Outcome one = RunPredict({"--batch", input.Path(), "--threads", "1"});
    ASSERT_EQ(one.Status, 0) << one.Err;
    const std::vector<std::string> out = Lines(one.Out);
    ASSERT_EQ(out.size(), lines.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Json j = Json::parse(out[i]);
        ASSERT_EQ(j["line"], i + 1);
        ASSERT_EQ(j["h2"][3], "Power (dbW) : " + std::to_string(5 + i) + " dBW");
    }
    EXPECT_EQ(RunPredict({"--batch", input.Path(), "--threads", "2"}).Out, one.Out);
}

const std::string Good = R"({"home": "45N,0E", "remote": "45N,90W", "date": "2024-06-21"})";

// A line without a power is a station of 100 W, as on the command line.
TEST(Batch, ALineWithoutAPowerIsTwentyDbw)
{
    const TempFile input(Good + "\n");
    const Outcome o = RunPredict({"--batch", input.Path()});
    ASSERT_EQ(o.Status, 0) << o.Err;
    EXPECT_EQ(Json::parse(o.Out)["h2"][3], "Power (dbW) : 20 dBW");
}

// A bad line gives its line number and why, in JSON and in CSV, and the
// next line still runs; blank lines give nothing but count. A value the
// command line refuses is refused in the same words.
TEST(Batch, ABadLineSaysWhyAndTheNextLineRuns)
{
    struct Bad {
        std::string Line;
        std::string Says;
    };
    std::vector<Bad> bad = {
        {"not json", "not a JSON object: parse error at line 1, column 2: syntax error while parsing value - "
                     "invalid literal; last read: 'no'"},
        {"[1, 2]", "not a JSON object of options"},
        {R"({"home": "45N,0E", "remote": "45N,90W", "format": "csv"})",
         "unknown key \"format\"; the keys are home, remote, remote_call, flux, power, min-angle, long-path, "
         "antenna, display, bands, date and call"},
        {R"({"home": "45N,0E", "remote": "45N,90W", "bands": "cb"})",
         "--bands: \"cb\" is not a choice; expected fixed or ham"},
        {R"({"home": "45N,0E", "remote": "45N,90W", "home": "1N,1E"})", "\"home\" is given more than once"},
        {R"({"home": 45, "remote": "45N,90W"})", "\"home\": expected a string"},
        {R"({"home": "45N,0E", "remote": "45N,90W", "power": true})", "\"power\": expected a number or a string"},
        {R"({"home": "45N,0E", "remote": "45N,90W", "long-path": "yes"})", "\"long-path\": expected true or false"},
        {R"({"call": ")" + std::string(70000, 'x') + "\"}", "the line is longer than 65536 bytes"},
    };
    const std::vector<std::string> home = {"--home", "45N,0E", "--remote", "45N,90W"};
    const SameRun refusedAlike[] = {
        {R"({"home": "45N,0E"})", {"--home", "45N,0E"}},
        {R"({"home": "45N,0E", "remote": "45N,90W", "power": 4})", With(home, {"--power", "4"})},
        {R"({"home": "45N,0E", "remote": "45N,90W", "flux": -3})", With(home, {"--flux=-3"})},
        {R"({"home": "45N,0E", "remote": "45N,90W", "min-angle": 10.5})", With(home, {"--min-angle", "10.5"})},
        {R"({"home": "45N,0E", "remote": "45N,90W", "date": "2023-02-29"})", With(home, {"--date", "2023-02-29"})},
        {R"({"home": "45N,0E", "remote": "45N,90W", "antenna": "loop"})", With(home, {"--antenna", "loop"})},
        {R"({"home": "JS18DU", "remote": "45N,90W"})", {"--home", "JS18DU", "--remote", "45N,90W"}},
    };
    for (const SameRun& r : refusedAlike) {
        const Outcome single = RunPredict(r.Args);
        ASSERT_EQ(single.Status, 2);
        const std::string prefix = "orvela-predict: ";
        ASSERT_EQ(single.Err.rfind(prefix, 0), 0u);
        bad.push_back({r.Line, single.Err.substr(prefix.size(), single.Err.size() - prefix.size() - 1)});
    }

    // good, then each bad line followed by a blank one and a good one.
    std::vector<std::string> lines = {Good};
    const char* const blanks[] = {"", "  \t", "\r"};
    for (std::size_t i = 0; i < bad.size(); ++i) {
        lines.push_back(bad[i].Line);
        lines.push_back(blanks[i % 3]);
        lines.push_back(Good);
    }
    const TempFile input(Joined(lines));
    const std::vector<std::string> out = FailingBatchLines(input);
    ASSERT_EQ(out.size(), 1 + 2 * bad.size());
    EXPECT_TRUE(Json::parse(out[0]).contains("grid"));
    for (std::size_t i = 0; i < bad.size(); ++i) {
        const std::size_t badLine = 2 + 3 * i; // 1-based, blank lines counted
        const Json error = Json::parse(out[1 + 2 * i]);
        EXPECT_EQ(error, Json({{"line", badLine}, {"error", bad[i].Says}})) << bad[i].Line.substr(0, 80);
        const Json next = Json::parse(out[2 + 2 * i]);
        EXPECT_EQ(next["line"], badLine + 2);
        EXPECT_TRUE(next.contains("grid"));
    }

    const Outcome csv = RunPredict({"--batch", input.Path(), "--format", "csv"});
    EXPECT_EQ(csv.Status, 2);
    const std::vector<std::string> records = Lines(csv.Out);
    ASSERT_EQ(records.size(), 19 + bad.size() * (1 + 19));
    EXPECT_EQ(records[19], "2,error,\"" + bad[0].Says + "\"");
    EXPECT_EQ(records[20].rfind("4,0,", 0), 0u);
}

// Hostile lines, all in one batch: numbers beyond a double, numbers far
// outside their option's range either way, fractions where a whole number
// is due, JSON's missing numbers, nesting thousands deep, and call signs
// with control characters. Each line gets its own error, and the good line
// after them still runs.
TEST(Batch, HostileLinesEachGetTheirOwnError)
{
    const std::string path = R"({"home": "48.85N,2.35E", "remote": "40N,74W", )";
    const std::string flux = "the solar flux is 1 to 500 sfu";
    const std::string power = "the power is 5 to 2500 dBW";
    const std::string angle = "the minimum take-off angle is 0 to 90 degrees";
    const struct {
        std::string Line;
        std::string Says; // the start of the line's error
    } cases[] = {
        {path + R"("flux": 1e309})", "a number is too large: number overflow parsing '1e309'"},
        {path + R"("flux": -1e309})", "a number is too large: number overflow parsing '-1e309'"},
        {path + R"("power": 1)" + std::string(400, '0') + "}", "a number is too large: number overflow parsing '1000"},
        {path + R"("flux": 1e308})", "--flux: \"1e+308\" is out of range: " + flux},
        {path + R"("flux": -1e308})", "--flux: \"-1e+308\" is out of range: " + flux},
        {path + R"("flux": 5e-324})", "--flux: \"5e-324\" is out of range: " + flux},
        {path + R"("flux": -0.0})", "--flux: \"-0\" is out of range: " + flux},
        {path + R"("flux": 18446744073709551616})", "--flux: \"18446744073709551616\" is out of range: " + flux},
        {path + R"("power": 18446744073709551616})", "--power: \"18446744073709551616\" is out of range: " + power},
        {path + R"("power": 18446744073709551615})", "--power: \"18446744073709551615\" is out of range: " + power},
        {path + R"("power": 1e20})", "--power: \"1e+20\" is out of range: " + power},
        {path + R"("power": -1e308})", "--power: \"-1e+308\" is out of range: " + power},
        {path + R"("power": 4294967401})", "--power: \"4294967401\" is out of range: " + power}, // 105 in 32 bits
        {path + R"("power": "99999999999999999999999"})",
         "--power: \"99999999999999999999999\" is out of range: " + power},
        {path + R"("power": 100.5})", "--power: \"100.5\" is not a whole number; " + power},
        {path + R"("min-angle": -9223372036854775809})",
         "--min-angle: \"-9223372036854775808\" is out of range: " + angle},
        {path + R"("min-angle": -9223372036854775808})",
         "--min-angle: \"-9223372036854775808\" is out of range: " + angle},
        {path + R"("min-angle": -1})", "--min-angle: \"-1\" is out of range: " + angle},
        {path + R"("min-angle": 1e-7})", "--min-angle: \"0.0000001\" is not a whole number; " + angle},
        {path + R"("min-angle": 5e-324})", "--min-angle: \"5e-324\" is not a whole number; " + angle},
        {path + R"("flux": NaN})", "not a JSON object: parse error"},
        {path + R"("flux": Infinity})", "not a JSON object: parse error"},
        {path + R"("flux": 1e})", "not a JSON object: parse error"},
        {std::string(60000, '['), "not a JSON object: parse error"},
        {path + R"("call": )" + std::string(20000, '[') + std::string(20000, ']') + "}", "\"call\": expected a string"},
        {path + R"("call": "F6\u001b[31mXYZ"})",
         "--call: the call sign holds the control character U+001B (escape) at character 3"},
        {path + R"("call": "F6XYZ\u009b"})",
         "--call: the call sign holds the control character U+009B (control sequence introducer) at character 6"},
        {path + R"("call": "\u2066F6XYZ"})",
         "--call: the call sign holds the text-direction control U+2066 (left-to-right isolate) at character 1"},
        {path + R"("call": "F6\ud800"})", "not a JSON object: parse error"},
    };
    std::vector<std::string> lines;
    for (const auto& c : cases) {
        lines.push_back(c.Line);
    }
    lines.push_back(Good);
    const TempFile input(Joined(lines));
    const std::vector<std::string> out = FailingBatchLines(input);
    ASSERT_EQ(out.size(), lines.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].Line.substr(0, 100));
        const Json error = Json::parse(out[i]);
        EXPECT_EQ(error["line"], i + 1);
        ASSERT_TRUE(error["error"].is_string()) << out[i];
        EXPECT_EQ(error["error"].get<std::string>().rfind(cases[i].Says, 0), 0u) << error["error"];
    }
    const Json last = Json::parse(out.back());
    EXPECT_EQ(last["line"], lines.size());
    EXPECT_TRUE(last.contains("grid"));
}

TEST(Batch, EmptyOrBlankInputGivesNoOutput)
{
    for (const char* content : {"", "\n \n\r\n"}) {
        const TempFile input(content);
        for (const Outcome& o : {RunPredict({"--batch", input.Path()}), RunPredict({"--batch", "-"}, input.CPath())}) {
            EXPECT_EQ(o.Status, 0);
            EXPECT_EQ(o.Out, "");
            EXPECT_EQ(o.Err, "");
        }
    }
}

TEST(Batch, RefusedBeforeAnyLine)
{
    const TempFile input(Good + "\n");
    const std::string missing = input.Path() + ".missing";
    const struct {
        std::vector<std::string> Args;
        std::string Says;
    } cases[] = {
        {{"--batch", missing}, "cannot read " + missing + ": No such file or directory"},
        {{"--batch", "/tmp"}, "cannot read /tmp: it is a directory"},
        {{"--batch", input.Path(), "--home", "45N,0E"}, "--home is given on each line of the batch, not with --batch"},
        {{"--batch", input.Path(), "--long-path"}, "--long-path is given on each line of the batch"},
        {{"--batch", input.Path(), "--format", "text"}, "--batch writes json or csv, not text"},
        {{"--batch", input.Path(), "--threads", "2000"}, "--threads: \"2000\" is out of range"},
        {{"--home", "45N,0E", "--remote", "45N,90W", "--threads", "2"}, "--threads is only used with --batch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(orvela::child::Shown(c.Args));
        orvela::child::ExpectRefusal(RunPredict(c.Args), "orvela-predict", c.Says);
    }
}

TEST(Batch, OutputThatCannotBeWrittenIsExitOne)
{
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full to write to";
    }
    const TempFile input(Good + "\n");
    const Outcome o = orvela::child::RunProgram(ORVELA_PREDICT_PATH, {"--batch", input.Path()}, "/dev/full");
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Err, "orvela-predict: cannot write the output\n");
}

const char* const Bulletin = ":Product: Geophysical Alert Message wwv.txt\n"
                             ":Issued: 2026 Dec 10 0305 UTC\n"
                             "Solar flux 142 and estimated planetary A-index 5.\n";

// The lines that ask for the day's flux share one download; a line with a
// flux of its own does not use it.
TEST(Batch, FluxAutoDownloadsTheBulletinOnce)
{
    HttpTestServer server(Reply(200, Bulletin));
    const std::string url = server.Url("/text/wwv.txt");
    const std::string autoLine = R"({"home": "45N,0E", "remote": "45N,90W", "flux": "auto"})"; // today
    const std::string ownLine = R"({"home": "45N,0E", "remote": "45N,90W", "flux": 80, "date": "2024-06-21"})";
    const TempFile input(Joined({ownLine, autoLine, autoLine, ownLine, autoLine}));

    const Outcome o = RunPredict({"--batch", input.Path(), "--flux-url", url, "--threads", "2"});
    ASSERT_EQ(o.Status, 0) << o.Err;
    EXPECT_EQ(server.Requests().size(), 1u);
    const Outcome single = RunPredict(
        {"--home", "45N,0E", "--remote", "45N,90W", "--flux", "auto", "--flux-url", url, "--format", "json"});
    ASSERT_EQ(single.Status, 0) << single.Err;
    const std::vector<std::string> out = Lines(o.Out);
    ASSERT_EQ(out.size(), 5u);
    for (const int i : {1, 2, 4}) {
        Json j = Json::parse(out[i]);
        j.erase("line");
        EXPECT_EQ(j, Json::parse(single.Out));
    }
    for (const int i : {0, 3}) {
        const Json j = Json::parse(out[i]);
        EXPECT_FALSE(j.contains("solar"));
        EXPECT_EQ(j["h2"][0], "Solar flux at 10.7cm : 80.0");
    }

    const TempFile noAuto(ownLine + "\n");
    EXPECT_EQ(RunPredict({"--batch", noAuto.Path(), "--flux-url", url}).Status, 0);
    EXPECT_EQ(server.Requests().size(), 2u); // the single run's, no more
}

} // namespace
