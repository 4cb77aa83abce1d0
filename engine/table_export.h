// The prediction table as text that other programs take as it is: CSV for
// spreadsheets, and tab-separated lines for the clipboard.
#pragma once

#include "engine/prediction.h"

#include <string>

namespace orvela {

// One CSV field: quoted, quotes doubled, when it holds a comma, a double
// quote, a blank or a line break; as it is otherwise.
std::string CsvField(const std::string& s);

// The 19 table rows, 25 fields each, LF line ends. A field holding a comma,
// a double quote, a blank or a line break is quoted, quotes doubled.
std::string TableCsv(const Prediction& p);

// The two header strips, one line each with their sections separated by
// tabs, then the 19 table rows with their 25 cells separated by tabs. LF
// line ends; blanks around each text are kept.
std::string TableTabText(const Prediction& p);

} // namespace orvela
