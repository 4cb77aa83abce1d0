// One hour of a path, one band of that hour, and many items over the cores.
#include "hour.h"
#include "run_inputs.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace orvela;
using orvela_test::NamedInput;
using orvela_test::Predict;

bool SameCell(const Cell& a, const Cell& b)
{
    return a.Text == b.Text && a.Bg == b.Bg && a.Fg == b.Fg && a.Bold == b.Bold;
}

// The first cell of column col that differs between the two tables.
::testing::AssertionResult SameColumn(const Prediction& expected, const Prediction& actual, int col)
{
    for (int r = 0; r < TableRows; ++r) {
        const Cell& e = expected.At(col, r);
        const Cell& a = actual.At(col, r);
        if (!SameCell(e, a)) {
            return ::testing::AssertionFailure()
                   << "column " << col << " row " << r << ": \"" << a.Text << "\" " << std::hex << a.Bg << "/"
                   << a.Fg << (a.Bold ? " bold" : "") << ", expected \"" << e.Text << "\" " << e.Bg << "/" << e.Fg
                   << (e.Bold ? " bold" : "");
        }
    }
    return ::testing::AssertionSuccess();
}

// Each hour alone, in a fresh workspace and a fresh table, is that hour's
// column of the full run, and the other columns stay as they were. With a
// stride, run i checks the hours i, i + stride, ... (mod 24) only.
void ExpectHoursAreTheRunsColumns(const std::vector<NamedInput>& runs, int stride = 1)
{
    const Prediction untouched;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const NamedInput& run = runs[i];
        const Prediction full = Predict(run.In);
        for (int k = 0; k < 24; k += stride) {
            const int h = static_cast<int>((i + k) % 24);
            Workspace ws;
            Prediction one;
            ComputeHour(run.In, h, ws, one);
            ASSERT_TRUE(SameColumn(full, one, h + 1)) << run.What << " hour " << h;
            for (int col = 0; col < TableCols; ++col) {
                if (col != h + 1) {
                    ASSERT_TRUE(SameColumn(untouched, one, col)) << run.What << " hour " << h;
                }
            }
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

// The poles, the equator, coincident and antipodal points, every minimum
// angle: the geometries where a shortcut would show. Four hours a path,
// turning over from path to path.
TEST(ComputeHour, IsTheFullRunsColumnOverTheSweep)
{
    ExpectHoursAreTheRunsColumns(orvela_test::SweepInputs(), 6);
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
            ASSERT_TRUE(SameColumn(full, table, col)) << runs[i].What;
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
        signal.Station.Display = 1;
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

// Which thread ran an item with which workspace.
struct Visits {
    std::mutex Lock;
    std::map<const Workspace*, std::set<std::thread::id>> ThreadsOf;
    std::map<std::thread::id, std::set<const Workspace*>> WorkspacesOf;

    void Add(const Workspace& ws)
    {
        const std::lock_guard<std::mutex> lock(Lock);
        ThreadsOf[&ws].insert(std::this_thread::get_id());
        WorkspacesOf[std::this_thread::get_id()].insert(&ws);
    }
};

TEST(ParallelFor, EveryItemOnceEachThreadWithAWorkspaceOfItsOwn)
{
    for (const unsigned threads : {1u, 2u, 8u, 0u}) {
        for (const std::size_t count : {0u, 1u, 3u, 1000u}) {
            std::vector<std::atomic<int>> runs(count);
            Visits visits;
            ParallelFor(count, threads, [&](std::size_t i, Workspace& ws) {
                ++runs[i];
                visits.Add(ws);
            });
            const std::string what = std::to_string(threads) + " threads, " + std::to_string(count) + " items";
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(runs[i], 1) << what << ", item " << i;
            }
            const unsigned most = threads == 0 ? std::max(1u, std::thread::hardware_concurrency()) : threads;
            EXPECT_LE(visits.WorkspacesOf.size(), most) << what;
            for (const auto& [ws, ids] : visits.ThreadsOf) {
                EXPECT_EQ(ids.size(), 1u) << what;
            }
            for (const auto& [id, spaces] : visits.WorkspacesOf) {
                EXPECT_EQ(spaces.size(), 1u) << what;
            }
        }
    }
}

// With two threads, two items run at the same time: each waits until the
// other has started.
TEST(ParallelFor, TwoThreadsRunTwoItemsAtOnce)
{
    std::mutex m;
    std::condition_variable cv;
    int started = 0;
    std::atomic<int> metTheOther{0};
    ParallelFor(2, 2, [&](std::size_t, Workspace&) {
        std::unique_lock<std::mutex> lock(m);
        ++started;
        cv.notify_all();
        if (cv.wait_for(lock, std::chrono::seconds(30), [&] { return started == 2; })) {
            ++metTheOther;
        }
    });
    EXPECT_EQ(metTheOther, 2);
}

// The first exception of the work reaches the caller once every thread has
// stopped; with one thread, no item starts after it.
TEST(ParallelFor, AnExceptionReachesTheCallerAfterTheThreadsStop)
{
    const RunInput in = orvela_test::PathInput(orvela_test::Paris, orvela_test::NewYork);
    for (const unsigned threads : {1u, 2u, 8u}) {
        std::atomic<int> active{0};
        std::atomic<int> started{0};
        try {
            ParallelFor(200, threads, [&](std::size_t i, Workspace& ws) {
                ++active;
                ++started;
                if (i == 7) {
                    --active;
                    throw std::runtime_error("item 7 failed");
                }
                ComputeBand(in, static_cast<int>(i % 24), 7, ws); // some work under way
                --active;
            });
            ADD_FAILURE() << threads << " threads: no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "item 7 failed");
        }
        EXPECT_EQ(active, 0) << threads << " threads";
        if (threads == 1) {
            EXPECT_EQ(started, 8); // items 0 to 7, in order
        }
    }
}

} // namespace
