// The great circle from home to the remote point drawn over the world map:
// the short path solid, the long path dashed, the one the prediction takes
// the stronger. It lies over the map and under the markers, and lets every
// mouse event through to the map.
#pragma once

#include "map/great_circle_track.h"

#include <QWidget>

namespace orvela::app {

class PathOverlay : public QWidget {
    Q_OBJECT
public:
    explicit PathOverlay(QWidget* parent = nullptr);

    // Positions in degrees, longitudes positive west; `longPath` when the
    // prediction takes the long path.
    void SetPath(double homeLat, double homeLonWestDeg, double remoteLat, double remoteLonWestDeg, bool longPath);
    const GreatCircleTracks& Tracks() const { return tracks_; }
    bool LongPath() const { return longPath_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Trace();

    double homeLat_ = 0, homeLonWestDeg_ = 0, remoteLat_ = 0, remoteLonWestDeg_ = 0;
    bool longPath_ = false;
    GreatCircleTracks tracks_;
};

} // namespace orvela::app
