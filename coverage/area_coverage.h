// The coverage of one band at one hour: the path from the home station to
// every point of a grid over the globe, and the two ways it is written as
// text, CSV and JSON.
#pragma once

#include "engine/hour.h"
#include "engine/prediction.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvela::area {

// A point of the grid, in whole degrees: latitude positive north, longitude
// positive WEST, as everywhere in Orvela.
struct GridPoint {
    int LatDeg = 0;
    int LonDeg = 0;
};

// Latitudes -90 to 90 from south to north; within each, longitudes from -180
// up to but not including 180, at whole multiples of the step, which divides
// 180: (180 / step + 1) x (360 / step) points.
std::vector<GridPoint> GridPoints(int stepDeg);

struct Coverage {
    int StepDeg = 0;
    std::vector<GridPoint> Points;
    std::vector<BandResult> Results; // one per point, in the same order
};

// The path from the home station of `in` to every grid point, at `utcHour`
// for `band` (1..15), each as the signal-level table shows it. The points
// are shared over `threads` threads (0: one per core). Only the remote point
// of `in` changes from point to point.
//
// With `cancel`, the computation is given up once *cancel turns true: no
// further point is started, those under way finish, and Cancelled is
// thrown once every thread has stopped. A newer request can thus replace
// one under way.
struct Cancelled {};
Coverage ComputeCoverage(const RunInput& in, int utcHour, int band, int stepDeg, unsigned threads,
                         const std::atomic<bool>* cancel = nullptr);

// The same band at every hour of the day: day[h] equals
// ComputeCoverage(in, h, band, stepDeg, threads). Each point's path is
// worked out once for the 24 hours. `cancel` as for ComputeCoverage.
std::vector<Coverage> ComputeCoverageDay(const RunInput& in, int band, int stepDeg, unsigned threads,
                                         const std::atomic<bool>* cancel = nullptr);

// What a map shows of one grid point's path, in 8 bytes: a day of the
// 1-degree grid holds 1.5 million of them.
struct CellSummary {
    std::int16_t LevelDb = 0;
    char Letter = 0;
    std::uint8_t Hops = 0;
    char Marker = ' ';
    bool HasPath = false;
    bool Below = false; // under the receiver's sensitivity (BelowSensitivity)
};

// A whole day of one band over the grid in that form: hour h's cells are
// Cells[h * Points.size() + i], point i as in GridPoints(StepDeg).
struct CoverageDaySummary {
    int Band = 0;
    int StepDeg = 0;
    std::vector<GridPoint> Points;
    std::vector<CellSummary> Cells;
    // The hours computed: all of them but in a summary of one hour alone,
    // whose other hours' cells have no path.
    std::array<bool, 24> Known{};

    const CellSummary& At(int utcHour, std::size_t point) const
    {
        return Cells[static_cast<std::size_t>(utcHour) * Points.size() + point];
    }
};

// ComputeCoverageDay's result, summarised cell by cell as it is computed,
// so that the texts of the whole day are never held at once.
CoverageDaySummary ComputeCoverageDaySummary(const RunInput& in, int band, int stepDeg, unsigned threads,
                                             const std::atomic<bool>* cancel = nullptr);
// The same form for one hour alone (ComputeCoverage), the quickest picture.
CoverageDaySummary ComputeCoverageHourSummary(const RunInput& in, int utcHour, int band, int stepDeg, unsigned threads,
                                              const std::atomic<bool>* cancel = nullptr);
CellSummary Summarise(const BandResult& r);

// The header lat_deg,lon_deg,text,level_db,letter,hops,marker and one line
// per point, LF line ends. A text that ends in a blank is quoted; a point
// without a path has empty fields after its position, a path without a
// marker an empty marker. With the reason why no point has a path, a last
// line "# " and the reason.
std::string CoverageCsv(const Coverage& c, const std::string& emptyReason = {});

// What the JSON names besides the points.
struct CoverageHeader {
    ld HomeLatDeg = 0;
    ld HomeLonDeg = 0; // positive west
    std::string Utc;   // YYYY-MM-DDTHH:MM:SSZ
    ld BandMhz = 0;    // written whole when it is: 14, 7.1
    // The solar flux the coverage was computed with and where it came from,
    // written as "flux" {"sfu", "source", "issued"} when the source is named.
    double FluxSfu = 0;
    std::string FluxSource; // "typed", "outlook", ...; empty: no "flux" member
    std::string FluxIssued; // YYYY-MM-DD; empty: null
};

// {"home": {"lat_deg", "lon_deg"}, "utc", "band_mhz", "step_deg", "points":
// [{"lat_deg", "lon_deg", "text", "level_db", "letter", "hops", "marker"}]},
// ending in a line break. A point without a path has an empty text and
// nulls; a path without a marker has the marker "". With the reason why no
// point has a path, "empty_reason" before "points" says it.
std::string CoverageJson(const CoverageHeader& header, const Coverage& c, const std::string& emptyReason = {});

// The whole day (ComputeCoverageDay) in the same two forms, each line or
// point led by its utc_hour, 0 to 23, the hours in turn: the CSV's header
// is utc_hour,lat_deg,...,marker and each point's object begins with
// "utc_hour". Hour h's lines are those of CoverageCsv(day[h]) after it.
// The hours whose map has no path at all have their reason in
// `emptyReasons`: the CSV ends with a line "# " + "3h UTC: " and the reason
// for each, the JSON has "empty_hours" [{"utc_hour", "reason"}] before
// "points".
std::string CoverageDayCsv(const std::vector<Coverage>& day,
                           const std::array<std::string, HoursPerDay>& emptyReasons = {});
std::string CoverageDayJson(const CoverageHeader& header, const std::vector<Coverage>& day,
                            const std::array<std::string, HoursPerDay>& emptyReasons = {});

// True for a path whose level is under the receiver's sensitivity: the
// table's red cell, marked 's'.
bool BelowSensitivity(const BandResult& r);

} // namespace orvela::area
