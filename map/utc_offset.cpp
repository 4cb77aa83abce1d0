#include "utc_offset.h"

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

} // namespace orvela
