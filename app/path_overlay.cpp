#include "app/path_overlay.h"

#include <QPainter>
#include <QPainterPath>

namespace orvela::app {

namespace {

// The map is 512 pixels for 360 degrees and 256 for 180; the label's last
// pixel row lies under the South Pole.
constexpr double MapHeight = 256;

QPainterPath PathOf(const std::vector<TrackLine>& lines)
{
    QPainterPath path;
    for (const TrackLine& line : lines) {
        if (line.empty()) {
            continue;
        }
        path.moveTo(line.front().X, line.front().Y);
        for (std::size_t i = 1; i < line.size(); ++i) {
            path.lineTo(line[i].X, line[i].Y);
        }
    }
    return path;
}

// A light line over a dark one, readable over day and night alike.
void Stroke(QPainter& p, const QPainterPath& path, double width, double opacity, bool dashed)
{
    p.setOpacity(opacity);
    QPen under(QColor(0, 0, 0, 170), width + 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    QPen over(QColor(0xFF, 0xE0, 0x60), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    if (dashed) {
        // Dashes in pixels, whatever the width.
        under.setDashPattern({6 / (width + 2), 4 / (width + 2)});
        over.setDashPattern({6 / width, 4 / width});
    }
    p.strokePath(path, under);
    p.strokePath(path, over);
}

} // namespace

PathOverlay::PathOverlay(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName(QStringLiteral("PathOverlay"));
}

void PathOverlay::SetPath(double homeLat, double homeLonWestDeg, double remoteLat, double remoteLonWestDeg,
                          bool longPath)
{
    homeLat_ = homeLat;
    homeLonWestDeg_ = homeLonWestDeg;
    remoteLat_ = remoteLat;
    remoteLonWestDeg_ = remoteLonWestDeg;
    longPath_ = longPath;
    Trace();
}

void PathOverlay::Trace()
{
    tracks_ = GreatCircleTrack(homeLat_, homeLonWestDeg_, remoteLat_, remoteLonWestDeg_, width(),
                               std::min<double>(height(), MapHeight));
    update();
}

void PathOverlay::resizeEvent(QResizeEvent*)
{
    Trace();
}

void PathOverlay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shortPath = PathOf(tracks_.ShortPath);
    const QPainterPath longPath = PathOf(tracks_.LongPath);
    // The path not taken first, thin and faint; the one taken over it.
    if (longPath_) {
        Stroke(p, shortPath, 1.2, 0.55, false);
        Stroke(p, longPath, 2.2, 1.0, true);
    } else {
        Stroke(p, longPath, 1.2, 0.55, true);
        Stroke(p, shortPath, 2.2, 1.0, false);
    }
}

} // namespace orvela::app
