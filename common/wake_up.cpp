#include "common/wake_up.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace orvela {

WakeUp::WakeUp()
    : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

WakeUp::~WakeUp()
{
    if (fd_ >= 0) {
        close(fd_);
    }
}

void WakeUp::Raise() const
{
    if (fd_ < 0) {
        return;
    }
    // errno is the interrupted code's, when this runs in a signal handler.
    const int saved = errno;
    const std::uint64_t one = 1;
    while (write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
    errno = saved;
}

bool WakeUp::Raised() const
{
    pollfd p{fd_, POLLIN, 0};
    return fd_ >= 0 && poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

void WakeUp::Clear() const
{
    if (fd_ >= 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = read(fd_, &count, sizeof count);
    }
}

} // namespace orvela
