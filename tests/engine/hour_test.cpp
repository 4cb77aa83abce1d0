// One hour of a path and one band of that hour.
#include "engine/hour.h"
#include "tests/engine/run_inputs.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace orvela;
using orvela_test::NamedInput;
using orvela_test::Predict;

// Each hour alone, in a fresh workspace and a fresh table, is that hour's
// column of the full run, and the other columns stay as they were. With a
// stride, run i checks the hours i, i + stride, ... (mod 24) only.
void ExpectHoursAreTheRunsColumns(const std::vector<NamedInput>& runs, int stride = 1)
{
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const NamedInput& run = runs[i];
        const Prediction full = Predict(run.In);
        for (int k = 0; k < 24; k += stride) {
            const int h = static_cast<int>((i + k) % 24);
            ASSERT_TRUE(orvela_test::HourIsTheRunsColumn(run.In, full, h)) << run.What << " hour " << h;
        }
    }
}

// Varied paths in the four display formats, and the eight independent
// predictions: every hour.
TEST(ComputeHour, IsTheFullRunsColumn)
{
    ExpectHoursAreTheRunsColumns(orvela_test::VariedInputs());
    const std::vector<NamedInput> reference = orvela_test::ReferenceInputs();
    ASSERT_EQ(reference.size(), 8u);
    ExpectHoursAreTheRunsColumns(reference);
}

// What an earlier hour, an earlier path or anything else could have left in
// a workspace: every per-hour and per-path entry made unusable. Memos stay
// keyed by what they were computed from, so a NaN key makes them recompute.
void Spoil(Workspace& ws)
{
    const ld nan = std::numeric_limits<ld>::quiet_NaN();
    for (auto* a : {&ws.TakeOff, &ws.RayPath, &ws.EMuf, &ws.FMuf, &ws.AbsIndex, &ws.SigLevel, &ws.CosPhiEKey}) {
        a->fill(nan);
    }
    ws.HopFlags.fill(0xFF);
    ws.Flux = ws.SunSpots = ws.NoiseLevel = nan;
    ws.SunDecl = ws.SunLon = nan;
    ws.HomeLat = ws.HomeLon = ws.RemoteLat = ws.RemoteLon = ws.DeltaLon = nan;
    ws.Azimuth = ws.BackAzimuth = nan;
}

// Hours share nothing. One workspace and one table go through every path,
// the hours of each in a scrambled order, with the workspace spoilt before
// every other path and the table holding another path's prediction at the
// start: every column still is the full run's.
TEST(ComputeHour, DependsOnNoEarlierHourNorPath)
{
    const std::vector<NamedInput> runs = orvela_test::VariedInputs();
    Workspace ws;
    Prediction table = Predict(runs.back().In);
    std::mt19937 rng(2026);
    std::vector<int> hours(24);
    std::iota(hours.begin(), hours.end(), 0);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Prediction full = Predict(runs[i].In);
        if (i % 2 == 0) {
            Spoil(ws);
        }
        std::shuffle(hours.begin(), hours.end(), rng);
        for (const int h : hours) {
            ComputeHour(runs[i].In, h, ws, table);
        }
        for (int col = 1; col < TableCols; ++col) {
            ASSERT_TRUE(orvela_test::SameColumn(full, table, col)) << runs[i].What;
        }
    }
}

// One band alone is the signal-level cell of the full run, whatever display
// format the input asks for, and its parts are those of the text.
TEST(ComputeBand, IsTheSignalLevelCell)
{
    Workspace ws; // one for every band, hour and path in turn
    int withPath = 0, without = 0;
    for (const NamedInput& run : orvela_test::VariedInputs()) {
        RunInput signal = run.In;
        signal.Station.Display = DisplayFormat::SignalLevel;
        const Prediction full = Predict(signal);
        for (int h = 0; h < 24; ++h) {
            for (int band = 1; band <= BandCount; ++band) {
                const BandResult r = ComputeBand(run.In, h, band, ws);
                const Cell& cell = full.At(h + 1, BandRow(band));
                const std::string where = run.What + " hour " + std::to_string(h) + " band " + std::to_string(band);
                ASSERT_EQ(r.Text, cell.Text) << where;
                ASSERT_TRUE(r.Bg == cell.Bg && r.Fg == cell.Fg) << where;
                ASSERT_EQ(r.HasPath, !cell.Text.empty()) << where;
                if (!r.HasPath) {
                    ++without;
                    continue;
                }
                ++withPath;
                const std::string number = r.LevelDb == 0 && r.Text[0] == '-' ? "-0" : std::to_string(r.LevelDb);
                ASSERT_EQ(number + r.Letter + std::to_string(r.Hops) + r.Marker, r.Text) << where;
            }
        }
    }
    EXPECT_GT(withPath, 1000);
    EXPECT_GT(without, 1000);
}

bool SameCell(const BandResult& a, const BandResult& b)
{
    return a.HasPath == b.HasPath && a.Text == b.Text && a.LevelDb == b.LevelDb && a.Letter == b.Letter &&
           a.Hops == b.Hops && a.Marker == b.Marker && a.Bg == b.Bg && a.Fg == b.Fg;
}

// The day of one band, its path worked out once, is the 24 single hours:
// the varied paths and options at every band, the awkward geometries of the
// sweep at a band turning over from point to point. The day's workspace
// goes from path to path, spoilt now and then.
TEST(ComputeBandDay, IsEverySingleHour)
{
    Workspace dayWs, hourWs;
    std::array<BandResult, HoursPerDay> day;
    int withPath = 0, without = 0;
    const auto check = [&](const NamedInput& run, int band) {
        ComputeBandDay(run.In, band, dayWs, day);
        for (int h = 0; h < 24; ++h) {
            const BandResult one = ComputeBand(run.In, h, band, hourWs);
            ASSERT_TRUE(SameCell(day[static_cast<std::size_t>(h)], one))
                << run.What << " hour " << h << " band " << band << ": " << day[static_cast<std::size_t>(h)].Text
                << " against " << one.Text;
            ++(one.HasPath ? withPath : without);
        }
    };
    std::size_t i = 0;
    for (const NamedInput& run : orvela_test::VariedInputs()) {
        if (++i % 7 == 0) {
            Spoil(dayWs);
        }
        for (int band = 1; band <= BandCount; ++band) {
            check(run, band);
        }
    }
    for (const NamedInput& run : orvela_test::SweepInputs()) {
        check(run, static_cast<int>(++i % BandCount) + 1);
    }
    EXPECT_GT(withPath, 1000);
    EXPECT_GT(without, 1000);
}

// All the bands of a day at once, each hour's modes shared by them, are
// the single cells of each band and hour, and the path's geometry is the
// run's: the varied paths on the fixed rows, the amateur bands and a single
// band, the workspace spoilt between paths.
TEST(ComputeBandsDay, IsEverySingleBandAndHour)
{
    Workspace daysWs, cellWs, pathWs;
    std::vector<std::array<BandResult, HoursPerDay>> days;
    int withPath = 0, without = 0;
    std::size_t i = 0;
    for (NamedInput run : orvela_test::VariedInputs()) {
        switch (++i % 3) {
        case 0: run.In.Bands = BandsOf(BandSet::Amateur); break;
        case 1: run.In.Bands = {BandsOf(BandSet::Amateur)[i % 9]}; break;
        default: break;
        }
        if (i % 5 == 0) {
            Spoil(daysWs);
        }
        const PathSummary path = ComputeBandsDay(run.In, daysWs, days);
        ASSERT_EQ(days.size(), run.In.Bands.size()) << run.What;
        Prediction full;
        ComputeMUF(run.In, pathWs, full);
        EXPECT_EQ(path.DistanceKm, full.Path.DistanceKm) << run.What;
        EXPECT_EQ(path.AzimuthDeg, full.Path.AzimuthDeg) << run.What;
        for (int band = 1; band <= static_cast<int>(run.In.Bands.size()); ++band) {
            for (int h = 0; h < 24; ++h) {
                const BandResult one = ComputeBand(run.In, h, band, cellWs);
                const BandResult& all = days[static_cast<std::size_t>(band - 1)][static_cast<std::size_t>(h)];
                ASSERT_TRUE(SameCell(all, one))
                    << run.What << " hour " << h << " band " << band << ": " << all.Text << " against " << one.Text;
                ++(one.HasPath ? withPath : without);
            }
        }
    }
    EXPECT_GT(withPath, 500);
    EXPECT_GT(without, 500);
}

} // namespace
