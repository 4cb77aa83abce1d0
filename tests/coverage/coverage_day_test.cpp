// The whole day of one band over the grid.
#include "coverage/area_coverage.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

using namespace orvela;

std::string Where(const area::Coverage& c, std::size_t i, int h)
{
    return "hour " + std::to_string(h) + " at " + std::to_string(c.Points[i].LatDeg) + "," +
           std::to_string(c.Points[i].LonWestDeg);
}

// The day, each point's path worked out once, is the 24 single-hour grids,
// cell for cell and in the same CSV, for a mid-latitude station on the
// short and the long path, and a polar one near the date line with a high
// minimum angle and another antenna.
TEST(CoverageDay, IsTheTwentyFourSingleHours)
{
    RunInput paris = orvela_test::PathInput(orvela_test::Paris, orvela_test::NewYork);

    RunInput polar = paris;
    polar.Station.Latitude = -89.5L;
    polar.Station.Longitude = 179.0L;
    polar.Station.MinAngle = 12;
    polar.Station.GainTable = Antenna::Yagi;
    polar.Flux = 210;
    polar.Month = 6;
    polar.Day = 21;

    RunInput longPath = paris;
    longPath.Station.Path = true;

    struct Case {
        const char* What;
        RunInput In;
        int Band;
        int Step;
    };
    for (const Case& k :
         {Case{"Paris", paris, 7, 10}, Case{"long path", longPath, 9, 10}, Case{"polar", polar, 5, 15}}) {
        SCOPED_TRACE(k.What);
        const std::vector<area::Coverage> day = area::ComputeCoverageDay(k.In, k.Band, k.Step, 2);
        ASSERT_EQ(day.size(), 24u);
        int withPath = 0, without = 0;
        for (int h = 0; h < 24; ++h) {
            const area::Coverage one = area::ComputeCoverage(k.In, h, k.Band, k.Step, 1);
            const area::Coverage& d = day[static_cast<std::size_t>(h)];
            ASSERT_EQ(d.StepDeg, one.StepDeg);
            ASSERT_EQ(d.Points.size(), one.Points.size());
            for (std::size_t i = 0; i < one.Points.size(); ++i) {
                const BandResult& a = d.Results[i];
                const BandResult& b = one.Results[i];
                ASSERT_TRUE(a.HasPath == b.HasPath && a.Text == b.Text && a.Bg == b.Bg && a.Fg == b.Fg)
                    << Where(one, i, h) << ": " << a.Text << " against " << b.Text;
                ++(b.HasPath ? withPath : without);
            }
            ASSERT_EQ(area::CoverageCsv(d), area::CoverageCsv(one)) << "hour " << h;
        }
        EXPECT_GT(withPath, 0);
        EXPECT_GT(without, 0);
    }
}

// A request given up: a flag already set stops both computations before
// any work, and a flag set from another thread while the day's 1-degree
// grid is under way stops it long before its end; a flag left clear
// changes nothing.
TEST(CoverageCancel, StopsTheComputationAndThrows)
{
    RunInput in;
    in.Station.Latitude = 48.85L;
    in.Station.Longitude = -2.35L;
    std::atomic<bool> stop{true};
    EXPECT_THROW(area::ComputeCoverage(in, 12, 7, 2, 2, &stop), area::Cancelled);
    EXPECT_THROW(area::ComputeCoverageDay(in, 7, 2, 2, &stop), area::Cancelled);

    stop = false;
    EXPECT_EQ(area::CoverageCsv(area::ComputeCoverage(in, 12, 7, 30, 2, &stop)),
              area::CoverageCsv(area::ComputeCoverage(in, 12, 7, 30, 2)));

    // The whole day of the 1-degree grid takes several seconds; the flag is
    // set from another thread while it runs. A computation that read the
    // flag only before its first point would return a whole day here.
    std::thread canceller([&] { stop = true; });
    EXPECT_THROW(area::ComputeCoverageDay(in, 7, 1, 2, &stop), area::Cancelled);
    canceller.join();
}

} // namespace
