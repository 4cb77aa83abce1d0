// The main window's clock: the UTC time its panel shows, and what a tick
// brings up to date in a window left open, the table when the UTC hour
// turns and the day/night map every few minutes.
#pragma once

#include <QString>

#include <ctime>

namespace orvela::app {

// "UTC : hh:mm".
QString ClockText(std::time_t now);

// Whether the table, last computed for the UTC hour `tableHour`, is due
// again at `now`: a new hour moves its highlighted column, the LOC/ZEN rows
// and the strips. A clock set back counts as due too.
bool TableDue(std::time_t now, int tableHour);

// Whether the map, last composed for `mapMoment` (-1: never), is due again
// at `now`: its terminator and sun move a degree every four minutes. A
// clock set back counts as due too.
bool MapDue(std::time_t now, std::time_t mapMoment, int refreshSeconds);

} // namespace orvela::app
