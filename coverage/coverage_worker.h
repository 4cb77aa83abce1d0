// Coverage computed in the background for an interactive view: one request
// at a time, a newer one replacing the one under way, each answered first
// from a coarse grid (the hour looked at, then the whole day) and then from
// the grid asked for.
#pragma once

#include "common/newest_request_worker.h"
#include "coverage/area_coverage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orvela::area {

// A whole day of one band over a grid from the station of `In`.
struct CoverageRequest {
    RunInput In;
    int Band = 7;
    int StepDeg = 2;
    // The hour looked at, computed first.
    int UtcHour = 12;
};

// One answer: the request's number, and whether this is its last one.
struct CoverageAnswer {
    std::uint64_t Id = 0;
    bool Final = false;
    CoverageDaySummary Day;
    // Why the request could not be answered (the memory ran out); the last
    // answer then, with an empty day.
    std::string Problem;
};

class CoverageWorker {
public:
    // The grid of the first answers when a finer one is asked for: one hour
    // of it takes about ten milliseconds on two cores, its whole day forty.
    static constexpr int CoarseStepDeg = 10;

    // `ready` is called on the worker thread each time an answer is waiting
    // in Take(); it must only wake the thread that takes it. `threads` as
    // for ComputeCoverage.
    explicit CoverageWorker(std::function<void()> ready, unsigned threads = 0);
    // Gives up the request under way and waits for the thread.
    ~CoverageWorker();
    CoverageWorker(const CoverageWorker&) = delete;
    CoverageWorker& operator=(const CoverageWorker&) = delete;

    // Replaces what was asked before: the computation under way is given up,
    // and its answers that were not taken yet are dropped. Returns the
    // request's number, greater than every earlier one.
    std::uint64_t Ask(const CoverageRequest& request);
    // Gives up what was asked, without a new request.
    void Stop();
    // The newest answer not taken yet. An answer to an older request than
    // the newest is never returned.
    std::optional<CoverageAnswer> Take();
    // Whether the newest request still has answers to come.
    bool Busy() const;
    // How many computations were given up part way for a newer request.
    std::uint64_t GivenUp() const;

private:
    NewestRequestWorker<CoverageRequest, CoverageAnswer> worker_;
};

} // namespace orvela::area
