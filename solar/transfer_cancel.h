// Ending a download at once from another thread, when the program ends
// while the download still waits for the network.
#pragma once

#include "common/wake_up.h"

#include <atomic>

namespace orvela::solar {

// A download given one waits on its descriptor together with its own
// connection, so that Cancel() ends it at once, whatever it was waiting for
// (the name, the connection, the reply), rather than at its time-outs.
class TransferCancel {
public:
    TransferCancel() = default;
    TransferCancel(const TransferCancel&) = delete;
    TransferCancel& operator=(const TransferCancel&) = delete;

    // Ends the download under way, and every later one given this object, at
    // once: each fails as cancelled. Thread-safe, and safe in a signal
    // handler.
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }

    // Readable once cancelled; -1 when the system gave no descriptor, and
    // the download then looks at Cancelled() ten times a second.
    int Descriptor() const { return wake_.Fd(); }

private:
    std::atomic<bool> cancelled_{false};
    // Raised once and never cleared: it stays readable for every later wait.
    WakeUp wake_;
};

} // namespace orvela::solar
