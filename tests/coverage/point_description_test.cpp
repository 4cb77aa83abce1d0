// What the coverage window's status line says of a grid point.
#include "coverage/map_caption.h"
#include "coverage/point_description.h"

#include <gtest/gtest.h>

namespace orvela::area {
namespace {

TEST(PointDescription, SaysThePositionAndThePathOrWhyThereIsNone)
{
    CoverageDaySummary day;
    day.StepDeg = 10;
    day.Points = GridPoints(10);
    day.Cells.resize(24 * day.Points.size());
    day.Known[3] = true;
    const auto at = [&day](std::size_t i) -> CellSummary& { return day.Cells[3 * day.Points.size() + i]; };
    // 40 S 20 W: weak, one hop; 0 0: below the sensitivity, 3 hops; 50 N
    // 170 E: none.
    const std::size_t south = 5 * 36 + 20, centre = 9 * 36 + 18, north = 14 * 36 + 1;
    at(south) = {4, 'j', 1, ' ', true, false};
    at(centre) = {-2, 'x', 3, 's', true, true};

    struct Case {
        std::size_t Point;
        int Hour;
        const char* Said;
    };
    const Case cases[] = {
        {south, 3, "40\u00B0 S, 20\u00B0 W at 03h UTC, 20 m: 4 dB, S1, j, daylight, 1 hop"},
        {centre, 3,
         "0\u00B0, 0\u00B0 at 03h UTC, 20 m: -2 dB (below the receiver's sensitivity), S0, x, day and night, 3 hops"},
        {north, 3, "50\u00B0 N, 170\u00B0 E at 03h UTC, 20 m: no path"},
        {south, 14, "40\u00B0 S, 20\u00B0 W at 14h UTC, 20 m: computing\u2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Said);
        EXPECT_EQ(PointDescription(day, c.Hour, c.Point, "20 m"), c.Said);
    }
    EXPECT_EQ(PositionName(-0.4, 179.6), "0\u00B0, 180\u00B0 W");
}

TEST(BandName, NamesAFixedRowByItsFrequencyAndAnAmateurBandByItsName)
{
    EXPECT_EQ(BandName({14, {}}), "14 MHz");
    EXPECT_EQ(BandName({14, {}}, true), "14 MHz");
    EXPECT_EQ(BandName({14.1L, "20 m"}), "20 m");
    EXPECT_EQ(BandName({14.1L, "20 m"}, true), "20 m (14.1 MHz)");
}

} // namespace
} // namespace orvela::area
