#include "engine/prediction.h"

#include <gtest/gtest.h>

namespace {

using namespace orvela;

TEST(ResultCellText, NumberLetterHopsMarker)
{
    const struct {
        ld Number;
        std::uint8_t Flags;
        int Hops;
        const char* Text;
    } cases[] = {
        {12, DayHop, 3, "12j3 "},
        {-4, DayHop | NightHop | BelowSensitivity, 2, "-4x2s"},
        {23.4L, DayHop | Multipath, 2, "23j2m"},
        {-130 + 123, DayHop | NightHop | BelowSensitivity, 2, "-7x2s"},
        {-100 + 123, NightHop, 1, "23n1 "},
        {12, 0, 3, "12o3 "},
        {-0.4L, NightHop | BelowSensitivity, 1, "-0n1s"}, // negative, rounds to zero
        {0.4L, DayHop, 1, "0j1 "},
        {15, DayHop | BelowEMuf, 2, "15j2e"},
        // Marker precedence: below sensitivity, then multipath, then E screening.
        {5, DayHop | BelowSensitivity | Multipath | BelowEMuf, 4, "5j4s"},
        {5, DayHop | Multipath | BelowEMuf, 4, "5j4m"},
        {5, DayHop | BelowSensitivity | BelowEMuf, 4, "5j4s"},
        {12, DayHop | NightHop | BelowSensitivity, 12, "12x12s"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultCellText(c.Number, c.Flags, c.Hops), c.Text);
    }
}

TEST(Dsx, WritesTheCellOfTheDisplayFormat)
{
    Workspace ws;
    ws.SigLevel[3] = -100;
    ws.TakeOff[3] = 10.64L * DegToRad;
    ws.RayPath[3] = 7000; // km: 23.35 ms
    ws.HopFlags[3] = DayHop;
    ws.SigLevel[12] = -130;
    ws.TakeOff[12] = -2.6L * DegToRad; // a hop too long for the layer
    ws.HopFlags[12] = NightHop | BelowSensitivity;

    Prediction p;
    Dsx(p, ws, DisplayFormat::SignalLevel, 4, 2, 3); // 4 MHz at 4h: row 13, column 5
    EXPECT_EQ(p.At(5, 13).Text, "23j3 ");
    Dsx(p, ws, DisplayFormat::TakeOffAngle, 0, 15, 3); // 30 MHz at 0h: row 0, column 1
    EXPECT_EQ(p.At(1, 0).Text, "11j3 ");
    Dsx(p, ws, DisplayFormat::TakeOffAngle, 23, 1, 12); // 2 MHz at 23h: row 14, column 24
    EXPECT_EQ(p.At(24, 14).Text, "-3n12s");
    Dsx(p, ws, DisplayFormat::Delay, 7, 5, 3);
    EXPECT_EQ(p.At(8, 10).Text, "23j3 ");
    Dsx(p, ws, DisplayFormat::BestFrequency, 9, 3, 12); // best frequency format: always row 14
    EXPECT_EQ(p.At(10, 14).Text, "-7n12s");
    EXPECT_TRUE(p.At(10, 12).Text.empty());

    // No mode, or a format outside 1 to 4: nothing written.
    p.At(2, 3).Text = "kept";
    Dsx(p, ws, DisplayFormat::SignalLevel, 1, 12, 0);
    Dsx(p, ws, static_cast<DisplayFormat>(5), 1, 12, 3);
    EXPECT_EQ(p.At(2, 3).Text, "kept");
}

TEST(LabelGrid, RowLabelsAndStatusTexts)
{
    Prediction p;
    Settings st;
    st.Display = DisplayFormat::SignalLevel;
    st.GainTable = Antenna::Yagi;
    st.Power = 250;
    LabelGrid(p, st);
    EXPECT_EQ(p.At(0, 0).Text, "30 Mhz");
    EXPECT_EQ(p.At(0, 14).Text, "2 Mhz");
    EXPECT_EQ(p.At(0, 15).Text, "UTC");
    EXPECT_EQ(p.At(0, 16).Text, "LOC");
    EXPECT_EQ(p.At(0, 17).Text, "MUF");
    EXPECT_EQ(p.At(0, 18).Text, "ZEN");
    EXPECT_EQ(p.DisplayText, "Power (dBm) above threshold");
    EXPECT_EQ(p.AntennaText, "3 elements Yagi");
    EXPECT_EQ(p.PowerText, "250 dbW");

    st.Display = DisplayFormat::BestFrequency;
    st.GainTable = Antenna::Isotropic;
    LabelGrid(p, st);
    for (int r = 0; r <= 12; ++r) {
        EXPECT_TRUE(p.At(0, r).Text.empty()) << r;
    }
    EXPECT_EQ(p.At(0, 13).Text, "FRQ");
    EXPECT_EQ(p.At(0, 14).Text, "DSC");
    EXPECT_EQ(p.DisplayText, "Best frequencies");
    EXPECT_EQ(p.AntennaText, "Isotrop antenna");

    st.Display = DisplayFormat::TakeOffAngle;
    st.GainTable = Antenna::Dipole;
    LabelGrid(p, st);
    EXPECT_EQ(p.At(0, 1).Text, "28 Mhz");
    EXPECT_EQ(p.DisplayText, "Takeoff angle (degrees)");
    EXPECT_EQ(p.AntennaText, "Simple dipole");

    // Values outside the known ranges leave the texts as they were.
    st.Display = static_cast<DisplayFormat>(7);
    st.GainTable = static_cast<Antenna>(5);
    LabelGrid(p, st);
    EXPECT_EQ(p.DisplayText, "Takeoff angle (degrees)");
    EXPECT_EQ(p.AntennaText, "Simple dipole");
}

TEST(ColorGrid, CellColoursFollowTheText)
{
    constexpr Rgb Black = 0x000000, Red = 0xFF0000, Green = 0x008000, Amber = 0xF7C551;
    Prediction p;
    p.At(1, 0).Text = "-7x2s";
    p.At(2, 0).Text = "-0n1s"; // rounds to zero but is below the threshold
    p.At(3, 0).Text = "23j2m";
    p.At(4, 13).Text = "14";
    ColorGrid(p, 0, DefaultCaptionColor);

    const struct {
        int Col, Row;
        Rgb Bg, Fg;
    } cases[] = {
        {1, 0, Red, Amber},    {2, 0, Red, Amber},   {3, 0, Green, Amber},
        {4, 13, Green, Amber}, {5, 0, Black, Black}, {24, 14, Black, Black},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(p.At(c.Col, c.Row).Bg, c.Bg) << c.Col << "," << c.Row;
        EXPECT_EQ(p.At(c.Col, c.Row).Fg, c.Fg) << c.Col << "," << c.Row;
    }
}

TEST(ColorGrid, HourRowsAndCurrentHourHighlight)
{
    constexpr Rgb Black = 0x000000, White = 0xFFFFFF, Red = 0xFF0000, Navy = 0x000080, Yellow = 0xFFFF00;
    constexpr Rgb Caption = 0x123456;
    Prediction p;
    p.At(3, 16).Bold = true; // highlighted by an earlier run
    p.At(3, 15).Fg = Black;
    ColorGrid(p, 5, Caption);

    const int now = 6; // column of 5h
    for (int c = 0; c < TableCols; ++c) {
        const bool hot = c == now;
        EXPECT_EQ(p.At(c, 15).Bg, hot ? Yellow : Navy) << c;
        EXPECT_EQ(p.At(c, 15).Fg, hot || c == 0 ? (c == 0 ? White : Black) : Yellow) << c;
        for (int r = 16; r <= 18; ++r) {
            EXPECT_EQ(p.At(c, r).Bg, hot ? Yellow : Caption) << c << "," << r;
            EXPECT_EQ(p.At(c, r).Fg, r == 17 && c != 0 ? Red : Black) << c << "," << r;
        }
        for (int r = 15; r <= 18; ++r) {
            EXPECT_EQ(p.At(c, r).Bold, hot || c == 0) << c << "," << r;
        }
    }
    for (int r = 0; r < 15; ++r) {
        EXPECT_EQ(p.At(0, r).Fg, White) << r;
        EXPECT_FALSE(p.At(0, r).Bold) << r;
    }
}

// A table for another day than today has no current hour: every hour
// column keeps the plain colours, the one highlighted before included.
TEST(ColorGrid, NoHourHighlightedLeavesEveryColumnPlain)
{
    constexpr Rgb Navy = 0x000080, Caption = 0x123456;
    Prediction p;
    ColorGrid(p, 5, Caption);
    ColorGrid(p, NoHourHighlighted, Caption);
    for (int c = 1; c < TableCols; ++c) {
        EXPECT_EQ(p.At(c, RowUtc).Bg, Navy) << c;
        for (int r = RowUtc; r <= RowZen; ++r) {
            EXPECT_FALSE(p.At(c, r).Bold) << c << "," << r;
        }
        EXPECT_EQ(p.At(c, RowLocal).Bg, Caption) << c;
    }
}

} // namespace
