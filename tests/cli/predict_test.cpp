// orvela-predict as a user runs it: a child process, its output streams and
// its exit status.
#include "tests/cli/child_process.h"
#include "tests/support/http_test_server.h"
#include "station/locator.h"
#include "cli/render.h"
#include "tests/support/test_paths.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <ctime>
#include <poll.h>
#include <pty.h>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Json = nlohmann::json;
using orvela_test::Lines;
using orvela_test::With;

using orvela_test::NewYorkText;
using orvela_test::ParisText;

using orvela::child::Argv;
using orvela::child::ExitStatus;
using orvela::child::Outcome;
using orvela::child::Shown;

Outcome RunPredict(std::vector<std::string> args)
{
    return orvela::child::RunProgram(ORVELA_PREDICT_PATH, std::move(args));
}

// Runs the program with its standard output on a terminal.
Outcome RunOnTerminal(std::vector<std::string> args)
{
    std::vector<char*> argv = Argv(ORVELA_PREDICT_PATH, args);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    Outcome o;
    if (pid < 0) {
        ADD_FAILURE() << "forkpty failed";
        return o;
    }
    char buf[4096];
    for (;;) {
        const ssize_t n = read(master, buf, sizeof buf);
        if (n > 0) {
            o.Out.append(buf, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // EIO once the child has closed the terminal
        }
    }
    close(master);
    o.Status = ExitStatus(pid);
    return o;
}

// Home 45N 0, remote 45N 90W; then the same on a date away from today.
const std::vector<std::string> Home45 = {"--home", "45N,0E", "--remote", "45N,90W"};
const std::vector<std::string> Path45 = {"--home", "45N,0E", "--remote", "45N,90W", "--date", "2024-06-21"};

std::string Upper(std::string s)
{
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

Json RunJson(const std::vector<std::string>& args)
{
    const Outcome o = RunPredict(With(args, {"--format", "json"}));
    EXPECT_EQ(o.Status, 0) << o.Err;
    EXPECT_EQ(o.Err, "");
    return Json::parse(o.Out);
}

std::string LocalDateLine(std::time_t t)
{
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "Date :%02d %s %04d", tm.tm_mday, months[tm.tm_mon], tm.tm_year + 1900);
    return buf;
}

int UtcHour(std::time_t t)
{
    std::tm tm{};
    gmtime_r(&t, &tm);
    return tm.tm_hour;
}

struct BadInput {
    std::vector<std::string> Args;
    const char* Says;
};

TEST(CommandLine, BadInputIsOneLineOnStderrAndExitTwo)
{
    const std::string home = "--home", remote = "--remote";
    const auto ok = [&](std::vector<std::string> more) { return With({home, ParisText, remote, NewYorkText}, more); };
    const BadInput cases[] = {
        {ok({"--frequency", "14"}), "unknown option --frequency"},
        {ok({"--fluxx=100"}), "unknown option --fluxx"},
        {ok({"-h"}), "unknown option -h"},
        {ok({"extra"}), "unexpected argument \"extra\""},
        {{remote, "40N,74W"}, "--home is required"},
        {{home, "48N,2E"}, "--remote is required"},
        {{}, "--home is required"},
        {ok({"--flux"}), "--flux"},
        {ok({"--flux", "100", "--flux", "120"}), "--flux is given more than once"},
        {{home, "48.85,2.35", remote, "40N,74W"}, "--home: "},
        {{home, "48.85,2.35", remote, "40N,74W"}, "48.85N,2.35E"},
        {{home, "48N,2E", remote, "-40,74"}, "--remote: "},
        {{home, "48.85N", remote, "40N,74W"}, "no comma"},
        {{home, "95N,2E", remote, "40N,74W"}, "--home: latitude \"95N\" is out of range"},
        {{home, "48N,2E", remote, "40N,181W"}, "--remote: longitude \"181W\" is out of range"},
        {{home, "48E,2N", remote, "40N,74W"}, "other axis"},
        {{home, "48N,2Ex", remote, "40N,74W"}, "--home: longitude"},
        {ok({"--flux", "0.5"}), "--flux: \"0.5\" is out of range: the solar flux is 1 to 500 sfu"},
        {ok({"--flux", "-100"}), "--flux: \"-100\" is out of range: the solar flux is 1 to 500 sfu"},
        {ok({"--flux", "500.1"}), "1 to 500"},
        {ok({"--flux", "lots"}), "1 to 500"},
        {ok({"--min-angle", "91"}), "--min-angle: \"91\" is out of range"},
        {ok({"--min-angle", "-1"}),
         "--min-angle: \"-1\" is out of range: the minimum take-off angle is 0 to 90 degrees"},
        {ok({"--min-angle", "10.5"}), "whole number"},
        {ok({"--power", "4"}), "--power: \"4\" is out of range"},
        {ok({"--power", "2501"}), "5 to 2500"},
        {ok({"--date", "2023-02-29"}), "--date: \"2023-02-29\" is not a day of the calendar"},
        {ok({"--date", "2024-13-01"}), "not a day of the calendar"},
        {ok({"--date", "1/2/2024"}), "YYYY-MM-DD"},
        {ok({"--antenna", "loop"}), "--antenna: \"loop\" is not a choice; expected isotropic, dipole or yagi"},
        {ok({"--display", "map"}), "expected signal, angle, delay or best"},
        {ok({"--format", "xml"}), "expected text, csv or json"},
        // A switch takes no value in any of the programs, whatever the value.
        {ok({"--long-path=maybe"}), "--long-path takes no value"},
        {ok({"--long-path=false"}), "--long-path takes no value"},
        {ok({"--long-path=true"}), "--long-path takes no value"},
        {{"--batch", "-", "--long-path=false"}, "--long-path takes no value"},
        {ok({"--flux-url", "http://127.0.0.1/wwv.txt"}), "--flux-url is only used with --flux auto"},
        {ok({"--flux", "auto", "--flux-url", "ftp://host/wwv.txt"}), "--flux-url: expected an http:// or https://"},
        {ok({"--flux", "auto", "--flux-url", "http:///wwv.txt"}), "--flux-url: expected"},
        {{home, "JS18DU", remote, "40N,74W"}, "--home: JS18DU: character 2 of a locator must be a letter A to R"},
        {{home, "48N,2E", remote, "jn1adu"}, "--remote: jn1adu: character 4 of a locator must be a digit 0 to 9"},
        {{home, "JN18DY", remote, "40N,74W"}, "--home: JN18DY: character 6 of a locator must be a letter A to X"},
        {{home, "JN18D", remote, "40N,74W"}, "--home: \"JN18D\" has no comma"},
        {{home, "JN18D!", remote, "40N,74W"}, "--home: JN18D!: character 6 of a locator must be a letter A to X"},
        {{home, "48N,2E", remote, "JN1X"}, "--remote: JN1X: character 4 of a locator must be a digit 0 to 9"},
    };
    for (const BadInput& c : cases) {
        SCOPED_TRACE(Shown(c.Args));
        orvela::child::ExpectRefusal(RunPredict(c.Args), "orvela-predict", c.Says);
    }
}

// A call sign goes into the first header strip of every output: one that
// holds a control character, or bytes that are not UTF-8, is refused, and
// the refusal names the character without carrying it to the terminal.
TEST(CommandLine, ACallSignWithAControlCharacterIsRefused)
{
    const struct {
        std::string Call;
        std::string Says;
    } cases[] = {
        {"F6\x1b[2JXYZ", "--call: the call sign holds the control character U+001B (escape) at character 3"},
        {"F6XYZ\xe2\x80\xae", "--call: the call sign holds the text-direction control U+202E (right-to-left "
                              "override) at character 6"},
        {"\xff"
         "F6XYZ",
         "--call: the call sign is not UTF-8 text (at byte 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Says);
        const Outcome o = RunPredict(With(Home45, {"--call", c.Call}));
        orvela::child::ExpectRefusal(o, "orvela-predict", c.Says);
        EXPECT_TRUE(!o.Err.empty() && std::all_of(o.Err.begin(), o.Err.end() - 1, [](char ch) {
            return ch >= ' ' && ch <= '~';
        })) << o.Err;
    }
}

TEST(CommandLine, HelpGoesToStdoutWithTheUsage)
{
    const Outcome o = RunPredict({"--help"});
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(o.Err, "");
    const std::string usage = "orvela-predict --home POS (--remote POS | --remote-call CALL [--country-file FILE])\n"
                              "               [--flux SFU|auto] [--flux-url URL] [--service-url URL] [--power DBW]\n"
                              "               [--min-angle DEG] [--long-path]\n"
                              "               [--antenna isotropic|dipole|yagi] [--display signal|angle|delay|best]\n"
                              "               [--bands fixed|ham] [--date YYYY-MM-DD] [--call CALLSIGN]\n"
                              "               [--format text|csv|json]\n";
    EXPECT_NE(o.Out.find(usage), std::string::npos) << o.Out;
    EXPECT_NE(o.Out.find("whole dBW from 5 to 2500\n                    (default 20)\n"), std::string::npos) << o.Out;

    // Help wins over anything else on the line, even bad input.
    EXPECT_EQ(RunPredict({"--home", "bad", "--help"}).Out, o.Out);
    EXPECT_EQ(RunPredict({"--long-path=no", "--help"}).Out, o.Out);
}

// Standard output on a full disc: the result is lost, which the exit status 1
// and one line on standard error say, in every format and for the help of
// both programs.
TEST(CommandLine, OutputThatCannotBeWrittenIsExitOne)
{
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full to write to";
    }
    const struct {
        const char* Program;
        std::vector<std::string> Args;
        const char* Says;
    } cases[] = {
        {ORVELA_PREDICT_PATH, Path45, "orvela-predict: cannot write the output\n"},
        {ORVELA_PREDICT_PATH, With(Path45, {"--format", "csv"}), "orvela-predict: cannot write the output\n"},
        {ORVELA_PREDICT_PATH, With(Path45, {"--format", "json"}), "orvela-predict: cannot write the output\n"},
        {ORVELA_PREDICT_PATH, {"--help"}, "orvela-predict: cannot write the output\n"},
        {ORVELA_MAP_PATH, {"--help"}, "orvela-map: cannot write the output\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Program) + " " + Shown(c.Args));
        const Outcome o = orvela::child::RunProgram(c.Program, c.Args, "/dev/full");
        EXPECT_EQ(o.Status, 1);
        EXPECT_EQ(o.Err, c.Says);
    }
}

// --bands ham: rows named by band and frequency in every output, and the
// JSON's bands with their names.
TEST(Bands, TheAmateurBandsNameTheRowsOfEveryOutput)
{
    const std::vector<std::string> ham = With(Path45, {"--bands", "ham"});
    const Outcome text = RunPredict(ham);
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_NE(text.Out.find("40 m 7.1"), std::string::npos) << text.Out;
    const Outcome csv = RunPredict(With(ham, {"--format", "csv"}));
    EXPECT_NE(csv.Out.find("\n\"40 m 7.1\","), std::string::npos) << csv.Out;
    const Json j = RunJson(ham);
    ASSERT_EQ(j["bands"].size(), 9u);
    EXPECT_EQ(j["bands"][2], (Json{{"row", 12}, {"mhz", 7.1}, {"name", "40 m"}}));
    EXPECT_EQ(j["grid"][12][0], "40 m 7.1");
    EXPECT_EQ(j["grid"][5][0], "");
}

TEST(Json, KeepsItsSchema)
{
    const Json j = RunJson(Path45);
    ASSERT_TRUE(j.is_object());
    std::set<std::string> keys;
    for (const auto& item : j.items()) {
        keys.insert(item.key());
    }
    EXPECT_EQ(keys, (std::set<std::string>{"h1", "h2", "grid", "cells", "bands", "path", "status", "reaches", "home",
                                           "remote", "flux"}));
    // No --flux: the default flux, and no issue date.
    EXPECT_EQ(j["flux"], (Json{{"sfu", 100.0}, {"source", "default"}, {"issued", nullptr}}));
    EXPECT_EQ(j["reaches"], true); // and no "empty_reason"
    // The fixed rows, lowest first, without names.
    ASSERT_EQ(j["bands"].size(), 15u);
    EXPECT_EQ(j["bands"][0], (Json{{"row", 14}, {"mhz", 2}, {"name", ""}}));
    EXPECT_EQ(j["bands"][14], (Json{{"row", 0}, {"mhz", 30}, {"name", ""}}));
    for (const char* place : {"home", "remote"}) {
        ASSERT_EQ(j[place].size(), 2u) << place;
        EXPECT_TRUE(j[place]["lat_deg"].is_number_float()) << place;
        EXPECT_TRUE(j[place]["lon_deg"].is_number_float()) << place;
    }

    ASSERT_TRUE(j["h1"].is_array());
    ASSERT_EQ(j["h1"].size(), 4u);
    ASSERT_TRUE(j["h2"].is_array());
    ASSERT_EQ(j["h2"].size(), 5u);
    for (const Json& s : j["h1"]) {
        EXPECT_TRUE(s.is_string());
    }
    for (const Json& s : j["h2"]) {
        EXPECT_TRUE(s.is_string());
    }

    // "#RRGGBB" in upper-case hexadecimal.
    const auto isColour = [](const std::string& text) {
        return text.size() == 7 && text[0] == '#' && text.find_first_not_of("0123456789ABCDEF", 1) == std::string::npos;
    };
    ASSERT_EQ(j["grid"].size(), 19u);
    ASSERT_EQ(j["cells"].size(), 19u);
    for (int r = 0; r < 19; ++r) {
        ASSERT_EQ(j["grid"][r].size(), 25u) << "row " << r;
        ASSERT_EQ(j["cells"][r].size(), 25u) << "row " << r;
        for (int c = 0; c < 25; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << " col " << c);
            EXPECT_TRUE(j["grid"][r][c].is_string());
            const Json& cell = j["cells"][r][c];
            ASSERT_TRUE(cell.is_object());
            // A signal level also reads as an S-meter would show it.
            const bool signal = r < 15 && c > 0 && !j["grid"][r][c].get<std::string>().empty();
            EXPECT_EQ(cell.size(), signal ? 4u : 3u);
            if (signal) {
                EXPECT_EQ(cell["s_meter"].get<std::string>().front(), 'S');
            }
            ASSERT_TRUE(cell["bg"].is_string());
            ASSERT_TRUE(cell["fg"].is_string());
            EXPECT_TRUE(isColour(cell["bg"].get<std::string>())) << cell["bg"];
            EXPECT_TRUE(isColour(cell["fg"].get<std::string>())) << cell["fg"];
            EXPECT_TRUE(cell["bold"].is_boolean());
        }
    }
    // Row 0 first, column 0 the labels.
    EXPECT_EQ(j["grid"][0][0], "30 Mhz");
    EXPECT_EQ(j["grid"][14][0], "2 Mhz");
    EXPECT_EQ(j["grid"][15][0], "UTC");
    EXPECT_EQ(j["grid"][15][1], "0h");
    EXPECT_EQ(j["grid"][15][24], "23h");
    EXPECT_EQ(j["cells"][15][1]["bg"], "#FFFF00"); // the highlighted hour

    const Json& path = j["path"];
    ASSERT_EQ(path.size(), 6u);
    for (const char* key : {"distance_km", "azimuth_deg", "back_azimuth_deg", "base_elev_deg", "delay_ms"}) {
        EXPECT_TRUE(path[key].is_number()) << key;
    }
    EXPECT_TRUE(path["base_hops"].is_number_integer());

    const Json& status = j["status"];
    ASSERT_EQ(status.size(), 3u);
    EXPECT_EQ(status["display"], "Power (dBm) above threshold");
    EXPECT_EQ(status["antenna"], "Isotrop antenna");
    EXPECT_EQ(status["power"], "20 dbW");
}

// The object is written piece by piece; it must read as the library's own
// compact text of it, byte for byte, whatever the call sign, the remote
// label or the bulletin hold: quotes, control characters, UTF-8 and bytes
// that are not UTF-8 (which become U+FFFD).
TEST(Json, IsTheCompactTextOfItsObject)
{
    using Ordered = nlohmann::ordered_json;
    const char* const texts[] = {"NoCall", "F6\"X\\Y", "A\tB\x01\x7f\n", "\xff\xfe\xc3", "\xc3\x98Z \xc2\xb0", ""};
    for (int i = 0; i < 6; ++i) {
        orvela::RunInput in = orvela_test::PathInput(orvela_test::Paris, orvela_test::NewYork);
        in.Station.CallSign = texts[i];
        in.RemoteLabel = texts[(i + 1) % 6];
        in.Station.Display = static_cast<orvela::DisplayFormat>(1 + i % 4);
        in.Station.Path = i >= 4; // the long way round fills no cell, and says why
        const orvela::Prediction p = orvela_test::Predict(in);
        const orvela::Reach reach = orvela::ReachOf(in, p);
        ASSERT_EQ(reach.Reaches, i < 4) << i;
        orvela::cli::SolarReport solar;
        solar.Ok = i % 2 == 0;
        solar.Issued = texts[(i + 2) % 6];
        solar.Flux = 120;
        solar.Error = texts[(i + 3) % 6];
        solar.Url = "http://127.0.0.1/\"wwv\".txt";
        for (const orvela::cli::SolarReport* report : {static_cast<orvela::cli::SolarReport*>(nullptr), &solar}) {
            const std::string out = orvela::cli::RenderJson(p, in, reach, report);
            const Ordered j = Ordered::parse(out);
            EXPECT_EQ(j.dump(-1, ' ', false, Ordered::error_handler_t::replace) + "\n", out) << i;
            if (i != 3) { // a call sign in UTF-8 comes back as it was
                EXPECT_EQ(j["h1"][0], p.H1[0]);
            }
        }
    }
}

TEST(Json, KnownPathShortAndLong)
{
    const Json shortPath = RunJson(Path45);
    EXPECT_EQ(shortPath["h1"][0], "NoCall Lat 45.0\u00B0N Lon 0.0\u00B0E Azim 305.3");
    EXPECT_EQ(shortPath["h1"][1], "Remote station Lat 45.0\u00B0N Lon 90.0\u00B0O Azim 54.7");
    EXPECT_EQ(shortPath["h1"][2], "Distance (km) : 6671.9 Km");
    EXPECT_EQ(shortPath["h1"][3], "Delay : 23.7 milliseconds");
    EXPECT_EQ(shortPath["path"]["base_hops"], 3);
    EXPECT_NEAR(shortPath["path"]["distance_km"].get<double>(), 6671.9, 0.05);
    EXPECT_NEAR(shortPath["path"]["azimuth_deg"].get<double>(), 305.3, 0.05);
    EXPECT_NEAR(shortPath["path"]["back_azimuth_deg"].get<double>(), 54.7, 0.05);
    EXPECT_NEAR(shortPath["path"]["base_elev_deg"].get<double>(), 10.64, 0.005);
    EXPECT_NEAR(shortPath["path"]["delay_ms"].get<double>(), 23.7, 0.05);
    // 90W is six hours behind UTC.
    EXPECT_EQ(shortPath["grid"][16][1], "18h");

    const Json longPath = RunJson(With(Path45, {"--long-path"}));
    EXPECT_EQ(longPath["h1"][2], "Distance (km) : 33359.5 Km");
    EXPECT_EQ(longPath["h1"][3], "Delay : 118.3 milliseconds");
    EXPECT_EQ(longPath["path"]["base_hops"], 15);
    EXPECT_NEAR(longPath["path"]["azimuth_deg"].get<double>(), 125.3, 0.05);

    // Paris to New York.
    const Json paris = RunJson({"--home", ParisText, "--remote", NewYorkText});
    EXPECT_NEAR(paris["path"]["distance_km"].get<double>(), 5837, 2);
    EXPECT_NEAR(paris["path"]["azimuth_deg"].get<double>(), 292, 0.5);
}

TEST(Json, PositionsAsUsedNorthAndWestPositive)
{
    const Outcome o = RunPredict({"--home", ParisText, "--remote", "0.5S,74.01W", "--format", "json"});
    ASSERT_EQ(o.Status, 0) << o.Err;
    EXPECT_NE(o.Out.find("\"home\":{\"lat_deg\":48.85,\"lon_deg\":-2.35}"), std::string::npos) << o.Out;
    EXPECT_NE(o.Out.find("\"remote\":{\"lat_deg\":-0.5,\"lon_deg\":74.01}"), std::string::npos) << o.Out;
}

// A position in decimal degrees, hemisphere letters and all the digits of
// extended precision, so that it reads back as the same number.
std::string Decimal(const orvela::StationPosition& p)
{
    const auto write = [](long double v, char positive, char negative) {
        char buf[128];
        const char* end = std::to_chars(buf, buf + sizeof buf, fabsl(v), std::chars_format::fixed).ptr;
        return std::string(static_cast<const char*>(buf), end) + (v < 0 ? negative : positive);
    };
    return write(p.Latitude, 'N', 'S') + "," + write(p.Longitude, 'W', 'E');
}

// A locator means the position the setup dialog stores for it, for the
// remote point as for the home, and the run is the one from that position
// in decimal degrees.
TEST(Json, LocatorsMeanTheSetupDialogsPositions)
{
    const struct {
        const char* Home;
        const char* Remote;
    } cases[] = {
        {"jn18du", "FI09SW"}, // Paris to Quito, just south of the equator
        {"JO01AA", "io91wm"}, // either side of Greenwich
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Home) + " to " + c.Remote);
        const orvela::StationPosition home = orvela::LocatorToStation(Upper(c.Home));
        const orvela::StationPosition remote = orvela::LocatorToStation(Upper(c.Remote));
        const Json byLocator = RunJson({"--home", c.Home, "--remote", c.Remote, "--date", "2024-06-21"});
        EXPECT_EQ(byLocator["home"]["lat_deg"].get<double>(), static_cast<double>(home.Latitude));
        EXPECT_EQ(byLocator["home"]["lon_deg"].get<double>(), static_cast<double>(home.Longitude));
        EXPECT_EQ(byLocator["remote"]["lat_deg"].get<double>(), static_cast<double>(remote.Latitude));
        EXPECT_EQ(byLocator["remote"]["lon_deg"].get<double>(), static_cast<double>(remote.Longitude));

        const Json byDecimal = RunJson({"--home", Decimal(home), "--remote", Decimal(remote), "--date", "2024-06-21"});
        EXPECT_EQ(byLocator, byDecimal) << Decimal(home) << " " << Decimal(remote);
    }
    // The mended hemispheres, seen in the header strip.
    const Json quito = RunJson({"--home", "JO01AA", "--remote", "FI09SW", "--date", "2024-06-21"});
    EXPECT_LT(quito["remote"]["lat_deg"].get<double>(), 0);
    EXPECT_LT(quito["home"]["lon_deg"].get<double>(), 0);
    EXPECT_NE(quito["h1"][0].get<std::string>().find("Lon 0.0\u00B0E"), std::string::npos) << quito["h1"][0];
    EXPECT_NE(quito["h1"][1].get<std::string>().find("Lat 0.1\u00B0S"), std::string::npos) << quito["h1"][1];
}

struct Reaches {
    std::vector<std::string> Args;
    const char* Pointer;
    Json Expected;
};

TEST(Json, OptionsReachTheRun)
{
    const Reaches cases[] = {
        {{}, "/h2/0", "Solar flux at 10.7cm : 100.0"},
        {{}, "/h2/3", "Power (dbW) : 20 dBW"},
        {{}, "/h1/0", "NoCall Lat 45.0\u00B0N Lon 0.0\u00B0E Azim 305.3"},
        {{"--flux", "150.56"}, "/h2/0", "Solar flux at 10.7cm : 150.6"},
        {{"--power", "250"}, "/h2/3", "Power (dbW) : 250 dBW"},
        {{"--power", "250"}, "/status/power", "250 dbW"},
        {{"--min-angle", "0"}, "/path/base_hops", 2},
        {{"--min-angle", "20"}, "/path/base_hops", 5},
        {{"--antenna", "dipole"}, "/status/antenna", "Simple dipole"},
        {{"--antenna", "yagi"}, "/status/antenna", "3 elements Yagi"},
        {{"--display", "angle"}, "/status/display", "Takeoff angle (degrees)"},
        {{"--display", "delay"}, "/status/display", "Delays (milliseconds)"},
        {{"--display", "best"}, "/status/display", "Best frequencies"},
        {{"--display", "best"}, "/grid/13/0", "FRQ"},
        {{"--date", "2024-02-29"}, "/h2/2", "Date :29 February 2024"},
        {{"--call", "F4XYZ"}, "/h1/0", "F4XYZ Lat 45.0\u00B0N Lon 0.0\u00B0E Azim 305.3"},
    };
    for (const Reaches& c : cases) {
        SCOPED_TRACE(Shown(c.Args));
        const Json j = RunJson(With(Home45, c.Args));
        EXPECT_EQ(j[Json::json_pointer(c.Pointer)], c.Expected);
    }
}

// Rows 15 to 18 of the highlighted hour column are bold; it is the current
// UTC hour for today's date and 0h for any other date.
int HighlightedColumn(const Json& j)
{
    int found = -1;
    for (int c = 1; c < 25; ++c) {
        if (j["cells"][15][c]["bold"] == true) {
            EXPECT_EQ(found, -1) << "two highlighted columns";
            found = c;
        }
    }
    return found;
}

TEST(Json, DateAndHighlightedHourDefaultToNow)
{
    EXPECT_EQ(HighlightedColumn(RunJson(Path45)), 1);

    const std::time_t before = std::time(nullptr);
    const Json today = RunJson(Home45);
    const std::time_t after = std::time(nullptr);
    const std::string dateLine = today["h2"][2];
    EXPECT_TRUE(dateLine == LocalDateLine(before) || dateLine == LocalDateLine(after)) << dateLine;
    const int column = HighlightedColumn(today);
    EXPECT_TRUE(column == UtcHour(before) + 1 || column == UtcHour(after) + 1) << column;
}

// Splits RFC 4180 text into records of fields.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                rows.back().back() += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                rows.back().back() += ch;
            }
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            rows.back().emplace_back();
        } else if (ch == '\n') {
            rows.emplace_back(1);
        } else {
            rows.back().back() += ch;
        }
    }
    EXPECT_FALSE(quoted) << "unterminated quote";
    if (rows.back() == std::vector<std::string>(1)) {
        rows.pop_back(); // after the last line end
    }
    return rows;
}

TEST(Csv, OneRecordPerTableRowHoldingTheGridTexts)
{
    const Outcome o = RunPredict(With(Path45, {"--format", "csv"}));
    ASSERT_EQ(o.Status, 0) << o.Err;
    ASSERT_EQ(o.Out.back(), '\n');
    const auto rows = ParseCsv(o.Out);
    const Json grid = RunJson(Path45)["grid"];
    ASSERT_EQ(rows.size(), 19u);
    for (int r = 0; r < 19; ++r) {
        ASSERT_EQ(rows[r].size(), 25u) << "row " << r;
        for (int c = 0; c < 25; ++c) {
            EXPECT_EQ(rows[r][c], grid[r][c]) << "row " << r << " col " << c;
        }
    }
    // Fields with a blank are quoted, others are not.
    EXPECT_EQ(o.Out.rfind("\"30 Mhz\",,", 0), 0u);
    EXPECT_NE(o.Out.find("\nUTC,0h,1h,"), std::string::npos);
}

TEST(Text, AlignedColumnsWithoutEscapesWhenPiped)
{
    const Outcome o = RunPredict(Path45);
    ASSERT_EQ(o.Status, 0) << o.Err;
    EXPECT_EQ(o.Err, "");
    EXPECT_EQ(o.Out.find('\x1b'), std::string::npos);

    const Json j = RunJson(Path45);
    const auto lines = Lines(o.Out);
    ASSERT_EQ(lines.size(), 2u + 1u + 19u + 2u);
    std::string h2, h1;
    for (const Json& s : j["h2"]) {
        h2 += (h2.empty() ? "" : " | ") + s.get<std::string>();
    }
    for (const Json& s : j["h1"]) {
        h1 += (h1.empty() ? "" : " | ") + s.get<std::string>();
    }
    EXPECT_EQ(lines[0], h2);
    EXPECT_EQ(lines[1], h1);
    EXPECT_EQ(lines[2], "");

    // Labels left-aligned in their width, hours right-aligned in theirs.
    std::size_t labelWidth = 0, cellWidth = 7;
    for (int r = 0; r < 19; ++r) {
        labelWidth = std::max(labelWidth, j["grid"][r][0].get<std::string>().size());
        for (int c = 1; c < 25; ++c) {
            cellWidth = std::max(cellWidth, j["grid"][r][c].get<std::string>().size());
        }
    }
    for (int r = 0; r < 19; ++r) {
        SCOPED_TRACE(testing::Message() << "row " << r);
        std::string line = lines[3 + r];
        line.resize(labelWidth + 24 * (cellWidth + 1), ' ');
        const std::string label = j["grid"][r][0];
        EXPECT_EQ(line.substr(0, labelWidth), label + std::string(labelWidth - label.size(), ' '));
        for (int c = 1; c < 25; ++c) {
            const std::string text = j["grid"][r][c];
            const std::size_t at = labelWidth + 1 + (c - 1) * (cellWidth + 1);
            EXPECT_EQ(line[at - 1], ' ');
            EXPECT_EQ(line.substr(at, cellWidth), std::string(cellWidth - text.size(), ' ') + text) << "col " << c;
        }
    }
    EXPECT_EQ(lines[22], "");
    EXPECT_EQ(lines[23], "Power (dBm) above threshold | Isotrop antenna | 20 dbW");
}

// Paris to Tokyo the long way round, 30,317 km, fills no cell at 20 dBW:
// each format says why in the same words, where the table would be read,
// and keeps the rest of its layout.
TEST(EmptyRun, EveryFormatSaysWhy)
{
    const std::vector<std::string> tokyoLongPath = {"--home",      ParisText, "--remote",  "35.68N,139.69E",
                                                    "--long-path", "--date",  "2026-12-10"};
    const Json j = RunJson(tokyoLongPath);
    EXPECT_EQ(j["reaches"], false);
    const std::string why = j["empty_reason"];
    EXPECT_EQ(why, "No mode reaches the receiver on this 30,317 km path: the long path is beyond the model at 20 dBW. "
                   "It would take 87 dBW for a first cell: its strongest mode, 14 hops on 6 MHz at 17h UTC, stays "
                   "67 dB under the receiver's noise floor.");
    for (int r = 0; r < 15; ++r) {
        for (int c = 1; c < 25; ++c) {
            EXPECT_EQ(j["grid"][r][c], "") << "row " << r << " col " << c;
        }
    }

    const Outcome text = RunPredict(tokyoLongPath);
    ASSERT_EQ(text.Status, 0) << text.Err;
    const auto lines = Lines(text.Out);
    ASSERT_EQ(lines.size(), 2u + 1u + 19u + 3u);
    EXPECT_EQ(lines[22], "");
    EXPECT_EQ(lines[23], why);
    EXPECT_EQ(lines[24], "Power (dBm) above threshold | Isotrop antenna | 20 dbW");

    const Outcome csv = RunPredict(With(tokyoLongPath, {"--format", "csv"}));
    ASSERT_EQ(csv.Status, 0) << csv.Err;
    const auto records = Lines(csv.Out);
    ASSERT_EQ(records.size(), 20u);
    EXPECT_EQ(records[19], "# " + why);
    EXPECT_EQ(ParseCsv(csv.Out.substr(0, csv.Out.size() - records[19].size() - 1)).size(), 19u);
}

TEST(Text, ColouredOnATerminal)
{
    const Outcome o = RunOnTerminal(Path45);
    EXPECT_EQ(o.Status, 0);
    // The highlighted hour: bold black on yellow.
    EXPECT_NE(o.Out.find("\x1b[1;38;2;0;0;0;48;2;255;255;0m"), std::string::npos) << o.Out;
    // A result cell: amber on green or on red.
    EXPECT_NE(o.Out.find("\x1b[38;2;247;197;81;48;2;0;128;0m"), std::string::npos);
}

} // namespace

namespace {

using orvela::solar::testing::ClosedPort;
using orvela::solar::testing::HttpTestServer;
using orvela::solar::testing::Reply;

const char* const Bulletin = ":Product: Geophysical Alert Message wwv.txt\n"
                             ":Issued: 2026 Dec 10 0305 UTC\n"
                             "Solar-terrestrial indices for 09 December follow.\n"
                             "Solar flux 620 and estimated planetary A-index 5.\n";

TEST(FluxAuto, TakesTheBulletinsFluxClampedAsTheWindowDoes)
{
    HttpTestServer server(Reply(200, Bulletin));
    const std::string url = server.Url("/text/wwv.txt");
    const std::vector<std::string> base = {"--home", ParisText, "--remote",   NewYorkText,
                                           "--flux", "auto",    "--flux-url", url};

    const Outcome json = RunPredict(With(base, {"--format", "json"}));
    EXPECT_EQ(json.Status, 0);
    EXPECT_EQ(json.Err, "");
    const Json j = Json::parse(json.Out);
    EXPECT_EQ(j["solar"], Json({{"issued", "2026 Dec 10 0305 UTC"}, {"flux", 620}, {"url", url}}));
    EXPECT_EQ(j["h2"][0], "Solar flux at 10.7cm : 500.0");

    const Outcome text = RunPredict(base);
    EXPECT_EQ(text.Status, 0);
    EXPECT_NE(text.Out.find("Geophysical Alert Message issued 2026 Dec 10 0305 UTC: solar flux 620, used 500.0\n"),
              std::string::npos)
        << text.Out;
}

TEST(FluxAuto, AFailedDownloadSaysSoAndUsesOneHundred)
{
    const ClosedPort closed;
    const std::string origin = closed.Origin();
    const std::string url = origin + "/text/wwv.txt";
    const Outcome o = RunPredict({"--home", ParisText, "--remote", NewYorkText, "--flux", "auto", "--flux-url", url,
                                  "--service-url", origin, "--format", "json"});
    EXPECT_EQ(o.Status, 0); // the table was computed
    // First the message, then why (the connection was refused); then the
    // products that follow the bulletin for today, and the flux of 100.
    const std::string message = "Could not download Geophysical Alert Message wwv.txt from " + origin;
    EXPECT_EQ(o.Err.rfind(message + ": ", 0), 0u) << o.Err;
    EXPECT_EQ(o.Err.find(message, 1), std::string::npos) << o.Err; // said once
    EXPECT_NE(o.Err.find("\n27-day outlook: could not download it from " + origin), std::string::npos) << o.Err;
    EXPECT_NE(o.Err.find(": the flux is 100\n"), std::string::npos) << o.Err;
    const Json j = Json::parse(o.Out);
    EXPECT_EQ(j["solar"]["url"], url);
    EXPECT_EQ(j["solar"]["error"].get<std::string>(), message);
    EXPECT_FALSE(j["solar"].contains("flux"));
    EXPECT_EQ(j["flux"]["source"], "default");
    EXPECT_EQ(j["h2"][0], "Solar flux at 10.7cm : 100.0");
}

} // namespace
