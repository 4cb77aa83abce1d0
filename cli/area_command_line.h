// The command line of orvela-area: what it accepts, the request it builds,
// and the run input shared by every point of the grid.
#pragma once

#include "map/compositor.h"
#include "engine/model.h"
#include "engine/prediction.h"
#include "cli/program.h"
#include "cli/values.h"
#include "station/settings_schema.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvela::areacli {

constexpr int DefaultWidth = 1024;
// Below this the legend and the caption would cover most of the map.
constexpr int MinWidth = 512;
constexpr int MaxWidth = 8192;
constexpr int DefaultStep = 2;

// What --out's extension asks for.
enum class OutputKind { Png, Csv, Json };

// What one invocation asks for. The station's options take the defaults of
// a new station, as orvela-predict's do.
struct AreaRequest {
    Settings Station = StoredDefaults().Station; // home in Latitude/Longitude, power, angle, antenna, long path
    UtcDateTime Moment;                          // the prediction's date and hour; the map's shading
    TableBand Band;                              // the band: an amateur band, or a frequency alone
    ld Flux = DefaultFlux;
    bool FluxTyped = false; // --flux SFU was given
    bool FluxAuto = false;  // --flux auto: the flux of the moment's date from NOAA's products
    std::string FluxUrl;    // --flux-url, or empty for the build's address
    std::string ServiceUrl; // --service-url, or empty for the build's address
    int StepDeg = DefaultStep;
    int Width = DefaultWidth;
    unsigned Threads = 0; // 0: one per core
    std::string Out;
    OutputKind Kind = OutputKind::Png;
    bool AllHours = false; // --all-hours: the 24 UTC hours of the moment's date
};

struct AreaCommandLine {
    enum class Action { Map, Help, Refuse };
    Action What = Action::Refuse;
    AreaRequest Req;   // for Map
    std::string Error; // for Refuse: one line, without the program name
};

// A table frequency in MHz, 2, 4, ... 30: the band's number, 1 to 15.
cli::Parsed<TableBand> ParseBand(std::string_view text);

// The grid's step, a whole number of degrees that divides 180.
cli::Parsed<int> ParseStep(std::string_view text);

// The picture's width in pixels, MinWidth to MaxWidth.
cli::Parsed<int> ParseAreaWidth(std::string_view text);

// The output's kind by the file name's extension (.png, .csv or .json, in
// any letter case), or why the name was refused.
cli::Parsed<OutputKind> ParseOutput(std::string_view path);

// Reads the arguments (argv[0] is the program). Never throws for bad input.
AreaCommandLine ParseAreaCommandLine(int argc, const char* const argv[]);

// The text --help prints.
std::string AreaHelpText();

// The run input every point shares: the station, the flux, the date of the
// moment (also on the date line) and its UTC hour. The remote point is each
// grid point's own.
RunInput MakeAreaRunInput(const AreaRequest& req);

// Where hour `utcHour` of --all-hours goes as a PNG: the name of --out with
// the hour, two digits, before its extension: map.png gives map-00.png to
// map-23.png.
std::string HourPictureName(const std::string& out, int utcHour);

} // namespace orvela::areacli
