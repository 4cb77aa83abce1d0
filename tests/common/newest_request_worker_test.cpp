// The worker that answers only the newest request.
#include "common/newest_request_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

using namespace orvela;
using namespace std::chrono_literals;

// Requests are numbers: 0 works until it is given up (after saying it has
// started), -1 runs out of memory, any other is answered with its double.
struct Fixture {
    using Worker = NewestRequestWorker<int, std::string>;

    Fixture()
        : worker(
              [this](const int& request, std::uint64_t, const std::atomic<bool>& cancel,
                     const Worker::Deliver& deliver) {
                  if (request == -1) {
                      throw std::bad_alloc();
                  }
                  if (request == 0) {
                      {
                          const std::lock_guard lock(mutex);
                          started = true;
                      }
                      changed.notify_all();
                      while (!cancel) {
                          std::this_thread::yield();
                      }
                      throw std::runtime_error("given up");
                  }
                  deliver(std::to_string(2 * request), true);
              },
              [](std::uint64_t id) { return "no memory for " + std::to_string(id); },
              [this] {
                  const std::lock_guard lock(mutex);
                  ++wakes;
                  changed.notify_all();
              })
    {
    }

    void WaitFor(const std::function<bool()>& what)
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 60s, what));
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    int wakes = 0;
    Worker worker;
};

// A request under way is given up for a newer one, which is answered; the
// answer of an older request is never handed over.
TEST(NewestRequestWorker, ANewerRequestGivesUpTheOneUnderWay)
{
    Fixture f;
    f.worker.Ask(0);
    f.WaitFor([&] { return f.started; });
    EXPECT_TRUE(f.worker.Busy());
    const std::uint64_t id = f.worker.Ask(21);
    f.WaitFor([&] { return f.wakes > 0; });
    EXPECT_EQ(f.worker.Take(), "42");
    EXPECT_FALSE(f.worker.Take());
    EXPECT_FALSE(f.worker.Busy());
    EXPECT_EQ(f.worker.GivenUp(), 1u);
    EXPECT_EQ(id, 2u);
}

// Stop gives up the work under way and leaves nothing to take; closing the
// worker with work under way ends it.
TEST(NewestRequestWorker, StopAndCloseGiveUp)
{
    Fixture f;
    f.worker.Ask(0);
    f.WaitFor([&] { return f.started; });
    f.worker.Stop();
    EXPECT_FALSE(f.worker.Busy());
    f.worker.Ask(-1);
    f.WaitFor([&] { return f.wakes > 0; });
    EXPECT_EQ(f.worker.Take(), "no memory for 3");
    EXPECT_EQ(f.worker.GivenUp(), 1u);
    {
        const std::lock_guard lock(f.mutex);
        f.started = false;
    }
    f.worker.Ask(0);
    f.WaitFor([&] { return f.started; });
    // The fixture's end closes the worker while request 0 spins.
}

} // namespace
