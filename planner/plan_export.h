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

// Heading lines of two fields each, as the table's own CSV file has them
// (station, its position, path, date, band, solar flux, power, lowest
// take-off angle, what "open" means), a blank line, then the column names
// entry,kind,name,prefix,continent,cq,itu,lat_deg,lon_west_deg,distance_km,bearing_deg,best_db,best_hour,00,...,23
// and one line per row of `rows` (indices into the plan's rows), LF line
// ends. An hour's field is the number of the cell shown, in dB above the
// receiver's sensitivity as the table writes it ("-3" below it), empty
// without a mode; for all bands the band before it, "20 m 12". An
// unresolved entry has the reason in the name field and no further fields.
std::string PlanCsv(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption);

// One object: "station", "home" {"lat_deg","lon_west_deg"}, "date",
// "band", "flux", "power_dbw", "min_angle_deg", "long_path", and
// "targets": one object per row of `rows` with "entry", "kind", "entity"
// ({"name","prefix","cq","itu","continent"}, null for a locator),
// "lat_deg", "lon_west_deg", "distance_km", "bearing_deg", "best" ({"hour",
// "level_db"} or null) and "hours": 24 objects {"hour","class","band",
// "level_db","text"}, "class" being "empty", "below" or "open" and "band"
// null for an empty cell; an unresolved entry has "entry", "kind" and
// "problem" alone. LF at the end.
std::string PlanJson(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption);

// The plan as a chart for a terminal: a caption line (station, position,
// date, band, flux, path), a legend line, a line of the hours, then one line
// per row of `rows`: its name (cut to fit), prefix, distance and bearing,
// and one character per UTC hour. For one band an open hour is its level's
// class (1: 0 to 19 dB, 2: 20 to 39, 3: 40 to 59, 4: 60 to 79, 5: 80 dB and
// more); for all bands it is the band shown (8, 6, 4, 3, 2 for 80 to 20 m,
// 7 for 17 m, 5 for 15 m, 1 for 12 m, 0 for 10 m). '-' is below the
// sensitivity, '.' no mode. An unresolved entry shows its reason.
std::string PlanChart(const Plan& plan, const std::vector<std::size_t>& rows, const PlanCaption& caption);

// The chart's character of a cell.
char ChartCharacter(const Plan& plan, const PlanCell& cell);

} // namespace orvela::planner
