#include "engine/prediction.h"
#include "tests/engine/run_inputs.h"
#include "tests/support/test_paths.h"

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

void CheckTable(const Prediction& p, const RunInput& in, const std::string& what)
{
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
            if (in.Station.Display == DisplayFormat::BestFrequency && row == RowBestFreq) {
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

// The sweep of awkward geometries (the poles, the equator, coincident and
// antipodal points, every minimum angle): every table reads as a table, and
// each hour computed alone is that hour's column of it, where a shortcut
// would show. Four hours a path, turning over from path to path. One run of
// each path serves both checks.
TEST(ComputeMUFSweep, EveryPathGivesAReadableTableWhoseHoursStandAlone)
{
    const std::vector<orvela_test::NamedInput> runs = orvela_test::SweepInputs();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Prediction full = orvela_test::Predict(runs[i].In);
        CheckTable(full, runs[i].In, runs[i].What);
        for (int k = 0; k < 24; k += 6) {
            const int h = static_cast<int>((i + k) % 24);
            ASSERT_TRUE(orvela_test::HourIsTheRunsColumn(runs[i].In, full, h)) << runs[i].What << " hour " << h;
        }
    }
}

} // namespace
