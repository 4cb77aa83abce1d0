#include "cli/plan_command_line.h"

#include "cli/command_line.h"
#include "cli/prediction_options.h"
#include "cli/station_options.h"
#include "cli/values.h"
#include "station/call_sign.h"

#include <array>
#include <vector>

namespace orvela::plancli {

namespace {

constexpr const char* Program = "orvela-plan";
constexpr std::array<std::string_view, 3> FormatNames{"text", "csv", "json"};

using cli::Parsed;
using cli::Quoted;
using Option = cli::ValueOption<PlanRequest>;
using Store = Option::Store;

template <class T, class Set>
Store Checked(Parsed<T> (*parse)(std::string_view), Set set)
{
    return cli::StoreParsed<PlanRequest>(parse, set);
}

Parsed<int> ParseHour(std::string_view text)
{
    return cli::ParseWholeInRange(text, 0, 23, "the hour is a UTC hour, 0 to 23");
}

std::vector<Option> ValueOptions()
{
    std::vector<Option> o;
    o.push_back(
        {"--home", "POS", true, Checked(&cli::ParsePositionOrLocator, [](PlanRequest& r, const cli::GeoPosition& p) {
             r.Station.Latitude = p.LatDeg;
             r.Station.Longitude = p.LonWestDeg;
         })});
    cli::AddFluxAndStationOptions(o);
    o.push_back({"--date", "YYYY-MM-DD", false,
                 Checked(&cli::ParseDate, [](PlanRequest& r, const CivilDate& d) { r.Date = d; })});
    o.push_back({"--call", "CALLSIGN", false, [](std::string_view text, PlanRequest& r) -> std::optional<std::string> {
                     if (std::optional<std::string> why = CallSignProblem(text)) {
                         return why;
                     }
                     r.Station.CallSign = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--band", "BAND", false,
                 Checked(&ParsePlanBand, [](PlanRequest& r, const std::optional<TableBand>& b) { r.Band = b; })});
    o.push_back(
        {"--targets", "dxcc|FILE|LIST", false, [](std::string_view text, PlanRequest& r) -> std::optional<std::string> {
             if (text.empty()) {
                 return std::string("give dxcc, a file of call signs, prefixes or locators, or a list of "
                                    "them separated by commas");
             }
             r.Targets = std::string(text);
             return std::nullopt;
         }});
    o.push_back(
        {"--country-file", "PATH", false, [](std::string_view text, PlanRequest& r) -> std::optional<std::string> {
             if (text.empty()) {
                 return std::string("the file name is empty");
             }
             r.CountryFile = std::string(text);
             return std::nullopt;
         }});
    o.push_back({"--hour", "H", false, Checked(&ParseHour, [](PlanRequest& r, int h) { r.OpenAtHour = h; })});
    o.push_back({"--sort", "KEY", false, [](std::string_view text, PlanRequest& r) -> std::optional<std::string> {
                     const Parsed<int> v = cli::ParseChoice(text, planner::SortKeyNames);
                     if (!v) {
                         return v.Error;
                     }
                     r.Sort = static_cast<planner::SortKey>(*v.Value);
                     return std::nullopt;
                 }});
    o.push_back({"--search", "TEXT", false, [](std::string_view text, PlanRequest& r) -> std::optional<std::string> {
                     r.Search = std::string(text);
                     return std::nullopt;
                 }});
    o.push_back({"--format", "FORMAT", false, [](std::string_view text, PlanRequest& r) -> std::optional<std::string> {
                     const Parsed<int> v = cli::ParseChoice(text, FormatNames);
                     if (!v) {
                         return v.Error;
                     }
                     r.Format = static_cast<OutputFormat>(*v.Value);
                     return std::nullopt;
                 }});
    o.push_back({"--threads", "N", false,
                 Checked(&cli::ParseThreads, [](PlanRequest& r, int v) { r.Threads = static_cast<unsigned>(v); })});
    return o;
}

} // namespace

Parsed<std::optional<TableBand>> ParsePlanBand(std::string_view text)
{
    using Result = Parsed<std::optional<TableBand>>;
    if (text == "all") {
        return Result::Ok(std::nullopt);
    }
    const std::string bands = "the band is an amateur band from 80 m to 10 m (20m, \"40 m\"), a frequency from 2 "
                              "to 30 MHz, or all";
    if (std::optional<TableBand> named = AmateurBandNamed(text)) {
        return Result::Ok(*named);
    }
    if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) {
        return Result::Fail(Quoted(text) + " is not an amateur band Orvela offers; " + bands);
    }
    const Parsed<ld> mhz = cli::ParseFrequency(text, bands);
    if (!mhz) {
        return Result::Fail(mhz.Error);
    }
    return Result::Ok(TableBand{*mhz.Value, {}});
}

PlanCommandLine ParsePlanCommandLine(int argc, const char* const argv[])
{
    cli::ArgumentParser parser(Program);
    std::vector<Option> options = ValueOptions();
    parser.Add(options);
    bool longPath = false;
    parser.AddSwitch("--long-path", longPath);
    bool openNow = false;
    parser.AddSwitch("--open-now", openNow);
    if (std::optional<PlanCommandLine> ended = cli::HelpOrRefusal<PlanCommandLine>(parser.Parse(argc, argv))) {
        return *ended;
    }

    PlanCommandLine cl;
    cl.What = PlanCommandLine::Action::Plan;
    cl.Req.Station.Path = longPath;
    cl.Req.OpenNow = openNow;
    if (std::optional<std::string> why = cli::ApplyValueOptions(options, cl.Req)) {
        return cli::Refused<PlanCommandLine>(*why);
    }
    if (!cl.Req.FluxUrl.empty() && !cl.Req.FluxAuto) {
        return cli::Refused<PlanCommandLine>("--flux-url is only used with --flux auto");
    }
    if (!cl.Req.ServiceUrl.empty() && !cl.Req.FluxAuto) {
        return cli::Refused<PlanCommandLine>("--service-url is only used with --flux auto");
    }
    if (cl.Req.OpenNow && cl.Req.OpenAtHour) {
        return cli::Refused<PlanCommandLine>("--open-now and --hour exclude each other: give one of them");
    }
    return cl;
}

std::string PlanHelpText()
{
    const Settings& d = StoredDefaults().Station;
    std::string t;
    t += "Usage:\n";
    t += "orvela-plan --home POS [--date YYYY-MM-DD] [--band BAND|all]\n";
    t += "            [--targets dxcc|FILE|LIST] [--country-file PATH] [--flux SFU|auto]\n";
    t += "            [--flux-url URL] [--service-url URL] [--power DBW] [--min-angle DEG]\n";
    t += "            [--antenna isotropic|dipole|yagi] [--long-path] [--call CALLSIGN]\n";
    t += "            [--open-now|--hour H] [--search TEXT]\n";
    t += "            [--sort continent|cq|distance|bearing|name]\n";
    t += "            [--format text|csv|json] [--threads N]\n";
    t += "\n";
    t += "Plans a day: for every DXCC entity of the country file, or for the call\n";
    t += "signs, prefixes and locators given, the 24 UTC hours of the date on one\n";
    t += "amateur band or on all of them, each hour as orvela-predict's signal-level\n";
    t += "table shows that path alone. A band is open where the table colours its\n";
    t += "cell green: a mode at or above the receiver's sensitivity. For all bands an\n";
    t += "hour shows the highest band open.\n";
    t += "\n";
    t += "Options:\n";
    t += "  --home POS        position of the home station (required): LAT,LON in\n";
    t += "                    decimal degrees, each followed by its hemisphere letter,\n";
    t += "                    48.85N,2.35E, or a four- or six-character Maidenhead\n";
    t += "                    locator, JN18 or JN18DU\n";
    t += "  --date DATE       the prediction date, YYYY-MM-DD (default: today's local\n";
    t += "                    date)\n";
    t += "  --band BAND       an amateur band from 80 m to 10 m, 20m or \"40 m\", any\n";
    t += "                    frequency from 2 to 30 MHz, 14 or 7.1, or all for every\n";
    t += "                    amateur band (default all)\n";
    t += "  --targets WHAT    dxcc for every DXCC entity of the country file (default),\n";
    t += "                    a file of call signs, prefixes and locators (one or more\n";
    t += "                    a line, # starts a comment), or such entries separated\n";
    t += "                    by commas, \"JA1ABC,VK9X,JN18\". An entry that resolves\n";
    t += "                    to nothing is listed with the reason\n";
    t += "  --country-file PATH  the country file, cty.dat (default: the user's\n";
    t += "                    $XDG_DATA_HOME/orvela/cty.dat, else the package\n";
    t += "                    hamradio-files' /usr/share/hamradio-files/cty.dat)\n";
    t += cli::StationOptionsUsage(d);
    t += "  --long-path       take the long great-circle path to every target\n";
    t += "                    (default: the short path)\n";
    t += "  --call CALLSIGN   the station's call sign, named in the outputs\n";
    t += "  --open-now        list only the targets open at the current UTC hour\n";
    t += "  --hour H          list only the targets open at UTC hour H, 0 to 23\n";
    t += "  --search TEXT     list only the targets whose name, prefix or entry\n";
    t += "                    holds TEXT, in any letter case\n";
    t += "  --sort KEY        order of the rows: continent, cq (zone), distance,\n";
    t += "                    bearing or name, then by name (default continent)\n";
    t += "  --format FORMAT   text (a chart), csv or json (default text)\n";
    t += "  --threads N       threads that share the targets, 0 for one per core\n";
    t += "                    (default 0)\n";
    t += "  --help            print this help and exit\n";
    t += "\n";
    t += "A switch takes no value: --long-path=false or --open-now=no is refused;\n";
    t += "leave the switch out instead.\n";
    t += "\n";
    t += "Outputs:\n";
    t += "  text   a caption, a legend and one line per target: its name, prefix,\n";
    t += "         distance in km and bearing in degrees, then one character per\n";
    t += "         UTC hour: for one band its level's class (1: 0 to 19 dB above\n";
    t += "         the sensitivity ... 5: 80 dB and more), for all bands the band\n";
    t += "         shown (8, 6, 4, 3, 2: 80 to 20 m, 7: 17 m, 5: 15 m, 1: 12 m,\n";
    t += "         0: 10 m); - below the sensitivity, . no mode.\n";
    t += "  csv    heading lines (station, position, path, date, band, flux, power,\n";
    t += "         lowest angle, what open means), a blank line, the header\n";
    t += "         entry,kind,name,prefix,continent,cq,itu,lat_deg,lon_west_deg,\n";
    t += "         distance_km,bearing_deg,best_db,best_hour,00..23 and one line per\n";
    t += "         target; an hour holds the level in dB, with the band before it\n";
    t += "         for all bands (\"20 m 12\"), and is empty without a mode.\n";
    t += "  json   one object: \"station\", \"home\", \"date\", \"band\", \"flux\",\n";
    t += "         \"power_dbw\", \"min_angle_deg\", \"long_path\" and \"targets\", each\n";
    t += "         with \"entry\", \"kind\", \"entity\" {\"name\", \"prefix\", \"cq\",\n";
    t += "         \"itu\", \"continent\"}, its position, \"distance_km\",\n";
    t += "         \"bearing_deg\", \"best\" and 24 \"hours\" {\"hour\", \"class\",\n";
    t += "         \"band\", \"level_db\", \"text\"}; or \"problem\" for an entry that\n";
    t += "         resolves to nothing.\n";
    t += "\n";
    t += "Exit status: 0 on success; 2 for bad input or a country file that cannot\n";
    t += "be read, reported in one line on standard error; 1 when the output cannot\n";
    t += "be written.\n";
    return t;
}

} // namespace orvela::plancli
