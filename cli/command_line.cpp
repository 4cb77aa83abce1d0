#include "cli/command_line.h"

#include "solar/geoalert.h"
#include "solar/solar_products.h"
#include "cli/prediction_options.h"
#include "country/country_file_location.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace orvela::cli {

namespace {

constexpr const char* Program = "orvela-predict";

using Option = RequestOption;

// The options that only a batch takes.
std::vector<ValueOption<BatchRequest>> BatchOptions()
{
    std::vector<ValueOption<BatchRequest>> o;
    o.push_back({"--batch", "FILE", false, [](std::string_view text, BatchRequest& b) -> std::optional<std::string> {
                     if (text.empty()) {
                         return "expected a file name, or - for standard input";
                     }
                     b.File = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--threads", "N", false, StoreParsed<BatchRequest>(&ParseThreads, [](BatchRequest& b, int v) {
                     b.Threads = static_cast<unsigned>(v);
                 })});
    return o;
}

// A batch: its lines give the predictions' options; the command line gives
// the file, the output format, the threads and the bulletin's address.
CommandLine BatchRun(std::vector<Option>& options, std::vector<ValueOption<BatchRequest>>& batchOptions,
                     bool longPathGiven)
{
    std::vector<Option> rest;
    for (Option& o : options) {
        if (!IsPredictionOptionName(o.Name)) {
            rest.push_back(o);
        } else if (!o.Given.empty()) {
            return Refusal(std::string(o.Name) + " is given on each line of the batch, not with --batch");
        }
    }
    if (longPathGiven) {
        return Refusal("--long-path is given on each line of the batch, not with --batch");
    }
    CommandLine cl;
    cl.What = CommandLine::Action::Batch;
    Request req;
    req.Format = OutputFormat::Json;
    if (std::optional<std::string> why = ApplyValueOptions(rest, req)) {
        return Refusal(*why);
    }
    if (req.Format == OutputFormat::Text) {
        return Refusal("--batch writes json or csv, not text");
    }
    cl.Batch.Format = req.Format;
    cl.Batch.FluxUrl = req.FluxUrl;
    cl.Batch.ServiceUrl = req.ServiceUrl;
    cl.Batch.CountryFile = req.CountryFile;
    if (std::optional<std::string> why = ApplyValueOptions(batchOptions, cl.Batch)) {
        return Refusal(*why);
    }
    return cl;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const argv[])
{
    ArgumentParser parser(Program);
    std::vector<Option> options = RequestOptions();
    parser.Add(options);
    std::vector<ValueOption<BatchRequest>> batchOptions = BatchOptions();
    parser.Add(batchOptions);
    bool longPath = false;
    parser.AddSwitch("--long-path", longPath);
    if (std::optional<CommandLine> ended = HelpOrRefusal<CommandLine>(parser.Parse(argc, argv))) {
        return *ended;
    }

    if (!batchOptions[0].Given.empty()) {
        return BatchRun(options, batchOptions, longPath);
    }
    if (!batchOptions[1].Given.empty()) {
        return Refusal("--threads is only used with --batch");
    }
    return SingleRun(options, longPath);
}

std::string HelpText()
{
    const Settings& d = StoredDefaults().Station;
    const Request r;
    std::string t;
    t += "Usage:\n";
    t += "orvela-predict --home POS (--remote POS | --remote-call CALL [--country-file FILE])\n";
    t += "               [--flux SFU|auto] [--flux-url URL] [--service-url URL] [--power DBW]\n";
    t += "               [--min-angle DEG] [--long-path]\n";
    t += "               [--antenna isotropic|dipole|yagi] [--display signal|angle|delay|best]\n";
    t += "               [--bands fixed|ham] [--date YYYY-MM-DD] [--call CALLSIGN]\n";
    t += "               [--format text|csv|json]\n";
    t += "orvela-predict --batch FILE|- [--format json|csv] [--threads N] [--flux-url URL]\n";
    t += "               [--service-url URL] [--country-file FILE]\n";
    t += "\n";
    t += "Forecasts HF sky-wave propagation between a home station and a remote point\n";
    t += "for each of the 24 UTC hours of one day, on the table frequencies 2 to 30 MHz.\n";
    t += "\n";
    t += "Options:\n";
    t += "  --home POS        position of the home station (required)\n";
    t += "  --remote POS      position of the remote point (required, unless\n";
    t += "                    --remote-call gives it)\n";
    t += "                    POS is LAT,LON in decimal degrees, each followed by its\n";
    t += "                    hemisphere letter: 48.85N,2.35E or 40N,74W. Latitudes go\n";
    t += "                    to 90, longitudes to 180. Signed numbers are refused.\n";
    t += "                    POS may also be a six-character Maidenhead locator in\n";
    t += "                    any case, JN18DU or jn18du: the centre of its sub-square\n";
    t += "                    cut to whole seconds, as the setup dialog stores it.\n";
    t += "                    A four-character locator, JN18, is the centre of its\n";
    t += "                    square.\n";
    t += "  --remote-call CALL  the remote point from a call sign or a prefix, JA1ABC\n";
    t += "                    or JA: the position of its DXCC entity (or of the prefix,\n";
    t += "                    where the country file gives it one of its own), as the\n";
    t += "                    country file writes it. /P, /M, /QRP and the like are\n";
    t += "                    passed over; a /MM or /AM station, or a call sign of no\n";
    t += "                    entity, is refused\n";
    t += "  --country-file FILE  the contest country file cty.dat to look calls up in\n";
    t += "                    (default: " + std::string("$XDG_DATA_HOME/orvela/cty.dat") + " when it exists,\n";
    t += "                    else " + std::string(country::PackageCountryFile) + ")\n";
    t += StationOptionsUsage(d);
    t += "  --long-path       take the long great-circle path (default: the short path)\n";
    t += "  --display WHAT    what the result cells show: signal (dB above receiver\n";
    t += "                    sensitivity), angle (take-off angle, degrees), delay\n";
    t += "                    (milliseconds) or best (best frequency of each hour)\n";
    t += "                    (default " + std::string(DisplayNames[static_cast<std::size_t>(Number(d.Display) - 1)]) +
         ")\n";
    t += "  --bands SET       the table's rows: fixed (2, 4, ... 30 MHz) or ham (one row\n";
    t += "                    per amateur band, 80 m to 10 m, labelled \"40 m 7.1\")\n";
    t += "                    (default " + std::string(BandSetNames[static_cast<std::size_t>(r.Bands)]) + ")\n";
    t += "  --date YYYY-MM-DD prediction date, also shown on the date line\n";
    t += "                    (default: today's local date)\n";
    t += "  --call CALLSIGN   call sign of the home station (default " + d.CallSign + "); printable\n";
    t += "                    text: control characters are refused\n";
    t += "  --format FORMAT   text, csv or json (default text)\n";
    t += "  --help            print this help and exit\n";
    t += "\n";
    t += "A switch takes no value: --long-path=false is refused; leave the switch out\n";
    t += "for the short path. In a batch line, \"long-path\" is true or false.\n";
    t += "\n";
    t += "The table highlights the current UTC hour when the prediction date is today's\n";
    t += "local date, and 0h for any other date.\n";
    t += "\n";
    t += "Output formats:\n";
    t += "  text  the two header strips, the table in aligned columns and the status\n";
    t += "        texts; coloured with ANSI escapes only when writing to a terminal.\n";
    t += "        When no cell reaches the receiver, a line before the status texts\n";
    t += "        says why. With --remote-call, a last line names the entity:\n";
    t += "        \"Remote point: Japan (JA), CQ zone 25, ITU zone 45, AS\".\n";
    t += "  csv   one line per table row (19 lines of 25 fields); a field is quoted\n";
    t += "        when it holds a comma, a double quote or a blank. When no cell\n";
    t += "        reaches the receiver, a last line \"# \" and why. With --remote-call,\n";
    t += "        a line \"# Remote point: \" and the entity after the table.\n";
    t += "  json  one object: \"h1\" (4 strings), \"h2\" (5 strings), \"grid\" (19 rows of\n";
    t += "        25 cell texts, column 0 the labels), \"cells\" (19 rows of 25\n";
    t += "        {\"bg\", \"fg\", \"bold\"}, and \"s_meter\" for a signal level, \"S7\"),\n";
    t += "        \"bands\" (the band rows, lowest first: {\"row\", \"mhz\", \"name\"}),\n";
    t += "        \"path\" {\"distance_km\", \"azimuth_deg\",\n";
    t += "        \"back_azimuth_deg\", \"base_hops\", \"base_elev_deg\", \"delay_ms\"},\n";
    t += "        \"status\" {\"display\", \"antenna\", \"power\"}, \"reaches\" (false when\n";
    t += "        no cell reaches the receiver, then \"empty_reason\" says why), and\n";
    t += "        \"home\" and \"remote\"\n";
    t += "        {\"lat_deg\", \"lon_deg\"}, the positions used (latitude positive north,\n";
    t += "        longitude positive west); with --remote-call, \"remote\" also holds\n";
    t += "        \"entity\" {\"name\", \"prefix\", \"cq\", \"itu\", \"continent\"}; with\n";
    t += "        --flux auto for today also\n";
    t += "        \"solar\" {\"issued\", \"flux\", \"url\"}, or {\"error\", \"url\"} when the\n";
    t += "        download failed; last \"flux\" {\"sfu\", \"source\", \"issued\"}: the\n";
    t += "        flux used, where it came from (typed, bulletin, outlook, predicted,\n";
    t += "        observed-daily, observed-monthly or default) and the product's\n";
    t += "        issue date, null where it has none.\n";
    t += "  With --flux auto, text ends with a line \"Solar flux 135.0: NOAA 27-day\n";
    t += "  outlook issued 7 Dec 2026\" naming the source (today's bulletin has its\n";
    t += "  own line), and CSV with \"# \" and the same words.\n";
    t += "\n";
    t += "Batch:\n";
    t += "  --batch FILE      one prediction for each line of FILE (- reads standard\n";
    t += "                    input). Each line is a JSON object whose keys are the\n";
    t += "                    options above without their dashes: home, remote,\n";
    t += "                    remote_call (--remote-call), flux, power, min-angle,\n";
    t += "                    long-path (true or false), antenna, display, bands,\n";
    t += "                    date and call. Values are written as on the command\n";
    t += "                    line, as strings; flux, power and min-angle may also be\n";
    t += "                    JSON numbers. A key left out takes the default above;\n";
    t += "                    home and remote (or remote_call) are required. Blank\n";
    t += "                    lines are skipped (no output), but counted in the line\n";
    t += "                    numbers.\n";
    t += "                    \"flux\": \"auto\" takes the flux of the line's date as\n";
    t += "                    --flux auto does; each product is downloaded once for the\n";
    t += "                    whole batch, the first time a line asks for it. In CSV,\n";
    t += "                    such a line's records end with N,flux,sfu,source,issued.\n";
    t += "  --threads N       threads that compute the lines, 0 (default) for one per\n";
    t += "                    core\n";
    t += "  --country-file FILE  the country file of the lines' remote_call\n";
    t += "  Output, one for each line that is not blank, in the order of the input:\n";
    t += "  json  (default) the object of --format json on one line, with\n";
    t += "        \"line\": N first (N counts from 1); a bad line gives\n";
    t += "        {\"line\": N, \"error\": \"why\"} and the batch goes on.\n";
    t += "  csv   19 records per line, the line number and the table row (0 to 18)\n";
    t += "        before the row's 25 fields, then N,empty,why when no cell reaches\n";
    t += "        the receiver; a bad line gives one record: N,error,why. A line\n";
    t += "        with remote_call adds N,entity,name,prefix,cq,itu,continent.\n";
    t += "  The input is read and written a few lines per thread at a time, so memory\n";
    t += "  stays small whatever the number of lines. Exit status 2 when any line was\n";
    t += "  bad, or when FILE cannot be read (one line on standard error).\n";
    t += "\n";
    t += "Exit status: 0 on success, 2 for bad input (reported in one line on standard\n";
    t += "error, with nothing on standard output), 1 when the output cannot be written.\n";
    return t;
}

std::string StationOptionsUsage(const Settings& d)
{
    std::string t;
    t += "  --flux SFU        10.7 cm solar flux, 1 to 500, kept to one decimal\n";
    t += "                    (default " + FormatFixed(DefaultFlux, 0) + "), or auto: the flux of the date from\n";
    t += "                    NOAA, as the program picks it:\n";
    t += "                      today: the Geophysical Alert Message (measured the\n";
    t += "                      day before), then the 27-day outlook;\n";
    t += "                      1 to 27 days ahead: the 27-day outlook, a weekly\n";
    t += "                      forecast, close at first, later off by tens of sfu;\n";
    t += "                      further ahead: the predicted solar cycle, a month's\n";
    t += "                      smoothed level, which a day's flux swings about by\n";
    t += "                      tens of sfu;\n";
    t += "                      1 to 30 days ago: the daily solar indices (measured);\n";
    t += "                      older: the observed solar cycle, a month's mean.\n";
    t += "                    A month's value belongs to its middle; a day between two\n";
    t += "                    middles takes the straight line between them. A product\n";
    t += "                    that fails is said on standard error and the next\n";
    t += "                    answers; when none does, the flux is 100. Products are\n";
    t += "                    kept in $XDG_CACHE_HOME/orvela (~/.cache/orvela); offline,\n";
    t += "                    an old copy answers and its age is said.\n";
    t += "  --flux-url URL    where --flux auto fetches the bulletin\n";
    t += "                    (default " + std::string(solar::DefaultFluxUrl()) + ")\n";
    t += "  --service-url URL the base address of the other products\n";
    t += "                    (default " + std::string(solar::DefaultServiceUrl()) + ")\n";
    const SettingRow& power = SettingRowOf(SettingId::Power);
    const SettingRow& angle = SettingRowOf(SettingId::MinAngle);
    t += "  --power DBW       transmitter power, whole dBW from " + std::to_string(power.WholeMin()) + " to " +
         std::to_string(power.WholeMax()) + "\n";
    t += "                    (default " + std::to_string(d.Power) + ")\n";
    t += "  --min-angle DEG   lowest take-off angle, whole degrees from " + std::to_string(angle.WholeMin()) + " to " +
         std::to_string(angle.WholeMax()) + "\n";
    t += "                    (default " + std::to_string(d.MinAngle) + ")\n";
    t += "  --antenna TYPE    isotropic, dipole (simple dipole) or yagi (three-element\n";
    t += "                    Yagi) (default " + std::string(AntennaNames[static_cast<std::size_t>(d.GainTable)]) +
         ")\n";
    return t;
}

RunInput MakeRunInput(const Request& req, const Now& now)
{
    RunInput in;
    in.Station = req.Station;
    in.Flux = req.Flux;
    in.RemoteLatDeg = req.Remote.LatDeg;
    in.RemoteLonWestDeg = req.Remote.LonWestDeg;
    const CivilDate date = req.Date.value_or(now.LocalDate);
    in.Month = date.Month;
    in.Day = date.Day;
    in.LocalDate = date;
    const bool today =
        date.Year == now.LocalDate.Year && date.Month == now.LocalDate.Month && date.Day == now.LocalDate.Day;
    in.UtcHour = today ? now.UtcHour : 0;
    in.RemoteLabel = "Remote station";
    in.Bands = BandsOf(req.Bands);
    return in;
}

} // namespace orvela::cli
