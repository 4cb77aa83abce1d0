#include "app/coverage_window.h"

#include "map/compositor.h"
#include "coverage/level_classes.h"
#include "coverage/map_caption.h"
#include "map/picture_io.h"

#include <QAccessible>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QPushButton>
#include <QSlider>
#include <QSocketNotifier>
#include <QStyleFactory>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orvela::app {

namespace {

constexpr int GridSteps[] = {1, 2, 5};

QColor Colour(std::uint32_t rgb, double alpha = 1)
{
    QColor c((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    c.setAlphaF(static_cast<float>(alpha));
    return c;
}

QString Degrees(double value, const char* positive, const char* negative)
{
    const int whole = static_cast<int>(std::lround(std::fabs(value)));
    return QStringLiteral("%1\u00B0 %2")
        .arg(whole)
        .arg(QLatin1String(whole == 0  ? ""
                           : value > 0 ? positive
                                       : negative))
        .trimmed();
}

QString PositionText(double latDeg, double lonWestDeg)
{
    return Degrees(latDeg, "N", "S") + QStringLiteral(", ") + Degrees(lonWestDeg, "W", "E");
}

QString LetterText(char letter)
{
    switch (letter) {
    case 'j': return QStringLiteral("j, daylight");
    case 'n': return QStringLiteral("n, darkness");
    case 'x': return QStringLiteral("x, day and night");
    default: return QString(QLatin1Char(letter));
    }
}

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

// The same path as the table's cell: the grid point's whole degrees.
bool SameInputs(const RunInput& a, const RunInput& b)
{
    const Settings& s = a.Station;
    const Settings& t = b.Station;
    return a.Bands == b.Bands && s.Latitude == t.Latitude && s.Longitude == t.Longitude && s.Power == t.Power &&
           s.Path == t.Path && s.GainTable == t.GainTable && s.MinAngle == t.MinAngle && a.Flux == b.Flux &&
           a.Month == b.Month && a.Day == b.Day && a.LocalDate.Year == b.LocalDate.Year &&
           a.LocalDate.Month == b.LocalDate.Month && a.LocalDate.Day == b.LocalDate.Day;
}

void DrawLegend(QPainter& p, const QRect& map)
{
    QFont bold = p.font();
    bold.setPixelSize(12);
    bold.setBold(true);
    QFont normal = bold;
    normal.setBold(false);
    const int pad = 7, row = 17, swatchW = 22, swatchH = 12;
    const auto& looks = area::ClassLooks();
    const int classes = static_cast<int>(looks.size());
    int width = QFontMetrics(bold).horizontalAdvance(QString::fromLatin1(area::LegendTitle));
    const QFontMetrics nm(normal);
    for (const area::ClassLook& look : looks) {
        width = std::max(width, swatchW + 6 + nm.horizontalAdvance(QString::fromLatin1(look.Label)));
    }
    width = std::max(width, nm.horizontalAdvance(QString::fromLatin1(area::LegendNoPath)));
    const int height = (classes + 2) * row + pad;
    const int x0 = map.left() + 8;
    const int y0 = map.bottom() - 8 - height - pad;
    p.fillRect(QRect(x0, y0, width + 2 * pad, height + pad), QColor(0x10, 0x14, 0x18, 184));
    p.setPen(Qt::white);
    p.setFont(bold);
    p.drawText(x0 + pad, y0 + pad + 11, QString::fromLatin1(area::LegendTitle));
    p.setFont(normal);
    for (int k = classes - 1, i = 0; k >= 0; --k, ++i) {
        const QRect swatch(x0 + pad, y0 + pad + (i + 1) * row, swatchW, swatchH);
        p.fillRect(swatch, QColor(0x60, 0x60, 0x60));
        if (static_cast<area::LevelClass>(k) == area::LevelClass::Below) {
            p.fillRect(swatch, Colour(looks[k].Colour, area::BelowAlpha));
            p.fillRect(swatch, QBrush(Colour(area::HatchColour, area::HatchAlpha), Qt::BDiagPattern));
        } else {
            p.fillRect(swatch, Colour(looks[k].Colour, area::CellAlpha));
        }
        p.setPen(Qt::white);
        p.drawText(swatch.right() + 7, swatch.top() + 10, QString::fromLatin1(looks[k].Label));
    }
    p.drawText(x0 + pad, y0 + pad + (classes + 1) * row + 10, QString::fromLatin1(area::LegendNoPath));
}

// The caption in a dark panel in the map's top left corner, as orvela-area
// draws it: the first line bold and larger.
void DrawCaption(QPainter& p, const QRect& map, const QStringList& lines)
{
    QFont first = p.font();
    first.setPixelSize(14);
    first.setBold(true);
    QFont rest = first;
    rest.setPixelSize(12);
    rest.setBold(false);
    const int margin = 8, pad = 6, line = 17;
    int width = 0;
    for (int i = 0; i < lines.size(); ++i) {
        width = std::max(width, QFontMetrics(i == 0 ? first : rest).horizontalAdvance(lines[i]));
    }
    const int x0 = map.left() + margin;
    const int y0 = map.top() + margin;
    p.fillRect(QRect(x0, y0, width + 2 * pad, static_cast<int>(lines.size()) * line + pad),
               QColor(0x10, 0x14, 0x18, 184));
    p.setPen(Qt::white);
    for (int i = 0; i < lines.size(); ++i) {
        p.setFont(i == 0 ? first : rest);
        p.drawText(x0 + pad, y0 + pad + 12 + i * line, lines[i]);
    }
}

} // namespace

std::size_t NearestGridPoint(double latDeg, double lonWestDeg, int stepDeg)
{
    const int columns = 360 / stepDeg;
    const int rows = 180 / stepDeg + 1;
    const int row = std::clamp(static_cast<int>(std::lround((latDeg + 90) / stepDeg)), 0, rows - 1);
    int column = static_cast<int>(std::lround((lonWestDeg + 180) / stepDeg)) % columns;
    if (column < 0) {
        column += columns;
    }
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
}

QImage BlendCoverage(QImage map, const area::CoverageDaySummary& day, int utcHour)
{
    QImage out = std::move(map).convertToFormat(QImage::Format_RGB32);
    const int w = out.width();
    const int h = out.height();
    if (w == 0 || h == 0 || day.StepDeg <= 0 || day.Points.empty() || !day.Known[static_cast<std::size_t>(utcHour)]) {
        return out;
    }
    const CoverageProjection proj{w, h};
    // Each pixel takes the cell of the grid point nearest to its centre.
    std::vector<std::size_t> rowBase(static_cast<std::size_t>(h));
    std::vector<int> columnOf(static_cast<std::size_t>(w));
    const std::size_t columns = static_cast<std::size_t>(360 / day.StepDeg);
    for (int y = 0; y < h; ++y) {
        rowBase[static_cast<std::size_t>(y)] = NearestGridPoint(proj.Lat(y + 0.5), 0, day.StepDeg) / columns * columns;
    }
    for (int x = 0; x < w; ++x) {
        columnOf[static_cast<std::size_t>(x)] =
            static_cast<int>(NearestGridPoint(0, proj.LonWest(x + 0.5), day.StepDeg) % columns);
    }
    // The blend of each class, in 8-bit fixed point.
    struct Blend {
        int r, g, b, alpha;
    };
    std::array<Blend, static_cast<int>(area::LevelClass::Count)> blends{};
    for (int k = 0; k < static_cast<int>(blends.size()); ++k) {
        const std::uint32_t c = area::ClassLooks()[k].Colour;
        const double a =
            static_cast<area::LevelClass>(k) == area::LevelClass::Below ? area::BelowAlpha : area::CellAlpha;
        blends[k] = {static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF),
                     static_cast<int>(std::lround(a * 256))};
    }
    const int hatchAlpha = static_cast<int>(std::lround(area::HatchAlpha * 256));
    const int hatchR = (area::HatchColour >> 16) & 0xFF, hatchG = (area::HatchColour >> 8) & 0xFF,
              hatchB = area::HatchColour & 0xFF;
    const auto mix = [](int under, int over, int alpha) { return under + (((over - under) * alpha) >> 8); };
    const std::size_t hourBase = static_cast<std::size_t>(utcHour) * day.Points.size();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const std::size_t base = hourBase + rowBase[static_cast<std::size_t>(y)];
        for (int x = 0; x < w; ++x) {
            const area::CellSummary& cell =
                day.Cells[base + static_cast<std::size_t>(columnOf[static_cast<std::size_t>(x)])];
            if (!cell.HasPath) {
                continue;
            }
            const area::LevelClass k = area::ClassOf(cell);
            const Blend& b = blends[static_cast<int>(k)];
            int r = mix(qRed(line[x]), b.r, b.alpha);
            int g = mix(qGreen(line[x]), b.g, b.alpha);
            int bl = mix(qBlue(line[x]), b.b, b.alpha);
            // Light diagonal lines, rising to the right, six pixels apart.
            if (k == area::LevelClass::Below && (x + y) % 6 == 0) {
                r = mix(r, hatchR, hatchAlpha);
                g = mix(g, hatchG, hatchAlpha);
                bl = mix(bl, hatchB, hatchAlpha);
            }
            line[x] = qRgb(r, g, bl);
        }
    }
    return out;
}

QString BandName(const TableBand& band, bool frequency)
{
    const QString mhz = QString::fromStdString(MhzText(band.Mhz)) + QStringLiteral(" MHz");
    if (band.Name.empty()) {
        return mhz;
    }
    const QString name = QString::fromStdString(band.Name);
    return frequency ? name + QStringLiteral(" (") + mhz + QLatin1Char(')') : name;
}

int BandNearest(const std::vector<TableBand>& bands, ld mhz)
{
    int best = 1;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        if (std::fabs(bands[i].Mhz - mhz) < std::fabs(bands[static_cast<std::size_t>(best - 1)].Mhz - mhz)) {
            best = static_cast<int>(i) + 1;
        }
    }
    return best;
}

QString PointDescription(const area::CoverageDaySummary& day, int utcHour, std::size_t point, const QString& band)
{
    const area::GridPoint& g = day.Points[point];
    QString text = PositionText(g.LatDeg, g.LonDeg) +
                   QStringLiteral(" at %1h UTC, %2: ").arg(utcHour, 2, 10, QLatin1Char('0')).arg(band);
    if (!day.Known[static_cast<std::size_t>(utcHour)]) {
        return text + QStringLiteral("computing\u2026");
    }
    const area::CellSummary& c = day.At(utcHour, point);
    if (!c.HasPath) {
        return text + QStringLiteral("no path");
    }
    text += QStringLiteral("%1 dB").arg(c.LevelDb);
    if (c.Below) {
        text += QStringLiteral(" (below the receiver's sensitivity)");
    }
    text += QStringLiteral(", ") + QString::fromStdString(SMeterOfTableLevel(c.LevelDb));
    text += QStringLiteral(", %1, %2 hop%3").arg(LetterText(c.Letter)).arg(c.Hops).arg(c.Hops == 1 ? "" : "s");
    return text;
}

// The map view.

CoverageMapView::CoverageMapView(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(512, 256);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(QStringLiteral("Coverage map"));
    setCursor(Qt::CrossCursor);
    // Every pixel is painted here: the window need not fill the background
    // under the view first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CoverageMapView::SetFrame(const QImage& frame)
{
    frame_ = frame;
    update();
}

void CoverageMapView::SetStations(double homeLat, double homeLonWest, double remoteLat, double remoteLonWest)
{
    homeLat_ = homeLat;
    homeLon_ = homeLonWest;
    remoteLat_ = remoteLat;
    remoteLon_ = remoteLonWest;
    update();
}

void CoverageMapView::SetStep(int stepDeg)
{
    step_ = stepDeg;
}

void CoverageMapView::SetCursor(double latDeg, double lonWestDeg)
{
    cursor_ = QPointF(lonWestDeg, latDeg);
    update();
}

QRect CoverageMapView::MapRect() const
{
    const int w = std::min(width(), 2 * height());
    const int h = w / 2;
    return {(width() - w) / 2, (height() - h) / 2, w, h};
}

std::optional<QPointF> CoverageMapView::Position(const QPointF& at) const
{
    const QRect r = MapRect();
    if (!r.contains(at.toPoint())) {
        return std::nullopt;
    }
    const CoverageProjection proj{r.width(), r.height()};
    return QPointF(proj.LonWest(at.x() - r.left()), proj.Lat(at.y() - r.top()));
}

void CoverageMapView::Draw(QPainter& p, const QRect& map) const
{
    // The frame is opaque and covers the whole map.
    if (frame_.isNull()) {
        p.fillRect(map, Qt::black);
    } else {
        p.drawImage(map, frame_);
    }
    const CoverageProjection proj{map.width(), map.height()};
    p.setRenderHint(QPainter::Antialiasing);
    // The stations as the main map shows them: home a green disc, the remote
    // point a red square.
    const QPointF home(map.left() + proj.X(homeLon_), map.top() + proj.Y(homeLat_));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(0x00, 0xFF, 0x00));
    p.drawEllipse(home, 5, 5);
    const QPointF remote(map.left() + proj.X(remoteLon_), map.top() + proj.Y(remoteLat_));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 4));
    p.drawRect(QRectF(remote - QPointF(5, 5), QSizeF(10, 10)));
    p.setPen(QPen(QColor(0xFF, 0x00, 0x00), 2));
    p.drawRect(QRectF(remote - QPointF(5, 5), QSizeF(10, 10)));
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawLegend(p, map);
}

QImage CoverageMapView::Render(const QStringList& caption) const
{
    const QRect r = MapRect();
    QImage out(r.size(), QImage::Format_RGB32);
    QPainter p(&out);
    Draw(p, QRect(QPoint(0, 0), r.size()));
    if (!caption.isEmpty()) {
        DrawCaption(p, QRect(QPoint(0, 0), r.size()), caption);
    }
    return out;
}

void CoverageMapView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect map = MapRect();
    for (const QRect& margin : QRegion(rect()).subtracted(map)) {
        p.fillRect(margin, palette().window());
    }
    Draw(p, map);
    if (hasFocus()) {
        // The keyboard's cursor: the cell it names, outlined.
        const CoverageProjection proj{map.width(), map.height()};
        const double half = step_ / 2.0;
        const QRectF cell(QPointF(map.left() + proj.X(cursor_.x() + half), map.top() + proj.Y(cursor_.y() + half)),
                          QPointF(map.left() + proj.X(cursor_.x() - half), map.top() + proj.Y(cursor_.y() - half)));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(cell.adjusted(-2, -2, 2, 2));
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(cell.adjusted(-2, -2, 2, 2));
    }
}

void CoverageMapView::mouseMoveEvent(QMouseEvent* event)
{
    if (const std::optional<QPointF> at = Position(event->position())) {
        emit PointFocused(at->y(), at->x(), true);
    }
}

void CoverageMapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (const std::optional<QPointF> at = Position(event->position())) {
        emit PointPicked(static_cast<int>(at->y()), static_cast<int>(at->x()));
    }
}

void CoverageMapView::leaveEvent(QEvent*)
{
    emit PointFocused(cursor_.y(), cursor_.x(), false);
}

void CoverageMapView::keyPressEvent(QKeyEvent* event)
{
    double lat = cursor_.y();
    double lon = cursor_.x();
    switch (event->key()) {
    case Qt::Key_Left: lon += step_; break;
    case Qt::Key_Right: lon -= step_; break;
    case Qt::Key_Up: lat = std::min(90.0, lat + step_); break;
    case Qt::Key_Down: lat = std::max(-90.0, lat - step_); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit PointPicked(static_cast<int>(lat), static_cast<int>(lon)); return;
    default: QWidget::keyPressEvent(event); return;
    }
    // Round the world east and west.
    if (lon >= 180) {
        lon -= 360;
    } else if (lon < -180) {
        lon += 360;
    }
    SetCursor(lat, lon);
    emit PointFocused(lat, lon, false);
}

void CoverageMapView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit PointFocused(cursor_.y(), cursor_.x(), false);
    update();
}

void CoverageMapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}

void CoverageMapView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

// The window.

CoverageWindow::CoverageWindow(const MapPictures& pictures, SaveFile save, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , pictures_(pictures)
    , save_(std::move(save))
{
    setObjectName(QStringLiteral("CoverageWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    view_ = new CoverageMapView(this);

    band_ = new QComboBox(this);
    band_->setObjectName(QStringLiteral("CoverageBand"));
    ListBands(BandsOf(BandSet::Fixed));
    band_->setAccessibleName(QStringLiteral("Band"));
    auto* bandLabel = new QLabel(QStringLiteral("&Band:"), this);
    bandLabel->setBuddy(band_);

    hour_ = new QSlider(Qt::Horizontal, this);
    hour_->setObjectName(QStringLiteral("CoverageHour"));
    hour_->setRange(0, 23);
    hour_->setPageStep(3);
    hour_->setTickPosition(QSlider::TicksBelow);
    hour_->setTickInterval(1);
    hour_->setAccessibleName(QStringLiteral("Hour (UTC)"));
    hour_->setMinimumWidth(240);
    // The window owns the style, made after the slider and so gone after it.
    auto* hourStyle = new ClickSetsHourStyle(QStyleFactory::create(hour_->style()->name()));
    hourStyle->setParent(this);
    hour_->setStyle(hourStyle);
    auto* hourLabel = new QLabel(QStringLiteral("&Hour (UTC):"), this);
    hourLabel->setBuddy(hour_);
    hourText_ = new QLabel(this);
    hourText_->setMinimumWidth(QFontMetrics(hourText_->font()).horizontalAdvance(QStringLiteral("00h UTC")) + 4);

    play_ = new QPushButton(QStringLiteral("&Play"), this);
    play_->setObjectName(QStringLiteral("CoveragePlay"));
    play_->setAccessibleName(QStringLiteral("Play the day"));

    grid_ = new QComboBox(this);
    grid_->setObjectName(QStringLiteral("CoverageGrid"));
    for (int step : GridSteps) {
        grid_->addItem(QStringLiteral("%1\u00B0").arg(step), step);
    }
    grid_->setAccessibleName(QStringLiteral("Grid step"));
    auto* gridLabel = new QLabel(QStringLiteral("&Grid:"), this);
    gridLabel->setBuddy(grid_);

    saveButton_ = new QPushButton(QStringLiteral("&Save as PNG\u2026"), this);
    saveButton_->setObjectName(QStringLiteral("CoverageSave"));
    saveButton_->setAccessibleName(QStringLiteral("Save as PNG"));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("CoverageStatus"));
    status_->setAccessibleName(QStringLiteral("Point"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    status_->setFocusPolicy(Qt::TabFocus);
    status_->setMinimumWidth(200);

    auto* controls = new QHBoxLayout;
    controls->addWidget(bandLabel);
    controls->addWidget(band_);
    controls->addSpacing(12);
    controls->addWidget(hourLabel);
    controls->addWidget(hour_, 1);
    controls->addWidget(hourText_);
    controls->addWidget(play_);
    controls->addSpacing(12);
    controls->addWidget(gridLabel);
    controls->addWidget(grid_);
    controls->addSpacing(12);
    controls->addWidget(saveButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(controls);
    layout->addWidget(status_);
    setTabOrder(view_, band_);
    setTabOrder(band_, hour_);
    setTabOrder(hour_, play_);
    setTabOrder(play_, grid_);
    setTabOrder(grid_, saveButton_);
    setTabOrder(saveButton_, status_);

    band_->setCurrentIndex(band_->findData(BandNearest(bands_, DefaultBandMhz)));
    grid_->setCurrentIndex(grid_->findData(DefaultStepDeg));
    view_->SetStep(DefaultStepDeg);

    connect(band_, &QComboBox::currentIndexChanged, this, [this] {
        UpdateTitle();
        AskDay();
    });
    connect(grid_, &QComboBox::currentIndexChanged, this, [this] {
        view_->SetStep(StepDeg());
        AskDay();
    });
    connect(hour_, &QSlider::valueChanged, this, [this] {
        UpdateTitle();
        Redraw();
        if (described_) {
            Describe(described_->first, described_->second);
        }
    });
    connect(play_, &QPushButton::clicked, this, &CoverageWindow::TogglePlay);
    connect(saveButton_, &QPushButton::clicked, this, &CoverageWindow::SaveAsPng);
    connect(&playTimer_, &QTimer::timeout, this, [this] { hour_->setValue((hour_->value() + 1) % 24); });
    connect(view_, &CoverageMapView::PointFocused, this, [this](double lat, double lon, bool) { Describe(lat, lon); });
    connect(view_, &CoverageMapView::PointPicked, this, &CoverageWindow::RemotePointPicked);
    connect(view_, &CoverageMapView::Resized, this, &CoverageWindow::Redraw);

    // The worker wakes this thread through an eventfd: a write there is all
    // it does on its own thread; the answer is taken here, under its mutex.
    if (wake_.Fd() >= 0) {
        wakeNotifier_ = new QSocketNotifier(wake_.Fd(), QSocketNotifier::Read, this);
        connect(wakeNotifier_, &QSocketNotifier::activated, this, &CoverageWindow::TakeAnswers);
    }
    worker_ = std::make_unique<area::CoverageWorker>([wake = &wake_] { wake->Raise(); });
    UpdateTitle();
}

CoverageWindow::~CoverageWindow()
{
    worker_.reset();
    delete wakeNotifier_; // before the descriptor it watches is closed
}

int CoverageWindow::Band() const
{
    return band_->currentData().toInt();
}

int CoverageWindow::Hour() const
{
    return hour_->value();
}

int CoverageWindow::StepDeg() const
{
    return grid_->currentData().toInt();
}

void CoverageWindow::SetStepDeg(int stepDeg)
{
    const int i = grid_->findData(stepDeg);
    if (i >= 0) {
        grid_->setCurrentIndex(i);
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
    const QSignalBlocker block(band_);
    band_->clear();
    for (int b = static_cast<int>(bands_.size()); b >= 1; --b) {
        const TableBand& band = bands_[static_cast<std::size_t>(b - 1)];
        band_->addItem(band.Name.empty() ? BandName(band) : QString::fromStdString(BandLabel(band)), b);
    }
    band_->setCurrentIndex(band_->findData(BandNearest(bands_, shown)));
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
    const bool recompute = !input_ || !SameInputs(in, *input_) || year != year_;
    const bool remoteMoved =
        !input_ || in.RemoteLatDeg != input_->RemoteLatDeg || in.RemoteLonDeg != input_->RemoteLonDeg;
    input_ = in;
    year_ = year;
    if (newDay) {
        baseMaps_ = {};
        scaledHour_ = -1;
    }
    view_->SetStations(static_cast<double>(in.Station.Latitude), static_cast<double>(in.Station.Longitude),
                       static_cast<double>(in.RemoteLatDeg), static_cast<double>(in.RemoteLonDeg));
    if (remoteMoved) {
        // The keyboard's cursor and the status line go with the remote point,
        // wherever it was moved: a click here, the main map, its spin boxes,
        // a locator.
        const double lat = static_cast<double>(in.RemoteLatDeg);
        const double lon = static_cast<double>(in.RemoteLonDeg);
        view_->SetCursor(lat, lon);
        Describe(lat, lon);
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
    const int i = band_->findData(band);
    const QSignalBlocker block(band_);
    const bool bandChanged = i >= 0 && i != band_->currentIndex();
    if (i >= 0) {
        band_->setCurrentIndex(i);
    }
    hour_->setValue(std::clamp(utcHour, 0, 23));
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
    wake_.Clear();
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
        status_->setText(QStringLiteral("The coverage could not be computed: ") + problem_);
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
        if (dayPicture_.Empty()) {
            dayPicture_ = DecodeJpeg(pictures_.Find("MAP_DAY"));
            nightPicture_ = DecodeJpeg(pictures_.Find("MAP_NIGHT"));
            sun_ = DecodeSunGlyph(pictures_.Find("SUN_BMP"), pictures_.Find("SUN_ALPHA"));
        }
        UtcDateTime moment;
        moment.Year = year_;
        moment.Month = input_->Month;
        moment.Day = input_->Day;
        moment.Hour = utcHour;
        Picture24 composed;
        ComposeMap(dayPicture_, nightPicture_, composed, moment, true, sun_.Glyph, sun_.Alpha, BuiltInMapWidth);
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
    const QSize size = view_->MapRect().size();
    if (!input_ || size.isEmpty()) {
        return;
    }
    const QImage& map = ScaledMap(Hour(), size);
    if (!day_) {
        view_->SetFrame(map);
    } else {
        // The view lets go of the last frame, so that its pixels are the
        // window's alone: the map is copied into them and the cells blended
        // in place, in pages the process already has. A fresh frame of two
        // megabytes each time cost more in page faults than the blend.
        view_->SetFrame(QImage());
        if (frame_.size() != size) {
            frame_ = QImage(size, QImage::Format_RGB32);
        }
        for (int y = 0; y < size.height(); ++y) {
            std::memcpy(frame_.scanLine(y), map.constScanLine(y), static_cast<std::size_t>(size.width()) * 4);
        }
        frame_ = BlendCoverage(std::move(frame_), *day_, Hour());
        view_->SetFrame(frame_);
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
    hourText_->setText(hour);
    setWindowTitle(QStringLiteral("Coverage \u2014 %1, %2")
                       .arg(BandName(bands_[static_cast<std::size_t>(Band() - 1)], true), hour));
}

void CoverageWindow::Describe(double latDeg, double lonWestDeg)
{
    described_ = std::pair{latDeg, lonWestDeg};
    QString text;
    if (day_ && day_->StepDeg > 0) {
        text = PointDescription(*day_, Hour(), NearestGridPoint(latDeg, lonWestDeg, day_->StepDeg),
                                BandName(input_->Bands[static_cast<std::size_t>(day_->Band - 1)]));
        if (!final_) {
            text += QStringLiteral(" (coarse grid, refining\u2026)");
        }
    } else {
        text = PositionText(latDeg, lonWestDeg) + QStringLiteral(": computing\u2026");
    }
    status_->setText(text);
    view_->setAccessibleDescription(text);
    QAccessibleEvent event(view_, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void CoverageWindow::TogglePlay()
{
    if (playTimer_.isActive()) {
        playTimer_.stop();
        play_->setText(QStringLiteral("&Play"));
        play_->setAccessibleName(QStringLiteral("Play the day"));
    } else {
        playTimer_.start(PlayIntervalMs);
        play_->setText(QStringLiteral("&Pause"));
        play_->setAccessibleName(QStringLiteral("Pause"));
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
    caption.HomeLonDeg = input_->Station.Longitude;
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
    QImage picture = view_->Render(caption);
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
