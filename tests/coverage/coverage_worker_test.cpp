// The background computation behind the coverage window.
#include "coverage/coverage_worker.h"
#include "common/thread_priority.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvela;
using namespace std::chrono_literals;

// Paris with a dipole on 10 December; the remote point is each grid point.
RunInput Paris()
{
    RunInput in = orvela_test::PathInput(orvela_test::Paris, orvela_test::NewYork);
    in.Flux = 120;
    return in;
}

// Collects every answer the worker hands over, as the window does: woken
// by the worker, it takes on its own thread.
class Taker {
public:
    Taker()
        : worker(
              [this] {
                  const std::lock_guard lock(mutex);
                  ++wakes;
                  woken.notify_all();
              },
              2)
    {
    }

    // Takes answers until the last one of request `id`, at most `limit`.
    std::vector<area::CoverageAnswer> Until(std::uint64_t id, std::chrono::seconds limit = 60s)
    {
        std::vector<area::CoverageAnswer> got;
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            {
                std::unique_lock lock(mutex);
                woken.wait_until(lock, end, [this] { return wakes > 0; });
                if (wakes == 0) {
                    ADD_FAILURE() << "no last answer to request " << id;
                    return got;
                }
                wakes = 0;
            }
            while (std::optional<area::CoverageAnswer> a = worker.Take()) {
                got.push_back(std::move(*a));
                if (got.back().Id == id && got.back().Final) {
                    return got;
                }
            }
        }
    }

    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    area::CoverageWorker worker;
};

void ExpectSameCells(const area::CoverageDaySummary& a, const area::CoverageDaySummary& b)
{
    ASSERT_EQ(a.StepDeg, b.StepDeg);
    ASSERT_EQ(a.Known, b.Known);
    ASSERT_EQ(a.Cells.size(), b.Cells.size());
    for (std::size_t i = 0; i < a.Cells.size(); ++i) {
        const area::CellSummary& x = a.Cells[i];
        const area::CellSummary& y = b.Cells[i];
        ASSERT_TRUE(x.HasPath == y.HasPath && x.LevelDb == y.LevelDb && x.Letter == y.Letter && x.Hops == y.Hops &&
                    x.Marker == y.Marker && x.Below == y.Below)
            << "cell " << i;
    }
}

// The summary of a day is the day's cells, point for point and hour for hour.
TEST(CoverageSummary, IsTheDaysCells)
{
    const RunInput in = Paris();
    const std::vector<area::Coverage> day = area::ComputeCoverageDay(in, 7, 15, 2);
    const area::CoverageDaySummary sum = area::ComputeCoverageDaySummary(in, 7, 15, 2);
    ASSERT_EQ(sum.Points.size(), day[0].Points.size());
    int below = 0;
    for (int h = 0; h < 24; ++h) {
        for (std::size_t i = 0; i < sum.Points.size(); ++i) {
            const BandResult& r = day[static_cast<std::size_t>(h)].Results[i];
            const area::CellSummary& s = sum.At(h, i);
            ASSERT_EQ(s.HasPath, r.HasPath);
            if (r.HasPath) {
                ASSERT_TRUE(s.LevelDb == r.LevelDb && s.Letter == r.Letter && s.Hops == r.Hops &&
                            s.Marker == r.Marker && s.Below == area::BelowSensitivity(r))
                    << "hour " << h << " point " << i;
                below += s.Below ? 1 : 0;
            }
        }
    }
    EXPECT_GT(below, 0);
}

// A fine grid is answered first from the coarse grid, the hour looked at
// and then its whole day, then as asked; a grid as coarse as that is
// answered once. An answer may replace one not yet taken, never a later one.
TEST(CoverageWorker, AnswersCoarseThenAsAsked)
{
    Taker t;
    area::CoverageRequest r{Paris(), 7, 5, 12};
    const std::uint64_t fine = t.worker.Ask(r);
    const std::vector<area::CoverageAnswer> got = t.Until(fine);
    ASSERT_FALSE(got.empty());
    const area::CoverageDaySummary coarseDay = area::ComputeCoverageDaySummary(r.In, 7, 10, 1);
    for (std::size_t i = 0; i + 1 < got.size(); ++i) {
        const area::CoverageDaySummary& d = got[i].Day;
        EXPECT_FALSE(got[i].Final);
        ASSERT_EQ(d.StepDeg, area::CoverageWorker::CoarseStepDeg);
        if (std::count(d.Known.begin(), d.Known.end(), true) == 1) {
            ASSERT_TRUE(d.Known[12]);
            for (std::size_t p = 0; p < d.Points.size(); ++p) {
                ASSERT_EQ(d.At(12, p).LevelDb, coarseDay.At(12, p).LevelDb);
                ASSERT_EQ(d.At(12, p).HasPath, coarseDay.At(12, p).HasPath);
            }
        } else {
            ExpectSameCells(d, coarseDay);
        }
    }
    ExpectSameCells(got.back().Day, area::ComputeCoverageDaySummary(r.In, 7, 5, 1));
    EXPECT_FALSE(t.worker.Busy());

    r.StepDeg = 15;
    const std::uint64_t coarse = t.worker.Ask(r);
    EXPECT_GT(coarse, fine);
    const std::vector<area::CoverageAnswer> once = t.Until(coarse);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(once[0].Day.StepDeg, 15);
}

// The paths are worked out below the window that asked: the thread that
// hands the answers over runs niced, and the asking thread keeps its place.
TEST(CoverageWorker, ComputesNicedBelowTheAskingThread)
{
    const auto niceOfThisThread = [] { return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid))); };
    const int asking = niceOfThisThread();
    std::mutex mutex;
    std::condition_variable handed;
    std::optional<int> computing;
    area::CoverageWorker worker(
        [&] {
            const std::lock_guard lock(mutex);
            computing = niceOfThisThread();
            handed.notify_all();
        },
        1);
    worker.Ask({Paris(), 7, area::CoverageWorker::CoarseStepDeg, 12});
    std::unique_lock lock(mutex);
    ASSERT_TRUE(handed.wait_for(lock, 60s, [&] { return computing.has_value(); }));
    EXPECT_EQ(*computing, std::max(asking, WorkerNice));
    EXPECT_EQ(niceOfThisThread(), asking);
}

// A slow request replaced by a quick one once its 1-degree day is under
// way (its coarse answers are in): that computation is given up, nothing of
// it is handed over after the quick one is asked, and the quick one is
// answered. Stop() drops what is left.
TEST(CoverageWorker, ANewerRequestReplacesTheOneUnderWay)
{
    Taker t;
    const std::uint64_t slow = t.worker.Ask({Paris(), 7, 1, 12});
    // Waits for the slow request's coarse day, its second answer.
    for (int coarse = 0; coarse < 2;) {
        std::unique_lock lock(t.mutex);
        ASSERT_TRUE(t.woken.wait_for(lock, 60s, [&t] { return t.wakes > 0; }));
        t.wakes = 0;
        lock.unlock();
        while (std::optional<area::CoverageAnswer> a = t.worker.Take()) {
            ASSERT_EQ(a->Id, slow);
            ASSERT_FALSE(a->Final);
            coarse += std::count(a->Day.Known.begin(), a->Day.Known.end(), true) == 24 ? 2 : 1;
        }
    }
    RunInput sydney = Paris();
    sydney.Station.Latitude = -33.87L;
    sydney.Station.Longitude = -151.21L;
    const std::uint64_t quick = t.worker.Ask({sydney, 3, 15, 0});
    const std::vector<area::CoverageAnswer> got = t.Until(quick);
    for (const area::CoverageAnswer& a : got) {
        EXPECT_EQ(a.Id, quick) << "an answer to request " << slow << " came after request " << quick;
    }
    ExpectSameCells(got.back().Day, area::ComputeCoverageDaySummary(sydney, 3, 15, 1));
    EXPECT_EQ(t.worker.GivenUp(), 1u);

    // Stop() once the slow request's first answer waits: that answer is
    // dropped, and the computation under way is given up before the worker
    // takes up anything else, so that nothing of it comes after the next
    // request is asked.
    {
        const std::lock_guard lock(t.mutex);
        t.wakes = 0;
    }
    const std::uint64_t stopped = t.worker.Ask({Paris(), 7, 1});
    {
        std::unique_lock lock(t.mutex);
        ASSERT_TRUE(t.woken.wait_for(lock, 60s, [&t] { return t.wakes > 0; }));
    }
    t.worker.Stop();
    EXPECT_FALSE(t.worker.Busy());
    EXPECT_FALSE(t.worker.Take().has_value());
    const std::uint64_t next = t.worker.Ask({sydney, 3, 15, 0});
    for (const area::CoverageAnswer& a : t.Until(next)) {
        EXPECT_EQ(a.Id, next) << "an answer to request " << stopped << " came after it was stopped";
    }
    EXPECT_EQ(t.worker.GivenUp(), 2u);
}

} // namespace
