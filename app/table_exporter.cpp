#include "app/table_exporter.h"

#include "app/platform.h"
#include "engine/table_export.h"
#include "map/compositor.h"

#include <QClipboard>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace orvela::app {

QStringList TableCaption(const Settings& station, int remoteLatDeg, int remoteLonWestDeg, double flux, std::time_t now,
                         const Prediction& table)
{
    // A position as the caption shows it: degrees with their hemisphere,
    // the program's longitudes being positive west.
    const auto position = [](double lat, double lonWestDeg, int decimals) {
        return QStringLiteral("%1\u00B0%2 %3\u00B0%4")
            .arg(std::fabs(lat), 0, 'f', decimals)
            .arg(lat < 0 ? QLatin1Char('S') : QLatin1Char('N'))
            .arg(std::fabs(lonWestDeg), 0, 'f', decimals)
            .arg(lonWestDeg < 0 ? QLatin1Char('E') : QLatin1Char('W'));
    };
    const UtcDateTime utc = ToUtcDateTime(now);
    QString first = QStringLiteral("Station %1 %2  \u2014  Remote station %3")
                        .arg(QString::fromStdString(station.CallSign),
                             position(static_cast<double>(station.Latitude), static_cast<double>(station.Longitude), 2),
                             position(remoteLatDeg, remoteLonWestDeg, 0));
    if (station.Path) {
        first += QStringLiteral(", long path");
    }
    const QString second =
        QStringLiteral("%1-%2-%3 %4:%5 UTC  \u00B7  Solar flux %6  \u00B7  Power %7 dBW  \u00B7  %8  \u00B7  %9")
            .arg(utc.Year, 4, 10, QLatin1Char('0'))
            .arg(utc.Month, 2, 10, QLatin1Char('0'))
            .arg(utc.Day, 2, 10, QLatin1Char('0'))
            .arg(utc.Hour, 2, 10, QLatin1Char('0'))
            .arg(utc.Minute, 2, 10, QLatin1Char('0'))
            .arg(flux, 0, 'f', 1)
            .arg(station.Power)
            .arg(QString::fromStdString(table.AntennaText), QString::fromStdString(table.DisplayText));
    return {first, second};
}

TableExporter::TableExporter(QWidget& window, const Services& services)
    : window_(window)
    , services_(services)
{
}

void TableExporter::CopyAsText(const Prediction& table) const
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(TableTabText(table)));
}

void TableExporter::SaveAsCsv(const RunInput& in, const Prediction& table) const
{
    const std::string csv = TableCsvFile(in, table);
    Save(nullptr, QStringLiteral("Save as CSV"), QString::fromStdString(TableFileName(in, "csv")),
         QStringLiteral("CSV files (*.csv)"), [&csv](QIODevice& file) {
             return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
         });
}

void TableExporter::SaveAsPng(const RunInput& in, QWidget& table, const QStringList& caption) const
{
    // The table as drawn, at the screen's device-pixel ratio, under a band
    // that says what it shows: a picture passed around alone keeps its
    // station, remote point, moment and inputs.
    const QPixmap drawn = table.grab();
    QFont bold = window_.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int pad = 6;
    const int band = pad * 2 + metrics.lineSpacing() * static_cast<int>(caption.size());
    const qreal ratio = drawn.devicePixelRatio();
    const QSize tableSize = drawn.deviceIndependentSize().toSize();
    int width = tableSize.width();
    for (const QString& line : caption) {
        width = std::max(width, metrics.horizontalAdvance(line) + 2 * pad);
    }
    QImage picture(QSize(width, band + tableSize.height()) * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.setFont(bold);
        int y = pad + metrics.ascent();
        for (const QString& line : caption) {
            painter.drawText(pad, y, line);
            y += metrics.lineSpacing();
        }
        painter.drawPixmap(0, band, drawn);
    }
    Save(nullptr, QStringLiteral("Save as PNG"), QString::fromStdString(TableFileName(in, "png")),
         QStringLiteral("PNG pictures (*.png)"), [&picture](QIODevice& file) { return picture.save(&file, "PNG"); });
}

void TableExporter::Save(QWidget* parent, const QString& caption, const QString& suggestion, const QString& filter,
                         const std::function<bool(QIODevice&)>& write) const
{
    if (parent == nullptr) {
        parent = &window_;
    }
    const QString name =
        services_.Files->SaveFileName(parent, caption, QDir(QDir::homePath()).filePath(suggestion), filter);
    if (name.isEmpty()) {
        return;
    }
    QSaveFile file(name);
    QString why;
    if (!file.open(QIODevice::WriteOnly)) {
        why = file.errorString();
    } else if (!write(file)) {
        why = file.errorString().isEmpty() ? QStringLiteral("the data could not be written") : file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        why = file.errorString();
    }
    if (!why.isEmpty()) {
        services_.Messages->Show(parent, MessageIcon::Warning, QStringLiteral("Warning"),
                                 QStringLiteral("Could not save %1: %2").arg(QDir::toNativeSeparators(name), why));
    }
}

} // namespace orvela::app
