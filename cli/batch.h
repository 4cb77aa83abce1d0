// orvela-predict --batch: one prediction for each line of a JSON Lines
// stream, computed over the cores, written in the order of the lines.
#pragma once

#include "cli/command_line.h"
#include "cli/date_flux.h"
#include "cli/render.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

namespace orvela::cli {

struct BatchResult {
    bool BadLine = false;     // a line was refused: its output is an error
    bool ReadFailed = false;  // the input could not be read to its end
    bool WriteFailed = false; // the output could not be written: the batch stopped there
};

// Longest input line taken, line end excluded; a longer one is refused
// without being held in memory.
inline constexpr std::size_t MaxBatchLineBytes = 64 * 1024;

// Reads the lines of `in`, each a JSON object whose keys are the long
// options of a prediction without their dashes, and writes to `out` one
// output for each line that is not blank, in input order: the prediction
// (or the line's refusal) as `batch.Format` says. The lines are read a
// chunk at a time, computed over batch.Threads threads and written before
// the next chunk is read, so memory does not grow with the input. `now` is
// the clock for every line. Lines with "flux": "auto" take the flux of
// their date from `flux`, shared by the batch's threads, so that each
// product is fetched once at most.
BatchResult RunBatch(std::istream& in, std::ostream& out, const BatchRequest& batch, const Now& now,
                     DateFluxPicker& flux);

} // namespace orvela::cli
