// Number and date texts as the table and the header strips write them.
#pragma once

#include "common/civil_time.h"
#include "engine/model.h"

#include <string>

namespace orvela {

// Fixed-point text with `decimals` digits after a "." (0 writes no point).
// The value is first taken to 18 significant decimal digits, then rounded
// half away from zero at the last printed digit, so 73.35 held as
// 73.3499999... prints "73.4". A negative value that rounds to zero keeps
// its sign ("-0"); zero itself prints without one. Independent of the locale.
std::string FormatFixed(ld value, int decimals);

// The value rounded to a whole number as FormatFixed writes it, its digits
// grouped in threes by commas, as English prose writes a distance:
// "30,318". Independent of the locale.
std::string FormatThousands(ld value);

// "dd mmmm yyyy", English month names: "05 December 2026".
std::string FormatLongDate(const CivilDate& d);

} // namespace orvela
