#include "common/thread_priority.h"

#include <cerrno>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace orvela {

void LowerThisThread(WorkerPriority priority)
{
    if (priority == WorkerPriority::Idle) {
        // The lowest class there is; its static priority must be 0.
        const sched_param param{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
        return;
    }
    // PRIO_PROCESS with a thread's own id sets that thread's nice value
    // alone on Linux.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno == 0 && nice < WorkerNice) {
        setpriority(PRIO_PROCESS, thread, WorkerNice);
    }
}

bool ThisThreadRunsIdle()
{
    int policy = 0;
    sched_param param{};
    if (pthread_getschedparam(pthread_self(), &policy, &param) != 0) {
        return false;
    }
    return policy == SCHED_IDLE;
}

} // namespace orvela
