// orvela-map: the day/night world map of one moment, written as a PNG.
#include "map/built_in_map.h"
#include "map/compositor.h"
#include "cli/map_command_line.h"
#include "map/picture_io.h"
#include "common/whole_file.h"

#include <ctime>
#include <exception>
#include <iostream>
#include <new>
#include <string>

namespace {

using namespace orvela;

constexpr const char* Program = "orvela-map";

// A failure of the run, told to the user in one line.
using cli::Failure;

std::string Size(const Picture24& p)
{
    return std::to_string(p.Width) + " x " + std::to_string(p.Height);
}

// One of the user's pictures, read and decoded; `option` names it in a
// refusal.
Picture24 ReadJpeg(const char* option, const std::string& path)
{
    const WholeFile file = ReadWholeFile(path);
    if (file.Error != 0) {
        throw Failure{std::string(option) + ": " + path + ": " + file.Problem()};
    }
    try {
        return DecodeJpeg(file.Data());
    } catch (const PictureError& e) {
        throw Failure{std::string(option) + ": " + path + ": " + e.what()};
    }
}

Picture24 ComposeRequested(const mapcli::MapRequest& req)
{
    const UtcDateTime moment = req.Moment.value_or(ToUtcDateTime(std::time(nullptr)));
    if (req.DayFile.empty()) {
        // The program's own pictures: of one size, and half as high as wide
        // at any width accepted.
        return ComposeBuiltInMap(moment, req.Width, DecodeBuiltInPictures(), req.DrawSun);
    }
    const Picture24 day = ReadJpeg("--day", req.DayFile);
    const Picture24 night = ReadJpeg("--night", req.NightFile);
    // The compositor leaves the map empty for such a pair; say why.
    if (day.Width != night.Width || day.Height != night.Height) {
        throw Failure{"the day picture is " + Size(day) + " pixels and the night picture " + Size(night) +
                      "; they must be of one size"};
    }
    // The height follows the day picture's proportions, truncated. Pictures
    // much taller than half their width could ask for a map far beyond the
    // widest one accepted; refuse it before it is allocated.
    const double height = static_cast<double>(req.Width) / day.Width * day.Height;
    if (height < 1 || height >= mapcli::MaxWidth + 1) {
        throw Failure{"pictures of " + Size(day) + " pixels give a map " + std::to_string(req.Width) +
                      " pixels wide and " + std::to_string(static_cast<long long>(height)) +
                      " high; the height must be 1 to " + std::to_string(mapcli::MaxWidth)};
    }

    // The sun glyph at the size the window draws it.
    const SunGlyph sun = DecodeSunGlyph(MapResource("SUN_BMP"), MapResource("SUN_ALPHA"));
    Picture24 map;
    ComposeMap(day, night, map, moment, req.DrawSun, sun.Glyph, sun.Alpha, req.Width);
    if (map.Empty()) {
        throw Failure{"the map could not be composed from pictures of " + Size(day) + " pixels"};
    }
    return map;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvela::mapcli;

    const MapCommandLine cl = ParseMapCommandLine(argc, argv);
    if (const std::optional<int> status = cli::AnswerHelpOrRefusal(Program, cl, &MapHelpText)) {
        return *status;
    }

    return RunPictureProgram(
        Program, [&] { WritePng(ComposeRequested(cl.Req), cl.Req.Out); },
        "not enough memory for a map " + std::to_string(cl.Req.Width) + " pixels wide");
}
