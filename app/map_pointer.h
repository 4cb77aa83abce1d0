// The mouse over the world map. The markers lie on the map, so the mouse
// over them is over the map: the map and the markers report it alike, in
// the map's own pixels.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <initializer_list>

class QWidget;

namespace orvela::app {

class MapPointer : public QObject {
    Q_OBJECT
public:
    // Follows the mouse over `map` and the `markers` on it.
    MapPointer(QWidget& map, std::initializer_list<QWidget*> markers, QObject* parent);

signals:
    // A press of the left button, or the second press of a double click.
    // The right button is left to the map's menu: it picks nothing.
    void Pressed(QPoint pixel);
    // Any move, buttons held or not, also beyond the map while a press
    // holds the mouse.
    void Moved(QPoint pixel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& map_;
};

// The coordinates under the mouse in words, for the label over the map:
// "Longitude 101° East - Latitude 50° South".
QString CoordinatesText(QPoint pixel);

} // namespace orvela::app
