#include "app/coverage_painting.h"

#include "coverage/cell_blend.h"
#include "coverage/level_classes.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace orvela::app {

namespace {

QColor Colour(const area::Paint& paint)
{
    QColor c((paint.Rgb >> 16) & 0xFF, (paint.Rgb >> 8) & 0xFF, paint.Rgb & 0xFF);
    c.setAlphaF(static_cast<float>(paint.Alpha));
    return c;
}

QFont FontOf(QFont font, double size, bool bold)
{
    font.setPixelSize(static_cast<int>(std::lround(size)));
    font.setBold(bold);
    return font;
}

QRect Rect(const area::PanelRect& r)
{
    return QRectF(r.X, r.Y, r.Width, r.Height).toRect();
}

} // namespace

QImage BlendCoverage(QImage map, const area::CoverageDaySummary& day, int utcHour)
{
    QImage out = std::move(map).convertToFormat(QImage::Format_RGB32);
    if (!out.isNull()) {
        area::BlendCells(reinterpret_cast<std::uint32_t*>(out.bits()), out.width(), out.height(),
                         out.bytesPerLine() / 4, day, utcHour);
    }
    return out;
}

area::MeasureText PainterMeasure(const QPainter& p)
{
    return [font = p.font()](const std::string& text, double size, bool bold) {
        return static_cast<double>(
            QFontMetrics(FontOf(font, size, bold)).horizontalAdvance(QString::fromStdString(text)));
    };
}

void DrawPanel(QPainter& p, const area::MapPanel& panel)
{
    p.save();
    p.fillRect(Rect(panel.Box), Colour(panel.Background));
    for (const area::PanelSwatch& s : panel.Swatches) {
        const QRect box = Rect(s.Box);
        p.fillRect(box, Colour(s.Ground));
        p.fillRect(box, Colour(s.Cell));
        if (s.Hatched) {
            p.fillRect(box, QBrush(Colour({area::HatchColour, area::HatchAlpha}), Qt::BDiagPattern));
        }
    }
    p.setPen(Colour(panel.TextColour));
    const QFont font = p.font();
    for (const area::PanelText& t : panel.Texts) {
        p.setFont(FontOf(font, t.Size, t.Bold));
        p.drawText(QPoint(static_cast<int>(std::floor(t.X)), static_cast<int>(std::floor(t.Baseline))),
                   QString::fromStdString(t.Text));
    }
    p.restore();
}

} // namespace orvela::app
