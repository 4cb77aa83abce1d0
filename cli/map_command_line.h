// The command line of orvela-map: what it accepts and the request it builds.
#pragma once

#include "compositor.h"
#include "program.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvela::mapcli {

constexpr int DefaultWidth = 512;
constexpr int MinWidth = 16;
constexpr int MaxWidth = 8192;

// What one invocation asks for.
struct MapRequest {
    std::optional<UtcDateTime> Moment; // none: now
    int Width = DefaultWidth;
    std::string DayFile; // both empty: the compiled-in pictures
    std::string NightFile;
    bool DrawSun = true;
    std::string Out;
};

struct MapCommandLine {
    enum class Action { Compose, Help, Refuse };
    Action What = Action::Refuse;
    MapRequest Req;    // for Compose
    std::string Error; // for Refuse: one line, without the program name
};

// A value read from its text, or the reason it was refused.
template <class T>
using Checked = cli::Parsed<T>;

// Whether a moment must give its seconds, or may stop at the minute.
enum class Seconds { Required, Optional };

// A moment written YYYY-MM-DDTHH:MM:SSZ: a day of the calendar (years 0001
// to 9999), hours 00 to 23, minutes and seconds 00 to 59. With optional
// seconds, YYYY-MM-DDTHH:MMZ is the start of that minute.
Checked<UtcDateTime> ParseMoment(std::string_view text, Seconds seconds = Seconds::Required);

// The map's width in pixels, a whole number from 16 to 8192.
Checked<int> ParseWidth(std::string_view text);

// Reads the arguments (argv[0] is the program). Never throws for bad input.
MapCommandLine ParseMapCommandLine(int argc, const char* const argv[]);

// The text --help prints.
std::string MapHelpText();

} // namespace orvela::mapcli
