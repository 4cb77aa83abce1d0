#include "app/coverage_map_view.h"

#include "app/coverage_painting.h"
#include "coverage/map_panels.h"
#include "coverage/map_projection.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace orvela::app {

CoverageMapView::CoverageMapView(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(512, 256);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Coverage map"));
    setCursor(Qt::CrossCursor);
    // Every pixel is painted here: the window need not fill the background
    // under the view first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CoverageMapView::SetFrame(const QImage& frame)
{
    frame_ = frame;
    update();
}

void CoverageMapView::SetStations(double homeLat, double homeLonWestDeg, double remoteLat, double remoteLonWestDeg)
{
    homeLat_ = homeLat;
    homeLonWestDeg_ = homeLonWestDeg;
    remoteLat_ = remoteLat;
    remoteLonWestDeg_ = remoteLonWestDeg;
    update();
}

void CoverageMapView::SetStep(int stepDeg)
{
    step_ = stepDeg;
}

void CoverageMapView::SetCursor(double latDeg, double lonWestDeg)
{
    cursor_ = QPointF(lonWestDeg, latDeg);
    update();
}

QRect CoverageMapView::MapRect() const
{
    const int w = std::min(width(), 2 * height());
    const int h = w / 2;
    return {(width() - w) / 2, (height() - h) / 2, w, h};
}

std::optional<QPointF> CoverageMapView::Position(const QPointF& at) const
{
    const QRect r = MapRect();
    if (!r.contains(at.toPoint())) {
        return std::nullopt;
    }
    const area::MapProjection proj{r.width(), r.height()};
    return QPointF(proj.LonWestDeg(at.x() - r.left()), proj.Lat(at.y() - r.top()));
}

void CoverageMapView::Draw(QPainter& p, const QRect& map) const
{
    // The frame is opaque and covers the whole map.
    if (frame_.isNull()) {
        p.fillRect(map, Qt::black);
    } else {
        p.drawImage(map, frame_);
    }
    const area::MapProjection proj{map.width(), map.height()};
    p.setRenderHint(QPainter::Antialiasing);
    // The stations as the main map shows them: home a green disc, the remote
    // point a red square.
    const QPointF home(map.left() + proj.X(homeLonWestDeg_), map.top() + proj.Y(homeLat_));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(0x00, 0xFF, 0x00));
    p.drawEllipse(home, 5, 5);
    const QPointF remote(map.left() + proj.X(remoteLonWestDeg_), map.top() + proj.Y(remoteLat_));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 4));
    p.drawRect(QRectF(remote - QPointF(5, 5), QSizeF(10, 10)));
    p.setPen(QPen(QColor(0xFF, 0x00, 0x00), 2));
    p.drawRect(QRectF(remote - QPointF(5, 5), QSizeF(10, 10)));
    p.setRenderHint(QPainter::Antialiasing, false);
    // The legend above the map's last row of pixels.
    DrawPanel(p, area::LegendPanel(map.left(), map.bottom(), 1, PainterMeasure(p)));
}

QImage CoverageMapView::Render(const QStringList& caption) const
{
    const QRect r = MapRect();
    QImage out(r.size(), QImage::Format_RGB32);
    QPainter p(&out);
    Draw(p, QRect(QPoint(0, 0), r.size()));
    if (!caption.isEmpty()) {
        std::vector<std::string> lines;
        for (const QString& line : caption) {
            lines.push_back(line.toStdString());
        }
        DrawPanel(p, area::CaptionPanel(0, 0, 1, lines, PainterMeasure(p)));
    }
    return out;
}

void CoverageMapView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect map = MapRect();
    for (const QRect& margin : QRegion(rect()).subtracted(map)) {
        p.fillRect(margin, palette().window());
    }
    Draw(p, map);
    if (hasFocus()) {
        // The keyboard's cursor: the cell it names, outlined.
        const area::MapProjection proj{map.width(), map.height()};
        const double half = step_ / 2.0;
        const QRectF cell(QPointF(map.left() + proj.X(cursor_.x() + half), map.top() + proj.Y(cursor_.y() + half)),
                          QPointF(map.left() + proj.X(cursor_.x() - half), map.top() + proj.Y(cursor_.y() - half)));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(cell.adjusted(-2, -2, 2, 2));
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(cell.adjusted(-2, -2, 2, 2));
    }
}

void CoverageMapView::mouseMoveEvent(QMouseEvent* event)
{
    if (const std::optional<QPointF> at = Position(event->position())) {
        emit PointFocused(at->y(), at->x(), true);
    }
}

void CoverageMapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (const std::optional<QPointF> at = Position(event->position())) {
        emit PointPicked(static_cast<int>(at->y()), static_cast<int>(at->x()));
    }
}

void CoverageMapView::leaveEvent(QEvent*)
{
    emit PointFocused(cursor_.y(), cursor_.x(), false);
}

void CoverageMapView::keyPressEvent(QKeyEvent* event)
{
    double lat = cursor_.y();
    double lonWestDeg = cursor_.x();
    switch (event->key()) {
    case Qt::Key_Left: lonWestDeg += step_; break;
    case Qt::Key_Right: lonWestDeg -= step_; break;
    case Qt::Key_Up: lat = std::min(90.0, lat + step_); break;
    case Qt::Key_Down: lat = std::max(-90.0, lat - step_); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit PointPicked(static_cast<int>(lat), static_cast<int>(lonWestDeg)); return;
    default: QWidget::keyPressEvent(event); return;
    }
    // Round the world east and west.
    if (lonWestDeg >= 180) {
        lonWestDeg -= 360;
    } else if (lonWestDeg < -180) {
        lonWestDeg += 360;
    }
    SetCursor(lat, lonWestDeg);
    emit PointFocused(lat, lonWestDeg, false);
}

void CoverageMapView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit PointFocused(cursor_.y(), cursor_.x(), false);
    update();
}

void CoverageMapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}

void CoverageMapView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace orvela::app
