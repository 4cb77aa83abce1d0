// A worker thread that answers only the newest of its requests: a new one
// gives up the work under way (through a flag the work looks at) and drops
// an answer that was not taken yet. The thread runs below the user
// interface, and the threads it starts inherit that. A window asks, is woken
// by `ready` (a WakeUp's Raise, say) and takes the answer on its own thread.
#pragma once

#include "common/thread_priority.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <utility>

namespace orvela {

template <class Request, class Answer>
class NewestRequestWorker {
public:
    // Hands an answer to the taker, unless a newer request came meanwhile;
    // `last` says whether the request has no answer to come after it.
    using Deliver = std::function<void(Answer answer, bool last)>;
    // Works out the request numbered `id`. It looks at `cancel` often
    // enough to give up at once, and gives up by throwing anything but
    // std::bad_alloc (which `outOfMemory` answers).
    using Work = std::function<void(const Request& request, std::uint64_t id, const std::atomic<bool>& cancel,
                                    const Deliver& deliver)>;
    // The answer of a request whose work ran out of memory.
    using OutOfMemory = std::function<Answer(std::uint64_t id)>;

    NewestRequestWorker(Work work, OutOfMemory outOfMemory, std::function<void()> ready)
        : work_(std::move(work))
        , outOfMemory_(std::move(outOfMemory))
        , ready_(std::move(ready))
    {
        thread_ = std::thread([this] { Run(); });
    }

    // Gives up the request under way and waits for the thread.
    ~NewestRequestWorker()
    {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
            cancel_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    NewestRequestWorker(const NewestRequestWorker&) = delete;
    NewestRequestWorker& operator=(const NewestRequestWorker&) = delete;

    // Replaces what was asked before. Returns the request's number, greater
    // than every earlier one.
    std::uint64_t Ask(Request request)
    {
        std::uint64_t id = 0;
        {
            const std::lock_guard lock(mutex_);
            pending_ = std::move(request);
            id = ++asked_;
            answer_.reset();
            cancel_ = true;
        }
        wake_.notify_all();
        return id;
    }

    // Gives up what was asked, without a new request.
    void Stop()
    {
        const std::lock_guard lock(mutex_);
        pending_.reset();
        answer_.reset();
        finished_ = ++asked_;
        cancel_ = true;
    }

    // The newest answer not taken yet.
    std::optional<Answer> Take()
    {
        const std::lock_guard lock(mutex_);
        std::optional<Answer> a = std::move(answer_);
        answer_.reset();
        return a;
    }

    // Whether the newest request still has answers to come.
    bool Busy() const
    {
        const std::lock_guard lock(mutex_);
        return finished_ != asked_;
    }

    // How many requests were given up part way for a newer one or the end.
    std::uint64_t GivenUp() const
    {
        const std::lock_guard lock(mutex_);
        return givenUp_;
    }

private:
    void Put(std::uint64_t id, Answer answer, bool last)
    {
        {
            const std::lock_guard lock(mutex_);
            if (id != asked_) {
                return;
            }
            if (last) {
                finished_ = id;
            }
            answer_ = std::move(answer);
        }
        ready_();
    }

    void Run()
    {
        LowerThisThread(WorkerPriority::Niced);
        for (;;) {
            std::optional<Request> request;
            std::uint64_t id = 0;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return quit_ || pending_.has_value(); });
                if (quit_) {
                    return;
                }
                request = std::move(pending_);
                pending_.reset();
                id = asked_;
                cancel_ = false;
            }
            const Deliver deliver = [this, id](Answer answer, bool last) { Put(id, std::move(answer), last); };
            try {
                work_(*request, id, cancel_, deliver);
            } catch (const std::bad_alloc&) {
                Put(id, outOfMemory_(id), true);
                continue;
            } catch (...) {
                // Given up for a newer request, or the end: the loop takes
                // up what is next.
                const std::lock_guard lock(mutex_);
                ++givenUp_;
            }
        }
    }

    Work work_;
    OutOfMemory outOfMemory_;
    std::function<void()> ready_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Request> pending_;
    std::optional<Answer> answer_;
    std::uint64_t asked_ = 0;    // the newest request's number
    std::uint64_t finished_ = 0; // the newest request whose last answer is in
    std::uint64_t givenUp_ = 0;
    bool quit_ = false;
    // Set to give up the work under way; cleared under the mutex when a
    // request is taken up.
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

} // namespace orvela
