// The coverage window: where one band reaches from the home station at each
// hour of the prediction's day, over the day/night map of that hour. The
// paths are computed on worker threads, a coarse grid first; once a band's
// day is in, the hour slider only redraws.
#pragma once

#include "common/wake_up.h"
#include "engine/bands.h"
#include "coverage/coverage_worker.h"
#include "map/picture.h"
#include "app/platform.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QIODevice;
class QLabel;
class QPushButton;
class QSlider;
class QSocketNotifier;

namespace orvela::app {

// Where a grid point is on a picture w x h of the whole globe, and back.
struct CoverageProjection {
    int Width = 0;
    int Height = 0;
    // Longitude positive west, as everywhere in the program.
    double X(double lonWestDeg) const { return (180 - lonWestDeg) / 360 * Width; }
    double Y(double latDeg) const { return (90 - latDeg) / 180 * Height; }
    double LonWest(double x) const { return 180 - x / Width * 360; }
    double Lat(double y) const { return 90 - y / Height * 180; }
};

// The index of the grid point nearest to a position (longitude positive
// west), in the order of area::GridPoints(stepDeg).
std::size_t NearestGridPoint(double latDeg, double lonWestDeg, int stepDeg);

// The day/night map scaled to a picture with each point's cell blended over
// it in the colour of its class, hatched below the sensitivity, untouched
// where there is no path. A map handed over as the only reference to its
// pixels is blended in place.
QImage BlendCoverage(QImage map, const area::CoverageDaySummary& day, int utcHour);

// What the status line says of a grid point at an hour: its position, and
// the level, S-meter reading, day/night letter and hops of its path, or that
// it has none. `band` names the band ("14 MHz", "20 m").
QString PointDescription(const area::CoverageDaySummary& day, int utcHour, std::size_t point, const QString& band);

// A band as the coverage window names it: "14 MHz" for a fixed row, "20 m"
// for an amateur band; with `frequency`, the amateur band's frequency too:
// "20 m (14.1 MHz)".
QString BandName(const TableBand& band, bool frequency = false);
// The band (1-based) of a list nearest to a frequency.
int BandNearest(const std::vector<TableBand>& bands, ld mhz);

// The map with the cells, the two stations and the legend. Its pointer or
// its keyboard cursor (the arrows, one grid step) names a point; a click,
// Return or Space picks it.
class CoverageMapView : public QWidget {
    Q_OBJECT
public:
    explicit CoverageMapView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {1024, 512}; }

    // The picture to show, without the stations and the legend.
    void SetFrame(const QImage& frame);
    const QImage& Frame() const { return frame_; }
    void SetStations(double homeLat, double homeLonWest, double remoteLat, double remoteLonWest);
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
    double homeLat_ = 0, homeLon_ = 0, remoteLat_ = 0, remoteLon_ = 0;
    int step_ = 2;
    QPointF cursor_; // x: longitude west, y: latitude
};

class CoverageWindow : public QWidget {
    Q_OBJECT
public:
    // Saves a picture: the window's caption, the suggested name, the filter
    // and what writes the file.
    using SaveFile = std::function<void(QWidget* parent, const QString& caption, const QString& suggestion,
                                        const QString& filter, const std::function<bool(QIODevice&)>& write)>;
    // The band shown first: the one nearest 14 MHz of the rows in use.
    static constexpr ld DefaultBandMhz = 14;
    static constexpr int DefaultStepDeg = 2;
    // The play button's pace, one hour per tick.
    static constexpr int PlayIntervalMs = 400;

    CoverageWindow(const MapPictures& pictures, SaveFile save, QWidget* parent = nullptr);
    ~CoverageWindow() override;

    // The main window's inputs: the station, its options, the date, the
    // remote point. A change of what the paths depend on recomputes the day;
    // the remote point alone only moves its marker. `year` completes the
    // prediction's date for the day/night map.
    void Follow(const RunInput& in, int year);
    // Shows band (1-based, of the rows in use) at an hour (0..23).
    void ShowBandHour(int band, int utcHour);

    int Band() const;
    // The rows in use, whose bands the selector lists.
    const std::vector<TableBand>& Bands() const { return bands_; }
    int Hour() const;
    int StepDeg() const;
    void SetStepDeg(int stepDeg);
    // The day shown, coarse or final; null before the first answer.
    const area::CoverageDaySummary* Day() const { return day_.get(); }
    bool Final() const { return final_; }
    // Whether the worker still has answers to come for the newest request.
    bool Computing() const;
    // The number of the request the picture must answer.
    std::uint64_t Request() const { return request_; }
    // Takes an answer as the worker's wake-up does: one to an older request
    // than the newest is dropped. Returns whether it was shown.
    bool Accept(area::CoverageAnswer answer);
    // Number of frames drawn (map and cells) since the window was made.
    int FramesDrawn() const { return framesDrawn_; }
    CoverageMapView* MapView() const { return view_; }
    QSlider* HourSlider() const { return hour_; }
    QComboBox* BandBox() const { return band_; }
    QComboBox* GridBox() const { return grid_; }
    QPushButton* PlayButton() const { return play_; }
    QLabel* StatusLine() const { return status_; }
    // What the saved picture's caption says: band and moment, flux and home
    // station, power and antenna, as orvela-area's maps say it; empty before
    // the main window's inputs come in.
    QStringList Caption() const;
    // Saves the picture shown with its caption drawn in, the caption's lines
    // also as the PNG's description.
    void SaveAsPng();
    // Draws the frame of the hour shown now, without waiting for a paint.
    void Redraw();

signals:
    void RemotePointPicked(int latDeg, int lonWestDeg);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void AskDay();
    void TakeAnswers();
    void UpdateTitle();
    void Describe(double latDeg, double lonWestDeg);
    void TogglePlay();
    const QImage& BaseMap(int utcHour);
    // The day/night map of an hour scaled to the view, kept for the hour
    // last shown: the answers that refine it do not scale it again.
    const QImage& ScaledMap(int utcHour, const QSize& size);

    const MapPictures& pictures_;
    SaveFile save_;
    CoverageMapView* view_ = nullptr;
    QComboBox* band_ = nullptr;
    QSlider* hour_ = nullptr;
    QLabel* hourText_ = nullptr;
    QPushButton* play_ = nullptr;
    QComboBox* grid_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer playTimer_;

    void ListBands(const std::vector<TableBand>& bands);

    std::optional<RunInput> input_;
    std::vector<TableBand> bands_;
    int year_ = 2000;
    std::uint64_t request_ = 0;
    std::shared_ptr<const area::CoverageDaySummary> day_;
    bool final_ = false;
    QString problem_;
    // The day/night maps of the prediction's day, composed when first shown.
    std::array<QImage, 24> baseMaps_;
    QImage scaled_;
    int scaledHour_ = -1;
    // The pixels of the frame shown, written again for each new frame.
    QImage frame_;
    // The pictures they are composed from, decoded once.
    Picture24 dayPicture_, nightPicture_;
    SunGlyph sun_;
    bool picturesMissing_ = false;
    // A request put off while the window was closed, made when it shows.
    bool askWhenShown_ = false;
    // A frame asked for while the window was hidden, drawn when it shows.
    bool redrawWhenShown_ = false;
    int framesDrawn_ = 0;
    // The last point described, so that a new day or hour describes it again.
    std::optional<std::pair<double, double>> described_;

    WakeUp wake_;
    QSocketNotifier* wakeNotifier_ = nullptr;
    // Last, so that it stops before what it wakes goes.
    std::unique_ptr<area::CoverageWorker> worker_;
};

} // namespace orvela::app
