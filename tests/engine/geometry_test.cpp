#include "engine/geometry.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace orvela;

using orvela_test::BearingGap;
using orvela_test::D2R;
using orvela_test::PiD;
using orvela_test::SphereBearing;

TEST(Sign, ZeroCountsAsPositive)
{
    EXPECT_EQ(Sign(0.0L), 1);
    EXPECT_EQ(Sign(-0.0L), 1);
    EXPECT_EQ(Sign(1e-30L), 1);
    EXPECT_EQ(Sign(-1e-30L), -1);
    EXPECT_EQ(Sign(-5.0L), -1);
}

TEST(ComputeBearing, BearingsBetweenKnownPlaces)
{
    const struct {
        ld Tla, Tlo, Rla, Rlo;
        ld Bearing;
        ld Tolerance;
    } cases[] = {
        {0, 0, 0, -Pi / 2, Pi / 2, 1e-18L}, // due east along the equator
        // Due west: the turn uses the twelve-decimal 2 pi, so the bearing is
        // 1.6e-12 short of 3 pi / 2.
        {0, 0, 0, Pi / 2, 4.7123889803831L, 1e-14L},
        {0.1L, 0.3L, 0.5L, 0.3L, 0, 0},      // due north on one meridian
        {0.5L, 0.3L, 0.1L, 0.3L, Pi, 1e-9L}, // due south: the arc cosine's pi
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(ComputeBearing(c.Tla, c.Tlo, c.Rla, c.Rlo), c.Bearing, c.Tolerance)
            << static_cast<double>(c.Rla) << " " << static_cast<double>(c.Rlo);
    }
}

TEST(ComputeBearing, HalfTurnLongitudeDifferenceIsNotMirrored)
{
    // tlo - rlo of exactly +short pi and -short pi both fold to +short pi:
    // the path crosses the north pole, so the bearing is about 0 either way.
    for (const ld sign : {1.0L, -1.0L}) {
        const ld az = ComputeBearing(0.5L, sign * ShortPi, 0.3L, 0);
        EXPECT_LT(az, 1e-6L) << "sign " << static_cast<double>(sign);
    }
    // From the southern hemisphere the same path crosses the south pole.
    EXPECT_NEAR(ComputeBearing(-0.5L, -ShortPi, -0.3L, 0), Pi, 1e-6L);
}

TEST(ComputeBearing, MatchesASphericalBearing)
{
    for (int lat1 = -80; lat1 <= 80; lat1 += 20) {
        for (int lat2 = -85; lat2 <= 85; lat2 += 17) {
            for (int deltaLonDeg = -175; deltaLonDeg <= 175; deltaLonDeg += 25) {
                const double lonWestDeg1 = 30, lonWestDeg2 = 30 - deltaLonDeg;
                const ld az =
                    ComputeBearing(lat1 * DegToRad, lonWestDeg1 * DegToRad, lat2 * DegToRad, lonWestDeg2 * DegToRad);
                const double expected = SphereBearing(lat1 * D2R, -lonWestDeg1 * D2R, lat2 * D2R, -lonWestDeg2 * D2R);
                EXPECT_LT(BearingGap(static_cast<double>(az), expected), 1e-8)
                    << lat1 << " " << lat2 << " " << deltaLonDeg;
            }
        }
    }
}

// Coincident and antipodal points have no path direction: the bearing looks
// north, and from a pole it looks along the only way there is.
TEST(ComputeBearing, DegeneratePathsLookNorthOrAwayFromThePole)
{
    for (int lat = -89; lat <= 89; ++lat) {
        for (int lonWestDeg = -180; lonWestDeg <= 180; lonWestDeg += 45) {
            const ld la = lat * DegToRad, lo = lonWestDeg * DegToRad;
            const ld anti = (lonWestDeg > 0 ? lonWestDeg - 180 : lonWestDeg + 180) * DegToRad;
            const ld same = ComputeBearing(la, lo, la, lo);
            const ld opposite = ComputeBearing(la, lo, -la, anti);
            EXPECT_TRUE(std::isfinite(same) && std::isfinite(opposite));
            EXPECT_LT(BearingGap(static_cast<double>(same), 0), 1e-9) << lat << " " << lonWestDeg;
            EXPECT_LT(BearingGap(static_cast<double>(opposite), 0), 1e-9) << lat << " " << lonWestDeg;
        }
    }
    for (const ld lonWestRad : {-1.0L, 0.0L, 1.0L}) {
        EXPECT_LT(BearingGap(static_cast<double>(ComputeBearing(90 * DegToRad, 0, 40 * DegToRad, lonWestRad)), PiD),
                  1e-9);
        EXPECT_LT(BearingGap(static_cast<double>(ComputeBearing(90 * DegToRad, 0, 90 * DegToRad, lonWestRad)), PiD),
                  1e-9);
        EXPECT_LT(BearingGap(static_cast<double>(ComputeBearing(-90 * DegToRad, 0, 40 * DegToRad, lonWestRad)), 0),
                  1e-9);
    }
}

// Sun zenith angle at a point, west-positive longitudes, by the direct formula.
double DirectZenith(double lat, double lonWestRad, double decl, double sunLonWestRad)
{
    return std::acos(std::sin(lat) * std::sin(decl) +
                     std::cos(lat) * std::cos(decl) * std::cos(sunLonWestRad - lonWestRad));
}

struct PathCase {
    double HomeLat, HomeLonWestDeg, RemoteLat, RemoteLonWestDeg;
};

// A workspace set on the short path of `p`, and the path's central angle.
Workspace OnPath(const PathCase& p, ld& centralAngle)
{
    const ld hl = p.HomeLat * DegToRad, ho = p.HomeLonWestDeg * DegToRad;
    const ld rl = p.RemoteLat * DegToRad, ro = p.RemoteLonWestDeg * DegToRad;
    centralAngle = acosl(sinl(hl) * sinl(rl) + cosl(hl) * cosl(rl) * cosl(ho - ro));
    Workspace ws;
    SetHomePath(ws, hl, ho, ComputeBearing(hl, ho, rl, ro), FoldLongitude(ho - ro));
    return ws;
}

// Points along the short path, the remote end and a little beyond it, against
// the destination-point formula of spherical trigonometry.
TEST(Zenith, FollowsTheGreatCircleFromHome)
{
    const PathCase paths[] = {
        {48.85, -2.35, 40, 74},        // Paris to New York: mid-latitude, westwards
        {-33.9, -151.2, 35.7, -139.7}, // southern hemisphere to northern, eastwards
        {10, 170, 20, -170},           // across the date line
        {10, 0, -10, 0},               // along a meridian
        {0, 0, 0, -100},               // along the equator
    };
    const double decl = -22.9 * D2R;
    for (const PathCase& p : paths) {
        ld d = 0;
        Workspace ws = OnPath(p, d);
        const ld az = ws.Azimuth;
        for (double sunLonWestDeg = -180; sunLonWestDeg < 180; sunLonWestDeg += 45) {
            SetSun(ws, decl, sunLonWestDeg * D2R);
            for (double f : {0.0, 0.25, 0.5, 0.75, 1.0, 1.2}) {
                const double dst = static_cast<double>(d) * f;
                if (dst >= 3.14) {
                    continue;
                }
                const double lat1 = p.HomeLat * D2R, b = static_cast<double>(az);
                const double lat =
                    std::asin(std::sin(lat1) * std::cos(dst) + std::cos(lat1) * std::sin(dst) * std::cos(b));
                const double lonEastRad =
                    -p.HomeLonWestDeg * D2R + std::atan2(std::sin(b) * std::sin(dst) * std::cos(lat1),
                                                         std::cos(dst) - std::sin(lat1) * std::sin(lat));
                const double expected = DirectZenith(lat, -lonEastRad, decl, sunLonWestDeg * D2R);
                EXPECT_NEAR(static_cast<double>(Zenith(ws, dst)), expected, 1e-9)
                    << p.HomeLat << " " << p.HomeLonWestDeg << " f " << f << " sun " << sunLonWestDeg;
            }
        }
    }
}

// From a pole every path runs down the remote point's meridian.
TEST(Zenith, FromAPoleRunsDownTheRemoteMeridian)
{
    const double decl = 15 * D2R;
    for (const double homeLat : {90.0, -90.0}) {
        ld d = 0;
        Workspace ws = OnPath({homeLat, 0, 40, 74}, d);
        for (double sunLonWestDeg = -180; sunLonWestDeg < 180; sunLonWestDeg += 60) {
            SetSun(ws, decl, sunLonWestDeg * D2R);
            for (double f : {0.2, 0.6, 1.0}) {
                const double dst = static_cast<double>(d) * f;
                const double lat = homeLat > 0 ? 90 * D2R - dst : -90 * D2R + dst;
                EXPECT_NEAR(static_cast<double>(Zenith(ws, dst)),
                            DirectZenith(lat, 74 * D2R, decl, sunLonWestDeg * D2R), 1e-9)
                    << homeLat << " f " << f;
            }
        }
    }
}

} // namespace
