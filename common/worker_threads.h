// How many threads a computation is spread over.
#pragma once

namespace orvela {

// The most threads a user may ask for: more is surely a typing slip.
inline constexpr int MaxWorkerThreads = 1024;

// `asked` threads, or for 0 one per core (one when the system cannot tell
// how many cores it has).
unsigned WorkerThreads(unsigned asked);

} // namespace orvela
