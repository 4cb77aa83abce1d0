#include "app/header_strip.h"

#include <QPainter>

namespace orvela::app {

HeaderStrip::HeaderStrip(QWidget* parent)
    : QWidget(parent)
{
}

void HeaderStrip::SetSectionWidths(const QVector<int>& widths)
{
    widths_ = widths;
    while (texts_.size() < widths_.size()) {
        texts_.append(QString());
    }
    update();
}

void HeaderStrip::SetText(int section, const QString& text)
{
    if (section < 0 || section >= texts_.size() || texts_[section] == text) {
        return;
    }
    texts_[section] = text;
    update();
}

QString HeaderStrip::Text(int section) const
{
    return section >= 0 && section < texts_.size() ? texts_[section] : QString();
}

void HeaderStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.button());
    int x = 0;
    for (int i = 0; i < widths_.size(); ++i) {
        const int w = i + 1 == widths_.size() ? width() - x : widths_[i];
        const QRect r(x, 0, w, height());
        // Raised bevel: light top and left, dark bottom and right.
        p.setPen(pal.light().color());
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pal.dark().color());
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(pal.buttonText().color());
        p.drawText(r.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, texts_[i]);
        x += w;
    }
}

} // namespace orvela::app
