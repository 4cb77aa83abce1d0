#include "planner/plan.h"

#include "engine/hour.h"

#include <cmath>
#include <string_view>

namespace orvela::planner {

std::vector<TableBand> PlanBands(const PlanInputs& in)
{
    if (in.Band) {
        return {*in.Band};
    }
    return BandsOf(BandSet::Amateur);
}

namespace {

std::string BandName(const TableBand& band)
{
    return band.Name.empty() ? MhzText(band.Mhz) + " MHz" : band.Name;
}

std::string TwoDigits(int h)
{
    return {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10)};
}

// A whole number with a comma between thousands: "9,710".
std::string WithThousands(long long n)
{
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out.push_back(',');
        }
        out.push_back(digits[i]);
    }
    return n < 0 ? "-" + out : out;
}

bool Bit(std::uint32_t hours, int h)
{
    return ((hours >> ((h + HoursPerDay) % HoursPerDay)) & 1U) != 0;
}

} // namespace

std::string BandChoiceText(const PlanInputs& in)
{
    return in.Band ? BandName(*in.Band) : "all bands";
}

RunInput RunInputFor(const PlanInputs& in, const Target& target)
{
    RunInput run;
    run.Station.Latitude = in.HomeLatDeg;
    run.Station.Longitude = in.HomeLonWestDeg;
    run.Station.Power = in.Power;
    run.Station.Path = in.LongPath;
    run.Station.GainTable = in.GainTable;
    run.Station.MinAngle = in.MinAngle;
    run.Flux = in.Flux;
    run.RemoteLatDeg = target.LatDeg;
    run.RemoteLonDeg = target.LonWestDeg;
    run.Month = in.Date.Month;
    run.Day = in.Date.Day;
    run.LocalDate = in.Date;
    run.Bands = PlanBands(in);
    return run;
}

PlanRow ComputeRow(const PlanInputs& in, const std::vector<TableBand>& bands, const Target& target, Workspace& ws)
{
    PlanRow row;
    row.OpenHours.assign(bands.size(), 0);
    if (!target.Resolved) {
        return row;
    }
    RunInput run = RunInputFor(in, target);
    run.Bands = bands;
    std::vector<std::array<BandResult, HoursPerDay>> days;
    const PathSummary path = ComputeBandsDay(run, ws, days);
    row.DistanceKm = path.DistanceKm;
    row.BearingDeg = path.AzimuthDeg;

    for (int h = 0; h < HoursPerDay; ++h) {
        const auto hour = static_cast<std::size_t>(h);
        int shown = -1;
        TableCellClass shownClass = TableCellClass::Empty;
        // The highest band open; failing that, the highest with a mode.
        for (int b = static_cast<int>(bands.size()) - 1; b >= 0; --b) {
            const TableCellClass c = CellClassOf(days[static_cast<std::size_t>(b)][hour].Text);
            if (c == OpenClass) {
                row.OpenHours[static_cast<std::size_t>(b)] |= 1U << h;
                if (shownClass != OpenClass) {
                    shown = b;
                    shownClass = c;
                }
            } else if (c != TableCellClass::Empty && shown < 0) {
                shown = b;
                shownClass = c;
            }
        }
        PlanCell& cell = row.Hours[hour];
        if (shown < 0) {
            continue;
        }
        const BandResult& r = days[static_cast<std::size_t>(shown)][hour];
        cell.Class = shownClass;
        cell.Band = shown;
        cell.LevelDb = r.LevelDb;
        cell.Text = r.Text;
        if (cell.Class == OpenClass && (row.BestHour < 0 || cell.LevelDb > row.BestLevelDb)) {
            row.BestHour = h;
            row.BestLevelDb = cell.LevelDb;
        }
    }
    return row;
}

Plan ComputePlan(const PlanInputs& in, std::vector<Target> targets, unsigned threads, const std::atomic<bool>* cancel)
{
    Plan plan;
    plan.In = in;
    plan.Bands = PlanBands(in);
    plan.Targets = std::move(targets);
    plan.Rows.resize(plan.Targets.size());
    ParallelFor(plan.Targets.size(), threads, [&](std::size_t i, Workspace& ws) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            throw CancelledPlan{};
        }
        plan.Rows[i] = ComputeRow(plan.In, plan.Bands, plan.Targets[i], ws);
    });
    return plan;
}

bool OpenAt(const PlanRow& row, int utcHour)
{
    return utcHour >= 0 && utcHour < HoursPerDay && row.Hours[static_cast<std::size_t>(utcHour)].Class == OpenClass;
}

std::string HourRangesText(std::uint32_t hours)
{
    constexpr std::uint32_t AllDay = (1U << HoursPerDay) - 1;
    hours &= AllDay;
    if (hours == 0) {
        return {};
    }
    if (hours == AllDay) {
        return "all day";
    }
    std::string text;
    for (int h = 0; h < HoursPerDay; ++h) {
        // A range starts at an open hour after a closed one; the one that
        // runs over midnight starts late in the day and ends early.
        if (!Bit(hours, h) || Bit(hours, h - 1)) {
            continue;
        }
        int last = h;
        while (Bit(hours, last + 1)) {
            ++last;
        }
        if (!text.empty()) {
            text += ", ";
        }
        text += TwoDigits(h);
        if (last != h) {
            text += "\u2013" + TwoDigits(last % HoursPerDay);
        }
    }
    return text + " UTC";
}

std::string RowSentence(const Plan& plan, std::size_t index)
{
    const Target& t = plan.Targets[index];
    if (!t.Resolved) {
        return t.Entry + ": " + t.Problem;
    }
    const PlanRow& row = plan.Rows[index];
    std::string s = t.Name;
    if (!t.Prefix.empty()) {
        s += ", " + t.Prefix;
    }
    const long long km = std::llround(static_cast<double>(row.DistanceKm) / 10) * 10;
    const long long deg = std::llround(static_cast<double>(row.BearingDeg)) % 360;
    s += ", " + WithThousands(km) + " km at " + std::to_string(deg) + "\u00B0: ";

    std::string open;
    for (std::size_t b = 0; b < plan.Bands.size(); ++b) {
        if (row.OpenHours[b] == 0) {
            continue;
        }
        if (!open.empty()) {
            open += "; ";
        }
        open += BandName(plan.Bands[b]) + " open " + HourRangesText(row.OpenHours[b]);
    }
    if (open.empty()) {
        return s + (plan.Bands.size() == 1 ? BandName(plan.Bands.front()) + " not open" : "no band open");
    }
    s += open + ", best " + std::to_string(row.BestLevelDb) + " dB at " + TwoDigits(row.BestHour) + " UTC";
    if (plan.Bands.size() > 1) {
        const int band = row.Hours[static_cast<std::size_t>(row.BestHour)].Band;
        s += " on " + BandName(plan.Bands[static_cast<std::size_t>(band)]);
    }
    return s;
}

} // namespace orvela::planner
