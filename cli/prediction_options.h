// The options of one prediction, as the command line and the lines of a
// batch give them: how each one is checked and stored, and the request they
// make together. Nothing here uses the parser library, so that a batch
// line's options are read by a few files of their own.
#pragma once

#include "cli/command_line.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::cli {

// Index = Settings::GainTable.
inline constexpr std::array<std::string_view, 3> AntennaNames{"isotropic", "dipole", "yagi"};
// Index = BandSet.
inline constexpr std::array<std::string_view, 2> BandSetNames{"fixed", "ham"};
// Index + 1 = Settings::Display.
inline constexpr std::array<std::string_view, 4> DisplayNames{"signal", "angle", "delay", "best"};

using RequestOption = ValueOption<Request>;

// Every option that sets a field of the request, none of them given yet:
// those of one prediction, then --flux-url and --format.
std::vector<RequestOption> RequestOptions();

// Whether `dashed` ("--home") names one of the options of one prediction.
bool IsPredictionOptionName(std::string_view dashed);

// A refusal, `why` on one line.
CommandLine Refusal(std::string why);

// The request of a single run from the options given, or the refusal of
// the first one that is missing, repeated or refused.
CommandLine SingleRun(std::vector<RequestOption>& options, bool longPath);

} // namespace orvela::cli
