#include "map_command_line.h"
#include "whole_number.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <functional>
#include <vector>

namespace orvela::mapcli {

namespace {

constexpr const char* Program = "orvela-map";

std::string Quoted(std::string_view s)
{
    return "\"" + std::string(s) + "\"";
}

template <class T>
Checked<T> Refused(std::string why)
{
    return Checked<T>{std::nullopt, std::move(why)};
}

// Messages of the parser library can span lines; a refusal is one line.
std::string OneLine(std::string s)
{
    for (char& c : s) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

MapCommandLine Refuse(std::string why)
{
    MapCommandLine cl;
    cl.What = MapCommandLine::Action::Refuse;
    cl.Error = OneLine(std::move(why));
    return cl;
}

// Stores a checked value into the request, or returns why the text was
// refused.
using Store = std::function<std::optional<std::string>(std::string_view, MapRequest&)>;

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

// An option that takes one value, read as text and checked here rather than
// by the parser library, so that each refusal can say what was expected.
struct ValueOption {
    const char* Name;
    const char* Kind; // placeholder shown by the parser library
    bool Required;
    Store Apply;
    std::vector<std::string> Given{};
};

std::vector<ValueOption> ValueOptions()
{
    std::vector<ValueOption> o;
    o.push_back({"--utc", "YYYY-MM-DDTHH:MM:SSZ", false,
                 [](std::string_view text, MapRequest& r) -> std::optional<std::string> {
                     Checked<UtcDateTime> m = ParseMoment(text);
                     if (!m) {
                         return m.Error;
                     }
                     r.Moment = *m.Value;
                     return std::nullopt;
                 }});
    o.push_back({"--width", "W", false, [](std::string_view text, MapRequest& r) -> std::optional<std::string> {
                     Checked<int> w = ParseWidth(text);
                     if (!w) {
                         return w.Error;
                     }
                     r.Width = *w.Value;
                     return std::nullopt;
                 }});
    o.push_back({"--day", "FILE.jpg", false, FileName(&MapRequest::DayFile)});
    o.push_back({"--night", "FILE.jpg", false, FileName(&MapRequest::NightFile)});
    o.push_back({"--out", "FILE.png", true, FileName(&MapRequest::Out)});
    return o;
}

} // namespace

Checked<UtcDateTime> ParseMoment(std::string_view text)
{
    // 2026-06-21T12:00:00Z
    // 0123456789012345678 9
    const bool shaped = text.size() == 20 && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
                        text[13] == ':' && text[16] == ':' && text[19] == 'Z' && IsDigits(text.substr(0, 4)) &&
                        IsDigits(text.substr(5, 2)) && IsDigits(text.substr(8, 2)) &&
                        IsDigits(text.substr(11, 2)) && IsDigits(text.substr(14, 2)) && IsDigits(text.substr(17, 2));
    if (!shaped) {
        return Refused<UtcDateTime>(Quoted(text) + " is not a moment; expected YYYY-MM-DDTHH:MM:SSZ in UTC, e.g. " +
                                    "2026-06-21T12:00:00Z");
    }
    const auto field = [&](std::size_t at, std::size_t n) { return *ParseWholeNumber(text.substr(at, n)); };
    UtcDateTime m;
    m.Year = field(0, 4);
    m.Month = field(5, 2);
    m.Day = field(8, 2);
    m.Hour = field(11, 2);
    m.Minute = field(14, 2);
    m.Second = field(17, 2);
    const std::chrono::year_month_day ymd{std::chrono::year{m.Year}, std::chrono::month{static_cast<unsigned>(m.Month)},
                                          std::chrono::day{static_cast<unsigned>(m.Day)}};
    if (m.Year < 1 || !ymd.ok()) {
        return Refused<UtcDateTime>(Quoted(text.substr(0, 10)) + " is not a day of the calendar");
    }
    if (m.Hour > 23 || m.Minute > 59 || m.Second > 59) {
        return Refused<UtcDateTime>(Quoted(text.substr(11, 8)) +
                                    " is not a time of day; hours are 00 to 23, minutes and seconds 00 to 59");
    }
    return Checked<UtcDateTime>{m, {}};
}

Checked<int> ParseWidth(std::string_view text)
{
    const std::string range = "the width is " + std::to_string(MinWidth) + " to " + std::to_string(MaxWidth) +
                              " pixels";
    if (!IsDigits(text)) {
        return Refused<int>(Quoted(text) + " is not a whole number; " + range);
    }
    const std::optional<int> v = ParseWholeNumber(text);
    if (!v || *v < MinWidth || *v > MaxWidth) {
        return Refused<int>(Quoted(text) + " is out of range; " + range);
    }
    return Checked<int>{*v, {}};
}

MapCommandLine ParseMapCommandLine(int argc, const char* const argv[])
{
    CLI::App app{"", Program};
    app.set_help_flag("--help");
    // Unknown arguments are collected and reported here, before any missing
    // option, so that a mistyped option is named as such.
    app.allow_extras();

    std::vector<ValueOption> options = ValueOptions();
    for (ValueOption& o : options) {
        app.add_option(o.Name, o.Given)
            ->type_name(o.Kind)
            ->expected(1)
            ->allow_extra_args(false)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    bool noSun = false;
    // A bare switch: "--no-sun=no" would otherwise turn the sun back on.
    app.add_flag("--no-sun", noSun)->disable_flag_override();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        MapCommandLine cl;
        cl.What = MapCommandLine::Action::Help;
        return cl;
    } catch (const CLI::ParseError& e) {
        const std::string why = e.what();
        // The library names the one switch without its dashes there.
        if (why.find("disallowed flag override") != std::string::npos) {
            return Refuse("--no-sun takes no value (see --help)");
        }
        return Refuse(why + " (see --help)");
    }

    const std::vector<std::string> extras = app.remaining();
    if (!extras.empty()) {
        const std::string& first = extras.front();
        if (first.size() > 1 && first[0] == '-') {
            return Refuse("unknown option " + first.substr(0, first.find('=')) + " (see --help)");
        }
        return Refuse("unexpected argument \"" + first + "\" (see --help)");
    }

    MapCommandLine cl;
    cl.What = MapCommandLine::Action::Compose;
    cl.Req.DrawSun = !noSun;
    for (ValueOption& o : options) {
        if (o.Given.empty()) {
            if (o.Required) {
                return Refuse(std::string(o.Name) + " is required (see --help)");
            }
            continue;
        }
        if (o.Given.size() > 1) {
            return Refuse(std::string(o.Name) + " is given more than once");
        }
        if (std::optional<std::string> why = o.Apply(o.Given.front(), cl.Req)) {
            return Refuse(std::string(o.Name) + ": " + *why);
        }
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
