#include "app/map_pointer.h"

#include "map/map_coordinates.h"

#include <QMouseEvent>
#include <QWidget>

namespace orvela::app {

MapPointer::MapPointer(QWidget& map, std::initializer_list<QWidget*> markers, QObject* parent)
    : QObject(parent)
    , map_(map)
{
    map.setMouseTracking(true);
    map.installEventFilter(this);
    for (QWidget* w : markers) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool MapPointer::eventFilter(QObject* watched, QEvent* event)
{
    const auto onMap = [this, watched](const QMouseEvent* mouse) {
        const QPoint at = mouse->position().toPoint();
        return watched == &map_ ? at : map_.mapFromGlobal(static_cast<QWidget*>(watched)->mapToGlobal(at));
    };
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            emit Pressed(onMap(mouse));
            return true;
        }
    }
    if (event->type() == QEvent::MouseMove) {
        emit Moved(onMap(static_cast<QMouseEvent*>(event)));
    }
    return QObject::eventFilter(watched, event);
}

QString CoordinatesText(QPoint pixel)
{
    const int lonWestDeg = PixelToLongitude(pixel.x());
    const int lat = PixelToLatitude(pixel.y());
    QString text = QStringLiteral("Longitude ");
    text += lonWestDeg > 0 ? QString::number(lonWestDeg) + QStringLiteral("\u00B0 West")
                           : QString::number(-lonWestDeg) + QStringLiteral("\u00B0 East");
    text += lat > 0 ? QStringLiteral(" - Latitude ") + QString::number(lat) + QStringLiteral("\u00B0 North")
                    : QStringLiteral(" - Latitude ") + QString::number(-lat) + QStringLiteral("\u00B0 South");
    return text;
}

} // namespace orvela::app
