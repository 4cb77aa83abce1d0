#include "engine/reach.h"

#include "engine/ionosphere.h"
#include "engine/run_steps.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace orvela {

namespace {

// What the model makes of a whole run, band by band, whether or not a cell
// shows it.
struct RunOutlook {
    bool Open = false;    // some mode carries some row at some hour
    bool Reaches = false; // and the strongest beats the noise reference
    // The strongest mode of the run.
    int Hops = 0;
    TableBand Band;
    int UtcHour = 0;
    ld RankLevel = 0; // dBm
    ld NoiseLevel = 0;
    ld HighestMuf = 0; // the MUF row's highest value, MHz
    int BaseHops = 0;
    ld DistanceKm = 0;
};

RunOutlook ExamineRun(const RunInput& in)
{
    Workspace ws;
    PathPlan plan;
    PreparePath(in, ws, plan);
    RunOutlook o;
    o.BaseHops = plan.BaseHops;
    o.DistanceKm = plan.Summary.DistanceKm;
    o.NoiseLevel = ws.NoiseLevel;
    const std::size_t rows = std::min<std::size_t>(in.Bands.size(), BandCount);
    for (int h = 0; h < HoursPerDay; ++h) {
        BeginHour(plan, ws, h);
        o.HighestMuf = std::max(o.HighestMuf, ws.FMuf[plan.BaseHops]);
        for (std::size_t n = 0; n < rows; ++n) {
            const TableBand& band = in.Bands[n];
            Pathloss(ws, plan.BaseHops, band.Mhz);
            const StrongestMode m = StrongestModeAfterPathloss(ws, plan.BaseHops, band.Mhz);
            if (m.Open && (!o.Open || m.RankLevel > o.RankLevel)) {
                o.Open = true;
                o.Hops = m.Hops;
                o.Band = band;
                o.UtcHour = h;
                o.RankLevel = m.RankLevel;
            }
        }
    }
    o.Reaches = o.Open && o.RankLevel > o.NoiseLevel;
    return o;
}

bool ReachesWith(const RunInput& in, const std::function<void(Settings&)>& change)
{
    RunInput other = in;
    change(other.Station);
    return ExamineRun(other).Reaches;
}

std::string BandText(const TableBand& band)
{
    const std::string mhz = MhzText(band.Mhz) + " MHz";
    return band.Name.empty() ? mhz : band.Name + " (" + mhz + ")";
}

std::string AntennaName(Antenna a)
{
    switch (a) {
    case Antenna::Isotropic: return "isotropic antenna";
    case Antenna::Dipole: return "simple dipole";
    case Antenna::Yagi: return "3-element Yagi";
    }
    return "antenna";
}

std::string AngleText(int degrees)
{
    return std::to_string(degrees) + "\u00B0";
}

std::string PowerText(int dbw)
{
    return FormatThousands(dbw) + " dBW";
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator, const std::string& last)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            out += i + 1 == parts.size() ? last : separator;
        }
        out += parts[i];
    }
    return out;
}

// Which of the station's settings keeps the modes out, each tested alone
// against a new station's value, then together; without one, the path.
std::string WeakCause(const RunInput& in, const RunOutlook& o)
{
    const Settings& st = in.Station;
    const bool steep = st.MinAngle > DefaultMinAngle;
    const bool antenna = st.GainTable != Antenna::Isotropic;
    const bool weak = st.Power < DefaultPower;
    std::vector<std::string> causes;
    if (steep && ReachesWith(in, [](Settings& s) { s.MinAngle = DefaultMinAngle; })) {
        RunInput usual = in;
        usual.Station.MinAngle = DefaultMinAngle;
        const int usualHops = ExamineRun(usual).BaseHops;
        causes.push_back("a take-off angle of at least " + AngleText(st.MinAngle) + " splits it into " +
                         HopsText(o.BaseHops) + ", where " + AngleText(DefaultMinAngle) + " would take " +
                         HopsText(usualHops) + " and reach");
    }
    if (antenna && ReachesWith(in, [](Settings& s) { s.GainTable = Antenna::Isotropic; })) {
        causes.push_back("the " + AntennaName(st.GainTable) +
                         " radiates too little at its take-off angles, where an isotropic antenna would reach");
    }
    if (weak && PowerToReach(st.Power, o.NoiseLevel - o.RankLevel) <= DefaultPower &&
        ReachesWith(in, [](Settings& s) { s.Power = DefaultPower; })) {
        causes.push_back(PowerText(st.Power) + " is too little for it");
    }
    if (!causes.empty()) {
        return Join(causes, "; ", "; ");
    }
    if ((steep || antenna || weak) && ReachesWith(in, [&](Settings& s) {
            s.MinAngle = std::min(s.MinAngle, DefaultMinAngle);
            s.GainTable = Antenna::Isotropic;
            s.Power = std::max(s.Power, DefaultPower);
        })) {
        std::vector<std::string> now;
        std::vector<std::string> usual;
        if (steep) {
            now.push_back("a take-off angle of at least " + AngleText(st.MinAngle));
            usual.push_back(AngleText(DefaultMinAngle));
        }
        if (antenna) {
            now.push_back("the " + AntennaName(st.GainTable));
            usual.push_back("an isotropic antenna");
        }
        if (weak) {
            now.push_back(PowerText(st.Power));
            usual.push_back(PowerText(DefaultPower));
        }
        return Join(now, ", ", " and ") + " together keep it out, where " + Join(usual, ", ", " and ") + " would reach";
    }
    // With the usual settings only a path of more than 16,000 km or so
    // stays empty: its many hops lose more than the power makes up.
    constexpr ld FarKm = 15000;
    if (st.Path) {
        return "the long path is beyond the model at " + PowerText(st.Power);
    }
    if (o.DistanceKm >= FarKm) {
        return "a path this long is beyond the model at " + PowerText(st.Power);
    }
    return "its hops and losses add up to more than " + PowerText(st.Power) + " can make up";
}

// The least whole power at which the run fills a cell: from the shortfall,
// since the level follows the power dB for dB, checked with the model when
// the shortfall is all but a whole number of dB.
int LeastPowerToReach(const RunInput& in, const RunOutlook& o)
{
    const ld shortDb = o.NoiseLevel - o.RankLevel;
    int power = PowerToReach(in.Station.Power, shortDb);
    if (!PowerEdgeIsClose(shortDb)) {
        return power;
    }
    const auto reachesAt = [&](int p) { return ReachesWith(in, [p](Settings& s) { s.Power = p; }); };
    for (int tries = 0; tries < 2 && !reachesAt(power); ++tries) {
        ++power;
    }
    for (int tries = 0; tries < 2 && power - 1 > in.Station.Power && reachesAt(power - 1); ++tries) {
        --power;
    }
    return power;
}

} // namespace

bool HasResultCell(const Prediction& p)
{
    for (int r = 0; r < RowUtc; ++r) {
        for (int c = 1; c < TableCols; ++c) {
            if (!p.At(c, r).Text.empty()) {
                return true;
            }
        }
    }
    return false;
}

int PowerToReach(int powerDbw, ld shortDb)
{
    return powerDbw + static_cast<int>(floorl(shortDb)) + 1;
}

bool PowerEdgeIsClose(ld shortDb)
{
    constexpr ld Rounding = 1e-9L; // dB, far above the levels' rounding
    return fabsl(shortDb - nearbyintl(shortDb)) < Rounding;
}

std::string HopsText(int hops)
{
    return std::to_string(hops) + (hops == 1 ? " hop" : " hops");
}

std::string EmptyRunReason(const RunInput& in)
{
    const int display = Number(in.Station.Display);
    if (display < 1 || display > 4) {
        return "The table shows no cell: no display format is chosen.";
    }
    if (in.Bands.empty()) {
        return "The table shows no cell: it has no band rows.";
    }
    const RunOutlook o = ExamineRun(in);
    const std::string head = "No mode reaches the receiver on this " + FormatThousands(o.DistanceKm) + " km path: ";
    if (!o.Open) {
        std::string why = head + "every row, from " + BandText(in.Bands.front()) +
                          " up, lies above 85% of its MUF (which peaks at " + FormatFixed(o.HighestMuf, 1) +
                          " MHz), the most the model works a path on.";
        // The MUF follows the lowest take-off angle: at 0 degrees the model
        // gives a short path's steep modes a far lower one.
        if (in.Station.MinAngle != DefaultMinAngle) {
            RunInput usual = in;
            usual.Station.MinAngle = DefaultMinAngle;
            const RunOutlook u = ExamineRun(usual);
            if (u.Reaches && u.HighestMuf > o.HighestMuf) {
                why += " With the take-off angle at " + AngleText(DefaultMinAngle) + " instead of " +
                       AngleText(in.Station.MinAngle) + " its MUF would peak at " + FormatFixed(u.HighestMuf, 1) +
                       " MHz, and cells would show.";
            }
        }
        return why;
    }
    if (o.Reaches) {
        return {};
    }
    const ld shortDb = o.NoiseLevel - o.RankLevel;
    return head + WeakCause(in, o) + ". It would take " + PowerText(LeastPowerToReach(in, o)) +
           " for a first cell: its strongest mode, " + HopsText(o.Hops) + " on " + BandText(o.Band) + " at " +
           std::to_string(o.UtcHour) + "h UTC, stays " + FormatFixed(shortDb, 0) +
           " dB under the receiver's noise floor.";
}

Reach ReachOf(const RunInput& in, const Prediction& p)
{
    if (HasResultCell(p)) {
        return {};
    }
    std::string reason = EmptyRunReason(in);
    if (reason.empty()) {
        reason = "The table shows no cell."; // the model reaches, yet the table is empty
    }
    return {false, reason};
}

} // namespace orvela
