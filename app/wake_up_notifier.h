// A worker thread's wake-up call to a window: the worker raises it from its
// own thread, and the window's event loop then runs `woken` on the window's
// thread, where the answer is taken.
#pragma once

#include "common/wake_up.h"

#include <functional>
#include <memory>

class QObject;
class QSocketNotifier;

namespace orvela::app {

class WakeUpNotifier {
public:
    // `woken` runs in the event loop of `context`'s thread, with the call
    // cleared for the next one, and never once `context` is gone. Without a
    // descriptor (the process has none left) it never runs.
    WakeUpNotifier(QObject& context, std::function<void()> woken);
    ~WakeUpNotifier();
    WakeUpNotifier(const WakeUpNotifier&) = delete;
    WakeUpNotifier& operator=(const WakeUpNotifier&) = delete;

    // Thread-safe: what the worker calls.
    void Raise() const { wake_.Raise(); }
    // For a worker that takes a callable.
    std::function<void()> Raiser() const
    {
        return [this] { Raise(); };
    }

private:
    WakeUp wake_;
    // After the descriptor, so that it stops watching before it is closed.
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace orvela::app
