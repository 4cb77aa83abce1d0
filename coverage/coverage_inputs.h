// What a day of coverage depends on, so that a view knows when to ask for it
// again.
#pragma once

#include "engine/prediction.h"

namespace orvela::area {

// A run's inputs less those a coverage sets itself, the remote point (each
// grid point's) and the hour (each of the day's), and less those that only
// label the table: the call sign, the display format, the remote point's
// label and the caption's colour. Every other input, and any added later,
// takes part in the comparison: two equal inputs give the same coverage.
struct CoverageInputs {
    explicit CoverageInputs(const RunInput& in);
    RunInput In;
    friend bool operator==(const CoverageInputs&, const CoverageInputs&) = default;
};

} // namespace orvela::area
