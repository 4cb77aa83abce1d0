#include "common/worker_threads.h"

#include <algorithm>
#include <thread>

namespace orvela {

unsigned WorkerThreads(unsigned asked)
{
    return asked != 0 ? asked : std::max(1u, std::thread::hardware_concurrency());
}

} // namespace orvela
