#include "coverage/map_caption.h"

#include <cmath>
#include <cstdio>

namespace orvela::area {

namespace {

std::string PositionText(ld latDeg, ld lonWestDeg)
{
    return FormatFixed(std::fabs(latDeg), 2) + (latDeg < 0 ? "S " : "N ") + FormatFixed(std::fabs(lonWestDeg), 2) +
           (lonWestDeg < 0 ? "E" : "W");
}

} // namespace

std::array<std::string, 3> CaptionLines(const MapCaption& caption)
{
    char moment[64];
    std::snprintf(moment, sizeof moment, "%04d-%02d-%02d %02d:%02d UTC", caption.Date.Year, caption.Date.Month,
                  caption.Date.Day, caption.Hour, caption.Minute);
    static const char* const antennas[3] = {"isotropic antenna", "simple dipole", "3-element Yagi"};
    const int a = Number(caption.GainTable);
    const char* antenna = a >= 0 && a <= 2 ? antennas[a] : "";
    const std::string mhz = MhzText(caption.Band.Mhz) + " MHz";
    const std::string band = caption.Band.Name.empty() ? mhz : caption.Band.Name + " (" + mhz + ")";
    const std::string call = caption.CallSign.empty() ? std::string() : " (" + caption.CallSign + ")";
    return {band + ", " + moment,
            "Solar flux " + FormatFixed(caption.Flux, 1) + ", home " +
                PositionText(caption.HomeLatDeg, caption.HomeLonDeg) + call,
            "Power " + std::to_string(caption.PowerDbw) + " dBW, " + antenna + (caption.LongPath ? ", long path" : "")};
}

} // namespace orvela::area
