#include "app/remote_point.h"

#include "map/map_coordinates.h"

#include <QLabel>
#include <QSpinBox>

namespace orvela::app {

RemotePoint::RemotePoint(QSpinBox& lonWestDeg, QSpinBox& lat, QLabel& lonSide, QLabel& latSide, QWidget& marker)
    : lonWestDeg_(lonWestDeg)
    , lat_(lat)
    , lonSide_(lonSide)
    , latSide_(latSide)
    , marker_(marker)
{
}

QPoint RemotePoint::PixelOf(double lonWestDeg, double latDeg)
{
    return {MarkerLeft(lonWestDeg), MarkerTop(latDeg)};
}

QPoint RemotePoint::MarkerCorner(QPoint pixel)
{
    return pixel - QPoint(MarkerOffset, MarkerOffset);
}

void RemotePoint::LongitudeChanged()
{
    const int v = lonWestDeg_.value();
    lonSide_.setText(v > 0 ? QStringLiteral("degrees West") : v < 0 ? QStringLiteral("degrees East") : QString());
    marker_.move(MarkerCorner(PixelOf(v, 0)).x(), marker_.y());
}

void RemotePoint::LatitudeChanged()
{
    const int v = lat_.value();
    latSide_.setText(v > 0 ? QStringLiteral("degrees North") : v < 0 ? QStringLiteral("degrees South") : QString());
    marker_.move(marker_.x(), MarkerCorner(PixelOf(0, v)).y());
}

void RemotePoint::MoveTo(int lonWestDeg, int latDeg, QPoint markerPixel)
{
    lonWestDeg_.setValue(lonWestDeg);
    lat_.setValue(latDeg);
    marker_.move(MarkerCorner(markerPixel));
}

void RemotePoint::PlaceMarker()
{
    marker_.move(MarkerCorner(PixelOf(lonWestDeg_.value(), lat_.value())));
}

} // namespace orvela::app
