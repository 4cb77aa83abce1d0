// The coverage window's map: the frame of the hour shown, the two stations
// and the legend. Its pointer or its keyboard cursor (the arrows, one grid
// step) names a point; a click, Return or Space picks it.
#pragma once

#include <QImage>
#include <QPointF>
#include <QStringList>
#include <QWidget>

#include <optional>

namespace orvela::app {

class CoverageMapView : public QWidget {
    Q_OBJECT
public:
    explicit CoverageMapView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {1024, 512}; }

    // The picture to show, without the stations and the legend.
    void SetFrame(const QImage& frame);
    const QImage& Frame() const { return frame_; }
    void SetStations(double homeLat, double homeLonWestDeg, double remoteLat, double remoteLonWestDeg);
    // The grid step the cursor moves by.
    void SetStep(int stepDeg);
    // Where the map lies within the widget: the largest 2:1 rectangle, centred.
    QRect MapRect() const;
    // The point of the keyboard cursor, degrees (longitude positive west).
    QPointF Cursor() const { return cursor_; }
    void SetCursor(double latDeg, double lonWestDeg);
    // The whole picture as the window shows it, stations and legend drawn,
    // and the caption's lines in the top left corner when there are any.
    QImage Render(const QStringList& caption = {}) const;

signals:
    // The pointer or the cursor is over this position (latitude, longitude
    // positive west); `fromPointer` false for the keyboard's cursor.
    void PointFocused(double latDeg, double lonWestDeg, bool fromPointer);
    // A click, Return or Space: whole degrees, truncated toward zero as a
    // click on the main map.
    void PointPicked(int latDeg, int lonWestDeg);
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Draw(QPainter& p, const QRect& map) const;
    std::optional<QPointF> Position(const QPointF& at) const;

    QImage frame_;
    double homeLat_ = 0, homeLonWestDeg_ = 0, remoteLat_ = 0, remoteLonWestDeg_ = 0;
    int step_ = 2;
    QPointF cursor_; // x: longitude west, y: latitude
};

} // namespace orvela::app
