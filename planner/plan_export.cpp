#include "planner/plan_export.h"

#include "common/civil_time.h"
#include "engine/format.h"
#include "engine/table_export.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

namespace orvela::planner {

namespace {

const char* KindName(TargetKind k)
{
    switch (k) {
    case TargetKind::Entity: return "entity";
    case TargetKind::CallSign: return "call";
    case TargetKind::Prefix: return "prefix";
    case TargetKind::Locator: return "locator";
    }
    return "";
}

const char* ClassName(TableCellClass c)
{
    switch (c) {
    case TableCellClass::Empty: return "empty";
    case TableCellClass::Below: return "below";
    case TableCellClass::Usable: return "open";
    }
    return "";
}

std::string BandName(const TableBand& band)
{
    return band.Name.empty() ? MhzText(band.Mhz) + " MHz" : band.Name;
}

// The cell's number as the table writes it, the sign of "-0" kept.
std::string NumberOf(const PlanCell& c)
{
    std::size_t end = 0;
    while (end < c.Text.size() && (c.Text[end] == '-' || (c.Text[end] >= '0' && c.Text[end] <= '9'))) {
        ++end;
    }
    return c.Text.substr(0, end);
}

double Thousandths(ld v)
{
    const double r = static_cast<double>(std::roundl(v * 1000) / 1000);
    return r == 0 ? 0.0 : r; // no "-0.0"
}

std::string HourName(int h)
{
    return {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10)};
}

} // namespace

std::string PlanCsv(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption)
{
    const PlanInputs& in = plan.In;
    const std::pair<const char*, std::string> heading[] = {
        {"Station", caption.CallSign},
        {"Station position", LatitudeName(in.HomeLatDeg) + " " + LongitudeName(in.HomeLonWestDeg)},
        {"Path", in.LongPath ? "long path" : "short path"},
        {"Date", IsoDate(in.Date)},
        {"Band", BandChoiceText(in)},
        {"Solar flux (sfu)", FormatFixed(in.Flux, 1)},
        {"Power (dBW)", std::to_string(in.Power)},
        {"Lowest take-off angle (degrees)", std::to_string(in.MinAngle)},
        {"Open", "at or above the receiver's sensitivity"},
    };
    std::string out;
    for (const auto& [what, value] : heading) {
        out += CsvField(what) + "," + CsvField(value) + "\n";
    }
    out += "\nentry,kind,name,prefix,continent,cq,itu,lat_deg,lon_west_deg,distance_km,bearing_deg,best_db,best_hour";
    for (int h = 0; h < HoursPerDay; ++h) {
        out += "," + HourName(h);
    }
    out += '\n';
    for (const std::size_t i : rows) {
        const Target& t = plan.Targets[i];
        out += CsvField(t.Entry) + "," + KindName(t.Kind) + ",";
        if (!t.Resolved) {
            out += CsvField(t.Problem) + "\n";
            continue;
        }
        const PlanRow& r = plan.Rows[i];
        out += CsvField(t.Name) + "," + CsvField(t.Prefix) + "," + t.Continent + ",";
        out += (t.CqZone > 0 ? std::to_string(t.CqZone) : "") + ",";
        out += (t.ItuZone > 0 ? std::to_string(t.ItuZone) : "") + ",";
        out += FormatFixed(t.LatDeg, 2) + "," + FormatFixed(t.LonWestDeg, 2) + ",";
        out += FormatFixed(r.DistanceKm, 0) + "," + FormatFixed(r.BearingDeg, 0) + ",";
        if (r.BestHour >= 0) {
            out += std::to_string(r.BestLevelDb) + "," + HourName(r.BestHour);
        } else {
            out += ",";
        }
        for (const PlanCell& c : r.Hours) {
            out += ',';
            if (c.Class == TableCellClass::Empty) {
                continue;
            }
            if (plan.Bands.size() > 1) {
                out += CsvField(BandName(plan.Bands[static_cast<std::size_t>(c.Band)]) + " " + NumberOf(c));
            } else {
                out += NumberOf(c);
            }
        }
        out += '\n';
    }
    return out;
}

std::string PlanJson(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption)
{
    using Json = nlohmann::ordered_json;
    const PlanInputs& in = plan.In;
    Json top;
    top["station"] = caption.CallSign;
    top["home"] = {{"lat_deg", static_cast<double>(in.HomeLatDeg)},
                   {"lon_west_deg", static_cast<double>(in.HomeLonWestDeg)}};
    top["date"] = IsoDate(in.Date);
    top["band"] = BandChoiceText(in);
    top["flux"] = static_cast<double>(in.Flux);
    top["power_dbw"] = in.Power;
    top["min_angle_deg"] = in.MinAngle;
    top["long_path"] = in.LongPath;
    Json targets = Json::array();
    for (const std::size_t i : rows) {
        const Target& t = plan.Targets[i];
        Json o;
        o["entry"] = t.Entry;
        o["kind"] = KindName(t.Kind);
        if (!t.Resolved) {
            o["problem"] = t.Problem;
            targets.push_back(std::move(o));
            continue;
        }
        const PlanRow& r = plan.Rows[i];
        if (t.Kind == TargetKind::Locator) {
            o["entity"] = nullptr;
        } else {
            o["entity"] = {{"name", t.Name},
                           {"prefix", t.Prefix},
                           {"cq", t.CqZone},
                           {"itu", t.ItuZone},
                           {"continent", t.Continent}};
        }
        o["lat_deg"] = t.LatDeg;
        o["lon_west_deg"] = t.LonWestDeg;
        o["distance_km"] = Thousandths(r.DistanceKm);
        o["bearing_deg"] = Thousandths(r.BearingDeg);
        if (r.BestHour >= 0) {
            o["best"] = {{"hour", r.BestHour}, {"level_db", r.BestLevelDb}};
        } else {
            o["best"] = nullptr;
        }
        Json hours = Json::array();
        for (int h = 0; h < HoursPerDay; ++h) {
            const PlanCell& c = r.Hours[static_cast<std::size_t>(h)];
            Json cell;
            cell["hour"] = h;
            cell["class"] = ClassName(c.Class);
            if (c.Class == TableCellClass::Empty) {
                cell["band"] = nullptr;
            } else {
                cell["band"] = BandName(plan.Bands[static_cast<std::size_t>(c.Band)]);
            }
            cell["level_db"] = c.LevelDb;
            cell["text"] = c.Text;
            hours.push_back(std::move(cell));
        }
        o["hours"] = std::move(hours);
        targets.push_back(std::move(o));
    }
    top["targets"] = std::move(targets);
    return top.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

namespace {

// One character per amateur band, in the order of BandsOf(BandSet::Amateur).
constexpr std::string_view AmateurBandCharacters = "864327510";

// At most `width` characters of UTF-8 text, cut between characters, padded
// with blanks to `width` columns (each character counted as one column).
std::string Column(const std::string& text, std::size_t width)
{
    std::string out;
    std::size_t columns = 0;
    for (std::size_t i = 0; i < text.size() && columns < width;) {
        std::size_t n = 1;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xF0) {
            n = 4;
        } else if (c >= 0xE0) {
            n = 3;
        } else if (c >= 0xC0) {
            n = 2;
        }
        out.append(text, i, n);
        i += n;
        ++columns;
    }
    return out + std::string(width - columns, ' ');
}

std::string RightAligned(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

constexpr std::size_t NameWidth = 24;
constexpr std::size_t PrefixWidth = 7;

} // namespace

char ChartCharacter(const Plan& plan, const PlanCell& cell)
{
    switch (cell.Class) {
    case TableCellClass::Empty: return '.';
    case TableCellClass::Below: return '-';
    case TableCellClass::Usable: break;
    }
    if (plan.Bands.size() > 1) {
        const std::vector<TableBand>& amateur = BandsOf(BandSet::Amateur);
        for (std::size_t b = 0; b < amateur.size(); ++b) {
            if (amateur[b] == plan.Bands[static_cast<std::size_t>(cell.Band)]) {
                return AmateurBandCharacters[b];
            }
        }
        return '+';
    }
    return static_cast<char>('1' + std::clamp(cell.LevelDb / 20, 0, 4));
}

std::string PlanChart(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption)
{
    const PlanInputs& in = plan.In;
    std::string out = caption.CallSign.empty() ? std::string() : caption.CallSign + " ";
    out += LatitudeName(in.HomeLatDeg) + " " + LongitudeName(in.HomeLonWestDeg) + ", " + IsoDate(in.Date) + ", " +
           BandChoiceText(in) + ", flux " + FormatFixed(in.Flux, 0) + ", " +
           (in.LongPath ? "long path" : "short path") + "\n";
    if (plan.Bands.size() > 1) {
        out += "Open: the highest band, 8=80 m 6=60 m 4=40 m 3=30 m 2=20 m 7=17 m 5=15 m 1=12 m 0=10 m;";
    } else {
        out += "Open: dB above the receiver's sensitivity, 1=0-19 2=20-39 3=40-59 4=60-79 5=80+;";
    }
    out += " -=below the sensitivity .=no mode\n";
    const std::string lead = Column("", NameWidth) + " " + Column("", PrefixWidth) + " " + RightAligned("km", 6) + " " +
                             RightAligned("deg", 3) + "  ";
    std::string hours;
    for (int h = 0; h < HoursPerDay; h += 3) {
        hours += HourName(h) + " ";
    }
    out += lead + hours + "UTC\n";
    for (const std::size_t i : rows) {
        const Target& t = plan.Targets[i];
        if (!t.Resolved) {
            out += Column(t.Entry, NameWidth) + " " + t.Problem + "\n";
            continue;
        }
        const PlanRow& r = plan.Rows[i];
        out += Column(t.Name, NameWidth) + " " + Column(t.Prefix, PrefixWidth) + " " +
               RightAligned(FormatFixed(r.DistanceKm, 0), 6) + " " +
               RightAligned(std::to_string(std::lround(static_cast<double>(r.BearingDeg)) % 360), 3) + "  ";
        for (const PlanCell& c : r.Hours) {
            out += ChartCharacter(plan, c);
        }
        out += '\n';
    }
    return out;
}

} // namespace orvela::planner
