// The coverage window: where one band reaches from the home station at each
// hour of the prediction's day, over the day/night map of that hour. The
// paths are computed on worker threads, a coarse grid first; once a band's
// day is in, the hour slider only redraws.
#pragma once

#include "app/coverage_map_view.h"
#include "app/platform.h"
#include "app/wake_up_notifier.h"
#include "coverage/coverage_inputs.h"
#include "coverage/coverage_worker.h"
#include "engine/bands.h"
#include "map/built_in_map.h"

#include <QImage>
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

namespace Ui {
class CoverageWindow;
}

namespace orvela::app {

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
    CoverageMapView* MapView() const;
    QSlider* HourSlider() const;
    QComboBox* BandBox() const;
    QComboBox* GridBox() const;
    QPushButton* PlayButton() const;
    QLabel* StatusLine() const;
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

    void ListBands(const std::vector<TableBand>& bands);

    std::unique_ptr<Ui::CoverageWindow> ui_;
    const MapPictures& pictures_;
    SaveFile save_;
    QTimer playTimer_;

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
    std::optional<BuiltInPictures> builtIn_;
    bool picturesMissing_ = false;
    // A request put off while the window was closed, made when it shows.
    bool askWhenShown_ = false;
    // A frame asked for while the window was hidden, drawn when it shows.
    bool redrawWhenShown_ = false;
    int framesDrawn_ = 0;
    // The last point described, so that a new day or hour describes it again.
    std::optional<std::pair<double, double>> described_;

    WakeUpNotifier wake_{*this, [this] { TakeAnswers(); }};
    // Last, so that it stops before what it wakes goes.
    std::unique_ptr<area::CoverageWorker> worker_;
};

} // namespace orvela::app
