#include "planner/plan_worker.h"

#include <utility>

namespace orvela::planner {

PlanWorker::PlanWorker(std::function<void()> ready, unsigned threads)
    : worker_(
          [threads](const PlanRequest& request, std::uint64_t id, const std::atomic<bool>& cancel,
                    const NewestRequestWorker<PlanRequest, PlanAnswer>::Deliver& deliver) {
              // CancelledPlan, thrown when a newer request or the end gives
              // this one up, is what the worker counts as given up.
              auto plan = std::make_shared<const Plan>(ComputePlan(request.In, request.Targets, threads, &cancel));
              deliver(PlanAnswer{id, std::move(plan), {}}, true);
          },
          [](std::uint64_t id) {
              return PlanAnswer{id, nullptr, "there is not enough memory for this plan"};
          },
          std::move(ready))
{
}

PlanWorker::~PlanWorker() = default;

std::uint64_t PlanWorker::Ask(PlanRequest request)
{
    return worker_.Ask(std::move(request));
}

void PlanWorker::Stop()
{
    worker_.Stop();
}

std::optional<PlanAnswer> PlanWorker::Take()
{
    return worker_.Take();
}

bool PlanWorker::Busy() const
{
    return worker_.Busy();
}

std::uint64_t PlanWorker::GivenUp() const
{
    return worker_.GivenUp();
}

} // namespace orvela::planner
