// Many items over the cores, each thread with a prediction workspace of its
// own. A program of its own, so that ThreadSanitizer's build compiles only
// this of the engine's tests.
#include "engine/hour.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace orvela;

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
