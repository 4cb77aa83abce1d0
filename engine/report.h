// The words behind a table cell, for the "What it means..." box.
#pragma once

#include "engine/model.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvela {

// Message for the cell at (col, row) holding `text` in display format
// `display`; nothing for cells that carry no result. Lines end in CR LF.
std::optional<std::string> CellReport(DisplayFormat display, int col, int row, std::string_view text);

} // namespace orvela
