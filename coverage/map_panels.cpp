#include "coverage/map_panels.h"

#include "coverage/level_classes.h"

#include <algorithm>

namespace orvela::area {

namespace {

// Dark and mostly opaque, readable over day and night alike.
constexpr Paint PanelBackground{0x101418, 0.72};
constexpr Paint PanelTextColour{0xFFFFFF, 1};
// The grey the swatches show their cells over.
constexpr Paint SwatchGround{0x606060, 1};

} // namespace

MapPanel LegendPanel(double left, double bottom, double scale, const MeasureText& measure)
{
    const double margin = 8 * scale;
    const double pad = 7 * scale;
    const double row = 17 * scale;
    const double swatchW = 22 * scale;
    const double swatchH = 12 * scale;
    const double size = 12 * scale;
    const auto& looks = ClassLooks();
    const int classes = static_cast<int>(looks.size());

    double width = measure(LegendTitle, size, true);
    for (const ClassLook& look : looks) {
        width = std::max(width, swatchW + 6 * scale + measure(look.Label, size, false));
    }
    width = std::max(width, measure(LegendNoPath, size, false));
    const double height = (classes + 2) * row + pad;
    const double x0 = left + margin;
    const double y0 = bottom - margin - height - pad;

    MapPanel panel{{x0, y0, width + 2 * pad, height + pad}, PanelBackground, PanelTextColour, {}, {}};
    panel.Texts.push_back({x0 + pad, y0 + pad + 11 * scale, size, true, LegendTitle});
    // Strongest on top, as on a meter.
    for (int k = classes - 1, i = 0; k >= 0; --k, ++i) {
        const bool below = static_cast<LevelClass>(k) == LevelClass::Below;
        const PanelRect box{x0 + pad, y0 + pad + (i + 1) * row, swatchW, swatchH};
        panel.Swatches.push_back({box, SwatchGround, {looks[k].Colour, below ? BelowAlpha : CellAlpha}, below});
        panel.Texts.push_back({box.X + swatchW + 6 * scale, box.Y + 10.5 * scale, size, false, looks[k].Label});
    }
    panel.Texts.push_back({x0 + pad, y0 + pad + (classes + 1) * row + 10.5 * scale, size, false, LegendNoPath});
    return panel;
}

MapPanel CaptionPanel(double left, double top, double scale, const std::vector<std::string>& lines,
                      const MeasureText& measure)
{
    const double margin = 8 * scale;
    const double pad = 6 * scale;
    const double line = 17 * scale;
    const auto sizeOf = [scale](std::size_t i) { return (i == 0 ? 14 : 12) * scale; };

    double width = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        width = std::max(width, measure(lines[i], sizeOf(i), i == 0));
    }
    const double x0 = left + margin;
    const double y0 = top + margin;
    MapPanel panel{{x0, y0, width + 2 * pad, static_cast<double>(lines.size()) * line + pad},
                   PanelBackground,
                   PanelTextColour,
                   {},
                   {}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        panel.Texts.push_back(
            {x0 + pad, y0 + pad + 12 * scale + static_cast<double>(i) * line, sizeOf(i), i == 0, lines[i]});
    }
    return panel;
}

} // namespace orvela::area
