#include "coverage/empty_map.h"

#include "engine/ionosphere.h"
#include "engine/reach.h"
#include "engine/run_steps.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace orvela::area {

namespace {

// What the strongest mode of one point's path comes to at one hour.
struct PointOutlook {
    StrongestMode Mode;
    ld Muf = 0; // the path's MUF, MHz
};

// The map of one hour, point by point.
struct MapOutlook {
    bool Open = false;
    std::size_t Strongest = 0; // the point of the strongest mode
    StrongestMode Mode;
    ld HighestMuf = 0;
};

std::string PointText(const GridPoint& p)
{
    if (std::abs(p.LatDeg) == 90) {
        return p.LatDeg > 0 ? "the North Pole" : "the South Pole";
    }
    return std::to_string(std::abs(p.LatDeg)) + (p.LatDeg < 0 ? "S " : "N ") + std::to_string(std::abs(p.LonWestDeg)) +
           (p.LonWestDeg < 0 ? "E" : "W");
}

std::string BandText(const TableBand& band)
{
    const std::string mhz = MhzText(band.Mhz) + " MHz";
    return band.Name.empty() ? mhz : band.Name + " (" + mhz + ")";
}

RunInput PathTo(const RunInput& in, const GridPoint& p)
{
    RunInput toPoint = in;
    toPoint.RemoteLatDeg = p.LatDeg;
    toPoint.RemoteLonWestDeg = p.LonWestDeg;
    return toPoint;
}

// The least whole power at which the strongest path shows at the hour: from
// its shortfall, since the level follows the power dB for dB, checked with
// the model when the shortfall is all but a whole number of dB.
int LeastPowerToReach(const RunInput& toPoint, int utcHour, int band, ld shortDb)
{
    Workspace ws;
    const auto reachesAt = [&](int power) {
        RunInput at = toPoint;
        at.Station.Power = power;
        return ComputeBand(at, utcHour, band, ws).HasPath;
    };
    int power = PowerToReach(toPoint.Station.Power, shortDb);
    if (!PowerEdgeIsClose(shortDb)) {
        return power;
    }
    for (int tries = 0; tries < 2 && !reachesAt(power); ++tries) {
        ++power;
    }
    for (int tries = 0; tries < 2 && power - 1 > toPoint.Station.Power && reachesAt(power - 1); ++tries) {
        --power;
    }
    return power;
}

std::string Reason(const RunInput& in, int utcHour, int band, const std::vector<GridPoint>& points, const MapOutlook& o,
                   ld noiseLevel)
{
    const std::string head = "No mode reaches any point of the map: ";
    const TableBand& row = in.Bands[static_cast<std::size_t>(band - 1)];
    if (!o.Open) {
        return head + BandText(row) + " lies above 85% of every path's MUF (the highest is " +
               FormatFixed(o.HighestMuf, 1) + " MHz), the most the model works a path on.";
    }
    const ld shortDb = noiseLevel - o.Mode.RankLevel;
    if (shortDb < 0) {
        return {}; // a point has a path
    }
    const int power = in.Station.Power;
    const std::string dbw = FormatThousands(power) + " dBW";
    const std::string cause =
        in.Station.Path ? "long paths are beyond the model at " + dbw : "every path is too weak at " + dbw;
    const GridPoint& at = points[o.Strongest];
    return head + cause + ". It would take " +
           FormatThousands(LeastPowerToReach(PathTo(in, at), utcHour, band, shortDb)) +
           " dBW for a first point: the strongest path, to " + PointText(at) + " with " + HopsText(o.Mode.Hops) +
           ", stays " + FormatFixed(shortDb, 0) + " dB under the receiver's noise floor.";
}

} // namespace

bool AnyPath(const Coverage& c)
{
    return std::any_of(c.Results.begin(), c.Results.end(), [](const BandResult& r) { return r.HasPath; });
}

std::array<std::string, HoursPerDay> EmptyMapReasons(const RunInput& in, int band, int stepDeg, unsigned threads,
                                                     const std::array<bool, HoursPerDay>& hours)
{
    std::array<std::string, HoursPerDay> reasons;
    std::vector<int> asked;
    for (int h = 0; h < HoursPerDay; ++h) {
        if (hours[static_cast<std::size_t>(h)]) {
            asked.push_back(h);
        }
    }
    if (asked.empty()) {
        return reasons;
    }
    const std::vector<GridPoint> points = GridPoints(stepDeg);
    const ld frq = in.Bands[static_cast<std::size_t>(band - 1)].Mhz;
    // Each point's hours, as the map worked them out: the path once, then
    // each hour asked for at the band alone.
    std::vector<PointOutlook> outlook(points.size() * asked.size());
    ld noiseLevel = 0;
    ParallelFor(points.size(), threads, [&](std::size_t i, Workspace& ws) {
        PathPlan plan;
        PreparePath(PathTo(in, points[i]), ws, plan);
        for (std::size_t a = 0; a < asked.size(); ++a) {
            BeginBandHour(plan, ws, asked[a], frq);
            Pathloss(ws, plan.BaseHops, frq);
            outlook[a * points.size() + i] = {StrongestModeAfterPathloss(ws, plan.BaseHops, frq),
                                              ws.FMuf[plan.BaseHops]};
        }
        if (i == 0) {
            noiseLevel = ws.NoiseLevel; // the same for every path
        }
    });
    for (std::size_t a = 0; a < asked.size(); ++a) {
        MapOutlook o;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PointOutlook& p = outlook[a * points.size() + i];
            o.HighestMuf = std::max(o.HighestMuf, p.Muf);
            if (p.Mode.Open && (!o.Open || p.Mode.RankLevel > o.Mode.RankLevel)) {
                o.Open = true;
                o.Mode = p.Mode;
                o.Strongest = i;
            }
        }
        reasons[static_cast<std::size_t>(asked[a])] = Reason(in, asked[a], band, points, o, noiseLevel);
    }
    return reasons;
}

std::string EmptyMapReason(const RunInput& in, int utcHour, int band, int stepDeg, unsigned threads)
{
    std::array<bool, HoursPerDay> hours{};
    hours[static_cast<std::size_t>(utcHour)] = true;
    return EmptyMapReasons(in, band, stepDeg, threads, hours)[static_cast<std::size_t>(utcHour)];
}

} // namespace orvela::area
