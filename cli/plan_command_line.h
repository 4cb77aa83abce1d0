// The command line of orvela-plan: what it accepts and the request it
// builds.
#pragma once

#include "cli/program.h"
#include "common/civil_time.h"
#include "engine/bands.h"
#include "planner/plan_view.h"
#include "station/settings_schema.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvela::plancli {

enum class OutputFormat { Text, Csv, Json };

// What one invocation asks for. The station's options take the defaults of
// a new station, as orvela-predict's do.
struct PlanRequest {
    Settings Station = StoredDefaults().Station; // home in Latitude/Longitude, power, angle, antenna, long path
    std::optional<CivilDate> Date;               // none: today's local date
    std::optional<TableBand> Band;               // none: all amateur bands
    ld Flux = DefaultFlux;
    bool FluxAuto = false;  // --flux auto: the day's flux from NOAA's bulletin
    bool FluxTyped = false; // --flux given with a number
    std::string FluxUrl;    // --flux-url, or empty for the build's address
    std::string ServiceUrl; // --service-url, or empty for the build's address
    // "dxcc" (every DXCC entity), a file of entries, or entries separated
    // by commas.
    std::string Targets = "dxcc";
    std::string CountryFile; // --country-file, or empty for the one found
    std::optional<int> OpenAtHour;
    bool OpenNow = false;
    planner::SortKey Sort = planner::SortKey::Continent;
    std::string Search;
    OutputFormat Format = OutputFormat::Text;
    unsigned Threads = 0; // 0: one per core
};

struct PlanCommandLine {
    enum class Action { Plan, Help, Refuse };
    Action What = Action::Refuse;
    PlanRequest Req;   // for Plan
    std::string Error; // for Refuse: one line, without the program name
};

// An amateur band, a frequency from 2 to 30 MHz, or "all".
cli::Parsed<std::optional<TableBand>> ParsePlanBand(std::string_view text);

// Reads the arguments (argv[0] is the program). Never throws for bad input.
PlanCommandLine ParsePlanCommandLine(int argc, const char* const argv[]);

// The text --help prints.
std::string PlanHelpText();

} // namespace orvela::plancli
