// The command line of orvela-map: what it accepts and the request it builds.
#pragma once

#include "map/compositor.h"
#include "map/picture_io.h"
#include "cli/program.h"

#include <cstdio>
#include <new>

#include <optional>
#include <string>
#include <string_view>

namespace orvela::mapcli {

constexpr int DefaultWidth = 512;
constexpr int MinWidth = 16;
constexpr int MaxWidth = 8192;

// The end of a program that writes a picture: runs `run`, and gives 0, or
// for a Failure or a picture that cannot be read or written its reason in
// one line and 2, or when the memory runs out `outOfMemory` and 1.
template <class Run>
int RunPictureProgram(const char* program, Run run, const std::string& outOfMemory)
{
    try {
        run();
    } catch (const cli::Failure& f) {
        return cli::ReportRefusal(program, f.Why);
    } catch (const PictureError& e) {
        return cli::ReportRefusal(program, e.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: %s\n", program, outOfMemory.c_str());
        return 1;
    }
    return 0;
}

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
