#include "coverage/coverage_worker.h"

#include "common/thread_priority.h"

#include <new>
#include <utility>

namespace orvela::area {

CoverageWorker::CoverageWorker(std::function<void()> ready, unsigned threads)
    : ready_(std::move(ready))
    , threads_(threads)
{
    thread_ = std::thread([this] { Run(); });
}

CoverageWorker::~CoverageWorker()
{
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

std::uint64_t CoverageWorker::Ask(const CoverageRequest& request)
{
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(mutex_);
        pending_ = request;
        id = ++asked_;
        answer_.reset();
        cancel_ = true;
    }
    wake_.notify_all();
    return id;
}

void CoverageWorker::Stop()
{
    const std::lock_guard lock(mutex_);
    pending_.reset();
    answer_.reset();
    finished_ = ++asked_;
    cancel_ = true;
}

std::optional<CoverageAnswer> CoverageWorker::Take()
{
    const std::lock_guard lock(mutex_);
    std::optional<CoverageAnswer> a = std::move(answer_);
    answer_.reset();
    return a;
}

bool CoverageWorker::Busy() const
{
    const std::lock_guard lock(mutex_);
    return finished_ != asked_;
}

std::uint64_t CoverageWorker::GivenUp() const
{
    const std::lock_guard lock(mutex_);
    return givenUp_;
}

void CoverageWorker::Deliver(CoverageAnswer answer)
{
    {
        const std::lock_guard lock(mutex_);
        if (answer.Id != asked_) {
            return;
        }
        if (answer.Final) {
            finished_ = answer.Id;
        }
        answer_ = std::move(answer);
    }
    ready_();
}

void CoverageWorker::Run()
{
    // Below the user interface, and so are the threads that share the grid,
    // which inherit it from this one. A window that waits for its next frame
    // then gets a core at once.
    LowerThisThread(WorkerPriority::Niced);
    for (;;) {
        CoverageRequest request;
        std::uint64_t id = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quit_ || pending_.has_value(); });
            if (quit_) {
                return;
            }
            request = std::move(*pending_);
            pending_.reset();
            id = asked_;
            cancel_ = false;
        }
        try {
            if (request.StepDeg < CoarseStepDeg) {
                Deliver({id,
                         false,
                         ComputeCoverageHourSummary(request.In, request.UtcHour, request.Band, CoarseStepDeg, threads_,
                                                    &cancel_),
                         {}});
                Deliver({id,
                         false,
                         ComputeCoverageDaySummary(request.In, request.Band, CoarseStepDeg, threads_, &cancel_),
                         {}});
            }
            Deliver({id,
                     true,
                     ComputeCoverageDaySummary(request.In, request.Band, request.StepDeg, threads_, &cancel_),
                     {}});
        } catch (const Cancelled&) {
            // A newer request, or the end: the loop takes up what is next.
            const std::lock_guard lock(mutex_);
            ++givenUp_;
        } catch (const std::bad_alloc&) {
            Deliver({id, true, {}, "there is not enough memory for this grid"});
        }
    }
}

} // namespace orvela::area
