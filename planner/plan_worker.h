// A plan computed in the background for a window: one request at a time, a
// newer one giving up the one under way, on worker threads below the user
// interface.
#pragma once

#include "common/newest_request_worker.h"
#include "planner/plan.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvela::planner {

struct PlanRequest {
    PlanInputs In;
    std::vector<Target> Targets;
};

struct PlanAnswer {
    std::uint64_t Id = 0;
    std::shared_ptr<const Plan> Result; // null when Problem says why
    std::string Problem;
};

class PlanWorker {
public:
    // `ready` is called on the worker thread each time an answer is waiting
    // in Take(); it must only wake the thread that takes it (a WakeUp's
    // Raise, say). `threads` as for ComputePlan.
    explicit PlanWorker(std::function<void()> ready, unsigned threads = 0);
    // Gives up the request under way and waits for the threads.
    ~PlanWorker();
    PlanWorker(const PlanWorker&) = delete;
    PlanWorker& operator=(const PlanWorker&) = delete;

    // Replaces what was asked before: the plan under way is given up and an
    // answer not taken yet dropped. Returns the request's number, greater
    // than every earlier one.
    std::uint64_t Ask(PlanRequest request);
    // Gives up what was asked, without a new request.
    void Stop();
    // The newest answer not taken yet; never one to an older request than
    // the newest.
    std::optional<PlanAnswer> Take();
    // Whether the newest request's answer is still to come.
    bool Busy() const;
    // How many plans were given up part way.
    std::uint64_t GivenUp() const;

private:
    NewestRequestWorker<PlanRequest, PlanAnswer> worker_;
};

} // namespace orvela::planner
