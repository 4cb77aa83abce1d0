#include "engine/geometry.h"
#include "engine/ionosphere.h"
#include "engine/prediction.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace orvela;

TEST(Antgain, TableLookup)
{
    const struct {
        int Table;
        ld Frq;
        ld ElevDeg;
        double Gain;
    } cases[] = {
        {0, 14, 10, 0},       {0, 2, -5, 0},      {1, 3.5L, 0, -30.0},
        {1, 3.5L, 1, -24.8},                                         // halfway between the 0 and 2 degree rows
        {1, 3.5L, 90, 7.2},   {1, 28, 90, 5.5},   {1, 28, 120, 5.5}, // 90 degrees and beyond: last row
        {1, 10.5L, 10, -4.3},                                        // mean of the 7 and 14 MHz columns
        {1, 2, 10, -5.8},     {1, 30, 10, -2.8},                     // outside the columns: the nearest one
        {1, 14, 10, -2.8},    {2, 14, 10, 5.7},   {2, 14, 11, 6.15},
        {2, 17.5L, 10, 6.55},                                            // between rows, between columns
        {2, 21, 36, 5.0},     {1, 14, -3, -30.0}, {2, 28, -0.5L, -30.0}, // below the horizon: the 0 degree row
    };
    for (const auto& c : cases) {
        Workspace ws;
        ws.GainTable = static_cast<Antenna>(c.Table);
        EXPECT_NEAR(static_cast<double>(Antgain(ws, c.Frq, c.ElevDeg * DegToRad)), c.Gain, 1e-9)
            << "table " << c.Table << " " << static_cast<double>(c.Frq) << " MHz " << static_cast<double>(c.ElevDeg)
            << " deg";
    }
}

// A path from 0 N 0 eastwards along the equator, with the sun on the equator
// at the given east longitude.
Workspace EquatorPath(ld sunLonEastDeg, ld spots)
{
    Workspace ws;
    SetHomePath(ws, 0, 0, Pi / 2, 1); // remote to the east: positive longitude difference
    SetSun(ws, 0, -sunLonEastDeg * DegToRad);
    ws.SunSpots = spots;
    return ws;
}

TEST(Ion, NightHopsTakeTheAbsorptionFloor)
{
    const ld d = 40 * DegToRad; // 0 E to 40 E, sun at 180 E: all night
    for (const ld R : {0.0L, 100.0L}) {
        Workspace ws = EquatorPath(180, R);
        for (int k = 1; k <= 4; ++k) {
            Ion(ws, k, d, 10);
            EXPECT_NEAR(ws.AbsIndex[k], 0.1L * k, 1e-15L) << k;
            EXPECT_EQ(ws.HopFlags[k], NightHop) << k;
            if (R == 0) {
                EXPECT_EQ(ws.EMuf[k], 0) << k; // foE floor 0.005 R is zero
            } else {
                EXPECT_GT(ws.EMuf[k], 0.5L) << k; // 0.005 R over the cosine of the incidence
            }
        }
    }
}

TEST(Ion, DayNightFlagsOfTheHopMidpoints)
{
    Workspace day = EquatorPath(20, 100);
    Ion(day, 2, 40 * DegToRad, 10); // midpoints 10 E and 30 E, sun at 20 E
    EXPECT_EQ(day.HopFlags[2], DayHop);
    EXPECT_GT(day.AbsIndex[2], 0.2L);
    EXPECT_GT(day.EMuf[2], 3);

    Workspace mixed = EquatorPath(0, 100);
    Ion(mixed, 3, 150 * DegToRad, 10); // midpoints at 25, 75 and 125 E
    EXPECT_EQ(mixed.HopFlags[3], DayHop | NightHop);
    EXPECT_EQ(DayNightLetter(mixed.HopFlags[3]), 'x');
}

// Four modes of 1 to 4 hops that differ only in their hop count: isotropic
// antenna, same ray path and take-off angle, no E layer, MUF far above.
Workspace FourModes(int power)
{
    Workspace ws;
    ws.NoiseLevel = DbPerDecade * log10l(LevelFloorWatts) + DbwToDbm;
    ws.Power = power;
    ws.GainTable = Antenna::Isotropic;
    for (int k = 1; k <= 4; ++k) {
        ws.TakeOff[k] = 0.2L;
        ws.RayPath[k] = 3000;
        ws.FMuf[k] = 40;
        ws.EMuf[k] = 0;
        ws.AbsIndex[k] = 0.5L;
        ws.HopFlags[k] = DayHop;
    }
    return ws;
}

// The absorption index of mode k that brings its level at frq to `target`
// or just below: the level falls as the absorption grows.
void TuneLevel(Workspace& ws, int k, ld frq, ld target)
{
    ld lo = 0, hi = 1000;
    for (int i = 0; i < 200 && lo < hi; ++i) {
        const ld mid = (lo + hi) / 2;
        if (mid == lo || mid == hi) {
            break;
        }
        ws.AbsIndex[k] = mid;
        Pathloss(ws, 1, frq);
        if (ws.SigLevel[k] > target) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    ws.AbsIndex[k] = hi;
    Pathloss(ws, 1, frq);
}

TEST(Pathloss, SensitivityBoundary)
{
    Workspace ws = FourModes(-15);
    TuneLevel(ws, 1, 10, SensitivityDbm);
    ASSERT_EQ(ws.SigLevel[1], SensitivityDbm);
    EXPECT_FALSE(ws.HopFlags[1] & BelowSensitivity); // exactly -123 dBm is not below

    for (int i = 0; i < 1000 && ws.SigLevel[1] == SensitivityDbm; ++i) { // the next level down
        ws.AbsIndex[1] = nextafterl(ws.AbsIndex[1], 1000);
        Pathloss(ws, 1, 10);
    }
    ASSERT_LT(ws.SigLevel[1], SensitivityDbm);
    ASSERT_GT(ws.SigLevel[1], SensitivityDbm - 1e-15L);
    EXPECT_TRUE(ws.HopFlags[1] & BelowSensitivity);
}

TEST(Pathloss, EMufBoundary)
{
    Workspace ws = FourModes(100);
    ws.EMuf[1] = 10;
    Pathloss(ws, 1, 10);
    EXPECT_FALSE(ws.HopFlags[1] & BelowEMuf); // equal is not below
    ws.EMuf[1] = nextafterl(10, 11);
    Pathloss(ws, 1, 10);
    EXPECT_TRUE(ws.HopFlags[1] & BelowEMuf);
}

TEST(Pathloss, FrequencyAtTheOptimumWorkingLimitIsNotEvaluated)
{
    Workspace ws = FourModes(100);
    for (int k = 2; k <= 4; ++k) {
        ws.FMuf[k] = 1;
    }
    ws.FMuf[1] = 20;
    const ld limit = 0.85L * 20;
    ws.SigLevel[1] = 999;
    EXPECT_EQ(Pathloss(ws, 1, limit), 0);
    EXPECT_EQ(ws.SigLevel[1], 999); // untouched
    EXPECT_EQ(Pathloss(ws, 1, nextafterl(limit, 0)), 1);
    EXPECT_LT(ws.SigLevel[1], 0);
}

TEST(Pathloss, NoModeBelowItsLimitKeepsOnlyDayAndNight)
{
    Workspace ws = FourModes(100);
    for (int k = 1; k <= 4; ++k) {
        ws.FMuf[k] = 5;
        ws.HopFlags[k] = DayHop | NightHop | BelowSensitivity | BelowEMuf | Multipath;
    }
    EXPECT_EQ(Pathloss(ws, 1, 10), 0);
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(ws.HopFlags[k], DayHop | NightHop) << k;
    }
}

// Mode 1 screened by the E layer ranks 3 dB lower, exactly level with mode 2,
// which is 3 dB down for its extra hop: the lower hop count wins the tie.
TEST(Pathloss, TieKeepsTheLowerHopCount)
{
    Workspace ws = FourModes(100);
    ws.EMuf[1] = 12;
    ws.FMuf[3] = ws.FMuf[4] = 1;
    EXPECT_EQ(Pathloss(ws, 1, 10), 1);
    EXPECT_EQ(ws.SigLevel[1] - 3, ws.SigLevel[2]); // the stored level has no penalty
    EXPECT_TRUE(ws.HopFlags[1] & BelowEMuf);
}

TEST(Pathloss, ScreenedModeMustBeatTheNoiseAfterItsPenalty)
{
    Workspace ws = FourModes(-30);
    for (int k = 2; k <= 4; ++k) {
        ws.FMuf[k] = 1;
    }
    TuneLevel(ws, 1, 10, ws.NoiseLevel + 1.5L);
    ASSERT_GT(ws.SigLevel[1], ws.NoiseLevel);
    ws.EMuf[1] = 20;
    EXPECT_EQ(Pathloss(ws, 1, 10), 0);
    ws.EMuf[1] = 0;
    EXPECT_EQ(Pathloss(ws, 1, 10), 1);
}

// The best mode is marked when the others together come within 3 dB of it.
TEST(Pathloss, MultipathWithinThreeDecibels)
{
    const struct {
        ld Gap; // dB by which mode 2 trails mode 1
        bool Marked;
    } cases[] = {{1, true}, {2.9L, true}, {3.1L, false}, {10, false}};
    for (const auto& c : cases) {
        Workspace ws = FourModes(100);
        ws.FMuf[3] = ws.FMuf[4] = 1;
        Pathloss(ws, 1, 10);
        const ld best = ws.SigLevel[1];
        TuneLevel(ws, 2, 10, best - c.Gap);
        EXPECT_EQ(Pathloss(ws, 1, 10), 1);
        EXPECT_EQ((ws.HopFlags[1] & Multipath) != 0, c.Marked) << static_cast<double>(c.Gap);
        EXPECT_FALSE(ws.HopFlags[2] & Multipath);
    }
    // A single evaluated mode has nothing to interfere with.
    Workspace alone = FourModes(100);
    alone.FMuf[2] = alone.FMuf[3] = alone.FMuf[4] = 1;
    EXPECT_EQ(Pathloss(alone, 1, 10), 1);
    EXPECT_FALSE(alone.HopFlags[1] & Multipath);
}

} // namespace
