#include "command_line.h"

#include "geoalert.h"

#include <CLI/CLI.hpp>

#include <array>
#include <string_view>
#include <vector>

namespace orvela::cli {

namespace {

constexpr const char* Program = "orvela-predict";

// Index = Settings::GainTable.
constexpr std::array<std::string_view, 3> AntennaNames{"isotropic", "dipole", "yagi"};
// Index + 1 = Settings::Display.
constexpr std::array<std::string_view, 4> DisplayNames{"signal", "angle", "delay", "best"};
// Index = OutputFormat.
constexpr std::array<std::string_view, 3> FormatNames{"text", "csv", "json"};

using Option = ValueOption<Request>;
using Apply = Option::Store;

template <std::size_t N, class Store>
Apply Choice(const std::array<std::string_view, N>& names, Store store)
{
    return [&names, store](std::string_view text, Request& req) -> std::optional<std::string> {
        const Parsed<int> v = ParseChoice(text, names);
        if (!v) {
            return v.Error;
        }
        store(req, *v.Value);
        return std::nullopt;
    };
}

template <class T, class Set>
Apply Checked(Parsed<T> (*parse)(std::string_view), Set set)
{
    return StoreParsed<Request>(parse, set);
}

std::vector<Option> ValueOptions()
{
    std::vector<Option> o;
    o.push_back({"--home", "POS", true, Checked(&ParsePositionOrLocator, [](Request& r, const GeoPosition& p) {
                     r.Station.Latitude = p.LatDeg;
                     r.Station.Longitude = p.LonDeg;
                 })});
    o.push_back({"--remote", "POS", true,
                 Checked(&ParsePositionOrLocator, [](Request& r, const GeoPosition& p) { r.Remote = p; })});
    o.push_back({"--flux", "SFU", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     if (text == "auto") {
                         r.FluxAuto = true;
                         return std::nullopt;
                     }
                     return Checked(&ParseFlux, [](Request& q, ld v) { q.Flux = v; })(text, r);
                 }});
    o.push_back({"--flux-url", "URL", false, Checked(&ParseFluxUrl, [](Request& r, const std::string& url) {
                     r.FluxUrl = url;
                 })});
    o.push_back({"--power", "DBW", false, Checked(&ParsePower, [](Request& r, int v) { r.Station.Power = v; })});
    o.push_back(
        {"--min-angle", "DEG", false, Checked(&ParseMinAngle, [](Request& r, int v) { r.Station.MinAngle = v; })});
    o.push_back({"--antenna", "TYPE", false,
                 Choice(AntennaNames, [](Request& r, int i) { r.Station.GainTable = i; })});
    o.push_back({"--display", "WHAT", false,
                 Choice(DisplayNames, [](Request& r, int i) { r.Station.Display = i + 1; })});
    o.push_back({"--date", "YYYY-MM-DD", false,
                 Checked(&ParseDate, [](Request& r, const CivilDate& d) { r.Date = d; })});
    o.push_back({"--call", "CALLSIGN", false, [](std::string_view text, Request& r) -> std::optional<std::string> {
                     r.Station.CallSign = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--format", "FORMAT", false,
                 Choice(FormatNames, [](Request& r, int i) { r.Format = static_cast<OutputFormat>(i); })});
    return o;
}

CommandLine Refuse(std::string why)
{
    CommandLine cl;
    cl.What = CommandLine::Action::Refuse;
    cl.Error = OneLine(std::move(why));
    return cl;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const argv[])
{
    CLI::App app{"", Program};
    app.set_help_flag("--help");
    app.allow_extras(); // reported by ParseArguments

    std::vector<Option> options = ValueOptions();
    AddValueOptions(app, options);
    bool longPath = false;
    app.add_flag("--long-path", longPath);

    const Arguments args = ParseArguments(app, argc, argv);
    if (args.What == Arguments::Outcome::Help) {
        CommandLine cl;
        cl.What = CommandLine::Action::Help;
        return cl;
    }
    if (args.What == Arguments::Outcome::Refused) {
        return Refuse(args.Error);
    }

    CommandLine cl;
    cl.What = CommandLine::Action::Predict;
    cl.Req.Station.Path = longPath;
    if (std::optional<std::string> why = ApplyValueOptions(options, cl.Req)) {
        return Refuse(*why);
    }
    if (!cl.Req.FluxUrl.empty() && !cl.Req.FluxAuto) {
        return Refuse("--flux-url is only used with --flux auto");
    }
    return cl;
}

std::string HelpText()
{
    const Settings d;
    const Request r;
    std::string t;
    t += "Usage:\n";
    t += "orvela-predict --home POS --remote POS [--flux SFU] [--power DBW] [--min-angle DEG] [--long-path]\n";
    t += "               [--antenna isotropic|dipole|yagi] [--display signal|angle|delay|best]\n";
    t += "               [--date YYYY-MM-DD] [--call CALLSIGN] [--format text|csv|json]\n";
    t += "\n";
    t += "Forecasts HF sky-wave propagation between a home station and a remote point\n";
    t += "for each of the 24 UTC hours of one day, on the table frequencies 2 to 30 MHz.\n";
    t += "\n";
    t += "Options:\n";
    t += "  --home POS        position of the home station (required)\n";
    t += "  --remote POS      position of the remote point (required)\n";
    t += "                    POS is LAT,LON in decimal degrees, each followed by its\n";
    t += "                    hemisphere letter: 48.85N,2.35E or 40N,74W. Latitudes go\n";
    t += "                    to 90, longitudes to 180. Signed numbers are refused.\n";
    t += "                    POS may also be a six-character Maidenhead locator in\n";
    t += "                    any case, JN18DU or jn18du: the centre of its sub-square\n";
    t += "                    cut to whole seconds, as the setup dialog stores it.\n";
    t += "  --flux SFU        10.7 cm solar flux, 1 to 500, kept to one decimal\n";
    t += "                    (default " + FormatFixed(r.Flux, 0) + "), or auto: the day's flux from NOAA's\n";
    t += "                    Geophysical Alert Message, as the program fetches it;\n";
    t += "                    when that fails, the message goes to standard error\n";
    t += "                    and the flux is 100\n";
    t += "  --flux-url URL    where --flux auto fetches the bulletin\n";
    t += "                    (default " + std::string(solar::DefaultFluxUrl()) + ")\n";
    t += "  --power DBW       transmitter power, whole dBW from 5 to 2500\n";
    t += "                    (default " + std::to_string(d.Power) + ")\n";
    t += "  --min-angle DEG   lowest take-off angle, whole degrees from 0 to 90\n";
    t += "                    (default " + std::to_string(d.MinAngle) + ")\n";
    t += "  --long-path       take the long great-circle path (default: the short path)\n";
    t += "  --antenna TYPE    isotropic, dipole (simple dipole) or yagi (three-element\n";
    t += "                    Yagi) (default " + std::string(AntennaNames[d.GainTable]) + ")\n";
    t += "  --display WHAT    what the result cells show: signal (dB above receiver\n";
    t += "                    sensitivity), angle (take-off angle, degrees), delay\n";
    t += "                    (milliseconds) or best (best frequency of each hour)\n";
    t += "                    (default " + std::string(DisplayNames[d.Display - 1]) + ")\n";
    t += "  --date YYYY-MM-DD prediction date, also shown on the date line\n";
    t += "                    (default: today's local date)\n";
    t += "  --call CALLSIGN   call sign of the home station (default " + d.CallSign + ")\n";
    t += "  --format FORMAT   text, csv or json (default text)\n";
    t += "  --help            print this help and exit\n";
    t += "\n";
    t += "The table highlights the current UTC hour when the prediction date is today's\n";
    t += "local date, and 0h for any other date.\n";
    t += "\n";
    t += "Output formats:\n";
    t += "  text  the two header strips, the table in aligned columns and the status\n";
    t += "        texts; coloured with ANSI escapes only when writing to a terminal.\n";
    t += "  csv   one line per table row (19 lines of 25 fields); a field is quoted\n";
    t += "        when it holds a comma, a double quote or a blank.\n";
    t += "  json  one object: \"h1\" (4 strings), \"h2\" (5 strings), \"grid\" (19 rows of\n";
    t += "        25 cell texts, column 0 the labels), \"cells\" (19 rows of 25\n";
    t += "        {\"bg\", \"fg\", \"bold\"}), \"path\" {\"distance_km\", \"azimuth_deg\",\n";
    t += "        \"back_azimuth_deg\", \"base_hops\", \"base_elev_deg\", \"delay_ms\"},\n";
    t += "        \"status\" {\"display\", \"antenna\", \"power\"}, and \"home\" and \"remote\"\n";
    t += "        {\"lat_deg\", \"lon_deg\"}, the positions used (latitude positive north,\n";
    t += "        longitude positive west); with --flux auto also\n";
    t += "        \"solar\" {\"issued\", \"flux\", \"url\"}, or {\"error\", \"url\"} when the\n";
    t += "        download failed.\n";
    t += "\n";
    t += "Exit status: 0 on success, 2 for bad input (reported in one line on standard\n";
    t += "error, with nothing on standard output), 1 when the output cannot be written.\n";
    return t;
}

RunInput MakeRunInput(const Request& req, const Now& now)
{
    RunInput in;
    in.Station = req.Station;
    in.Flux = req.Flux;
    in.RemoteLatDeg = req.Remote.LatDeg;
    in.RemoteLonDeg = req.Remote.LonDeg;
    const CivilDate date = req.Date.value_or(now.LocalDate);
    in.Month = date.Month;
    in.Day = date.Day;
    in.LocalDate = date;
    const bool today =
        date.Year == now.LocalDate.Year && date.Month == now.LocalDate.Month && date.Day == now.LocalDate.Day;
    in.UtcHour = today ? now.UtcHour : 0;
    in.RemoteLabel = "Remote station";
    return in;
}

} // namespace orvela::cli
