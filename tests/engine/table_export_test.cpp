#include "engine/table_export.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvela;

// F5ABC in Paris to New York on 10 December 2026, as the window runs it.
RunInput ParisToNewYork()
{
    RunInput in;
    in.Station.CallSign = "F5ABC";
    in.Station.Latitude = 48.85L;
    in.Station.Longitude = -2.35L;
    in.Station.Power = 20;
    in.Station.MinAngle = 5;
    in.Station.GainTable = Antenna::Dipole;
    in.Flux = 122;
    in.RemoteLatDeg = 40;
    in.RemoteLonWestDeg = 74;
    in.Month = 12;
    in.Day = 10;
    in.LocalDate = CivilDate{2026, 12, 10};
    in.RemoteLabel = "Remote station";
    return in;
}

Prediction Predict(const RunInput& in)
{
    Workspace ws;
    Prediction p;
    ComputeMUF(in, ws, p);
    return p;
}

// The saved table says what it holds in lines a spreadsheet puts in two
// columns, then holds the table's rows as the command line writes them. The
// path's figures are those of the header strips.
TEST(TableCsvFile, SaysWhatTheTableHoldsAboveItsRows)
{
    RunInput in = ParisToNewYork();
    const Prediction p = Predict(in);
    const std::string distance = p.H1[2].substr(p.H1[2].find(": ") + 2, p.H1[2].find(" Km") - p.H1[2].find(": ") - 2);
    const std::string delay = p.H1[3].substr(p.H1[3].find(": ") + 2, p.H1[3].find(" milli") - p.H1[3].find(": ") - 2);
    const std::string heading = "Station,F5ABC\n"
                                "\"Station position\",\"48.85N 2.35E\"\n"
                                "\"Remote point\",\"40N 74W\"\n"
                                "Path,\"short path\"\n"
                                "\"Distance (km)\"," +
                                distance +
                                "\n"
                                "\"Azimuth (degrees)\"," +
                                FormatFixed(p.Path.AzimuthDeg, 1) +
                                "\n"
                                "\"Back azimuth (degrees)\"," +
                                FormatFixed(p.Path.BackAzimuthDeg, 1) +
                                "\n"
                                "\"Delay (milliseconds)\"," +
                                delay +
                                "\n"
                                "Date,2026-12-10\n"
                                "\"Solar flux (sfu)\",122.0\n"
                                "\"Power (dBW)\",20\n"
                                "\"Lowest take-off angle (degrees)\",5\n"
                                "Antenna,\"Simple dipole\"\n"
                                "Display,\"Power (dBm) above threshold\"\n"
                                "Model,\"MINIMUF 3.5 sky-wave model\"\n"
                                "\n";
    EXPECT_EQ(TableCsvFile(in, p), heading + TableCsv(p));
    EXPECT_NE(p.H1[0].find("Azim " + FormatFixed(p.Path.AzimuthDeg, 1)), std::string::npos) << p.H1[0];

    // A call sign that holds the separators stays one field; the long path
    // and a southern, eastern remote point are named.
    in.Station.CallSign = "F5,\"X\"";
    in.Station.Path = true;
    in.RemoteLatDeg = -33.87L;
    in.RemoteLonWestDeg = -151.21L;
    const std::string file = TableCsvFile(in, Predict(in));
    EXPECT_EQ(file.rfind("Station,\"F5,\"\"X\"\"\"\n", 0), 0u) << file;
    EXPECT_NE(file.find("\n\"Remote point\",\"33.87S 151.21E\"\nPath,\"long path\"\n"), std::string::npos) << file;
}

TEST(TableFileName, NamesStationRemotePointAndDateSafely)
{
    const std::string longCall(100, 'K');
    const struct {
        std::string Call;
        ld Lat, LonWestDeg;
        bool LongPath;
        CivilDate Today;
        std::string Name;
    } cases[] = {
        {"F5ABC", 40, 74, false, {2026, 12, 10}, "orvela-F5ABC-to-40N74W-2026-12-10.csv"},
        {"F5ABC/P",
         -33.87L,
         -151.21L,
         true,
         {2026, 12, 10},
         "orvela-F5ABC-P-to-33.87S151.21E-long-path-2026-12-10.csv"},
        {"../../etc/passwd", 0, 0, false, {2026, 12, 10}, "orvela-etc-passwd-to-0N0W-2026-12-10.csv"},
        {" VK2\tABC\x1b[2J ", 0, 0, false, {2026, 12, 10}, "orvela-VK2-ABC-2J-to-0N0W-2026-12-10.csv"},
        {"JA1\xe3\x81\x82", 0, 0, false, {2026, 12, 10}, "orvela-JA1-to-0N0W-2026-12-10.csv"},
        {"\xe3\x81\x82", 0, 0, false, {2026, 12, 10}, "orvela-station-to-0N0W-2026-12-10.csv"},
        {"", 0, 0, false, {2026, 12, 10}, "orvela-station-to-0N0W-2026-12-10.csv"},
        {longCall, 0, 0, false, {2026, 12, 10}, "orvela-" + std::string(40, 'K') + "-to-0N0W-2026-12-10.csv"},
        // Started on the last day of the year, saved after midnight: the
        // table is still for the day it was started on.
        {"F5ABC", 40, 74, false, {2027, 1, 1}, "orvela-F5ABC-to-40N74W-2026-12-10.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        RunInput in = ParisToNewYork();
        in.Station.CallSign = c.Call;
        in.RemoteLatDeg = c.Lat;
        in.RemoteLonWestDeg = c.LonWestDeg;
        in.Station.Path = c.LongPath;
        in.LocalDate = c.Today;
        EXPECT_EQ(TableFileName(in, "csv"), c.Name);
    }
}

} // namespace
