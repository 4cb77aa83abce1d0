// The planner's worker behind a window.
#include "planner/plan_worker.h"
#include "tests/planner/country_fixture.h"

#include "common/thread_priority.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using namespace orvela;
using namespace orvela::planner;
using namespace std::chrono_literals;

const country::CountryFile& Fixture()
{
    return orvela_test::SmallCountryFile();
}

PlanRequest Paris(int power)
{
    PlanRequest r;
    r.In.HomeLatDeg = orvela_test::Paris.Lat;
    r.In.HomeLonWestDeg = orvela_test::Paris.LonWestDeg;
    r.In.Power = power;
    r.In.Date = {2026, 12, 11};
    r.Targets = EntityTargets(Fixture());
    return r;
}

int NiceOfThisThread()
{
    return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
}

// Woken by the worker, takes on its own thread, as the window does.
struct Taker {
    Taker()
        : worker(
              [this] {
                  const std::lock_guard lock(mutex);
                  ++wakes;
                  nice = NiceOfThisThread();
                  woken.notify_all();
              },
              2)
    {
    }

    std::optional<PlanAnswer> Until(std::uint64_t id)
    {
        for (;;) {
            std::unique_lock lock(mutex);
            if (!woken.wait_for(lock, 60s, [this] { return wakes > 0; })) {
                ADD_FAILURE() << "no answer to request " << id;
                return std::nullopt;
            }
            wakes = 0;
            lock.unlock();
            if (std::optional<PlanAnswer> a = worker.Take()) {
                EXPECT_EQ(a->Id, id) << "an answer to an older request";
                return a;
            }
        }
    }

    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    int nice = 0;
    PlanWorker worker;
};

// The answer is the plan itself, computed niced below the asking thread;
// a second request is answered for its own inputs.
TEST(PlanWorker, AnswersThePlanBelowTheWindow)
{
    const int asking = NiceOfThisThread();
    Taker t;
    for (const int power : {20, 10}) {
        const PlanRequest r = Paris(power);
        const std::uint64_t id = t.worker.Ask(r);
        const std::optional<PlanAnswer> a = t.Until(id);
        ASSERT_TRUE(a && a->Result);
        const Plan expected = ComputePlan(r.In, r.Targets, 1);
        EXPECT_EQ(a->Result->In, r.In);
        EXPECT_EQ(a->Result->Rows, expected.Rows);
        EXPECT_FALSE(t.worker.Busy());
    }
    const std::lock_guard lock(t.mutex);
    EXPECT_EQ(t.nice, std::max(asking, WorkerNice));
    EXPECT_EQ(NiceOfThisThread(), asking);
}

// Requests asked in a row are answered once, for the newest; a worker
// closed with a large plan under way gives it up and ends.
TEST(PlanWorker, AnswersOnlyTheNewestAndEndsAtOnce)
{
    {
        Taker t;
        std::uint64_t id = 0;
        for (int power = 0; power < 5; ++power) {
            id = t.worker.Ask(Paris(power));
        }
        const std::optional<PlanAnswer> a = t.Until(id);
        ASSERT_TRUE(a && a->Result);
        EXPECT_EQ(a->Result->In.Power, 4);
        EXPECT_FALSE(t.worker.Take());
    }
    PlanRequest large = Paris(20);
    for (int i = 0; i < 8; ++i) {
        large.Targets.insert(large.Targets.end(), large.Targets.begin(), large.Targets.end());
    }
    PlanWorker worker([] {}, 2);
    worker.Ask(large);
    EXPECT_TRUE(worker.Busy());
    worker.Stop();
    EXPECT_FALSE(worker.Busy());
    EXPECT_FALSE(worker.Take());
    worker.Ask(large);
}

} // namespace
