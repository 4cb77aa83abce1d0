#include "app/marker_shape.h"

#include <QPainter>

namespace orvela::app {

MarkerShape::MarkerShape(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void MarkerShape::SetKind(Kind k)
{
    kind_ = k;
    update();
}

void MarkerShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (kind_ == Kind::Square) {
        p.setPen(QPen(QColor(0xFF, 0x00, 0x00), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    } else {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 0.5));
        p.setBrush(QColor(0x00, 0xFF, 0x00));
        p.drawEllipse(QRectF(0.25, 0.25, width() - 0.5, height() - 0.5));
    }
}

} // namespace orvela::app
