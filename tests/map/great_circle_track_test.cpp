// The path's line on the world map.
#include "map/great_circle_track.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace orvela;

constexpr double W = 512;
constexpr double H = 256;

double X(double lonWestDeg)
{
    return (180 - lonWestDeg) / 360 * W;
}
double Y(double lat)
{
    return (90 - lat) / 180 * H;
}

int Points(const std::vector<TrackLine>& lines)
{
    int n = 0;
    for (const TrackLine& l : lines) {
        for (const TrackPoint& p : l) {
            EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
            EXPECT_TRUE(p.X >= -1e-9 && p.X <= W + 1e-9 && p.Y >= -1e-9 && p.Y <= H + 1e-9) << p.X << "," << p.Y;
            ++n;
        }
    }
    return n;
}

// Where each path breaks: at the side edges, the same height on both; over
// a pole, the top or bottom edge. The paths start at home and end at the
// remote point, and run continuously between their breaks.
TEST(GreatCircleTrack, BreaksAtTheEdgesItCrosses)
{
    struct Case {
        const char* What;
        double HomeLat, HomeLon, RemoteLat, RemoteLon; // positive north and west
        std::size_t ShortLines, LongLines;
    };
    const Case cases[] = {
        {"Tokyo to Honolulu, short path over the date line", 35.7, -139.7, 21.3, 157.9, 2, 1},
        {"Paris to New York, long path over the date line", 48.85, -2.35, 40.7, 74.0, 1, 2},
        {"Over the North Pole, the long path over the South Pole", 80, 0, 80, 180, 2, 2},
        {"Near the North Pole", 80, 0, 80, 179, 1, 3},
        {"Sydney to Auckland, short path without a crossing", -33.9, -151.2, -36.8, -174.8, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const GreatCircleTracks t = GreatCircleTrack(c.HomeLat, c.HomeLon, c.RemoteLat, c.RemoteLon, W, H);
        ASSERT_EQ(t.ShortPath.size(), c.ShortLines);
        ASSERT_EQ(t.LongPath.size(), c.LongLines);
        Points(t.ShortPath);
        Points(t.LongPath);
        for (const auto* path : {&t.ShortPath, &t.LongPath}) {
            const TrackPoint& first = path->front().front();
            const TrackPoint& last = path->back().back();
            EXPECT_NEAR(first.X, X(c.HomeLon), 1e-6);
            EXPECT_NEAR(first.Y, Y(c.HomeLat), 1e-6);
            EXPECT_NEAR(std::fmod(last.X, W), std::fmod(X(c.RemoteLon), W), 1e-6);
            EXPECT_NEAR(last.Y, Y(c.RemoteLat), 1e-6);
            for (std::size_t i = 0; i + 1 < path->size(); ++i) {
                const TrackPoint& end = (*path)[i].back();
                const TrackPoint& next = (*path)[i + 1].front();
                const bool side = (std::fabs(end.X) < 1e-9 && std::fabs(next.X - W) < 1e-9) ||
                                  (std::fabs(end.X - W) < 1e-9 && std::fabs(next.X) < 1e-9);
                const bool pole = (end.Y == 0 && next.Y == 0) || (end.Y == H && next.Y == H);
                EXPECT_TRUE(side || pole) << end.X << "," << end.Y << " then " << next.X << "," << next.Y;
                if (side) {
                    EXPECT_NEAR(end.Y, next.Y, 1e-9);
                }
            }
            // No line runs across the map: where the circle crosses an edge
            // the line is broken there.
            for (const TrackLine& l : *path) {
                for (std::size_t k = 0; k + 1 < l.size(); ++k) {
                    ASSERT_LT(std::fabs(l[k + 1].X - l[k].X), W / 2) << k;
                }
            }
        }
    }
}

// The short path over the date line crosses it where the great circle does:
// Tokyo to Honolulu meets 180 degrees at about 29.5 N.
TEST(GreatCircleTrack, CrossesTheDateLineWhereTheCircleDoes)
{
    const GreatCircleTracks t = GreatCircleTrack(35.7, -139.7, 21.3, 157.9, W, H, 0.5);
    ASSERT_EQ(t.ShortPath.size(), 2u);
    const TrackPoint& edge = t.ShortPath[0].back();
    EXPECT_DOUBLE_EQ(edge.X, W);
    // The latitude where the circle through the two points meets 180 E.
    const double lat = 90 - edge.Y / H * 180;
    EXPECT_NEAR(lat, 30.0, 1.0);
}

// Nothing to draw for one point; antipodes get the circle over the North
// Pole; no coordinate is ever NaN, whatever comes in.
TEST(GreatCircleTrack, DegenerateInputs)
{
    EXPECT_TRUE(GreatCircleTrack(48.85, -2.35, 48.85, -2.35, W, H).ShortPath.empty());
    EXPECT_TRUE(GreatCircleTrack(48.85, -2.35, 48.85, -2.35, W, H).LongPath.empty());
    EXPECT_TRUE(GreatCircleTrack(NAN, 0, 10, 10, W, H).ShortPath.empty());
    EXPECT_TRUE(GreatCircleTrack(0, 0, 10, 10, 0, H).ShortPath.empty());

    const GreatCircleTracks antipodes = GreatCircleTrack(0, 0, 0, 180, W, H);
    ASSERT_FALSE(antipodes.ShortPath.empty());
    double northmost = H;
    for (const TrackLine& l : antipodes.ShortPath) {
        for (const TrackPoint& p : l) {
            northmost = std::min(northmost, p.Y);
        }
    }
    EXPECT_NEAR(northmost, 0, 0.5);
    Points(antipodes.ShortPath);
    Points(antipodes.LongPath);

    for (double lat : {90.0, -90.0}) {
        const GreatCircleTracks fromPole = GreatCircleTrack(lat, 0, 0, 30, W, H);
        EXPECT_FALSE(fromPole.ShortPath.empty());
        Points(fromPole.ShortPath);
        Points(fromPole.LongPath);
    }
}

} // namespace
