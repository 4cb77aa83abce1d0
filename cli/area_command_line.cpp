#include "cli/area_command_line.h"

#include "cli/prediction_options.h"
#include "cli/station_options.h"

#include "solar/geoalert.h"
#include "cli/map_command_line.h"

#include <array>
#include <cstdio>
#include <vector>

namespace orvela::areacli {

namespace {

constexpr const char* Program = "orvela-area";

using cli::OneLine;
using cli::Parsed;
using cli::Quoted;
using Option = cli::ValueOption<AreaRequest>;
using Store = Option::Store;

template <class T, class Set>
Store Checked(Parsed<T> (*parse)(std::string_view), Set set)
{
    return cli::StoreParsed<AreaRequest>(parse, set);
}

std::vector<Option> ValueOptions()
{
    std::vector<Option> o;
    o.push_back(
        {"--home", "POS", true, Checked(&cli::ParsePositionOrLocator, [](AreaRequest& r, const cli::GeoPosition& p) {
             r.Station.Latitude = p.LatDeg;
             r.Station.Longitude = p.LonWestDeg;
         })});
    o.push_back({"--utc", "YYYY-MM-DDTHH:MM[:SS]Z", true,
                 Checked(
                     +[](std::string_view text) { return mapcli::ParseMoment(text, mapcli::Seconds::Optional); },
                     [](AreaRequest& r, const UtcDateTime& m) { r.Moment = m; })});
    o.push_back(
        {"--band", "BAND", true, Checked(&ParseBand, [](AreaRequest& r, const TableBand& band) { r.Band = band; })});
    cli::AddFluxAndStationOptions(o);
    o.push_back({"--step", "DEG", false, Checked(&ParseStep, [](AreaRequest& r, int v) { r.StepDeg = v; })});
    o.push_back({"--width", "W", false, Checked(&ParseAreaWidth, [](AreaRequest& r, int v) { r.Width = v; })});
    o.push_back({"--threads", "N", false,
                 Checked(&cli::ParseThreads, [](AreaRequest& r, int v) { r.Threads = static_cast<unsigned>(v); })});
    o.push_back({"--out", "FILE", true, [](std::string_view text, AreaRequest& r) -> std::optional<std::string> {
                     const Parsed<OutputKind> kind = ParseOutput(text);
                     if (!kind) {
                         return kind.Error;
                     }
                     r.Out = std::string(text);
                     r.Kind = *kind.Value;
                     return std::nullopt;
                 }});
    return o;
}

AreaCommandLine Refuse(std::string why)
{
    return cli::Refused<AreaCommandLine>(std::move(why));
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    if (text.size() < end.size()) {
        return false;
    }
    text.remove_prefix(text.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (Lower(text[i]) != end[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

Parsed<TableBand> ParseBand(std::string_view text)
{
    const std::string bands = "the band is an amateur band from 80 m to 10 m (20m, \"40 m\") or a frequency "
                              "from 2 to 30 MHz";
    if (std::optional<TableBand> named = AmateurBandNamed(text)) {
        return Parsed<TableBand>::Ok(*named);
    }
    // A name that is not a band of the set is named as such, not as a number.
    if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) {
        return Parsed<TableBand>::Fail(Quoted(text) + " is not an amateur band Orvela offers; " + bands);
    }
    const Parsed<ld> mhz = cli::ParseFrequency(text, bands);
    if (!mhz) {
        return Parsed<TableBand>::Fail(mhz.Error);
    }
    return Parsed<TableBand>::Ok(TableBand{*mhz.Value, {}});
}

Parsed<int> ParseStep(std::string_view text)
{
    const std::string steps = "the step is a whole number of degrees that divides 180: 1, 2, 3, 4, 5, 6, 9, 10, "
                              "12, 15, 18, 20, 30, 36, 45, 60, 90 or 180";
    const Parsed<int> step = cli::ParseWholeInRange(text, 1, 180, steps);
    if (!step) {
        return step;
    }
    if (180 % *step.Value != 0) {
        return Parsed<int>::Fail(Quoted(text) + " does not divide 180; " + steps);
    }
    return step;
}

Parsed<int> ParseAreaWidth(std::string_view text)
{
    return cli::ParseWholeInRange(text, MinWidth, MaxWidth,
                                  "the width is " + std::to_string(MinWidth) + " to " + std::to_string(MaxWidth) +
                                      " pixels");
}

Parsed<OutputKind> ParseOutput(std::string_view path)
{
    if (path.empty()) {
        return Parsed<OutputKind>::Fail("the file name is empty");
    }
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    struct Kind {
        std::string_view Extension;
        OutputKind What;
    };
    for (const Kind k :
         {Kind{".png", OutputKind::Png}, Kind{".csv", OutputKind::Csv}, Kind{".json", OutputKind::Json}}) {
        // A name that is only the extension is a hidden file, not a picture.
        if (name.size() > k.Extension.size() && EndsWithNoCase(name, k.Extension)) {
            return Parsed<OutputKind>::Ok(k.What);
        }
    }
    return Parsed<OutputKind>::Fail(Quoted(path) + " ends neither in .png, .csv nor .json; the extension "
                                                   "chooses the output");
}

AreaCommandLine ParseAreaCommandLine(int argc, const char* const argv[])
{
    cli::ArgumentParser parser(Program);
    std::vector<Option> options = ValueOptions();
    parser.Add(options);
    bool longPath = false;
    parser.AddSwitch("--long-path", longPath);
    bool allHours = false;
    parser.AddSwitch("--all-hours", allHours);
    if (std::optional<AreaCommandLine> ended = cli::HelpOrRefusal<AreaCommandLine>(parser.Parse(argc, argv))) {
        return *ended;
    }

    AreaCommandLine cl;
    cl.What = AreaCommandLine::Action::Map;
    cl.Req.Station.Path = longPath;
    cl.Req.AllHours = allHours;
    if (std::optional<std::string> why = cli::ApplyValueOptions(options, cl.Req)) {
        return Refuse(*why);
    }
    if (!cl.Req.FluxUrl.empty() && !cl.Req.FluxAuto) {
        return Refuse("--flux-url is only used with --flux auto");
    }
    if (!cl.Req.ServiceUrl.empty() && !cl.Req.FluxAuto) {
        return Refuse("--service-url is only used with --flux auto");
    }
    return cl;
}

std::string AreaHelpText()
{
    const Settings& d = StoredDefaults().Station;
    const AreaRequest r;
    std::string t;
    t += "Usage:\n";
    t += "orvela-area --home POS --utc YYYY-MM-DDTHH:MM[:SS]Z --band BAND [--flux SFU|auto]\n";
    t += "            [--flux-url URL] [--service-url URL] [--power DBW] [--min-angle DEG]\n";
    t += "            [--antenna isotropic|dipole|yagi] [--long-path] [--step DEG]\n";
    t += "            [--all-hours] [--width W] [--threads N]\n";
    t += "            --out FILE.png|FILE.csv|FILE.json\n";
    t += "\n";
    t += "Maps the coverage of one band at one UTC hour: the signal level from the\n";
    t += "home station to every point of a grid over the whole Earth, as the\n";
    t += "signal-level table of orvela-predict shows it for each of those paths.\n";
    t += "\n";
    t += "Options:\n";
    t += "  --home POS        position of the home station (required): LAT,LON in\n";
    t += "                    decimal degrees, each followed by its hemisphere letter,\n";
    t += "                    48.85N,2.35E, or a four- or six-character Maidenhead\n";
    t += "                    locator, JN18 or JN18DU\n";
    t += "  --utc MOMENT      the moment in UTC (required), 2026-06-21T12:00Z or\n";
    t += "                    2026-06-21T12:00:00Z: the prediction is for that date and\n";
    t += "                    UTC hour, the map is shaded for the moment itself\n";
    t += "  --band BAND       the band (required): an amateur band from 80 m to 10 m,\n";
    t += "                    20m or \"40 m\" (at the frequency the table's amateur rows\n";
    t += "                    use: 80 m 3.6, 60 m 5.36, 40 m 7.1, 30 m 10.1, 20 m 14.1,\n";
    t += "                    17 m 18.1, 15 m 21.2, 12 m 24.9, 10 m 28.5 MHz), or any\n";
    t += "                    frequency from 2 to 30 MHz, 14 or 7.1\n";
    t += cli::StationOptionsUsage(d);
    t += "  --long-path       take the long great-circle path to every point\n";
    t += "                    (default: the short path)\n";
    t += "  --step DEG        spacing of the grid in whole degrees, a divisor of 180:\n";
    t += "                    1, 2, 3, 4, 5, 6, 9, 10, 12, 15, 18, 20, ... (default " + std::to_string(DefaultStep) +
         ")\n";
    t += "  --all-hours       every UTC hour, 0 to 23, of the date of --utc instead of\n";
    t += "                    its hour alone: the CSV and JSON gain utc_hour, and a\n";
    t += "                    PNG becomes 24 pictures, FILE-00.png to FILE-23.png\n";
    t += "  --width W         width of the PNG in pixels, " + std::to_string(MinWidth) + " to " +
         std::to_string(MaxWidth) + " (default " + std::to_string(DefaultWidth) + ");\n";
    t += "                    the height is half the width\n";
    t += "  --threads N       threads that share the grid's paths, 0 for one per core\n";
    t += "                    (default 0)\n";
    t += "  --out FILE        where the map goes (required); its extension chooses the\n";
    t += "                    output: .png, .csv or .json. It is written beside its\n";
    t += "                    final name and renamed into place, so a failed run\n";
    t += "                    leaves no file\n";
    t += "  --help            print this help and exit\n";
    t += "\n";
    t += "A switch takes no value: --long-path=false or --all-hours=no is refused;\n";
    t += "leave the switch out instead.\n";
    t += "\n";
    t += "The grid: latitudes -90 to 90 and longitudes -180 up to but not including\n";
    t += "180, at whole multiples of the step; longitudes count positive WEST, as\n";
    t += "everywhere in Orvela. A 2-degree grid has 91 x 180 = 16380 points.\n";
    t += "\n";
    t += "Outputs:\n";
    t += "  .csv   the header lat_deg,lon_deg,text,level_db,letter,hops,marker, then\n";
    t += "         one line per point, latitudes from south to north, longitudes from\n";
    t += "         east to west within each; text is the cell of the signal-level\n";
    t += "         table, quoted when it ends in a blank. A point without a path has\n";
    t += "         empty fields after its position, a path without a marker an empty\n";
    t += "         marker. When no point has a path, a line \"# \" and why; with\n";
    t += "         --flux auto, a last line \"# Solar flux \" and where it came from.\n";
    t += "  .json  one object: \"home\" {\"lat_deg\", \"lon_deg\"}, \"utc\", \"band_mhz\",\n";
    t += "         \"step_deg\", \"flux\" {\"sfu\", \"source\", \"issued\"} as orvela-predict\n";
    t += "         writes it, \"empty_reason\" when no point has a path, and\n";
    t += "         \"points\", each {\"lat_deg\", \"lon_deg\", \"text\",\n";
    t += "         \"level_db\", \"letter\", \"hops\", \"marker\"}; a point without a path\n";
    t += "         has an empty text and nulls, a path without a marker \"marker\": \"\".\n";
    t += "  .png   the day/night map of the moment with the coverage over it: each\n";
    t += "         point a cell of the step's size coloured by its level, hatched grey\n";
    t += "         below the receiver's sensitivity, nothing where there is no path;\n";
    t += "         the home station, a legend and a caption, which names where the\n";
    t += "         flux of --flux auto came from, and says why when no point has a\n";
    t += "         path. --flux auto takes the flux of the date of --utc.\n";
    t += "With --all-hours, the CSV's header begins utc_hour and each line with its\n";
    t += "hour, the hours in turn from 0 to 23; each JSON point begins with\n";
    t += "\"utc_hour\". The hours without a path give their reasons in last lines\n";
    t += "\"# 3h UTC: \" and why, and in \"empty_hours\" [{\"utc_hour\", \"reason\"}]\n";
    t += "before the JSON's points. The PNGs are shaded for each whole hour of the\n";
    t += "date; a failed run leaves none of them.\n";
    t += "\n";
    t += "Exit status: 0 on success, with nothing on standard output; 2 for bad input\n";
    t += "or an output that cannot be written, reported in one line on standard\n";
    t += "error; 1 when memory runs out for the picture.\n";
    return t;
}

std::string HourPictureName(const std::string& out, int utcHour)
{
    const std::size_t dot = out.rfind('.');
    const std::string hour = (utcHour < 10 ? "-0" : "-") + std::to_string(utcHour);
    return out.substr(0, dot) + hour + out.substr(dot);
}

RunInput MakeAreaRunInput(const AreaRequest& req)
{
    RunInput in;
    in.Station = req.Station;
    in.Station.Display = DisplayFormat::SignalLevel; // signal level
    in.Flux = req.Flux;
    in.Month = req.Moment.Month;
    in.Day = req.Moment.Day;
    in.LocalDate = DateOf(req.Moment);
    in.UtcHour = req.Moment.Hour;
    in.RemoteLabel = "Remote station";
    // One row: the band asked for.
    in.Bands = {req.Band};
    return in;
}

} // namespace orvela::areacli
