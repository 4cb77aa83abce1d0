#include "solar/transfer_cancel.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace orvela::solar {

TransferCancel::TransferCancel()
    : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

TransferCancel::~TransferCancel()
{
    if (fd_ >= 0) {
        close(fd_);
    }
}

void TransferCancel::Cancel()
{
    // The flag first: a download woken by the descriptor finds it set.
    cancelled_.store(true);
    if (fd_ >= 0) {
        const std::uint64_t one = 1;
        // Never read: the descriptor stays readable for every later wait.
        while (write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
}

} // namespace orvela::solar
