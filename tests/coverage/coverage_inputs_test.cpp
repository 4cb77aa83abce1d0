// A coverage is asked again when, and only when, what its paths depend on
// changes.
#include "coverage/coverage_inputs.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvela::area {
namespace {

TEST(CoverageInputs, DifferOnlyWhereThePathsDo)
{
    const RunInput paris = orvela_test::PathInput(orvela_test::Paris, orvela_test::NewYork);
    struct Change {
        const char* What;
        std::function<void(RunInput&)> Make;
        bool Differs;
    };
    const Change changes[] = {
        {"home latitude", [](RunInput& in) { in.Station.Latitude += 1; }, true},
        {"home longitude", [](RunInput& in) { in.Station.Longitude -= 1; }, true},
        {"power", [](RunInput& in) { in.Station.Power += 1; }, true},
        {"long path", [](RunInput& in) { in.Station.Path = !in.Station.Path; }, true},
        {"antenna", [](RunInput& in) { in.Station.GainTable = Antenna::Yagi; }, true},
        {"minimum angle", [](RunInput& in) { in.Station.MinAngle += 1; }, true},
        {"flux", [](RunInput& in) { in.Flux += 1; }, true},
        {"date", [](RunInput& in) { in.Day += 1; }, true},
        {"local date", [](RunInput& in) { in.LocalDate.Year += 1; }, true},
        {"bands", [](RunInput& in) { in.Bands = BandsOf(BandSet::Amateur); }, true},
        // Each grid point and hour sets these itself, or they only label the table.
        {"remote point",
         [](RunInput& in) {
             in.RemoteLatDeg += 10;
             in.RemoteLonWestDeg -= 10;
         },
         false},
        {"hour", [](RunInput& in) { in.UtcHour = (in.UtcHour + 5) % 24; }, false},
        {"call sign", [](RunInput& in) { in.Station.CallSign = "F6XYZ"; }, false},
        {"display", [](RunInput& in) { in.Station.Display = DisplayFormat::Delay; }, false},
        {"remote label", [](RunInput& in) { in.RemoteLabel = "Remote station"; }, false},
        {"caption colour", [](RunInput& in) { in.CaptionColor = 0x123456; }, false},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.What);
        RunInput changed = paris;
        c.Make(changed);
        EXPECT_EQ(CoverageInputs(changed) != CoverageInputs(paris), c.Differs);
    }
}

} // namespace
} // namespace orvela::area
