// The coverage's pictures drawn with Qt: the cells blended over the
// day/night map, and the legend and caption panels as coverage/ lays them
// out.
#pragma once

#include "coverage/area_coverage.h"
#include "coverage/map_panels.h"

#include <QImage>

class QPainter;

namespace orvela::app {

// The map with each grid point's cell of the hour blended over it
// (area::BlendCells). A map handed over as the only reference to its pixels
// is blended in place.
QImage BlendCoverage(QImage map, const area::CoverageDaySummary& day, int utcHour);

// Text measured in the painter's font at a size and weight.
area::MeasureText PainterMeasure(const QPainter& p);

// Draws a panel as laid out, in the painter's font at the panel's sizes.
// Text sits on whole pixels: a baseline between two is taken down to the
// upper one.
void DrawPanel(QPainter& p, const area::MapPanel& panel);

} // namespace orvela::app
