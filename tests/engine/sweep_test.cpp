#include "prediction.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using namespace orvela;

bool HasNonNumber(const std::string& s)
{
    return s.find("nan") != std::string::npos || s.find("inf") != std::string::npos;
}

// A band cell is a whole number, a day/night letter, a hop count from
// baseHops to baseHops + 3 and a marker.
bool ParsesAsResult(const std::string& t, int baseHops)
{
    if (t.size() < 4) {
        return false;
    }
    const char marker = t.back();
    if (marker != 's' && marker != 'm' && marker != 'e' && marker != ' ') {
        return false;
    }
    std::size_t i = t.size() - 1;
    while (i > 0 && std::isdigit(static_cast<unsigned char>(t[i - 1]))) {
        --i;
    }
    const std::string hops = t.substr(i, t.size() - 1 - i);
    if (hops.empty() || hops.size() > 2 || i < 2) {
        return false;
    }
    const int k = std::stoi(hops);
    if (k < baseHops || k > baseHops + 3 || k > MaxHops) {
        return false;
    }
    const char letter = t[i - 1];
    if (letter != 'j' && letter != 'n' && letter != 'x' && letter != 'o') {
        return false;
    }
    const std::string number = t.substr(0, i - 1);
    const std::size_t digits = number[0] == '-' ? 1 : 0;
    return number.size() > digits && number.find_first_not_of("0123456789", digits) == std::string::npos;
}

void CheckRun(const RunInput& in, const std::string& what)
{
    const Prediction p = orvela_test::Predict(in);
    const int base = p.Path.BaseHops;
    ASSERT_TRUE(base >= 1 && base + 3 <= MaxHops) << what << " base hops " << base;
    for (const std::string& s : p.H1) {
        ASSERT_FALSE(HasNonNumber(s)) << what << ": " << s;
    }
    for (const std::string& s : p.H2) {
        ASSERT_FALSE(HasNonNumber(s)) << what << ": " << s;
    }
    for (int col = 1; col < TableCols; ++col) {
        for (int row = 0; row < 15; ++row) {
            const std::string& t = p.At(col, row).Text;
            if (t.empty()) {
                continue;
            }
            if (in.Station.Display == 4 && row == RowBestFreq) {
                const int f = std::stoi(t);
                ASSERT_TRUE(f % 2 == 0 && f >= 2 && f <= 30 && t == std::to_string(f)) << what << ": " << t;
                continue;
            }
            ASSERT_TRUE(ParsesAsResult(t, base)) << what << " cell " << col << "," << row << ": '" << t << "'";
        }
        for (int row = RowUtc; row <= RowZen; ++row) {
            const std::string& t = p.At(col, row).Text;
            ASSERT_FALSE(t.empty() || HasNonNumber(t)) << what << " row " << row << ": " << t;
        }
    }
}

using Home = orvela_test::Place;

// Whole-degree remote points around a few awkward home stations: the poles,
// the equator at 0 and on the date line, and a mid-latitude station; with the
// coincident and antipodal points, the poles and the home meridian added.
// Display, path and minimum angle turn over from point to point so that
// each combination meets many geometries; the special points get every
// path and minimum angle.
TEST(ComputeMUFSweep, EveryPathGivesAReadableTable)
{
    const Home homes[] = {{90, 0}, {-90, 0}, {0, 0}, {0, 180}, orvela_test::Paris};
    const int minAngles[] = {0, 1, 10, 30, 60, 89, 90};
    int i = 0;
    for (const Home& h : homes) {
        std::vector<std::pair<ld, ld>> points;
        for (int lat = -90; lat <= 90; lat += 9) {
            for (int lon = -180; lon <= 180; lon += 23) {
                points.emplace_back(lat, lon);
            }
        }
        const ld antiLon = h.LonW > 0 ? h.LonW - 180 : h.LonW + 180;
        const std::vector<std::pair<ld, ld>> special = {
            {h.Lat, h.LonW}, {-h.Lat, antiLon}, {90, 17}, {-90, -17}, {h.Lat > 0 ? -30 : 30, h.LonW},
            {h.Lat, antiLon},
        };
        // One run from this home to pt; i turns the display, date and, unless
        // given, the other options over.
        const auto run = [&](const std::pair<ld, ld>& pt, bool longPath, int minAngle, int gainTable,
                             const std::string& what) {
            RunInput in = orvela_test::PathInput(h.Lat, h.LonW, pt.first, pt.second);
            in.Station.Display = 1 + i % 4;
            in.Station.Path = longPath;
            in.Station.MinAngle = minAngle;
            in.Station.GainTable = gainTable;
            in.Month = 1 + i % 12;
            in.Day = 1 + i % 28;
            ++i;
            CheckRun(in, "home " + std::to_string(static_cast<double>(h.Lat)) + " " +
                             std::to_string(static_cast<double>(h.LonW)) + what +
                             std::to_string(static_cast<double>(pt.first)) + " " +
                             std::to_string(static_cast<double>(pt.second)));
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
}

} // namespace
