// One line of orvela-predict --batch: a JSON object whose keys are the long
// options of one prediction without their dashes, read into the request of
// that prediction. Apart from the batch itself (its threads, its output and
// the engine), so that it can be checked on its own.
#pragma once

#include "cli/command_line.h"

#include <string>

namespace orvela::cli {

// The request of one line, or its refusal on one line. Values are the
// command line's texts, checked as the command line checks them; "flux",
// "power" and "min-angle" also take JSON numbers, read by their value.
// Never throws for bad input: JSON that does not parse, a number too large
// for a double, a key given twice, an unknown key or a value of the wrong
// type are refusals like any other.
CommandLine ReadBatchLine(const std::string& text);

} // namespace orvela::cli
