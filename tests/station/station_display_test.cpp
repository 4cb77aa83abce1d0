#include "station/station_display.h"

#include <gtest/gtest.h>

#include <utility>

namespace orvela {
namespace {

TEST(StationDisplay, DegreesMinutesSeconds)
{
    struct Case {
        long double value;
        const char *deg, *min, *sec;
    };
    const Case cases[] = {
        {48.5125L, "48", "30", "45"},
        {-2.25L, "-2", "15", "0"},
        {48.85L, "48", "51", "0"}, // no binary residue in the seconds
        {48.85, "48", "51", "0"},  // nor from a double
        {-0.5L, "-0", "30", "0"},  // the sign stays with the degrees
        {12.3456789L, "12", "20", "44.44404"},
        {0, "0", "0", "0"},
        // Seconds that round to sixty carry through the minutes into the
        // degrees, away from zero.
        {2.9999999999999996, "3", "0", "0"},
        {48.9999999999999, "49", "0", "0"},
        {-2.9999999999999996, "-3", "0", "0"},
        {-0.99999999999999999L, "-1", "0", "0"},
        {0.99999999999999999L, "1", "0", "0"},
        {12.99999999999L, "12", "59", "59.999999964"}, // short of the rounding
        {1.9999999999999999L / 60, "0", "2", "0"},     // minutes carry alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        const Dms d = SplitDMS(c.value);
        EXPECT_EQ(FormatGeneral(d.Degrees), c.deg);
        EXPECT_EQ(FormatGeneral(d.Minutes), c.min);
        EXPECT_EQ(FormatGeneral(d.Seconds), c.sec);
    }
}

TEST(StationDisplay, PowerInWatts)
{
    const std::pair<int, const char*> cases[] = {
        {5, "3.2 W"},    {6, "4 W"},      {10, "10 W"},      {20, "100 W"},     {29, "794 W"},
        {30, "1 kW"},    {31, "1.3 kW"},  {40, "10 kW"},     {60, "1 MW"},      {100, "10 GW"},
        {149, "794 TW"}, {150, "1e15 W"}, {155, "3.2e15 W"}, {2500, "1e250 W"}, {0, "1 W"},
    };
    for (const auto& [dBW, watts] : cases) {
        EXPECT_EQ(PowerInWatts(dBW), watts) << dBW;
    }
}

} // namespace
} // namespace orvela
