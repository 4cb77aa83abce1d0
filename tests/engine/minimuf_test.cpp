#include "engine/minimuf.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace orvela;
using orvela_test::NewYork;
using orvela_test::Paris;

TEST(FluxToSpots, PiecewiseFitWithoutClampingAtTheJoins)
{
    const struct {
        ld Flux;
        double Spots;
    } cases[] = {
        {64.9L, 0},           {65, -0.0519},   {109.999L, 59.9624}, {110, 60},
        {212.999L, 170.0029}, {213, 169.9951}, {500, 358.1458},     {652.9L, 384},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(static_cast<double>(FluxToSpots(c.Flux)), c.Spots, 5e-5) << static_cast<double>(c.Flux);
    }
    EXPECT_EQ(FluxToSpots(64.9L), 0);
    EXPECT_LT(FluxToSpots(65), 0);
}

TEST(MiniMuf, NeverAbove100MHz)
{
    const ld d = DegToRad;
    const ld paths[][4] = {
        {Paris.Lat * d, Paris.LonWestDeg * d, NewYork.Lat * d, NewYork.LonWestDeg * d},
        {0, 0, 0.3L, 0.2L},
        {-34 * d, -151 * d, 51.5L * d, 0.12L * d},
    };
    for (const auto& p : paths) {
        for (int h = 0; h < 24; h += 3) {
            EXPECT_EQ(MiniMuf(6, 21, h, p[0], p[1], p[2], p[3], 1e6L), 100);
            EXPECT_LE(MiniMuf(6, 21, h, p[0], p[1], p[2], p[3], 384), 100);
        }
    }
}

// A control point in the polar night has no ionisation at any hour: its
// frequency is the floor sqrt(6), times the path factor, the sunspot factor,
// the short-day factor 1 - 0.1 e^-8 and the high-latitude factor 0.8.
TEST(MiniMuf, PolarNightControlPointGivesTheFloor)
{
    const ld tla = 85 * DegToRad, tlo = 0, rla = 85 * DegToRad, rlo = 30 * DegToRad;
    const double D = std::acos(std::sin(85 * M_PI / 180) * std::sin(85 * M_PI / 180) +
                               std::cos(85 * M_PI / 180) * std::cos(85 * M_PI / 180) * std::cos(30 * M_PI / 180));
    const double sQ = std::sin(2.5 * D);
    const double m9 = 1 + 2.5 * sQ * std::sqrt(sQ);
    for (const ld R : {0.0L, 100.0L}) {
        const double expected =
            std::sqrt(6.0) * m9 * (1 + static_cast<double>(R) / 250) * (1 - 0.1 * std::exp(-8.0)) * 0.8;
        for (int h = 0; h < 24; ++h) {
            EXPECT_NEAR(static_cast<double>(MiniMuf(12, 10, h, tla, tlo, rla, rlo, R)), expected, 1e-9)
                << "R " << static_cast<double>(R) << " hour " << h;
        }
    }
}

// Up to about 4007 km the only control point is the path's midpoint, which is
// the same point seen from either station.
TEST(MiniMuf, OneControlPointPathIsSymmetric)
{
    const ld d = DegToRad;
    const ld paths[][4] = {
        {Paris.Lat * d, Paris.LonWestDeg * d, 52 * d, 13 * d},
        {10 * d, 170 * d, 20 * d, -170 * d},
        {-5 * d, 20 * d, 12 * d, -5 * d},
    };
    for (const auto& p : paths) {
        for (int h = 0; h < 24; ++h) {
            const ld ab = MiniMuf(3, 15, h, p[0], p[1], p[2], p[3], 80);
            const ld ba = MiniMuf(3, 15, h, p[2], p[3], p[0], p[1], 80);
            EXPECT_NEAR(static_cast<double>(ab), static_cast<double>(ba), 1e-9 * static_cast<double>(ab)) << h;
        }
    }
}

TEST(MiniMuf, EquatorCountsAsNorthForTheHemisphereFactor)
{
    const struct {
        ld Tla, Rla;
        ld Factor;
    } cases[] = {
        {0, 0.1L, 1}, {0, -0.1L, 1.2L}, {-0.0L, 0, 1}, {-0.2L, -0.1L, 1}, {0.2L, -0.1L, 1.2L},
    };
    for (const auto& c : cases) {
        MiniMufPath path;
        PrepareMiniMuf(path, 1, 1, c.Tla, 0, c.Rla, 0.3L);
        EXPECT_NEAR(path.HemisphereFactor, c.Factor, 1e-18L)
            << static_cast<double>(c.Tla) << " " << static_cast<double>(c.Rla);
    }
}

// Control points of a path on the equator of central angle K / 1.59.
std::size_t ControlPoints(ld K)
{
    MiniMufPath path;
    PrepareMiniMuf(path, 12, 10, 0, 0, 0, K / 1.59L);
    return path.Points.size();
}

// One point up to K = 1, two above K = 1/0.9998, a handful in between; at
// K = 1/0.9999 the step would be zero, and the count stays bounded.
TEST(MiniMuf, ControlPointCountAndStepGuard)
{
    EXPECT_EQ(ControlPoints(0.5L), 1u);
    EXPECT_EQ(ControlPoints(1), 1u);
    EXPECT_EQ(ControlPoints(1 / 0.9997L), 2u);
    EXPECT_EQ(ControlPoints(1.5L), 2u);
    EXPECT_EQ(ControlPoints(3), 2u);
    EXPECT_EQ(ControlPoints(1 / 0.99986L), 4u); // step 4e-5 over a span of 1.4e-4
    for (const ld K : {1 / 0.9999L, 1 / 0.99989999L, 1 / 0.99990001L}) {
        const std::size_t n = ControlPoints(K);
        EXPECT_GE(n, 2u);
        EXPECT_LE(n, 1001u); // a thousand steps at most, and the end point
        MiniMufPath path;
        PrepareMiniMuf(path, 12, 10, 0, 0, 0, K / 1.59L);
        const ld muf = EvalMiniMuf(path, 12, 100);
        EXPECT_TRUE(muf > 0 && muf <= 100);
    }
}

} // namespace
