#include "coverage/point_description.h"

#include "engine/bands.h"

#include <cmath>
#include <cstdio>

namespace orvela::area {

namespace {

std::string Degrees(double value, const char* positive, const char* negative)
{
    const long whole = std::lround(std::fabs(value));
    const char* letter = whole == 0 ? "" : value > 0 ? positive : negative;
    return std::to_string(whole) + "\u00B0" + (*letter != '\0' ? std::string(" ") + letter : std::string());
}

std::string LetterText(char letter)
{
    switch (letter) {
    case 'j': return "j, daylight";
    case 'n': return "n, darkness";
    case 'x': return "x, day and night";
    default: return std::string(1, letter);
    }
}

} // namespace

std::string PositionName(double latDeg, double lonWestDeg)
{
    return Degrees(latDeg, "N", "S") + ", " + Degrees(lonWestDeg, "W", "E");
}

std::string PointDescription(const CoverageDaySummary& day, int utcHour, std::size_t point, const std::string& band)
{
    const GridPoint& g = day.Points[point];
    char hour[8];
    std::snprintf(hour, sizeof hour, "%02d", utcHour);
    std::string text = PositionName(g.LatDeg, g.LonWestDeg) + " at " + hour + "h UTC, " + band + ": ";
    if (!day.Known[static_cast<std::size_t>(utcHour)]) {
        return text + "computing\u2026";
    }
    const CellSummary& c = day.At(utcHour, point);
    if (!c.HasPath) {
        return text + "no path";
    }
    text += std::to_string(c.LevelDb) + " dB";
    if (c.Below) {
        text += " (below the receiver's sensitivity)";
    }
    text += ", " + SMeterOfTableLevel(c.LevelDb);
    text += ", " + LetterText(c.Letter) + ", " + std::to_string(c.Hops) + " hop" + (c.Hops == 1 ? "" : "s");
    return text;
}

} // namespace orvela::area
