// Local time to UTC, as the operating system's time zone has it.
#pragma once

#include <ctime>

namespace orvela {

// Days to add to the local date-time to get UTC at the given moment: the
// zone's offset plus the daylight-saving shift in force then. Positive west
// of Greenwich.
double UtcOffset(std::time_t moment);
// The same for now.
double UtcOffset();

// Minute of the day in UTC at a moment: local time plus UtcOffset.
int UtcMinuteOfDay(std::time_t moment);

} // namespace orvela
