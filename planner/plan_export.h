// A plan written out: CSV for a spreadsheet and JSON for a program.
#pragma once

#include "planner/plan.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvela::planner {

// What names the station in a header; the plan itself holds only its position.
struct PlanCaption {
    std::string CallSign; // may be empty
};

// The header lines "# station F6XYZ 48.85 N 2.35 E", "# date 2026-12-11",
// "# band 20 m", "# flux 120", "# open: at or above the receiver's
// sensitivity", then the column names
// entry,name,prefix,continent,cq,itu,lat_deg,lon_west_deg,distance_km,bearing_deg,best_db,best_hour,00..23
// and one line per row of `rows` (indices into the plan's rows), LF line
// ends. An hour's field: for one band its level in dB (negative below the
// sensitivity), empty without a mode; for all bands the band and level,
// "20 m 12", of the cell shown. An unresolved entry has empty fields after
// its entry and name, and the reason in the name field.
std::string PlanCsv(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption);

// One object: "station", "date", "band", "flux", "long_path", and
// "targets": an array of one object per row with "entry", "kind",
// "entity" ({"name","prefix","cq","itu","continent"} or null), "lat_deg",
// "lon_west_deg", "distance_km", "bearing_deg", "best" and "hours" (24
// objects {"hour","class","band","level_db","text"}), or "problem" for an
// unresolved entry.
std::string PlanJson(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption);

} // namespace orvela::planner
