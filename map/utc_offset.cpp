#include "map/utc_offset.h"

#include <cmath>

namespace orvela {

double UtcOffset(std::time_t moment)
{
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return 0;
    }
    // tm_gmtoff is seconds east of UTC, daylight saving included.
    return -static_cast<double>(local.tm_gmtoff) / 86400.0;
}

double UtcOffset()
{
    return UtcOffset(std::time(nullptr));
}

int UtcMinuteOfDay(std::time_t moment)
{
    std::tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return 0;
    }
    const long long minutes = local.tm_hour * 60LL + local.tm_min + std::llround(UtcOffset(moment) * 1440.0);
    return static_cast<int>(((minutes % 1440) + 1440) % 1440);
}

} // namespace orvela
