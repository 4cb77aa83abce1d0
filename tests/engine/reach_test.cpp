#include "engine/reach.h"
#include "tests/engine/run_inputs.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvela;

using orvela_test::Paris;
using orvela_test::PathInput;
using orvela_test::Predict;

bool Fills(const RunInput& in)
{
    return HasResultCell(Predict(in));
}

// The model examined again must agree with the table it filled: a reason
// for every run that fills no cell, and none for a run that fills one,
// over paths short and long, in every display format, with the antenna,
// angle, power and flux turning over.
TEST(EmptyRunReason, ExactlyForTheRunsThatFillNoCell)
{
    int empty = 0;
    int filled = 0;
    for (const orvela_test::NamedInput& c : orvela_test::VariedInputs()) {
        SCOPED_TRACE(c.What);
        const Prediction p = Predict(c.In);
        const std::string why = EmptyRunReason(c.In);
        EXPECT_EQ(why.empty(), HasResultCell(p)) << why;
        const Reach reach = ReachOf(c.In, p);
        EXPECT_EQ(reach.Reaches, HasResultCell(p));
        EXPECT_EQ(reach.Reason, why);
        ++(why.empty() ? filled : empty);
    }
    EXPECT_GT(empty, 10);
    EXPECT_GT(filled, 10);
}

// Paris to Tokyo the long way round, the path of the first complaint.
TEST(EmptyRunReason, TheLongPathToTokyo)
{
    RunInput in = PathInput(Paris.Lat, Paris.LonWestDeg, 35.68L, -139.69L);
    in.Station.GainTable = Antenna::Isotropic;
    in.Station.Path = true;
    EXPECT_EQ(EmptyRunReason(in), "No mode reaches the receiver on this 30,317 km path: the long path is beyond the "
                                  "model at 20 dBW. It would take 87 dBW for a first cell: its strongest mode, 14 "
                                  "hops on 6 MHz at 17h UTC, stays 67 dB under the receiver's noise floor.");
}

// Each cause the reason names, and what it claims, checked with the table:
// the power it says would fill a first cell does and one dBW less does not,
// and the setting it blames, set back alone (or all of them together),
// fills one.
TEST(EmptyRunReason, NamesTheCauseAndThePowerThatWouldReach)
{
    enum class Fix { None, Angle, Antenna, Power, All };
    struct Case {
        const char* What;
        ld RemoteLat, RemoteLonWestDeg;
        bool LongPath;
        int MinAngle;
        Antenna Gain;
        int Power;
        const char* Cause;
        Fix Blames;
    };
    const Case cases[] = {
        {"near the antipode", -48, 178, false, 10, Antenna::Isotropic, 20,
         "a path this long is beyond the model at 20 dBW", Fix::None},
        {"a steep take-off angle", 40, 74, false, 60, Antenna::Isotropic, 20,
         "a take-off angle of at least 60\u00B0 splits it into 17 hops, where 10\u00B0 would take 3 hops and reach",
         Fix::Angle},
        {"a dipole at 0 degrees", -75, -170, false, 0, Antenna::Dipole, 20,
         "the simple dipole radiates too little at its take-off angles, where an isotropic antenna would reach",
         Fix::Antenna},
        {"5 dBW", -35, -150, false, 10, Antenna::Isotropic, 5, "5 dBW is too little for it", Fix::Power},
        {"angle, antenna and power together", -80, -170, false, 20, Antenna::Dipole, 10,
         "a take-off angle of at least 20\u00B0, the simple dipole and 10 dBW together keep it out, where 10\u00B0, "
         "an isotropic antenna and 20 dBW would reach",
         Fix::All},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        RunInput in = PathInput(Paris.Lat, Paris.LonWestDeg, c.RemoteLat, c.RemoteLonWestDeg);
        in.Station.Path = c.LongPath;
        in.Station.MinAngle = c.MinAngle;
        in.Station.GainTable = c.Gain;
        in.Station.Power = c.Power;
        ASSERT_FALSE(Fills(in));
        const std::string why = EmptyRunReason(in);
        EXPECT_EQ(why.rfind("No mode reaches the receiver on this ", 0), 0u) << why;
        EXPECT_NE(why.find(" km path: " + std::string(c.Cause) + ". It would take "), std::string::npos) << why;

        const std::string::size_type at = why.find("It would take ");
        ASSERT_NE(at, std::string::npos) << why;
        const int power = std::stoi(why.substr(at + 14));
        RunInput more = in;
        more.Station.Power = power;
        EXPECT_TRUE(Fills(more)) << power << " dBW";
        more.Station.Power = power - 1;
        EXPECT_FALSE(Fills(more)) << power - 1 << " dBW";

        RunInput usual = in;
        if (c.Blames == Fix::Angle || c.Blames == Fix::All) {
            usual.Station.MinAngle = DefaultMinAngle;
        }
        if (c.Blames == Fix::Antenna || c.Blames == Fix::All) {
            usual.Station.GainTable = Antenna::Isotropic;
        }
        if (c.Blames == Fix::Power || c.Blames == Fix::All) {
            usual.Station.Power = DefaultPower;
        }
        EXPECT_EQ(Fills(usual), c.Blames != Fix::None);
    }
}

// On a polar path in the December night the MUF never climbs to the
// 80 m row of the amateur bands: no power helps, and the reason says so.
TEST(EmptyRunReason, AMufBelowEveryRow)
{
    RunInput in = PathInput(80, 0, 85, -60);
    in.Station.GainTable = Antenna::Isotropic;
    in.Bands = BandsOf(BandSet::Amateur);
    EXPECT_EQ(EmptyRunReason(in), "No mode reaches the receiver on this 962 km path: every row, from 80 m (3.6 MHz) "
                                  "up, lies above 85% of its MUF (which peaks at 3.7 MHz), the most the model works "
                                  "a path on.");
    in.Station.Power = 2500;
    EXPECT_FALSE(Fills(in));
    in.Bands = BandsOf(BandSet::Fixed); // 2 MHz is low enough
    EXPECT_TRUE(Fills(in));
}

// At a lowest take-off angle of 0 degrees the model gives a short path's
// steep hop a MUF under 2 MHz; the reason says that 10 degrees would not.
TEST(EmptyRunReason, AMufLoweredByATakeOffAngleOfNothing)
{
    RunInput in = PathInput(Paris.Lat, Paris.LonWestDeg, 50, -6);
    in.Station.GainTable = Antenna::Isotropic;
    in.Station.MinAngle = 0;
    EXPECT_EQ(EmptyRunReason(in), "No mode reaches the receiver on this 293 km path: every row, from 2 MHz up, lies "
                                  "above 85% of its MUF (which peaks at 2.2 MHz), the most the model works a path on. "
                                  "With the take-off angle at 10\u00B0 instead of 0\u00B0 its MUF would peak at 6.4 "
                                  "MHz, and cells would show.");
    in.Station.MinAngle = DefaultMinAngle;
    EXPECT_TRUE(Fills(in));
}

TEST(EmptyRunReason, ADisplayFormatOutsideTheFourShowsNothing)
{
    RunInput in = PathInput(Paris, orvela_test::NewYork);
    in.Station.Display = static_cast<DisplayFormat>(0);
    const Prediction p = Predict(in);
    EXPECT_EQ(ReachOf(in, p).Reason, "The table shows no cell: no display format is chosen.");
}

} // namespace
