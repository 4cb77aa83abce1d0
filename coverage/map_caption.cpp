#include "coverage/map_caption.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvela::area {

namespace {

std::string PositionText(ld latDeg, ld lonWestDeg)
{
    return FormatFixed(std::fabs(latDeg), 2) + (latDeg < 0 ? "S " : "N ") + FormatFixed(std::fabs(lonWestDeg), 2) +
           (lonWestDeg < 0 ? "E" : "W");
}

// The words of `text` in lines of at most `width` characters; a longer
// word has a line of its own.
std::vector<std::string> WrapWords(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) {
            continue;
        }
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::string BandName(const TableBand& band, bool frequency)
{
    const std::string mhz = MhzText(band.Mhz) + " MHz";
    if (band.Name.empty()) {
        return mhz;
    }
    return frequency ? band.Name + " (" + mhz + ")" : band.Name;
}

std::vector<std::string> CaptionLines(const MapCaption& caption)
{
    char moment[64];
    std::snprintf(moment, sizeof moment, "%04d-%02d-%02d %02d:%02d UTC", caption.Date.Year, caption.Date.Month,
                  caption.Date.Day, caption.Hour, caption.Minute);
    static const char* const antennas[3] = {"isotropic antenna", "simple dipole", "3-element Yagi"};
    const int a = Number(caption.GainTable);
    const char* antenna = a >= 0 && a <= 2 ? antennas[a] : "";
    const std::string call = caption.CallSign.empty() ? std::string() : " (" + caption.CallSign + ")";
    std::vector<std::string> lines = {BandName(caption.Band, true) + ", " + moment,
                                      "Solar flux " + FormatFixed(caption.Flux, 1) + ", home " +
                                          PositionText(caption.HomeLatDeg, caption.HomeLonDeg) + call,
                                      "Power " + std::to_string(caption.PowerDbw) + " dBW, " + antenna +
                                          (caption.LongPath ? ", long path" : "")};
    if (!caption.FluxSource.empty()) {
        lines.push_back("Solar flux from " + caption.FluxSource);
    }
    for (std::string& line : WrapWords(caption.EmptyReason, CaptionNoteChars)) {
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace orvela::area
