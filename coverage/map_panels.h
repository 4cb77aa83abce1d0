// The two panels drawn over a coverage map, the legend and the caption, laid
// out once for every picture that shows them: orvela-area's maps (Cairo) and
// the coverage window's (Qt) draw exactly what is described here, each with
// its own fonts' measures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvela::area {

// A colour, 0xRRGGBB, and its opacity, 0 to 1.
struct Paint {
    std::uint32_t Rgb = 0;
    double Alpha = 1;
};

// A rectangle in the picture's pixels; x to the right, y down.
struct PanelRect {
    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;
};

// One line of text: where its baseline begins, its font's size in pixels
// and weight.
struct PanelText {
    double X = 0;
    double Baseline = 0;
    double Size = 0;
    bool Bold = false;
    std::string Text;
};

// A colour of the legend as its cells look over a mid-grey map: the grey,
// then the cell's colour over it, hatched as the cells below the receiver's
// sensitivity are.
struct PanelSwatch {
    PanelRect Box;
    Paint Ground;
    Paint Cell;
    bool Hatched = false;
};

// A dark panel with its swatches and its lines of text, drawn in that order.
struct MapPanel {
    PanelRect Box;
    Paint Background;
    Paint TextColour;
    std::vector<PanelSwatch> Swatches;
    std::vector<PanelText> Texts;
};

// The advance of a line of text, in pixels, in the drawing's own font of
// that size and weight.
using MeasureText = std::function<double(const std::string& text, double size, bool bold)>;

// The legend in the map's bottom left corner: its title, the classes'
// swatches and labels, strongest on top, and the line that says what no
// colour means. `left` and `bottom` are the map's edges; lengths, letters
// included, grow with `scale`.
MapPanel LegendPanel(double left, double bottom, double scale, const MeasureText& measure);

// The caption's lines (CaptionLines) in the map's top left corner, the first
// one bold and larger. `left` and `top` are the map's edges.
MapPanel CaptionPanel(double left, double top, double scale, const std::vector<std::string>& lines,
                      const MeasureText& measure);

} // namespace orvela::area
