#include "app/plan_picture.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace orvela::app {

QImage PlanPicture(const QAbstractItemModel& model, const QStringList& caption, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(font);
    const QFontMetrics boldMetrics(bold);
    const int pad = 6;
    const int rowHeight = metrics.height() + 4;
    const int columns = model.columnCount();
    const int rows = model.rowCount();

    // Each column as wide as its widest text.
    std::vector<int> widths(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        int w = boldMetrics.horizontalAdvance(model.headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < rows; ++r) {
            w = std::max(w, metrics.horizontalAdvance(model.index(r, c).data().toString()));
        }
        widths[static_cast<std::size_t>(c)] = w + 8;
    }
    int tableWidth = 0;
    for (const int w : widths) {
        tableWidth += w;
    }
    const int band = pad * 2 + boldMetrics.lineSpacing() * static_cast<int>(caption.size());
    int width = tableWidth;
    for (const QString& line : caption) {
        width = std::max(width, boldMetrics.horizontalAdvance(line) + 2 * pad);
    }
    QImage picture(width, band + rowHeight * (rows + 1), QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setText(QStringLiteral("Description"), caption.join(QLatin1Char('\n')));

    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.setFont(bold);
    int y = pad + boldMetrics.ascent();
    for (const QString& line : caption) {
        painter.drawText(pad, y, line);
        y += boldMetrics.lineSpacing();
    }
    y = band;
    int x = 0;
    for (int c = 0; c < columns; ++c) {
        const QRect cell(x, y, widths[static_cast<std::size_t>(c)], rowHeight);
        painter.drawText(cell, Qt::AlignCenter, model.headerData(c, Qt::Horizontal).toString());
        x += cell.width();
    }
    painter.setFont(font);
    for (int r = 0; r < rows; ++r) {
        y += rowHeight;
        x = 0;
        for (int c = 0; c < columns; ++c) {
            const QModelIndex index = model.index(r, c);
            const QRect cell(x, y, widths[static_cast<std::size_t>(c)], rowHeight);
            const QVariant bg = index.data(Qt::BackgroundRole);
            if (bg.isValid()) {
                painter.fillRect(cell, bg.value<QColor>());
            }
            const QVariant fg = index.data(Qt::ForegroundRole);
            painter.setPen(fg.isValid() ? fg.value<QColor>() : QColor(Qt::black));
            const QVariant align = index.data(Qt::TextAlignmentRole);
            painter.drawText(cell.adjusted(3, 0, -3, 0),
                             align.isValid() ? align.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter),
                             index.data().toString());
            x += cell.width();
        }
    }
    return picture;
}

} // namespace orvela::app
