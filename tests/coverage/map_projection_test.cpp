// Where grid points lie on a coverage map, which one a position belongs to,
// and the cells the coverage window blends over its map.
#include "coverage/cell_blend.h"
#include "coverage/map_projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace orvela::area {
namespace {

TEST(MapProjection, PutsTheDateLineOnBothEdgesAndThePolesOnTopAndBottom)
{
    const MapProjection map{720, 360};
    EXPECT_EQ(map.X(180), 0);
    EXPECT_EQ(map.X(-180), 720);
    EXPECT_EQ(map.X(0), 360);
    EXPECT_EQ(map.Y(90), 0);
    EXPECT_EQ(map.Y(-90), 360);
    EXPECT_DOUBLE_EQ(map.LonWestDeg(map.X(-74.5)), -74.5);
    EXPECT_DOUBLE_EQ(map.Lat(map.Y(40.25)), 40.25);
}

// Near the date line the nearest meridian may lie across it; near the poles
// the nearest latitude is the pole's row, and beyond them too.
TEST(NearestGridPoint, WrapsAtTheDateLineAndStopsAtThePoles)
{
    struct Case {
        double Lat, LonWestDeg;
        int Step;
        GridPoint Expected;
    };
    const Case cases[] = {
        {0, 180, 5, {0, -180}},    // 180 W is 180 E, the grid's first column
        {0, -180, 5, {0, -180}},   //
        {0, 179.9, 5, {0, -180}},  // just east of 180 W: across the line
        {0, 177.6, 5, {0, -180}},  //
        {0, 177.4, 5, {0, 175}},   //
        {0, -177.4, 5, {0, -175}}, //
        {0, 190, 5, {0, -170}},    // beyond the map's left edge, round the world
        {0, -185, 5, {0, 175}},    // and beyond its right edge
        {90, 30, 5, {90, 30}},     // the poles
        {87.6, 30, 5, {90, 30}},   //
        {93, 30, 5, {90, 30}},     // beyond them: the pole's row
        {-90, -1, 2, {-90, 0}},    //
        {-95, -1, 2, {-90, 0}},    //
        {-89.1, 1.1, 1, {-89, 1}}, //
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Lat << " " << c.LonWestDeg << " step " << c.Step);
        const std::vector<GridPoint> points = GridPoints(c.Step);
        const std::size_t i = NearestGridPoint(c.Lat, c.LonWestDeg, c.Step);
        ASSERT_LT(i, points.size());
        EXPECT_EQ(points[i].LatDeg, c.Expected.LatDeg);
        EXPECT_EQ(points[i].LonWestDeg, c.Expected.LonWestDeg);
    }
}

// Every position of the map, on every grid, belongs to a point at most half
// a step away in latitude and in longitude, measured round the world.
TEST(NearestGridPoint, IsNeverMoreThanHalfAStepAway)
{
    for (const int step : {1, 2, 5, 10, 15}) {
        SCOPED_TRACE(step);
        const std::vector<GridPoint> points = GridPoints(step);
        for (double lat = -90; lat <= 90; lat += 0.7) {
            for (double lonWestDeg = -180; lonWestDeg <= 180; lonWestDeg += 0.7) {
                const GridPoint& p = points[NearestGridPoint(lat, lonWestDeg, step)];
                const double lonGapDeg = std::fabs(std::remainder(lonWestDeg - p.LonWestDeg, 360.0));
                ASSERT_LE(std::fabs(lat - p.LatDeg), step / 2.0) << lat << " " << lonWestDeg;
                ASSERT_LE(lonGapDeg, step / 2.0) << lat << " " << lonWestDeg;
            }
        }
    }
}

// One pixel per degree, the 10-degree grid: the cells of a point on the
// date line and of the North Pole's point at 0 degrees, with paths; every
// other point has none.
TEST(BlendCells, ColoursTheCellsOfPathsOnlyTheDateLinesOnBothEdges)
{
    CoverageDaySummary day;
    day.StepDeg = 10;
    day.Points = GridPoints(10);
    day.Cells.resize(24 * day.Points.size());
    day.Known[12] = true;
    const std::size_t dateLine = NearestGridPoint(20, 180, 10);
    const std::size_t pole = NearestGridPoint(90, 0, 10);
    for (const std::size_t i : {dateLine, pole}) {
        CellSummary& c = day.Cells[12 * day.Points.size() + i];
        c.HasPath = true;
        c.LevelDb = 50;
    }
    const int width = 360, height = 180;
    const std::uint32_t grey = 0xFF606060;
    const std::vector<std::uint32_t> map(static_cast<std::size_t>(width * height), grey);

    std::vector<std::uint32_t> unknown = map;
    BlendCells(unknown.data(), width, height, width, day, 11);
    EXPECT_EQ(unknown, map) << "an hour not computed yet";

    std::vector<std::uint32_t> blended = map;
    BlendCells(blended.data(), width, height, width, day, 12);
    const MapProjection proj{width, height};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double lat = proj.Lat(y + 0.5);
            const double lonWestDeg = proj.LonWestDeg(x + 0.5);
            const bool onDateLine = std::fabs(lat - 20) < 5 && std::fabs(std::fabs(lonWestDeg) - 180) < 5;
            const bool nearPole = lat > 85 && std::fabs(lonWestDeg) < 5;
            const bool coloured = blended[static_cast<std::size_t>(y * width + x)] != grey;
            ASSERT_EQ(coloured, onDateLine || nearPole) << "pixel " << x << "," << y;
        }
    }
}

} // namespace
} // namespace orvela::area
