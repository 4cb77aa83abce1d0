#include "station_display.h"

#include <gtest/gtest.h>

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
        {48.85L, "48", "51", "0"},          // no binary residue in the seconds
        {48.85, "48", "51", "0"},           // nor from a double
        {-0.5L, "-0", "30", "0"},           // the sign stays with the degrees
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
        {1.9999999999999999L / 60, "0", "2", "0"},    // minutes carry alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.value));
        const Dms d = SplitDMS(c.value);
        EXPECT_EQ(FormatGeneral(d.Degrees), c.deg);
        EXPECT_EQ(FormatGeneral(d.Minutes), c.min);
        EXPECT_EQ(FormatGeneral(d.Seconds), c.sec);
    }
}

} // namespace
} // namespace orvela
