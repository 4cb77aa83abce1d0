// The remote point of the prediction as the main window shows it: the whole
// degrees of the spin edits DESTLong (positive west) and DESTLat (positive
// north), the hemisphere each label beside them names, and the marker CC
// on the map.
#pragma once

#include <QPoint>

class QLabel;
class QSpinBox;
class QWidget;

namespace orvela::app {

class RemotePoint {
public:
    // The marker is a square drawn around the point it marks: its corner
    // lies this many pixels up and left of the point.
    static constexpr int MarkerOffset = 4;

    RemotePoint(QSpinBox& lonWestDeg, QSpinBox& lat, QLabel& lonSide, QLabel& latSide, QWidget& marker);

    // A spin edit's value has changed, typed, spun or set: its label names
    // the hemisphere, and the marker moves across (longitude) or up and
    // down (latitude) to it.
    void LongitudeChanged();
    void LatitudeChanged();

    // Sets both spin edits, each change running its own handler at once,
    // then puts the marker around a pixel of the map, which may lie between
    // the whole degrees (a click, a locator's centre).
    void MoveTo(int lonWestDeg, int latDeg, QPoint markerPixel);

    // The marker around the point the spin edits hold.
    void PlaceMarker();

    // The map pixel of a point in degrees.
    static QPoint PixelOf(double lonWestDeg, double latDeg);

private:
    // Where the marker's corner goes to mark a pixel of the map.
    static QPoint MarkerCorner(QPoint pixel);

    QSpinBox& lonWestDeg_;
    QSpinBox& lat_;
    QLabel& lonSide_;
    QLabel& latSide_;
    QWidget& marker_;
};

} // namespace orvela::app
