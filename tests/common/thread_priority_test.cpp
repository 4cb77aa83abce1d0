// Worker threads lowered below the user interface. Each case runs on a
// thread of its own, so that the test program keeps its priority.
#include "common/thread_priority.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace orvela {
namespace {

int ThisThreadNice()
{
    return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
}

struct Seen {
    int Nice = 0;
    bool Idle = false;
    // The same of a thread it starts afterwards.
    int ChildNice = 0;
    bool ChildIdle = false;
};

Seen OnAThreadOfItsOwn(const std::function<void()>& work)
{
    Seen seen;
    std::thread([&] {
        work();
        seen.Nice = ThisThreadNice();
        seen.Idle = ThisThreadRunsIdle();
        std::thread([&] {
            seen.ChildNice = ThisThreadNice();
            seen.ChildIdle = ThisThreadRunsIdle();
        }).join();
    }).join();
    return seen;
}

// Niced: nice 10, never back up from a lower place; Idle: the idle class.
// The threads a lowered thread starts run as low; the thread that started
// it does not move.
TEST(LowerThisThread, LowersToTheWorkersPlaceAndNeverRaises)
{
    const int start = ThisThreadNice();
    const bool startIdle = ThisThreadRunsIdle();

    const Seen niced = OnAThreadOfItsOwn([] { LowerThisThread(WorkerPriority::Niced); });
    EXPECT_EQ(niced.Nice, std::max(start, WorkerNice));
    EXPECT_EQ(niced.ChildNice, niced.Nice);
    EXPECT_EQ(niced.Idle, startIdle);

    const int lower = std::max(start, WorkerNice + 5);
    const Seen already = OnAThreadOfItsOwn([lower] {
        setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), lower);
        LowerThisThread(WorkerPriority::Niced);
    });
    EXPECT_EQ(already.Nice, lower);

    const Seen idle = OnAThreadOfItsOwn([] { LowerThisThread(WorkerPriority::Idle); });
    EXPECT_TRUE(idle.Idle);
    EXPECT_TRUE(idle.ChildIdle);

    EXPECT_EQ(ThisThreadNice(), start);
    EXPECT_EQ(ThisThreadRunsIdle(), startIdle);
}

} // namespace
} // namespace orvela
