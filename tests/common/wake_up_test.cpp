// A descriptor that one thread raises to wake another.
#include "common/wake_up.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <thread>

namespace orvela {
namespace {

// A wait in poll on the descriptor ends when another thread raises it; it
// stays raised, for every later wait, until it is cleared; and raising it
// twice is one wake-up, cleared at once.
TEST(WakeUp, WakesAWaitUntilCleared)
{
    WakeUp wake;
    ASSERT_GE(wake.Fd(), 0);
    EXPECT_FALSE(wake.Raised());

    std::thread raiser([&] { wake.Raise(); });
    pollfd p{wake.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 10000), 1);
    raiser.join();
    EXPECT_TRUE(wake.Raised());
    EXPECT_TRUE(wake.Raised());

    wake.Clear();
    EXPECT_FALSE(wake.Raised());
    wake.Raise();
    wake.Raise();
    EXPECT_TRUE(wake.Raised());
    wake.Clear();
    EXPECT_FALSE(wake.Raised());
    wake.Clear(); // nothing to clear: returns at once
    EXPECT_FALSE(wake.Raised());
}

// The descriptor is the object's own: it goes with it, and a program it
// starts does not inherit it.
TEST(WakeUp, DescriptorIsClosedWithItAndOnExec)
{
    int fd = -1;
    {
        const WakeUp wake;
        fd = wake.Fd();
        ASSERT_GE(fd, 0);
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
}

} // namespace
} // namespace orvela
