#include "app/coverage_window.h"

#include "app/coverage_painting.h"
#include "coverage/map_caption.h"
#include "coverage/map_projection.h"
#include "coverage/point_description.h"
#include "app/ui_coverage_window.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QSlider>
#include <QStyleFactory>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace orvela::app {

namespace {

constexpr int GridSteps[] = {1, 2, 5};

// The hour slider's style: a click on the groove sets the hour under the
// pointer, rather than stepping a page toward it; the keys keep their steps.
class ClickSetsHourStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        const int value = QProxyStyle::styleHint(hint, option, widget, returnData);
        return hint == SH_Slider_AbsoluteSetButtons ? value | Qt::LeftButton : value;
    }
};

QString BandName(const TableBand& band, bool frequency = false)
{
    return QString::fromStdString(area::BandName(band, frequency));
}

} // namespace

CoverageWindow::CoverageWindow(const MapPictures& pictures, SaveFile save, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ui_(std::make_unique<Ui::CoverageWindow>())
    , pictures_(pictures)
    , save_(std::move(save))
{
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);

    ListBands(BandsOf(BandSet::Fixed));
    // The window owns the style, made after the slider and so gone after it.
    auto* hourStyle = new ClickSetsHourStyle(QStyleFactory::create(ui_->CoverageHour->style()->name()));
    hourStyle->setParent(this);
    ui_->CoverageHour->setStyle(hourStyle);
    ui_->HourText->setMinimumWidth(QFontMetrics(ui_->HourText->font()).horizontalAdvance(QStringLiteral("00h UTC")) +
                                   4);
    for (int step : GridSteps) {
        ui_->CoverageGrid->addItem(QStringLiteral("%1\u00B0").arg(step), step);
    }

    ui_->CoverageBand->setCurrentIndex(ui_->CoverageBand->findData(BandNearest(bands_, DefaultBandMhz)));
    ui_->CoverageGrid->setCurrentIndex(ui_->CoverageGrid->findData(DefaultStepDeg));
    ui_->CoverageMap->SetStep(DefaultStepDeg);

    connect(ui_->CoverageBand, &QComboBox::currentIndexChanged, this, [this] {
        UpdateTitle();
        AskDay();
    });
    connect(ui_->CoverageGrid, &QComboBox::currentIndexChanged, this, [this] {
        ui_->CoverageMap->SetStep(StepDeg());
        AskDay();
    });
    connect(ui_->CoverageHour, &QSlider::valueChanged, this, [this] {
        UpdateTitle();
        Redraw();
        if (described_) {
            Describe(described_->first, described_->second);
        }
    });
    connect(ui_->CoveragePlay, &QPushButton::clicked, this, &CoverageWindow::TogglePlay);
    connect(ui_->CoverageSave, &QPushButton::clicked, this, &CoverageWindow::SaveAsPng);
    connect(&playTimer_, &QTimer::timeout, this,
            [this] { ui_->CoverageHour->setValue((ui_->CoverageHour->value() + 1) % 24); });
    connect(ui_->CoverageMap, &CoverageMapView::PointFocused, this,
            [this](double lat, double lonWestDeg, bool) { Describe(lat, lonWestDeg); });
    connect(ui_->CoverageMap, &CoverageMapView::PointPicked, this, &CoverageWindow::RemotePointPicked);
    connect(ui_->CoverageMap, &CoverageMapView::Resized, this, &CoverageWindow::Redraw);

    // The worker only wakes this thread; the answer is taken here, under its
    // mutex.
    worker_ = std::make_unique<area::CoverageWorker>(wake_.Raiser());
    UpdateTitle();
}

CoverageMapView* CoverageWindow::MapView() const
{
    return ui_->CoverageMap;
}

QSlider* CoverageWindow::HourSlider() const
{
    return ui_->CoverageHour;
}

QComboBox* CoverageWindow::BandBox() const
{
    return ui_->CoverageBand;
}

QComboBox* CoverageWindow::GridBox() const
{
    return ui_->CoverageGrid;
}

QPushButton* CoverageWindow::PlayButton() const
{
    return ui_->CoveragePlay;
}

QLabel* CoverageWindow::StatusLine() const
{
    return ui_->CoverageStatus;
}

// The worker, the last member, stops before what it wakes goes.
CoverageWindow::~CoverageWindow() = default;

int CoverageWindow::Band() const
{
    return ui_->CoverageBand->currentData().toInt();
}

int CoverageWindow::Hour() const
{
    return ui_->CoverageHour->value();
}

int CoverageWindow::StepDeg() const
{
    return ui_->CoverageGrid->currentData().toInt();
}

void CoverageWindow::SetStepDeg(int stepDeg)
{
    const int i = ui_->CoverageGrid->findData(stepDeg);
    if (i >= 0) {
        ui_->CoverageGrid->setCurrentIndex(i);
    }
}

bool CoverageWindow::Computing() const
{
    return worker_->Busy();
}

void CoverageWindow::ListBands(const std::vector<TableBand>& bands)
{
    // The highest on top, as in the table; the band kept is the one nearest
    // to the band shown before.
    const ld shown = bands_.empty() ? DefaultBandMhz : bands_[static_cast<std::size_t>(Band() - 1)].Mhz;
    bands_ = bands;
    const QSignalBlocker block(ui_->CoverageBand);
    ui_->CoverageBand->clear();
    for (int b = static_cast<int>(bands_.size()); b >= 1; --b) {
        const TableBand& band = bands_[static_cast<std::size_t>(b - 1)];
        ui_->CoverageBand->addItem(band.Name.empty() ? BandName(band) : QString::fromStdString(BandLabel(band)), b);
    }
    ui_->CoverageBand->setCurrentIndex(ui_->CoverageBand->findData(BandNearest(bands_, shown)));
}

void CoverageWindow::Follow(const RunInput& in, int year)
{
    if (in.Bands != bands_) {
        ListBands(in.Bands);
        UpdateTitle();
        // The cells shown were for another band.
        day_.reset();
        final_ = false;
    }
    const bool newDay = !input_ || in.Month != input_->Month || in.Day != input_->Day || year != year_;
    const bool recompute = !input_ || area::CoverageInputs(in) != area::CoverageInputs(*input_) || year != year_;
    const bool remoteMoved =
        !input_ || in.RemoteLatDeg != input_->RemoteLatDeg || in.RemoteLonWestDeg != input_->RemoteLonWestDeg;
    input_ = in;
    year_ = year;
    if (newDay) {
        baseMaps_ = {};
        scaledHour_ = -1;
    }
    ui_->CoverageMap->SetStations(static_cast<double>(in.Station.Latitude), static_cast<double>(in.Station.Longitude),
                                  static_cast<double>(in.RemoteLatDeg), static_cast<double>(in.RemoteLonWestDeg));
    if (remoteMoved) {
        // The keyboard's cursor and the status line go with the remote point,
        // wherever it was moved: a click here, the main map, its spin boxes,
        // a locator.
        const double lat = static_cast<double>(in.RemoteLatDeg);
        const double lonWestDeg = static_cast<double>(in.RemoteLonWestDeg);
        ui_->CoverageMap->SetCursor(lat, lonWestDeg);
        Describe(lat, lonWestDeg);
    }
    if (recompute) {
        AskDay();
        if (newDay) {
            Redraw();
        }
    }
}

void CoverageWindow::ShowBandHour(int band, int utcHour)
{
    const int i = ui_->CoverageBand->findData(band);
    const QSignalBlocker block(ui_->CoverageBand);
    const bool bandChanged = i >= 0 && i != ui_->CoverageBand->currentIndex();
    if (i >= 0) {
        ui_->CoverageBand->setCurrentIndex(i);
    }
    ui_->CoverageHour->setValue(std::clamp(utcHour, 0, 23));
    UpdateTitle();
    if (bandChanged || (day_ == nullptr && input_)) {
        AskDay();
    }
}

void CoverageWindow::AskDay()
{
    if (!input_) {
        return;
    }
    if (!isVisible()) {
        askWhenShown_ = true;
        return;
    }
    askWhenShown_ = false;
    problem_.clear();
    request_ = worker_->Ask({*input_, Band(), StepDeg(), Hour()});
    if (described_) {
        Describe(described_->first, described_->second);
    }
}

void CoverageWindow::TakeAnswers()
{
    while (std::optional<area::CoverageAnswer> a = worker_->Take()) {
        Accept(std::move(*a));
    }
}

bool CoverageWindow::Accept(area::CoverageAnswer answer)
{
    if (answer.Id != request_) {
        return false;
    }
    final_ = answer.Final;
    if (!answer.Problem.empty()) {
        problem_ = QString::fromStdString(answer.Problem);
        ui_->CoverageStatus->setText(QStringLiteral("The coverage could not be computed: ") + problem_);
        return true;
    }
    day_ = std::make_shared<const area::CoverageDaySummary>(std::move(answer.Day));
    Redraw();
    if (described_) {
        Describe(described_->first, described_->second);
    }
    return true;
}

const QImage& CoverageWindow::BaseMap(int utcHour)
{
    QImage& map = baseMaps_[static_cast<std::size_t>(utcHour)];
    if (!map.isNull() || picturesMissing_ || !input_) {
        return map;
    }
    try {
        if (!builtIn_) {
            builtIn_ =
                DecodeBuiltInPictures([this](std::string_view name) { return pictures_.Find(std::string(name)); });
        }
        UtcDateTime moment;
        moment.Year = year_;
        moment.Month = input_->Month;
        moment.Day = input_->Day;
        moment.Hour = utcHour;
        const Picture24 composed = ComposeBuiltInMap(moment, BuiltInMapWidth, *builtIn_);
        if (!composed.Empty()) {
            map = QImage(composed.Bytes.data(), composed.Width, composed.Height,
                         static_cast<qsizetype>(composed.RowBytes()), QImage::Format_BGR888)
                      .convertToFormat(QImage::Format_RGB32);
        }
    } catch (const PictureError&) {
        // The main window has said so already; the cells go over black.
        picturesMissing_ = true;
    }
    return map;
}

void CoverageWindow::Redraw()
{
    // A hidden window draws nothing: the view takes its size as the window
    // shows, and the hour shown may change before then.
    if (!isVisible()) {
        redrawWhenShown_ = true;
        return;
    }
    redrawWhenShown_ = false;
    const QSize size = ui_->CoverageMap->MapRect().size();
    if (!input_ || size.isEmpty()) {
        return;
    }
    const QImage& map = ScaledMap(Hour(), size);
    if (!day_) {
        ui_->CoverageMap->SetFrame(map);
    } else {
        // The view lets go of the last frame, so that its pixels are the
        // window's alone: the map is copied into them and the cells blended
        // in place, in pages the process already has. A fresh frame of two
        // megabytes each time cost more in page faults than the blend.
        ui_->CoverageMap->SetFrame(QImage());
        if (frame_.size() != size) {
            frame_ = QImage(size, QImage::Format_RGB32);
        }
        for (int y = 0; y < size.height(); ++y) {
            std::memcpy(frame_.scanLine(y), map.constScanLine(y), static_cast<std::size_t>(size.width()) * 4);
        }
        frame_ = BlendCoverage(std::move(frame_), *day_, Hour());
        ui_->CoverageMap->SetFrame(frame_);
    }
    ++framesDrawn_;
}

const QImage& CoverageWindow::ScaledMap(int utcHour, const QSize& size)
{
    if (utcHour != scaledHour_ || scaled_.size() != size) {
        const QImage& base = BaseMap(utcHour);
        if (base.isNull()) {
            scaled_ = QImage(size, QImage::Format_RGB32);
            scaled_.fill(Qt::black);
        } else {
            scaled_ = base.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
        }
        scaledHour_ = utcHour;
    }
    return scaled_;
}

void CoverageWindow::UpdateTitle()
{
    const QString hour = QStringLiteral("%1h UTC").arg(Hour(), 2, 10, QLatin1Char('0'));
    ui_->HourText->setText(hour);
    setWindowTitle(QStringLiteral("Coverage \u2014 %1, %2")
                       .arg(BandName(bands_[static_cast<std::size_t>(Band() - 1)], true), hour));
}

void CoverageWindow::Describe(double latDeg, double lonWestDeg)
{
    described_ = std::pair{latDeg, lonWestDeg};
    QString text;
    if (day_ && day_->StepDeg > 0) {
        text = QString::fromStdString(
            area::PointDescription(*day_, Hour(), area::NearestGridPoint(latDeg, lonWestDeg, day_->StepDeg),
                                   area::BandName(input_->Bands[static_cast<std::size_t>(day_->Band - 1)])));
        if (!final_) {
            text += QStringLiteral(" (coarse grid, refining\u2026)");
        }
    } else {
        text = QString::fromStdString(area::PositionName(latDeg, lonWestDeg)) + QStringLiteral(": computing\u2026");
    }
    ui_->CoverageStatus->setText(text);
    ui_->CoverageMap->setAccessibleDescription(text);
    QAccessibleEvent event(ui_->CoverageMap, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CoverageWindow::TogglePlay()
{
    if (playTimer_.isActive()) {
        playTimer_.stop();
        ui_->CoveragePlay->setText(QStringLiteral("&Play"));
        ui_->CoveragePlay->setAccessibleName(QStringLiteral("Play the day"));
    } else {
        playTimer_.start(PlayIntervalMs);
        ui_->CoveragePlay->setText(QStringLiteral("&Pause"));
        ui_->CoveragePlay->setAccessibleName(QStringLiteral("Pause"));
    }
}

QStringList CoverageWindow::Caption() const
{
    if (!input_) {
        return {};
    }
    area::MapCaption caption;
    // The band of the cells shown, which a new band's first answer replaces.
    caption.Band = bands_[static_cast<std::size_t>((day_ ? day_->Band : Band()) - 1)];
    caption.Date = {year_, input_->Month, input_->Day};
    caption.Hour = Hour();
    caption.Flux = input_->Flux;
    caption.HomeLatDeg = input_->Station.Latitude;
    caption.HomeLonWestDeg = input_->Station.Longitude;
    caption.CallSign = input_->Station.CallSign;
    caption.PowerDbw = input_->Station.Power;
    caption.GainTable = input_->Station.GainTable;
    caption.LongPath = input_->Station.Path;
    QStringList lines;
    for (const std::string& line : area::CaptionLines(caption)) {
        lines.append(QString::fromStdString(line));
    }
    return lines;
}

void CoverageWindow::SaveAsPng()
{
    // A picture passed around alone still says what it shows.
    const QStringList caption = Caption();
    QImage picture = ui_->CoverageMap->Render(caption);
    picture.setText(QStringLiteral("Description"), caption.join(QLatin1Char('\n')));
    const QString name = QStringLiteral("coverage-%1-%2h.png")
                             .arg(BandName(bands_[static_cast<std::size_t>(Band() - 1)]).remove(QLatin1Char(' ')))
                             .arg(Hour(), 2, 10, QLatin1Char('0'));
    save_(this, QStringLiteral("Save the coverage map as PNG"), name, QStringLiteral("PNG pictures (*.png)"),
          [picture](QIODevice& out) { return picture.save(&out, "PNG"); });
}

void CoverageWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (redrawWhenShown_) {
        Redraw();
    }
    if (askWhenShown_) {
        AskDay();
    }
}

void CoverageWindow::closeEvent(QCloseEvent* event)
{
    if (playTimer_.isActive()) {
        TogglePlay();
    }
    // A closed window computes nothing: what is under way is given up, and
    // asked again when the window shows.
    if (worker_->Busy()) {
        worker_->Stop();
        askWhenShown_ = true;
    }
    QWidget::closeEvent(event);
}

} // namespace orvela::app
