// A descriptor that one thread makes readable to wake another: a wait in
// poll (or libcurl's, or an event loop's socket notifier) that watches it
// returns as soon as it is raised.
#pragma once

namespace orvela {

class WakeUp {
public:
    // An eventfd, closed on exec and never blocking. Without one (the
    // process has no descriptor left) Fd() is -1 and Raise() does nothing:
    // the waiter must then look at its own flag from time to time.
    WakeUp();
    ~WakeUp();
    WakeUp(const WakeUp&) = delete;
    WakeUp& operator=(const WakeUp&) = delete;

    // -1 when the system gave no descriptor.
    int Fd() const { return fd_; }
    // Makes the descriptor readable until Clear(). Thread-safe, and safe in
    // a signal handler.
    void Raise() const;
    // Whether it is readable now, without waiting.
    bool Raised() const;
    // Readable no more, for the next wait.
    void Clear() const;

private:
    int fd_ = -1;
};

} // namespace orvela
