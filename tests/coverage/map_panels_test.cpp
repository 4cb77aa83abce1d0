// The legend and the caption over a coverage map, as both drawings lay
// them out.
#include "coverage/level_classes.h"
#include "coverage/map_panels.h"

#include <gtest/gtest.h>

namespace orvela::area {
namespace {

// A font whose letters are 0.55 of its size wide, bold ones a tenth wider.
double Measure(const std::string& text, double size, bool bold)
{
    return static_cast<double>(text.size()) * size * (bold ? 0.605 : 0.55);
}

// Every text lies inside the panel, right of the swatches, and each swatch
// too, whatever the scale.
void ExpectInside(const MapPanel& panel)
{
    const PanelRect& b = panel.Box;
    for (const PanelSwatch& s : panel.Swatches) {
        EXPECT_GE(s.Box.X, b.X);
        EXPECT_GE(s.Box.Y, b.Y);
        EXPECT_LE(s.Box.X + s.Box.Width, b.X + b.Width);
        EXPECT_LE(s.Box.Y + s.Box.Height, b.Y + b.Height);
    }
    for (const PanelText& t : panel.Texts) {
        SCOPED_TRACE(t.Text);
        EXPECT_GE(t.X, b.X);
        EXPECT_LE(t.X + Measure(t.Text, t.Size, t.Bold), b.X + b.Width);
        EXPECT_GE(t.Baseline - t.Size, b.Y);
        EXPECT_LE(t.Baseline, b.Y + b.Height);
    }
}

TEST(LegendPanel, ListsTheClassesStrongestFirstInsideTheBottomLeftCorner)
{
    for (const double scale : {0.8, 1.0, 2.5}) {
        SCOPED_TRACE(scale);
        const MapPanel legend = LegendPanel(30, 500, scale, Measure);
        ExpectInside(legend);
        EXPECT_DOUBLE_EQ(legend.Box.X, 30 + 8 * scale);
        EXPECT_DOUBLE_EQ(legend.Box.Y + legend.Box.Height, 500 - 8 * scale);

        const auto& looks = ClassLooks();
        ASSERT_EQ(legend.Swatches.size(), looks.size());
        ASSERT_EQ(legend.Texts.size(), looks.size() + 2);
        EXPECT_EQ(legend.Texts.front().Text, LegendTitle);
        EXPECT_TRUE(legend.Texts.front().Bold);
        EXPECT_EQ(legend.Texts.back().Text, LegendNoPath);
        for (std::size_t i = 0; i < looks.size(); ++i) {
            const std::size_t k = looks.size() - 1 - i;
            const PanelSwatch& s = legend.Swatches[i];
            const PanelText& label = legend.Texts[i + 1];
            EXPECT_EQ(s.Cell.Rgb, looks[k].Colour);
            EXPECT_EQ(label.Text, looks[k].Label);
            const bool below = static_cast<LevelClass>(k) == LevelClass::Below;
            EXPECT_EQ(s.Hatched, below);
            EXPECT_EQ(s.Cell.Alpha, below ? BelowAlpha : CellAlpha);
            // The label beside its swatch, on the swatch's row.
            EXPECT_GT(label.X, s.Box.X + s.Box.Width);
            EXPECT_GT(label.Baseline, s.Box.Y);
            EXPECT_LE(label.Baseline, s.Box.Y + s.Box.Height);
            if (i > 0) {
                EXPECT_GE(s.Box.Y, legend.Swatches[i - 1].Box.Y + legend.Swatches[i - 1].Box.Height);
            }
        }
    }
}

TEST(CaptionPanel, FitsItsWidestLineInTheTopLeftCornerTheFirstBoldAndLarger)
{
    const std::vector<std::string> lines = {"20 m (14.1 MHz), 2026-12-10 12:00 UTC",
                                            "Solar flux 122.0, home 48.85N 2.35E (F6XYZ) and a longer line",
                                            "Power 20 dBW, simple dipole"};
    for (const double scale : {0.8, 1.0, 2.5}) {
        SCOPED_TRACE(scale);
        const MapPanel caption = CaptionPanel(10, 20, scale, lines, Measure);
        ExpectInside(caption);
        EXPECT_DOUBLE_EQ(caption.Box.X, 10 + 8 * scale);
        EXPECT_DOUBLE_EQ(caption.Box.Y, 20 + 8 * scale);
        EXPECT_DOUBLE_EQ(caption.Box.Width, Measure(lines[1], 12 * scale, false) + 12 * scale);
        ASSERT_EQ(caption.Texts.size(), lines.size());
        EXPECT_TRUE(caption.Texts[0].Bold);
        EXPECT_EQ(caption.Texts[0].Size, 14 * scale);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_EQ(caption.Texts[i].Text, lines[i]);
            EXPECT_FALSE(caption.Texts[i].Bold);
            EXPECT_DOUBLE_EQ(caption.Texts[i].Baseline - caption.Texts[i - 1].Baseline, 17 * scale);
        }
    }
}

} // namespace
} // namespace orvela::area
