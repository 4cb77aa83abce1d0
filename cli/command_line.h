// The command line of orvela-predict: what it accepts, the request it
// builds, and the run input that request gives at a given moment.
#pragma once

#include "engine/format.h"
#include "engine/model.h"
#include "engine/prediction.h"
#include "cli/remote_entity.h"
#include "cli/values.h"
#include "station/settings_schema.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::cli {

enum class OutputFormat { Text, Csv, Json };

// What one invocation asks for. The defaults are those of the settings
// store: the station and options in `Station`, a flux of 100.
struct Request {
    Settings Station = StoredDefaults().Station; // home position in Latitude/Longitude
    GeoPosition Remote;
    std::string RemoteCall;                        // --remote-call: the remote point is this call's entity
    std::optional<RemoteEntity> RemoteEntityFound; // set once the call was looked up
    std::string CountryFile;                       // --country-file, or empty to look for it
    ld Flux = DefaultFlux;
    bool FluxTyped = false;                // --flux SFU was given
    bool FluxAuto = false;                 // --flux auto: the flux of the date from NOAA's products
    std::string FluxUrl;                   // --flux-url, or empty for the build's address
    std::string ServiceUrl;                // --service-url, or empty for the build's address
    std::optional<CivilDate> Date;         // none: today's local date
    BandSet Bands = StoredDefaults().Rows; // the table's rows
    OutputFormat Format = OutputFormat::Text;
};

// --batch FILE|-: one prediction for each line of a file or of standard input.
struct BatchRequest {
    std::string File; // "-": standard input
    OutputFormat Format = OutputFormat::Json;
    unsigned Threads = 0;    // 0: one per core
    std::string FluxUrl;     // where lines with "flux": "auto" take today's bulletin from; empty: the build's address
    std::string ServiceUrl;  // the base address of the other products; empty: the build's address
    std::string CountryFile; // where lines with "remote_call" look the call up; empty: look for it
};

struct CommandLine {
    enum class Action { Predict, Batch, Help, Refuse };
    Action What = Action::Refuse;
    Request Req;        // for Predict
    BatchRequest Batch; // for Batch
    std::string Error;  // for Refuse: one line, without the program name
};

// Reads the arguments (argv[0] is the program). Never throws for bad input.
CommandLine ParseCommandLine(int argc, const char* const argv[]);

// The options of one prediction given by their long names without dashes
// ("home", "remote", "remote-call", "flux", "power", "min-angle", "antenna",
// "display", "date", "call") and their texts, and whether --long-path is set: the
// request the same options give on the command line, or its refusal.
struct NamedValue {
    std::string Name;
    std::string Text;
};
CommandLine ParsePredictionOptions(const std::vector<NamedValue>& values, bool longPath);

// Whether `name` is one of the options that ParsePredictionOptions takes
// (long-path included).
bool IsPredictionOption(std::string_view name);

// The text --help prints.
std::string HelpText();

// The clock at the moment of the run.
struct Now {
    CivilDate LocalDate;
    int UtcHour = 0;
};

// The run input of a request. The prediction date is the requested one or
// today's; the table highlights the current UTC hour when that date is
// today, and hour 0 otherwise.
RunInput MakeRunInput(const Request& req, const Now& now);

// The help of the options every program that predicts takes alike, --flux,
// --flux-url, --power, --min-angle and --antenna, with the defaults of a new
// station `d`, one line per 80 columns.
std::string StationOptionsUsage(const Settings& d);

} // namespace orvela::cli
