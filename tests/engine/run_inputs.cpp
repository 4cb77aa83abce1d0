#include "tests/engine/run_inputs.h"

#include "tests/support/test_paths.h"
#include "engine/hour.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>

namespace orvela_test {

using namespace orvela;

namespace {

std::string Degrees(ld v)
{
    return std::to_string(static_cast<double>(v));
}

// Degrees as written in the file, read into extended precision as the
// program reads a typed position.
ld DegreesText(const nlohmann::json& text)
{
    const std::string s = text.get<std::string>();
    ld v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    EXPECT_TRUE(ec == std::errc{} && end == s.data() + s.size()) << s;
    return v;
}

// The flux as the flux spin edit keeps it: one decimal.
ld FluxText(const nlohmann::json& text)
{
    return static_cast<ld>(llroundl(DegreesText(text) * 10)) / 10;
}

} // namespace

std::vector<NamedInput> VariedInputs()
{
    const ld paths[][4] = {
        {Paris.Lat, Paris.LonWestDeg, 40, 74},
        {51.5L, 0.12L, -34, -151},
        {45, 0, 45, 90},
        {-33.87L, -151.21L, 35, -139},
        {64.1L, 21.9L, -54, 68},
        {0, 0, 0, 180},
        {10, 0, -10, 0},
        {90, 0, 40, 74},
        {-90, 0, -90, 120},
        {45, 10, 45, 10},
        {12.5L, -77.25L, -12, 103},
        {0, 180, 5, -175},
        {35, -139, 35, -140},
        {-20, 60, 20, -120},
        {60, 0, 61, 0},
    };
    const int minAngles[] = {10, 0, 3, 25, 89};
    const ld fluxes[] = {100, 65, 180, 300};
    std::vector<NamedInput> runs;
    int i = 0;
    for (const auto& path : paths) {
        for (int display = 1; display <= 4; ++display) {
            for (const bool longPath : {false, true}) {
                RunInput in = PathInput(path[0], path[1], path[2], path[3]);
                in.Station.Display = static_cast<DisplayFormat>(display);
                in.Station.Path = longPath;
                in.Station.GainTable = static_cast<Antenna>(i % 3);
                in.Station.MinAngle = minAngles[i % 5];
                in.Station.Power = 80 + 10 * (i % 4);
                in.Flux = fluxes[i % 4];
                in.Month = 1 + (i * 5) % 12;
                in.Day = 1 + (i * 7) % 28;
                in.UtcHour = i % 24;
                in.RemoteLabel = "Remote station";
                ++i;
                runs.push_back({in, Degrees(path[0]) + " " + Degrees(path[1]) + " -> " + Degrees(path[2]) + " " +
                                        Degrees(path[3]) + " display " + std::to_string(display) +
                                        (longPath ? " long" : " short")});
            }
        }
    }
    return runs;
}

std::vector<NamedInput> SweepInputs()
{
    const Place homes[] = {{90, 0}, {-90, 0}, {0, 0}, {0, 180}, Paris};
    const int minAngles[] = {0, 1, 10, 30, 60, 89, 90};
    std::vector<NamedInput> runs;
    int i = 0;
    for (const Place& h : homes) {
        std::vector<std::pair<ld, ld>> points;
        for (int lat = -90; lat <= 90; lat += 9) {
            for (int lonWestDeg = -180; lonWestDeg <= 180; lonWestDeg += 23) {
                points.emplace_back(lat, lonWestDeg);
            }
        }
        const ld antiLonWestDeg = h.LonWestDeg > 0 ? h.LonWestDeg - 180 : h.LonWestDeg + 180;
        const std::vector<std::pair<ld, ld>> special = {
            {h.Lat, h.LonWestDeg},
            {-h.Lat, antiLonWestDeg},
            {90, 17},
            {-90, -17},
            {h.Lat > 0 ? -30 : 30, h.LonWestDeg},
            {h.Lat, antiLonWestDeg},
        };
        // One run from this home to pt; i turns the display, date and, unless
        // given, the other options over.
        const auto run = [&](const std::pair<ld, ld>& pt, bool longPath, int minAngle, int gainTable,
                             const std::string& what) {
            RunInput in = PathInput(h.Lat, h.LonWestDeg, pt.first, pt.second);
            in.Station.Display = static_cast<DisplayFormat>(1 + i % 4);
            in.Station.Path = longPath;
            in.Station.MinAngle = minAngle;
            in.Station.GainTable = static_cast<Antenna>(gainTable);
            in.Month = 1 + i % 12;
            in.Day = 1 + i % 28;
            ++i;
            runs.push_back({in, "home " + Degrees(h.Lat) + " " + Degrees(h.LonWestDeg) + what + Degrees(pt.first) +
                                    " " + Degrees(pt.second)});
        };
        for (const auto& pt : points) {
            run(pt, (i / 4) % 2 == 1, minAngles[i % 7], i % 3, " remote ");
        }
        for (const auto& pt : special) {
            for (const int minAngle : minAngles) {
                for (const bool longPath : {false, true}) {
                    run(pt, longPath, minAngle, 1 + i % 2,
                        std::string(" min ") + std::to_string(minAngle) + (longPath ? " long" : " short") +
                            " special remote ");
                }
            }
        }
    }
    return runs;
}

nlohmann::json LoadReferenceTables()
{
    std::ifstream in(ORVELA_REFERENCE_TABLES);
    if (!in) {
        ADD_FAILURE() << "cannot open " << ORVELA_REFERENCE_TABLES;
        return nlohmann::json::array();
    }
    return nlohmann::json::parse(in);
}

RunInput ReferenceInput(const nlohmann::json& j)
{
    RunInput in;
    in.Station.Latitude = DegreesText(j.at("home_lat"));
    in.Station.Longitude = DegreesText(j.at("home_lon")); // west positive
    in.Station.CallSign = j.at("callsign").get<std::string>();
    in.Station.Power = j.at("power").get<int>();
    in.Station.MinAngle = j.at("min_angle").get<int>();
    in.Station.Path = j.at("long_path").get<bool>();
    in.Station.GainTable = static_cast<Antenna>(j.at("antenna").get<int>());
    in.Station.Display = static_cast<DisplayFormat>(j.at("display").get<int>());
    in.RemoteLatDeg = j.at("remote_lat").get<int>();
    in.RemoteLonWestDeg = j.at("remote_lon").get<int>(); // west positive
    in.Flux = FluxText(j.at("flux"));
    in.Month = j.at("month").get<int>();
    in.Day = j.at("day").get<int>();
    in.LocalDate = {2026, in.Month, in.Day};
    in.RemoteLabel = j.at("remote_label").get<std::string>();
    return in;
}

std::vector<NamedInput> ReferenceInputs()
{
    std::vector<NamedInput> runs;
    for (const nlohmann::json& c : LoadReferenceTables()) {
        runs.push_back({ReferenceInput(c.at("input")), c.at("name").get<std::string>()});
    }
    return runs;
}

::testing::AssertionResult SameColumn(const orvela::Prediction& expected, const orvela::Prediction& actual, int col)
{
    for (int r = 0; r < orvela::TableRows; ++r) {
        const orvela::Cell& e = expected.At(col, r);
        const orvela::Cell& a = actual.At(col, r);
        if (a.Text != e.Text || a.Bg != e.Bg || a.Fg != e.Fg || a.Bold != e.Bold) {
            return ::testing::AssertionFailure()
                   << "column " << col << " row " << r << ": \"" << a.Text << "\" " << std::hex << a.Bg << "/" << a.Fg
                   << (a.Bold ? " bold" : "") << ", expected \"" << e.Text << "\" " << e.Bg << "/" << e.Fg
                   << (e.Bold ? " bold" : "");
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult HourIsTheRunsColumn(const orvela::RunInput& in, const orvela::Prediction& full, int hour)
{
    orvela::Workspace ws;
    orvela::Prediction one;
    orvela::ComputeHour(in, hour, ws, one);
    if (auto same = SameColumn(full, one, hour + 1); !same) {
        return same;
    }
    const orvela::Prediction untouched;
    for (int col = 0; col < orvela::TableCols; ++col) {
        if (col != hour + 1) {
            if (auto same = SameColumn(untouched, one, col); !same) {
                return same << " (another hour's column)";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace orvela_test
