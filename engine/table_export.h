// The prediction table as text that other programs take as it is: CSV for
// spreadsheets, and tab-separated lines for the clipboard.
#pragma once

#include "engine/prediction.h"

#include <string>

namespace orvela {

// One CSV field: quoted, quotes doubled, when it holds a comma, a double
// quote, a blank or a line break; as it is otherwise.
std::string CsvField(const std::string& s);

// Latitude positive north, longitude positive west, in unsigned degrees with
// up to four decimals and the hemisphere's letter: "48.85N", "2.35E".
std::string LatitudeName(ld lat);
std::string LongitudeName(ld lonWest);

// The 19 table rows, 25 fields each, LF line ends. A field holding a comma,
// a double quote, a blank or a line break is quoted, quotes doubled.
std::string TableCsv(const Prediction& p);

// The table as a file of its own, for a spreadsheet: heading lines that say
// what it holds, two fields each (what, then its value: the station and its
// position, the remote point, the path, its distance, bearings and delay,
// the prediction date, the solar flux, the power, the lowest take-off
// angle, the antenna, the display format and the model), a blank line, then
// the 19 table rows of TableCsv. `in` is the run that filled `p`.
std::string TableCsvFile(const RunInput& in, const Prediction& p);

// A file name for the table of the run `in` that a radio amateur reads at a
// glance, "orvela-F5ABC-to-40N74W-2026-12-10" then "." and `extension`,
// with "-long-path" before the date for the long path. It is safe on any
// file system whatever the call sign holds: only its ASCII letters and
// digits are kept, any other run of characters becomes one "-", and a call
// sign with none of them is named "station".
std::string TableFileName(const RunInput& in, const std::string& extension);

// The two header strips, one line each with their sections separated by
// tabs, then the 19 table rows with their 25 cells separated by tabs. LF
// line ends; blanks around each text are kept.
std::string TableTabText(const Prediction& p);

} // namespace orvela
