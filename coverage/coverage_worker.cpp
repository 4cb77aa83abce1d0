#include "coverage/coverage_worker.h"

#include <utility>

namespace orvela::area {

namespace {

using Worker = NewestRequestWorker<CoverageRequest, CoverageAnswer>;

// A coarse hour at once, then the coarse day, then the grid asked for: the
// view has something to show within tens of milliseconds. Cancelled, thrown
// when a newer request or the end gives this one up, is what the worker
// counts as given up.
void ComputeDayInSteps(const CoverageRequest& request, std::uint64_t id, unsigned threads,
                       const std::atomic<bool>& cancel, const Worker::Deliver& deliver)
{
    if (request.StepDeg < CoverageWorker::CoarseStepDeg) {
        deliver({id,
                 false,
                 ComputeCoverageHourSummary(request.In, request.UtcHour, request.Band, CoverageWorker::CoarseStepDeg,
                                            threads, &cancel),
                 {}},
                false);
        deliver({id,
                 false,
                 ComputeCoverageDaySummary(request.In, request.Band, CoverageWorker::CoarseStepDeg, threads, &cancel),
                 {}},
                false);
    }
    deliver({id, true, ComputeCoverageDaySummary(request.In, request.Band, request.StepDeg, threads, &cancel), {}},
            true);
}

} // namespace

CoverageWorker::CoverageWorker(std::function<void()> ready, unsigned threads)
    : worker_([threads](const CoverageRequest& request, std::uint64_t id, const std::atomic<bool>& cancel,
                        const Worker::Deliver& deliver) { ComputeDayInSteps(request, id, threads, cancel, deliver); },
              [](std::uint64_t id) {
                  return CoverageAnswer{id, true, {}, "there is not enough memory for this grid"};
              },
              std::move(ready))
{
}

CoverageWorker::~CoverageWorker() = default;

std::uint64_t CoverageWorker::Ask(const CoverageRequest& request)
{
    return worker_.Ask(request);
}

void CoverageWorker::Stop()
{
    worker_.Stop();
}

std::optional<CoverageAnswer> CoverageWorker::Take()
{
    return worker_.Take();
}

bool CoverageWorker::Busy() const
{
    return worker_.Busy();
}

std::uint64_t CoverageWorker::GivenUp() const
{
    return worker_.GivenUp();
}

} // namespace orvela::area
