#include "coverage/area_coverage.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <array>
#include <functional>

namespace orvela::area {

namespace {

std::string MarkerText(const BandResult& r)
{
    return r.Marker == ' ' ? std::string() : std::string(1, r.Marker);
}

} // namespace

std::vector<GridPoint> GridPoints(int stepDeg)
{
    std::vector<GridPoint> points;
    points.reserve(static_cast<std::size_t>(180 / stepDeg + 1) * static_cast<std::size_t>(360 / stepDeg));
    for (int lat = -90; lat <= 90; lat += stepDeg) {
        for (int lon = -180; lon < 180; lon += stepDeg) {
            points.push_back({lat, lon});
        }
    }
    return points;
}

namespace {

// Thrown from a worker, it stops ParallelFor from starting further points.
void StopIfCancelled(const std::atomic<bool>* cancel)
{
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
        throw Cancelled{};
    }
}

} // namespace

Coverage ComputeCoverage(const RunInput& in, int utcHour, int band, int stepDeg, unsigned threads,
                         const std::atomic<bool>* cancel)
{
    Coverage c;
    c.StepDeg = stepDeg;
    c.Points = GridPoints(stepDeg);
    c.Results.resize(c.Points.size());
    ParallelFor(c.Points.size(), threads, [&](std::size_t i, Workspace& ws) {
        StopIfCancelled(cancel);
        RunInput path = in;
        path.RemoteLatDeg = c.Points[i].LatDeg;
        path.RemoteLonDeg = c.Points[i].LonDeg;
        c.Results[i] = ComputeBand(path, utcHour, band, ws);
    });
    return c;
}

namespace {

// Each grid point's path over the 24 hours, worked out once per point on
// the threads; keep(point, hour cells) stores them.
void ForEachPointDay(const RunInput& in, int band, const std::vector<GridPoint>& points, unsigned threads,
                     const std::atomic<bool>* cancel,
                     const std::function<void(std::size_t, std::array<BandResult, HoursPerDay>&)>& keep)
{
    ParallelFor(points.size(), threads, [&](std::size_t i, Workspace& ws) {
        StopIfCancelled(cancel);
        RunInput path = in;
        path.RemoteLatDeg = points[i].LatDeg;
        path.RemoteLonDeg = points[i].LonDeg;
        std::array<BandResult, HoursPerDay> cells;
        ComputeBandDay(path, band, ws, cells);
        keep(i, cells);
    });
}

} // namespace

std::vector<Coverage> ComputeCoverageDay(const RunInput& in, int band, int stepDeg, unsigned threads,
                                         const std::atomic<bool>* cancel)
{
    const std::vector<GridPoint> points = GridPoints(stepDeg);
    std::vector<Coverage> day(HoursPerDay);
    for (Coverage& c : day) {
        c.StepDeg = stepDeg;
        c.Points = points;
        c.Results.resize(points.size());
    }
    ForEachPointDay(in, band, points, threads, cancel, [&](std::size_t i, std::array<BandResult, HoursPerDay>& cells) {
        for (std::size_t h = 0; h < cells.size(); ++h) {
            day[h].Results[i] = std::move(cells[h]);
        }
    });
    return day;
}

CellSummary Summarise(const BandResult& r)
{
    CellSummary s;
    s.HasPath = r.HasPath;
    if (r.HasPath) {
        s.LevelDb = static_cast<std::int16_t>(std::clamp(r.LevelDb, -32768, 32767));
        s.Letter = r.Letter;
        s.Hops = static_cast<std::uint8_t>(std::clamp(r.Hops, 0, 255));
        s.Marker = r.Marker;
        s.Below = BelowSensitivity(r);
    }
    return s;
}

CoverageDaySummary ComputeCoverageDaySummary(const RunInput& in, int band, int stepDeg, unsigned threads,
                                             const std::atomic<bool>* cancel)
{
    CoverageDaySummary day;
    day.Band = band;
    day.StepDeg = stepDeg;
    day.Points = GridPoints(stepDeg);
    const std::size_t n = day.Points.size();
    day.Cells.resize(HoursPerDay * n);
    day.Known.fill(true);
    ForEachPointDay(in, band, day.Points, threads, cancel,
                    [&](std::size_t i, std::array<BandResult, HoursPerDay>& cells) {
                        for (std::size_t h = 0; h < cells.size(); ++h) {
                            day.Cells[h * n + i] = Summarise(cells[h]);
                        }
                    });
    return day;
}

CoverageDaySummary ComputeCoverageHourSummary(const RunInput& in, int utcHour, int band, int stepDeg, unsigned threads,
                                              const std::atomic<bool>* cancel)
{
    const Coverage c = ComputeCoverage(in, utcHour, band, stepDeg, threads, cancel);
    CoverageDaySummary day;
    day.Band = band;
    day.StepDeg = stepDeg;
    day.Points = c.Points;
    const std::size_t n = day.Points.size();
    day.Cells.resize(HoursPerDay * n);
    day.Known[static_cast<std::size_t>(utcHour)] = true;
    for (std::size_t i = 0; i < n; ++i) {
        day.Cells[static_cast<std::size_t>(utcHour) * n + i] = Summarise(c.Results[i]);
    }
    return day;
}

namespace {

// The CSV's lines of one grid, each after `prefix`.
void AppendCsvRows(std::string& out, const Coverage& c, const std::string& prefix)
{
    out.reserve(out.size() + c.Points.size() * (32 + prefix.size()));
    for (std::size_t i = 0; i < c.Points.size(); ++i) {
        const GridPoint& p = c.Points[i];
        const BandResult& r = c.Results[i];
        out += prefix;
        out += std::to_string(p.LatDeg);
        out += ',';
        out += std::to_string(p.LonDeg);
        if (!r.HasPath) {
            out += ",,,,,\n";
            continue;
        }
        out += ',';
        // The cell's text may end in the blank of an empty marker: quoted so
        // that no reader trims it.
        out += r.Text.find(' ') == std::string::npos ? r.Text : "\"" + r.Text + "\"";
        out += ',';
        out += std::to_string(r.LevelDb);
        out += ',';
        out += r.Letter;
        out += ',';
        out += std::to_string(r.Hops);
        out += ',';
        out += MarkerText(r);
        out += '\n';
    }
}

using Json = nlohmann::ordered_json;

// The JSON's points of one grid; with an hour, each point names it first.
void AppendJsonPoints(Json& points, const Coverage& c, int utcHour)
{
    for (std::size_t i = 0; i < c.Points.size(); ++i) {
        const GridPoint& p = c.Points[i];
        const BandResult& r = c.Results[i];
        Json point = Json::object();
        if (utcHour >= 0) {
            point["utc_hour"] = utcHour;
        }
        point["lat_deg"] = p.LatDeg;
        point["lon_deg"] = p.LonDeg;
        point["text"] = r.HasPath ? r.Text : std::string();
        if (r.HasPath) {
            point["level_db"] = r.LevelDb;
            point["letter"] = std::string(1, r.Letter);
            point["hops"] = r.Hops;
            point["marker"] = MarkerText(r);
        } else {
            point["level_db"] = nullptr;
            point["letter"] = nullptr;
            point["hops"] = nullptr;
            point["marker"] = nullptr;
        }
        points.push_back(std::move(point));
    }
}

// The object; `emptyKey` with `emptyValue` before the points unless the
// value is null.
std::string JsonText(const CoverageHeader& header, int stepDeg, Json points, const char* emptyKey, Json emptyValue)
{
    Json j;
    j["home"] =
        Json{{"lat_deg", static_cast<double>(header.HomeLatDeg)}, {"lon_deg", static_cast<double>(header.HomeLonDeg)}};
    j["utc"] = header.Utc;
    const double mhz = static_cast<double>(header.BandMhz);
    if (mhz == std::floor(mhz)) {
        j["band_mhz"] = static_cast<long long>(mhz);
    } else {
        j["band_mhz"] = mhz;
    }
    j["step_deg"] = stepDeg;
    if (!header.FluxSource.empty()) {
        j["flux"] = Json{{"sfu", header.FluxSfu},
                         {"source", header.FluxSource},
                         {"issued", header.FluxIssued.empty() ? Json() : Json(header.FluxIssued)}};
    }
    if (!emptyValue.is_null()) {
        j[emptyKey] = std::move(emptyValue);
    }
    j["points"] = std::move(points);
    return j.dump() + "\n";
}

} // namespace

std::string CoverageCsv(const Coverage& c, const std::string& emptyReason)
{
    std::string out = "lat_deg,lon_deg,text,level_db,letter,hops,marker\n";
    AppendCsvRows(out, c, std::string());
    if (!emptyReason.empty()) {
        out += "# " + emptyReason + "\n";
    }
    return out;
}

std::string CoverageDayCsv(const std::vector<Coverage>& day, const std::array<std::string, HoursPerDay>& emptyReasons)
{
    std::string out = "utc_hour,lat_deg,lon_deg,text,level_db,letter,hops,marker\n";
    for (std::size_t h = 0; h < day.size(); ++h) {
        AppendCsvRows(out, day[h], std::to_string(h) + ",");
    }
    for (std::size_t h = 0; h < emptyReasons.size(); ++h) {
        if (!emptyReasons[h].empty()) {
            out += "# " + std::to_string(h) + "h UTC: " + emptyReasons[h] + "\n";
        }
    }
    return out;
}

std::string CoverageJson(const CoverageHeader& header, const Coverage& c, const std::string& emptyReason)
{
    Json points = Json::array();
    AppendJsonPoints(points, c, -1);
    return JsonText(header, c.StepDeg, std::move(points), "empty_reason",
                    emptyReason.empty() ? Json() : Json(emptyReason));
}

std::string CoverageDayJson(const CoverageHeader& header, const std::vector<Coverage>& day,
                            const std::array<std::string, HoursPerDay>& emptyReasons)
{
    Json points = Json::array();
    for (std::size_t h = 0; h < day.size(); ++h) {
        AppendJsonPoints(points, day[h], static_cast<int>(h));
    }
    Json empty;
    for (std::size_t h = 0; h < emptyReasons.size(); ++h) {
        if (!emptyReasons[h].empty()) {
            empty.push_back(Json{{"utc_hour", h}, {"reason", emptyReasons[h]}});
        }
    }
    return JsonText(header, day.empty() ? 0 : day.front().StepDeg, std::move(points), "empty_hours", std::move(empty));
}

bool BelowSensitivity(const BandResult& r)
{
    return r.HasPath && (r.Marker == 's' || (!r.Text.empty() && r.Text.front() == '-'));
}

} // namespace orvela::area
