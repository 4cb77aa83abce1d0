#include "cli/map_command_line.h"
#include "common/civil_time.h"
#include "common/whole_number.h"

#include <chrono>
#include <vector>

namespace orvela::mapcli {

namespace {

constexpr const char* Program = "orvela-map";

using cli::OneLine;
using cli::Quoted;
using Option = cli::ValueOption<MapRequest>;
using Store = Option::Store;

MapCommandLine Refuse(std::string why)
{
    return cli::Refused<MapCommandLine>(std::move(why));
}

// A file name: any text but an empty one.
Store FileName(std::string MapRequest::*field)
{
    return [field](std::string_view text, MapRequest& r) -> std::optional<std::string> {
        if (text.empty()) {
            return "the file name is empty";
        }
        r.*field = std::string(text);
        return std::nullopt;
    };
}

std::vector<Option> ValueOptions()
{
    std::vector<Option> o;
    o.push_back({"--utc", "YYYY-MM-DDTHH:MM:SSZ", false,
                 cli::StoreParsed<MapRequest>(
                     +[](std::string_view text) { return ParseMoment(text); },
                     [](MapRequest& r, const UtcDateTime& m) { r.Moment = m; })});
    o.push_back(
        {"--width", "W", false, cli::StoreParsed<MapRequest>(&ParseWidth, [](MapRequest& r, int w) { r.Width = w; })});
    o.push_back({"--day", "FILE.jpg", false, FileName(&MapRequest::DayFile)});
    o.push_back({"--night", "FILE.jpg", false, FileName(&MapRequest::NightFile)});
    o.push_back({"--out", "FILE.png", true, FileName(&MapRequest::Out)});
    return o;
}

} // namespace

Checked<UtcDateTime> ParseMoment(std::string_view text, Seconds seconds)
{
    const CivilTimeRead<UtcDateTime> read = ReadIsoMoment(text, seconds == Seconds::Optional);
    if (read.Fault == CivilTimeFault::Shape) {
        return Checked<UtcDateTime>::Fail(Quoted(text) + " is not a moment; expected " +
                                          (seconds == Seconds::Required
                                               ? "YYYY-MM-DDTHH:MM:SSZ in UTC, e.g. 2026-06-21T12:00:00Z"
                                               : "YYYY-MM-DDTHH:MM[:SS]Z in UTC, e.g. 2026-06-21T12:00Z"));
    }
    if (read.Fault == CivilTimeFault::Date) {
        return Checked<UtcDateTime>::Fail(Quoted(text.substr(0, 10)) + " is not a day of the calendar");
    }
    if (read.Fault == CivilTimeFault::TimeOfDay) {
        return Checked<UtcDateTime>::Fail(Quoted(text.substr(11, text.size() - 12)) +
                                          " is not a time of day; hours are 00 to 23, minutes and seconds 00 to 59");
    }
    return Checked<UtcDateTime>{read.Value, {}};
}

Checked<int> ParseWidth(std::string_view text)
{
    return cli::ParseWholeInRange(text, MinWidth, MaxWidth,
                                  "the width is " + std::to_string(MinWidth) + " to " + std::to_string(MaxWidth) +
                                      " pixels");
}

MapCommandLine ParseMapCommandLine(int argc, const char* const argv[])
{
    cli::ArgumentParser parser(Program);
    std::vector<Option> options = ValueOptions();
    parser.Add(options);
    bool noSun = false;
    parser.AddSwitch("--no-sun", noSun);
    if (std::optional<MapCommandLine> ended = cli::HelpOrRefusal<MapCommandLine>(parser.Parse(argc, argv))) {
        return *ended;
    }

    MapCommandLine cl;
    cl.What = MapCommandLine::Action::Compose;
    cl.Req.DrawSun = !noSun;
    if (std::optional<std::string> why = cli::ApplyValueOptions(options, cl.Req)) {
        return Refuse(*why);
    }
    // The two pictures are a pair in one projection: a day picture of one
    // source over a night picture of another would not line up.
    if (cl.Req.DayFile.empty() != cl.Req.NightFile.empty()) {
        return Refuse(cl.Req.DayFile.empty() ? "--night needs --day as well: give both pictures or neither"
                                             : "--day needs --night as well: give both pictures or neither");
    }
    return cl;
}

std::string MapHelpText()
{
    const std::string w = std::to_string(DefaultWidth);
    std::string t;
    t += "Usage:\n";
    t += "orvela-map [--utc YYYY-MM-DDTHH:MM:SSZ] [--width W] [--day FILE.jpg --night FILE.jpg]\n";
    t += "           [--no-sun] --out FILE.png\n";
    t += "\n";
    t += "Writes the world map with the sunlit and the dark parts of the Earth shaded\n";
    t += "for one moment, a soft twilight band between them and the sun glyph over\n";
    t += "the point where the sun stands overhead. The map is equirectangular: its\n";
    t += "left edge is 180 degrees West, its top edge the North Pole.\n";
    t += "\n";
    t += "Options:\n";
    t += "  --utc MOMENT      the moment in UTC, written 2026-06-21T12:00:00Z\n";
    t += "                    (default: now)\n";
    t += "  --width W         width of the map in pixels, " + std::to_string(MinWidth) + " to " +
         std::to_string(MaxWidth) + " (default " + w + ");\n";
    t += "                    the height keeps the proportions of the day picture:\n";
    t += "                    half the width with the built-in pictures\n";
    t += "  --day FILE.jpg    the Earth by day, a JPEG in the same projection\n";
    t += "  --night FILE.jpg  the Earth by night, of the same size as the day picture;\n";
    t += "                    give both or neither (default: the built-in 512 x 256\n";
    t += "                    pair)\n";
    t += "  --no-sun          leave the sun glyph out\n";
    t += "  --out FILE.png    where the PNG goes (required); it is written beside its\n";
    t += "                    final name and renamed into place, so a failed run\n";
    t += "                    leaves no file\n";
    t += "  --help            print this help and exit\n";
    t += "\n";
    t += "A switch takes no value: --no-sun=false is refused; leave the switch out to\n";
    t += "draw the sun.\n";
    t += "\n";
    t += "The sun's declination follows the map's own simple model, lowest on\n";
    t += "7 January and highest half a year later.\n";
    t += "\n";
    t += "Exit status: 0 on success, with nothing on standard output; 2 when the run\n";
    t += "fails (bad input, a picture that is missing, cannot be decoded or differs\n";
    t += "in size from the other, an output that cannot be written), reported in one\n";
    t += "line on standard error; 1 when memory runs out for the map.\n";
    return t;
}

} // namespace orvela::mapcli
