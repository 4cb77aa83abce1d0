// Worker threads below the user interface. On Linux a thread's nice value
// and scheduling class are its own, and the threads it starts inherit them.
#pragma once

namespace orvela {

// How far below the threads that serve the user a worker runs.
enum class WorkerPriority {
    // A nice value of 10: on a busy machine the worker still gets its share
    // of the cores, after the window.
    Niced,
    // The scheduler's idle class: the worker runs only when a core has
    // nothing else to run.
    Idle,
};

// The nice value of a Niced worker.
inline constexpr int WorkerNice = 10;

// Lowers the calling thread to `priority`; a thread already that low or
// lower stays as it is. Lowering one's own priority needs no privilege;
// should the system refuse, the thread runs on as it was, which changes the
// timing and never the result.
void LowerThisThread(WorkerPriority priority);

// Whether the calling thread runs in the scheduler's idle class.
bool ThisThreadRunsIdle();

} // namespace orvela
