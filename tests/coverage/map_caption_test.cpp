// The caption of a coverage map, as orvela-area draws it on its maps and the
// coverage window on the picture it saves.
#include "coverage/map_caption.h"

#include <gtest/gtest.h>

namespace orvela::area {
namespace {

// The caption names what the colours depend on: the band and moment, the
// flux and home, the power and the antenna; the call sign where one is known.
TEST(MapCaption, NamesTheMomentTheHomeThePowerAndTheAntenna)
{
    MapCaption c;
    c.Band = {14, {}};
    c.Date = {2026, 6, 21};
    c.Hour = 18;
    c.Minute = 30;
    c.Flux = 122.04L;
    c.HomeLatDeg = 48.85L;
    c.HomeLonWestDeg = -2.35L;
    c.PowerDbw = 20;
    c.GainTable = Antenna::Yagi;
    const std::vector<std::string> expected = {"14 MHz, 2026-06-21 18:30 UTC", "Solar flux 122.0, home 48.85N 2.35E",
                                               "Power 20 dBW, 3-element Yagi"};
    EXPECT_EQ(CaptionLines(c), expected);
    c.GainTable = Antenna::Isotropic;
    c.LongPath = true;
    EXPECT_EQ(CaptionLines(c)[2], "Power 20 dBW, isotropic antenna, long path");
    c.GainTable = Antenna::Dipole;
    c.PowerDbw = 100;
    EXPECT_EQ(CaptionLines(c)[2], "Power 100 dBW, simple dipole, long path");

    // An amateur band, a station south and west, its call sign, one o'clock.
    c.Band = {14.1L, "20 m"};
    c.Date = {2027, 1, 2};
    c.Hour = 1;
    c.Minute = 0;
    c.HomeLatDeg = -33.87L;
    c.HomeLonWestDeg = 70.65L;
    c.CallSign = "CE3ABC";
    EXPECT_EQ(CaptionLines(c)[0], "20 m (14.1 MHz), 2027-01-02 01:00 UTC");
    EXPECT_EQ(CaptionLines(c)[1], "Solar flux 122.0, home 33.87S 70.65W (CE3ABC)");
}

} // namespace
// A map without a path says why under the three lines, broken between
// words into lines the picture can hold.
TEST(CoverageCaption, AnEmptyMapSaysWhyBelowBrokenBetweenWords)
{
    MapCaption c;
    c.Band = {14, {}};
    c.EmptyReason = "No mode reaches any point of the map: long paths are beyond the model at 100 dBW. It would take "
                    "112 dBW for a first point: the strongest path, to 40S 170W with 27 hops, stays 11 dB under the "
                    "receiver's noise floor.";
    const std::vector<std::string> lines = CaptionLines(c);
    ASSERT_GT(lines.size(), 4u);
    std::string words;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), CaptionNoteChars) << lines[i];
        words += (i > 3 ? " " : "") + lines[i];
    }
    EXPECT_EQ(words, c.EmptyReason);
    c.EmptyReason.clear();
    EXPECT_EQ(CaptionLines(c).size(), 3u);
}

} // namespace orvela::area
