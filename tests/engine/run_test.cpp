#include "engine/geometry.h"
#include "engine/ionosphere.h"
#include "engine/minimuf.h"
#include "engine/prediction.h"
#include "tests/engine/reference_run.h"
#include "tests/engine/run_inputs.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

using namespace orvela;

using orvela_test::BearingGap;
using orvela_test::D2R;
using orvela_test::NewYork;
using orvela_test::Paris;
using orvela_test::PathInput;
using orvela_test::PiD;
using orvela_test::Predict;
using orvela_test::SphereBearing;

// The model keeps two values of pi: one cut after its twelfth decimal,
// which folds longitudes and turns bearings, and the full one, which
// converts degrees. The cut one and its multiples agree with each other to
// the last bit, and they lie below pi by less than a unit of that twelfth
// decimal (pi is 3.1415926535897...: cut, not rounded).
TEST(ModelConstants, TheTwoPisAreTheFullAndTheCutValue)
{
    constexpr ld StandardPi = std::numbers::pi_v<ld>;
    EXPECT_EQ(Pi, StandardPi);
    EXPECT_EQ(ShortTwoPi, 2 * ShortPi);
    EXPECT_EQ(ShortHalfPi, ShortPi / 2);
    EXPECT_GT(StandardPi - ShortPi, 0);
    EXPECT_LT(StandardPi - ShortPi, 1e-12L);
    EXPECT_LT(fabsl(DegToRad * RadToDeg - 1), 1e-18L);
}

// The noise reference a run sets in its workspace, the level every band's
// signal is measured against: -140 dBm to a few millionths of a dB.
TEST(ComputeMUF, SetsTheNoiseReference)
{
    Workspace ws;
    Prediction p;
    ComputeMUF(PathInput(45, 0, 45, 90), ws, p);
    EXPECT_NEAR(static_cast<double>(ws.NoiseLevel), -139.99587, 5e-6);
}

TEST(ComputeMUF, PathSummaryOfKnownPaths)
{
    const struct {
        ld HomeLat, HomeLon, RemoteLat, RemoteLonWestDeg;
        bool LongPath;
        const char* H1[4];
        int BaseHops;
        const char* Elev;
    } cases[] = {
        {45,
         0,
         45,
         90,
         false,
         {"NoCall Lat 45.0\u00B0N Lon 0.0\u00B0E Azim 305.3", " Lat 45.0\u00B0N Lon 90.0\u00B0O Azim 54.7",
          "Distance (km) : 6671.9 Km", "Delay : 23.7 milliseconds"},
         3,
         "10.64"},
        {45,
         0,
         45,
         90,
         true,
         {"NoCall Lat 45.0\u00B0N Lon 0.0\u00B0E Azim 125.3", " Lat 45.0\u00B0N Lon 90.0\u00B0O Azim 234.7",
          "Distance (km) : 33359.5 Km", "Delay : 118.3 milliseconds"},
         15,
         nullptr},
        // Due south on one meridian: the zero longitude difference turns the back bearing to 360.
        {10,
         0,
         -10,
         0,
         false,
         {"NoCall Lat 10.0\u00B0N Lon 0.0\u00B0E Azim 180.0", " Lat 10.0\u00B0S Lon 0.0\u00B0E Azim 360.0",
          "Distance (km) : 2224.0 Km", nullptr},
         2,
         nullptr}, // rounded start 1, and the search adds one before it tests
        // Latitude and longitude of exactly 0 are written south and east.
        {0,
         0,
         0,
         -20,
         false,
         {"NoCall Lat 0.0\u00B0S Lon 0.0\u00B0E Azim 90.0", " Lat 0.0\u00B0S Lon 20.0\u00B0E Azim 270.0", nullptr,
          nullptr},
         2,
         nullptr},
    };
    for (const auto& c : cases) {
        RunInput in = PathInput(c.HomeLat, c.HomeLon, c.RemoteLat, c.RemoteLonWestDeg);
        in.Station.Path = c.LongPath;
        const Prediction p = Predict(in);
        for (int i = 0; i < 4; ++i) {
            if (c.H1[i]) {
                EXPECT_EQ(p.H1[i], c.H1[i]);
            }
        }
        EXPECT_EQ(p.Path.BaseHops, c.BaseHops) << p.H1[2];
        if (c.Elev) {
            EXPECT_EQ(FormatFixed(p.Path.BaseElevDeg, 2), c.Elev);
        }
    }
}

TEST(ComputeMUF, HopCountFollowsTheGroundDistance)
{
    const struct {
        ld Km;
        int MinAngle;
        int Hops;
        const char* Elev;
    } cases[] = {
        {1000, 10, 1, "29.72"},
        {3000, 10, 2, "19.20"},
        {5000, 10, 3, "16.76"},
        {8000, 10, 4, nullptr},
        {12000, 10, 6, nullptr},
        {19000, 10, 9, nullptr},
        // Without a search the count is the distance over the longest hop,
        // 3956.72 km, rounded: 6671.9 km is 1.686 hops, and the halves fall
        // at 5935.08 and 9891.80 km.
        {6671.9L, 0, 2, nullptr},
        {5935.0L, 0, 1, nullptr},
        {5935.2L, 0, 2, nullptr},
        {9891.7L, 0, 2, nullptr},
        {9891.9L, 0, 3, nullptr},
    };
    for (const auto& c : cases) {
        // Eastwards along the equator: a negative, west-positive longitude.
        RunInput in = PathInput(0, 0, 0, -c.Km / EarthRadius * RadToDeg);
        in.Station.MinAngle = c.MinAngle;
        const Prediction p = Predict(in);
        EXPECT_NEAR(static_cast<double>(p.Path.DistanceKm), static_cast<double>(c.Km), 1e-6);
        EXPECT_EQ(p.Path.BaseHops, c.Hops) << static_cast<double>(c.Km);
        if (c.Elev) {
            EXPECT_EQ(FormatFixed(p.Path.BaseElevDeg, 2), c.Elev);
        }
    }
}

TEST(ComputeMUF, MinimumAngleZeroStillFliesOneHop)
{
    RunInput in = PathInput(0, 0, 0, -1000 / EarthRadius * RadToDeg);
    in.Station.MinAngle = 0;
    const Prediction p = Predict(in);
    EXPECT_EQ(p.Path.BaseHops, 1);
    EXPECT_EQ(FormatFixed(p.Path.BaseElevDeg, 2), "29.72");
    EXPECT_EQ(p.H1[3], "Delay : 4.0 milliseconds"); // the hop flown, not zero
}

// No hop count reaches 90 degrees: the search stops at 27 hops so that the
// four modes fit, and the take-off angles shown are below the minimum.
TEST(ComputeMUF, HopSearchStopsAtTwentySevenHops)
{
    const struct {
        int MinAngle;
        bool LongPath;
    } cases[] = {{90, false}, {89, false}, {90, true}, {60, true}};
    for (const auto& c : cases) {
        RunInput in = PathInput(Paris, NewYork);
        in.Station.MinAngle = c.MinAngle;
        in.Station.Path = c.LongPath;
        in.Station.Display = DisplayFormat::TakeOffAngle;
        in.Flux = 250;
        in.Station.Power = 100; // loud enough for paths of 27 hops and more to show
        const Prediction p = Predict(in);
        EXPECT_EQ(p.Path.BaseHops, 27) << c.MinAngle;
        EXPECT_LT(p.Path.BaseElevDeg, c.MinAngle);
        int cells = 0;
        for (int col = 1; col < TableCols; ++col) {
            for (int row = 0; row < 15; ++row) {
                const std::string& t = p.At(col, row).Text;
                if (t.empty()) {
                    continue;
                }
                ++cells;
                const std::size_t letter = t.find_first_of("jnxo");
                ASSERT_NE(letter, std::string::npos) << t;
                EXPECT_LT(std::stoi(t.substr(0, letter)), c.MinAngle) << t;
                const int hops = std::stoi(t.substr(letter + 1, t.size() - letter - 2));
                EXPECT_TRUE(hops >= 27 && hops <= 30) << t;
            }
        }
        EXPECT_GT(cells, 0) << c.MinAngle;
    }
}

// At 27 hops over the 320 km layer the longest long path (a full turn, to
// the home station itself) leaves at 19.5 degrees, and the longest short
// path (half a turn, to the antipode) at 38.4: a minimum one degree higher
// is out of reach.
TEST(ComputeMUF, HopSearchBoundOnTheLongestPaths)
{
    const struct {
        ld RemoteLat, RemoteLonWestDeg;
        bool LongPath;
        int MinAngle;
        bool Reached;
    } cases[] = {
        {Paris.Lat, Paris.LonWestDeg, true, 19, true},
        {Paris.Lat, Paris.LonWestDeg, true, 20, false},
        {-48.85L, 177.65L, false, 38, true},
        {-48.85L, 177.65L, false, 39, false},
    };
    for (const auto& c : cases) {
        RunInput in = PathInput(Paris.Lat, Paris.LonWestDeg, c.RemoteLat, c.RemoteLonWestDeg);
        in.Station.Path = c.LongPath;
        in.Station.MinAngle = c.MinAngle;
        const Prediction p = Predict(in);
        EXPECT_EQ(p.Path.BaseElevDeg >= c.MinAngle, c.Reached) << c.MinAngle;
        EXPECT_LE(p.Path.BaseHops, 27) << c.MinAngle;
        if (!c.Reached) {
            EXPECT_EQ(p.Path.BaseHops, 27) << c.MinAngle;
        }
    }
}

TEST(ComputeMUF, LocalHourOfTheRemotePoint)
{
    const struct {
        ld RemoteLonWestDeg;
        const char* At0h;
        const char* At23h;
    } cases[] = {{7, "0h", "23h"}, {15, "23h", "22h"}, {-120, "8h", "7h"}, {90, "18h", "17h"}, {-7, "0h", "23h"}};
    for (const auto& c : cases) {
        const Prediction p = Predict(PathInput(45, 0, 45, c.RemoteLonWestDeg));
        EXPECT_EQ(p.At(1, RowLocal).Text, c.At0h) << static_cast<double>(c.RemoteLonWestDeg);
        EXPECT_EQ(p.At(24, RowLocal).Text, c.At23h) << static_cast<double>(c.RemoteLonWestDeg);
        EXPECT_EQ(p.At(1, RowUtc).Text, "0h");
        EXPECT_EQ(p.At(24, RowUtc).Text, "23h");
    }
}

TEST(ComputeMUF, SecondHeaderStrip)
{
    RunInput in = PathInput(Paris, NewYork);
    in.Flux = 122.5L; // 73.35 sun spots, held just below 73.35
    in.Station.Power = 20;
    const Prediction p = Predict(in);
    EXPECT_EQ(p.H2[0], "Solar flux at 10.7cm : 122.5");
    EXPECT_EQ(p.H2[1], "Sun spots : 73.4");
    EXPECT_EQ(p.H2[2], "Date :05 December 2026");
    EXPECT_EQ(p.H2[3], "Power (dbW) : 20 dBW");
    EXPECT_FALSE(p.H2[4].empty());
}

// After a hop search the F-layer MUF of the base hop count is the path's MUF,
// the same on the long path: the MUF model knows only the two stations.
TEST(ComputeMUF, MufRowIsTheMiniMufAfterTheHopSearch)
{
    for (const ld remoteLonWestDeg : {74.0L, -30.0L, 150.0L}) {
        for (const bool longPath : {false, true}) {
            RunInput in = PathInput(Paris.Lat, Paris.LonWestDeg, 40, remoteLonWestDeg);
            in.Station.Path = longPath;
            const Prediction p = Predict(in);
            const ld spots = FluxToSpots(in.Flux);
            for (int h = 0; h < 24; ++h) {
                const ld muf = MiniMuf(12, 10, h, Paris.Lat * DegToRad, Paris.LonWestDeg * DegToRad, 40 * DegToRad,
                                       remoteLonWestDeg * DegToRad, spots);
                EXPECT_EQ(p.At(h + 1, RowMuf).Text, FormatFixed(muf, 1)) << h << (longPath ? " long" : " short");
            }
        }
    }
}

// The best-frequency cell is the signal-level cell of the best band, as that
// band was evaluated, and the best band has the highest level of the hour.
TEST(ComputeMUF, BestFrequencyShowsTheBestBandsOwnResult)
{
    int shown = 0;
    for (const ld remoteLonWestDeg : {74.0L, -139.7L, 100.0L, 0.0L}) {
        for (const bool longPath : {false, true}) {
            RunInput in =
                PathInput(Paris.Lat, Paris.LonWestDeg, remoteLonWestDeg == 0 ? 45.0L : 35.7L, remoteLonWestDeg);
            in.Station.Path = longPath;
            const Prediction levels = Predict(in);
            in.Station.Display = DisplayFormat::BestFrequency;
            const Prediction best = Predict(in);
            for (int col = 1; col < TableCols; ++col) {
                const std::string& freq = best.At(col, RowBestFreq).Text;
                const std::string& cell = best.At(col, RowBestCell).Text;
                for (int r = 0; r < RowBestFreq; ++r) {
                    EXPECT_TRUE(best.At(col, r).Text.empty());
                }
                int top = -1000, topRow = -1;
                for (int r = 14; r >= 0; --r) { // ascending frequency
                    const std::string& t = levels.At(col, r).Text;
                    if (!t.empty() && std::stoi(t) > top) {
                        top = std::stoi(t);
                        topRow = r;
                    }
                }
                if (freq.empty()) {
                    EXPECT_TRUE(cell.empty());
                    EXPECT_LE(top, -17); // nothing above the noise reference, -140 dBm
                    continue;
                }
                ++shown;
                const int band = std::stoi(freq) / 2;
                EXPECT_EQ(cell, levels.At(col, 15 - band).Text) << "col " << col << " " << freq << " MHz";
                EXPECT_EQ(std::stoi(cell), top);
                EXPECT_GE(band, 15 - topRow); // equal rounded levels: the lower band may win
            }
        }
    }
    EXPECT_GT(shown, 50);
}

TEST(ComputeMUF, UnknownDisplayLeavesTheBandRowsEmpty)
{
    RunInput in = PathInput(Paris, NewYork);
    in.Station.Display = static_cast<DisplayFormat>(5);
    const Prediction p = Predict(in);
    for (int col = 0; col < TableCols; ++col) {
        for (int r = 0; r < 15; ++r) {
            EXPECT_TRUE(p.At(col, r).Text.empty()) << col << "," << r;
        }
        for (int r = 15; r < TableRows; ++r) {
            EXPECT_FALSE(p.At(col, r).Text.empty()) << col << "," << r;
        }
    }
}

// Haversine distance and arc-tangent bearings on a sphere of 6371.2 km.
TEST(ComputeMUF, DistanceAndBearingsMatchASphere)
{
    // Bearings in degrees, with 0 and 360 the same direction.
    auto gap = [](ld deg, double rad) { return BearingGap(static_cast<double>(deg) * D2R, rad) / D2R; };
    const double homes[][2] = {{Paris.Lat, Paris.LonWestDeg}, {-33.87, -151.21}, {0, 0}, {64.1, 21.9}};
    for (const auto& home : homes) {
        for (int lat = -80; lat <= 80; lat += 32) {
            for (int lonWestDeg = -179; lonWestDeg <= 180; lonWestDeg += 37) {
                const double la1 = home[0] * D2R, lo1 = -home[1] * D2R, la2 = lat * D2R, lo2 = -lonWestDeg * D2R;
                const double h = std::pow(std::sin((la2 - la1) / 2), 2) +
                                 std::cos(la1) * std::cos(la2) * std::pow(std::sin((lo2 - lo1) / 2), 2);
                const double km = 2 * std::asin(std::sqrt(h)) * 6371.2;
                const double az = SphereBearing(la1, lo1, la2, lo2), back = SphereBearing(la2, lo2, la1, lo1);
                for (const bool longPath : {false, true}) {
                    RunInput in = PathInput(home[0], home[1], lat, lonWestDeg);
                    in.Station.Path = longPath;
                    const Prediction p = Predict(in);
                    const double expectedKm = longPath ? 2 * PiD * 6371.2 - km : km;
                    const double turn = longPath ? PiD : 0;
                    EXPECT_NEAR(static_cast<double>(p.Path.DistanceKm), expectedKm, 1e-6);
                    EXPECT_LT(gap(p.Path.AzimuthDeg, az + turn), 1e-6)
                        << home[0] << " " << home[1] << " -> " << lat << " " << lonWestDeg;
                    EXPECT_LT(gap(p.Path.BackAzimuthDeg, back + turn), 1e-6)
                        << home[0] << " " << home[1] << " -> " << lat << " " << lonWestDeg;
                }
            }
        }
    }
}

// A remote point on the home station: a zero-length path, flown straight up
// and down, that shows finite levels, the station's day or night, and the
// delay of one vertical hop to the 320 km layer.
TEST(ComputeMUF, CoincidentPointsShowAVerticalPath)
{
    for (const ld lat : {0.0L, 45.0L, -90.0L, 37.0L, -60.0L}) { // sunlit in December
        for (const int display : {1, 3}) {
            RunInput in = PathInput(lat, 10, lat, 10);
            in.Station.Display = static_cast<DisplayFormat>(display);
            const Prediction p = Predict(in);
            EXPECT_EQ(p.H1[2], "Distance (km) : 0.0 Km");
            EXPECT_EQ(p.H1[3], "Delay : 2.1 milliseconds") << static_cast<double>(lat);
            EXPECT_EQ(p.Path.BaseHops, 1);
            int cells = 0;
            for (int col = 1; col < TableCols; ++col) {
                for (int r = 0; r < 15; ++r) {
                    const std::string& t = p.At(col, r).Text;
                    if (t.empty()) {
                        continue;
                    }
                    ++cells;
                    EXPECT_EQ(t.find_first_not_of("-0123456789"), t.size() - 3) << t;
                    EXPECT_NE(t.find_first_of("jn"), std::string::npos) << static_cast<double>(lat) << " " << t;
                    if (display == 3) {
                        EXPECT_EQ(t.substr(0, 1), "2") << t; // 700 km up and down: 2.3 ms
                    }
                }
            }
            EXPECT_GT(cells, 0) << static_cast<double>(lat);
        }
    }
}

void ExpectSameTables(const Prediction& a, const Prediction& b, const std::string& what)
{
    for (int r = 0; r < TableRows; ++r) {
        for (int c = 0; c < TableCols; ++c) {
            const Cell& x = a.At(c, r);
            const Cell& y = b.At(c, r);
            ASSERT_EQ(x.Text, y.Text) << what << " cell " << c << "," << r;
            ASSERT_TRUE(x.Bg == y.Bg && x.Fg == y.Fg && x.Bold == y.Bold) << what << " cell " << c << "," << r;
        }
    }
    EXPECT_EQ(a.H1, b.H1) << what;
    EXPECT_EQ(a.H2, b.H2) << what;
    EXPECT_EQ(a.DisplayText, b.DisplayText) << what;
    EXPECT_EQ(a.AntennaText, b.AntennaText) << what;
    EXPECT_EQ(a.PowerText, b.PowerText) << what;
    EXPECT_EQ(a.Path.BaseHops, b.Path.BaseHops) << what;
    EXPECT_EQ(a.Path.DistanceKm, b.Path.DistanceKm) << what;
    EXPECT_EQ(a.Path.DelayMs, b.Path.DelayMs) << what;
}

// ComputeMUF works out once what does not change with the hour (the path,
// its hops, and the parts of the hourly model that the sun does not move);
// the plain run works every hour out afresh from the same model functions. The two agreeing shows that nothing is lost
// or stale in what is shared between hours: it says nothing of the model functions themselves, which their own tests
// and the reference tables check. Like the program, ComputeMUF keeps one workspace and one table from run to run, and
// nothing of an earlier run may show through; the plain run starts afresh every time.
TEST(ComputeMUF, SharingThePathsWorkBetweenHoursChangesNoCell)
{
    Workspace wsRun;
    Prediction run;
    for (const orvela_test::NamedInput& c : orvela_test::VariedInputs()) {
        Workspace wsRef;
        Prediction ref;
        ComputeMUF(c.In, wsRun, run);
        orvela_test::ReferenceRun(c.In, wsRef, ref);
        ExpectSameTables(run, ref, c.What);
    }
}

} // namespace
