#include "engine/bands.h"
#include "engine/report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using orvela::CellReport;
using orvela::DisplayFormat;

const std::string Hops = " (maximum distance covered by a single hop: 4000km)";
const std::string Level = "- Signal level in dB above rated receiver sensitivity : ";
const std::string Multipath = "- Propagation via E or F-Layer or more is possible .\r\n"
                              "- Relative receive levels are within 3dB.\r\n"
                              "- Severe multipath distortion (QSB or fading) may occur.";
const std::string Weak = "- Signal level is below the rated receiver sensitivity.\r\n- May be masked by noise.";
const std::string Screened = "- Frequency is below the E-layer MUF.\r\n"
                             "- Propagation via the F-layer mode may be cut off\r\n"
                             "- Propagation via the E-layer mode or mixed modes may exist.";

TEST(CellReport, ReadsNumberLetterHopsAndMarker)
{
    const struct {
        int Display;
        int Row;
        const char* Text;
        std::string Message;
    } cases[] = {
        {1, 3, "23j2m",
         Level + "23dB\r\n- All ray hops are in daytime\r\n- Number of ray hops : 2" + Hops + "\r\n" + Multipath +
             "\r\n- S-meter reading : S5"}, // -100 dBm
        {1, 14, "-5n1s",
         Level + "-5dB\r\n- All ray hops are in nighttime\r\n- Number of ray hops : 1" + Hops + "\r\n" + Weak +
             "\r\n- S-meter reading : S0"}, // -128 dBm
        {1, 0, "12o3 ", Level + "12dB\r\n\r\n- Number of ray hops : 3" + Hops + "\r\n- S-meter reading : S3"},
        {2, 7, "7x4 ",
         "- Takeoff angle in degrees : 7\u00B0\r\n- Some ray hops in daytime, others in nighttime\r\n"
         "- Number of ray hops : 4" +
             Hops + "\r\n"},
        {3, 2, "15j2 ",
         "- Path delay in milliseconds : 15ms\r\n- All ray hops are in daytime\r\n- Number of ray hops : 2" + Hops +
             "\r\n"},
        {4, 14, "31j3e",
         "- Best frequencies.\r\n" + Level + "31dB\r\n- All ray hops are in daytime\r\n- Number of ray hops : 3" +
             Hops + "\r\n" + Screened + "\r\n- S-meter reading : S6"},
        // Two-digit hop counts: the letter stays a letter and the count reads whole.
        {1, 5, "12x12s",
         Level + "12dB\r\n- Some ray hops in daytime, others in nighttime\r\n- Number of ray hops : 12" + Hops +
             "\r\n" + Weak + "\r\n- S-meter reading : S3"},
        {2, 5, "-3n27 ",
         "- Takeoff angle in degrees : -3\u00B0\r\n- All ray hops are in nighttime\r\n"
         "- Number of ray hops : 27" +
             Hops + "\r\n"},
        {9, 5, "12j1 ", ""}, // unknown format: an empty message
    };
    for (const auto& c : cases) {
        const auto message = CellReport(static_cast<DisplayFormat>(c.Display), 5, c.Row, c.Text);
        ASSERT_TRUE(message.has_value()) << c.Text;
        EXPECT_EQ(*message, c.Message) << c.Text;
    }
}

// The HF convention: S9 is -73 dBm, 6 dB an S-unit, the nearest unit up to
// S9, whole decibels over it, S0 below S1.
TEST(SMeter, ReadsTheLevelOnTheHfConvention)
{
    const struct {
        long double Dbm;
        const char* Reading;
    } cases[] = {
        {-73, "S9"},    {-63, "S9+10 dB"}, {-72.6L, "S9"},  {-72.4L, "S9+1 dB"}, {-83, "S7"},       {-76, "S9"},
        {-76.1L, "S8"}, {-121, "S1"},      {-124.1L, "S0"}, {-160, "S0"},        {-20, "S9+53 dB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(orvela::SMeterReading(c.Dbm), c.Reading) << static_cast<double>(c.Dbm);
    }
}

TEST(CellReport, CellsWithoutAResultAreIgnored)
{
    EXPECT_FALSE(CellReport(DisplayFormat::SignalLevel, 0, 3, "30 Mhz")); // label column
    EXPECT_FALSE(CellReport(DisplayFormat::SignalLevel, 5, 15, "4h"));    // hour, local hour, MUF, elevation rows
    EXPECT_FALSE(CellReport(DisplayFormat::SignalLevel, 5, 18, "12.5"));
    EXPECT_FALSE(CellReport(DisplayFormat::BestFrequency, 5, 13, "14")); // best frequency row
    EXPECT_FALSE(CellReport(DisplayFormat::SignalLevel, 5, 3, ""));      // empty cell
    EXPECT_TRUE(CellReport(DisplayFormat::SignalLevel, 5, 13, "14j1 ")); // row 13 is a band in the other formats
}

} // namespace
