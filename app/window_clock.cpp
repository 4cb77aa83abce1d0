#include "app/window_clock.h"

#include "map/utc_offset.h"

namespace orvela::app {

QString ClockText(std::time_t now)
{
    const int minutes = UtcMinuteOfDay(now);
    return QStringLiteral("UTC : %1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

bool TableDue(std::time_t now, int tableHour)
{
    return UtcMinuteOfDay(now) / 60 != tableHour;
}

bool MapDue(std::time_t now, std::time_t mapMoment, int refreshSeconds)
{
    return mapMoment < 0 || now - mapMoment >= refreshSeconds || now < mapMoment;
}

} // namespace orvela::app
