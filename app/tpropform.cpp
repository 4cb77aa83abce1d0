#include "app/tpropform.h"

#include "station/call_sign.h"
#include "map/compositor.h"
#include "map/built_in_map.h"
#include "app/context_help.h"
#include "app/coverage_link.h"
#include "app/goto_dialog.h"
#include "app/help_files.h"
#include "app/main_window_names.h"
#include "app/main_window_style.h"
#include "app/map_menu.h"
#include "app/map_pointer.h"
#include "app/option_groups.h"
#include "app/path_overlay.h"
#include "app/planner_link.h"
#include "app/prediction_date.h"
#include "app/prediction_view.h"
#include "app/remote_point.h"
#include "app/station_box.h"
#include "map/picture_io.h"
#include "engine/report.h"
#include "map/map_coordinates.h"
#include "app/prediction_table.h"
#include "station/settings_store.h"
#include "station/station_display.h"
#include "app/table_exporter.h"
#include "app/table_menu.h"
#include "app/tapropos.h"
#include "app/tcoordform.h"
#include "app/window_clock.h"
#include "app/ui_tcoordform.h"
#include "app/ui_tpropform.h"
#include "map/utc_offset.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSpinBox>

#include <cmath>
#include <cstdio>

// The pictures and icons compiled into the program (a static library's
// resources must be registered by hand).
static void InitResources()
{
    Q_INIT_RESOURCE(orvela);
}

namespace orvela::app {

TPROPForm::TPROPForm(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , services_(services)
    , ui_(std::make_unique<Ui::TPROPForm>())
{
    InitResources();
    ui_->setupUi(this);
    setObjectName(QStringLiteral("TPROPForm"));
    StyleMainWindow(*this, *ui_);
    NameControlsForScreenReaders(*ui_);
    SetHelpKeywords(*ui_);
    BuildWindow();

    // The window opens centred on the screen. It is placed before start-up
    // so that the boxes and the dialog start-up may raise centre on it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    InitProgram();
}

TPROPForm::~TPROPForm() = default;

void TPROPForm::BuildWindow()
{
    remote_ = std::make_unique<RemotePoint>(*ui_->DESTLong, *ui_->DESTLat, *ui_->LBL3, *ui_->LBL4, *ui_->CC);
    help_ = std::make_unique<HelpFiles>(*this, services_);
    exporter_ = std::make_unique<TableExporter>(*this, services_);
    coverage_ = std::make_unique<CoverageLink>(*this, services_, *exporter_, [this](int latDeg, int lonWestDeg) {
        MoveRemotePoint(lonWestDeg, latDeg, RemotePoint::PixelOf(lonWestDeg, latDeg));
    });
    planner_ = std::make_unique<PlannerLink>(
        *this, services_, *exporter_,
        [this](double latDeg, double lonWestDeg, const QString& label) {
            // Whole degrees truncated toward zero, as "Go to…" gives them,
            // the marker on the target itself.
            MoveRemotePoint(static_cast<int>(lonWestDeg), static_cast<int>(latDeg),
                            RemotePoint::PixelOf(lonWestDeg, latDeg), label);
        },
        [this](const QString& entries) {
            plannerTargets_ = entries;
            StoreChoice(SettingId::PlannerTargets);
        });
    date_ = std::make_unique<PredictionDate>(*ui_->MAPPanel, *ui_->FLXSpin, *ui_->SolarBox, services_);
    connect(date_.get(), &PredictionDate::DateChanged, this, [this] {
        if (!mapPictureMissing_) {
            UpdateMap(services_.TimeSource->Now());
        }
        ComputeMUF();
    });
    auto* pointer = new MapPointer(*ui_->MAP, {ui_->CC, ui_->STA}, this);
    connect(pointer, &MapPointer::Pressed, this, [this](QPoint at) { MouseIsDownOnMap(at.x(), at.y()); });
    connect(pointer, &MapPointer::Moved, this, [this](QPoint at) { MouseIsMovingOnMap(at.x(), at.y()); });
    ui_->InfoBar->SetPanelText(3, QString::fromLatin1(WebAddress));

    displayGroup_ = NumberedGroup({ui_->DisplayItem0, ui_->DisplayItem1, ui_->DisplayItem2, ui_->DisplayItem3}, this);
    agtGroup_ = NumberedGroup({ui_->AGTItem0, ui_->AGTItem1, ui_->AGTItem2}, this);
    connect(ui_->MUFGrid, &PredictionTable::CellSelected, this, &TPROPForm::CellWasSelected, Qt::QueuedConnection);
    connect(agtGroup_, &QButtonGroup::idClicked, this, &TPROPForm::AGTGroupClick);
    connect(displayGroup_, &QButtonGroup::idClicked, this, &TPROPForm::DisplayGroupClick);
    connect(ui_->FLXSpin, &QDoubleSpinBox::valueChanged, this, &TPROPForm::FLXSpinChange);
    connect(ui_->PWREdit, &QLineEdit::textChanged, this, &TPROPForm::PWRSpinChange);
    connect(ui_->ANGEdit, &QLineEdit::textChanged, this, &TPROPForm::ANGSpinChange);
    connect(ui_->DESTLong, &QSpinBox::valueChanged, this, &TPROPForm::DESTLongChange);
    connect(ui_->DESTLat, &QSpinBox::valueChanged, this, &TPROPForm::DESTLatChange);
    connect(ui_->LongPathBox, &QAbstractButton::toggled, this, &TPROPForm::LongPathBoxClick);
    connect(ui_->ChangeBtn, &QAbstractButton::clicked, this, &TPROPForm::ChangeBtnClick);
    connect(ui_->HelpBtn, &QAbstractButton::clicked, this, &TPROPForm::HelpBtnClick);
    connect(ui_->InfoBtn, &QAbstractButton::clicked, this, &TPROPForm::InfoBtnClick);
    connect(ui_->AboutBtn, &QAbstractButton::clicked, this, &TPROPForm::AboutBtnClick);
    help_->InstallContextHelp(*this);

    // The table taken away, its coverage, its rows.
    tableMenu_ = new TableMenu(*ui_->MUFGrid, this);
    connect(tableMenu_, &TableMenu::CopyAsTextChosen, this, [this] { exporter_->CopyAsText(prediction_); });
    connect(tableMenu_, &TableMenu::SaveAsCsvChosen, this, [this] { exporter_->SaveAsCsv(lastInput_, prediction_); });
    connect(tableMenu_, &TableMenu::SaveAsPngChosen, this,
            [this] { exporter_->SaveAsPng(lastInput_, *ui_->MUFGrid, ExportCaption()); });
    connect(tableMenu_, &TableMenu::CoverageChosen, this, [this](int col, int row) {
        // A cell off the hours keeps the current hour.
        const int hour = col >= 1 && col <= 24 ? col - 1 : UtcMinuteOfDay(services_.TimeSource->Now()) / 60;
        OpenCoverage(coverage_->BandOfRow(row, bandSet_), hour);
    });
    connect(tableMenu_, &TableMenu::RowsChosen, this, &TPROPForm::SetRows);
    connect(tableMenu_, &TableMenu::PlannerChosen, this, &TPROPForm::OpenPlanner);

    // The map's menu, and the path over the map, under the markers and the
    // coordinates; shown unless the settings say otherwise.
    mapMenu_ = new MapMenu(*this, {ui_->MAP, ui_->CC, ui_->STA});
    connect(mapMenu_, &MapMenu::GoToLocatorChosen, this, &TPROPForm::GoToLocator);
    connect(mapMenu_, &MapMenu::CoverageChosen, this,
            [this] { OpenCoverage(coverage_->Band(bandSet_), UtcMinuteOfDay(services_.TimeSource->Now()) / 60); });
    connect(mapMenu_, &MapMenu::PlannerChosen, this, &TPROPForm::OpenPlanner);
    pathOverlay_ = new PathOverlay(ui_->MAPPanel);
    pathOverlay_->setGeometry(ui_->MAP->geometry());
    pathOverlay_->stackUnder(ui_->STA);
    showPath_ = mapMenu_->ShowPathAction();
    connect(showPath_, &QAction::toggled, this, [this](bool on) {
        pathOverlay_->setVisible(on);
        if (!programReady_) {
            return;
        }
        StoreChoice(SettingId::ShowPath);
    });

    connect(&timer_, &QTimer::timeout, this, &TPROPForm::TimerClick);
    timer_.start(1000);
}

void TPROPForm::InitProgram()
{
    // Where the help is looked for first, and the window's caption.
    help_->SetStartDir(QDir::currentPath());
    setWindowTitle(QString::fromLatin1(TitleText) + QString::fromLatin1(Credit) + QStringLiteral(" - ") +
                   QString::fromStdString(services_.BuildStr));

    // The settings store and the stored settings. Each step that may
    // wait for the user (a message box, the first-run dialog, the download)
    // is followed by a look at whether the program was told to end
    // meanwhile: the rest of start-up is then left out.
    regIni_ = std::make_unique<RegIni>(services_.SettingsFile, services_.BeforeSettingsReplaced);
    ReadSettings();
    if (Abandoned()) {
        return;
    }

    // A first run asks for the station; otherwise show it.
    if (settings_.CallSign == "NoCall") {
        OpenSetupDialog(QStringLiteral("Before anything else..."));
        if (Abandoned()) {
            return;
        }
    } else {
        ShowLongitude();
        ShowLatitude();
        ui_->PWREdit->setText(QString::number(settings_.Power));
        ui_->ANGEdit->setText(QString::number(settings_.MinAngle));
    }

    // The antenna and display format, as stored; no format is checked when
    // the settings could not be read that far.
    CheckItem(*agtGroup_, Number(settings_.GainTable));
    CheckItem(*displayGroup_, Number(settings_.Display) - 1);

    // The long path, as stored.
    ui_->LongPathBox->setChecked(settings_.Path);

    // The home marker and the station box's caption.
    PlaceHomeMarker();
    ui_->LocalGroupBox->setTitle(QStringLiteral(" Station ") + QString::fromStdString(settings_.CallSign) +
                                 QStringLiteral(" "));

    // The day's solar flux, and today as the prediction date.
    const SolarFlux bulletin = FetchSolarFlux();
    if (Abandoned()) {
        return;
    }
    date_->Start(services_.TimeSource->Now(), bulletin);

    // The remote marker.
    remote_->PlaceMarker();
    ui_->CC->setToolTip(QStringLiteral("Remote station"));

    // The map for now.
    UpdateMap(services_.TimeSource->Now());

    // Ready: the first prediction.
    programReady_ = true;
    ComputeMUF();
}

bool TPROPForm::Abandoned() const
{
    return services_.StartUpAbandoned && services_.StartUpAbandoned();
}

void TPROPForm::ReadSettings()
{
    // A read that stops at a value of the wrong type leaves the settings
    // after it as start-up found them.
    const LoadedSettings read = LoadSettings(*regIni_, Kept());
    settings_ = read.Values.Station;
    ui_->DESTLong->setValue(read.Values.RemoteLonWestDeg);
    ui_->DESTLat->setValue(read.Values.RemoteLatDeg);
    bandSet_ = read.Values.Rows;
    tableMenu_->RowsAction(bandSet_)->setChecked(true);
    showPath_->setChecked(read.Values.ShowPath);
    plannerTargets_ = QString::fromStdString(read.Values.PlannerTargets);
    if (!read.Warnings.empty()) {
        QStringList why;
        for (const std::string& line : read.Warnings) {
            why << QString::fromStdString(line);
        }
        Report(MessageIcon::Warning, QStringLiteral("Warning"), QStringLiteral("Problem reading the registry"),
               QString::fromStdString(regIni_->File()) + QStringLiteral(": ") + why.join(QLatin1Char('\n')));
    }
}

StoredSettings TPROPForm::Kept() const
{
    StoredSettings kept;
    kept.Station = settings_;
    kept.RemoteLonWestDeg = ui_->DESTLong->value();
    kept.RemoteLatDeg = ui_->DESTLat->value();
    kept.Rows = bandSet_;
    kept.ShowPath = showPath_->isChecked();
    kept.PlannerTargets = plannerTargets_.toStdString();
    return kept;
}

SolarFlux TPROPForm::FetchSolarFlux()
{
    SolarFluxSource& source = *services_.Flux;
    ui_->SolarBox->setToolTip(
        QStringLiteral("Value found in the Geophysical Alert Message wwv.txt\nThis file is downloaded directly from "
                       "the NOAA website \n") +
        source.FileAddress());
    const SolarFlux flux = source.GetSolarFlux();
    if (Abandoned()) {
        // Nobody waits for the result any more, nor for a box about it.
        return flux;
    }
    if (flux.Ok) {
        ui_->SolarBox->setTitle(QString::fromStdString(flux.Issued));
        ui_->FLXSpin->setValue(flux.Flux);
    } else {
        Report(MessageIcon::Error, QStringLiteral("Error"),
               QStringLiteral("Could not download Geophysical Alert Message wwv.txt from ") + source.ServiceAddress(),
               source.Problem());
        ui_->FLXSpin->setValue(100.0);
        ui_->SolarBox->setTitle(QStringLiteral("Flux error"));
    }
    return flux;
}

void TPROPForm::ShowLongitude()
{
    ShowDms(*ui_->LongDeg, *ui_->LongMin, *ui_->LongSec, settings_.Longitude);
}

void TPROPForm::ShowLatitude()
{
    ShowDms(*ui_->LatDeg, *ui_->LatMin, *ui_->LatSec, settings_.Latitude);
}

void TPROPForm::PlaceHomeMarker()
{
    ui_->STA->move(MarkerLeft(static_cast<double>(settings_.Longitude)),
                   MarkerTop(static_cast<double>(settings_.Latitude)));
    ui_->STA->setToolTip(QString::fromStdString(settings_.CallSign));
}

Picture24 TPROPForm::LoadJpegImage(const std::string& mapName)
{
    QCoreApplication::processEvents();
    const std::span<const std::uint8_t> data = services_.Pictures->Find(mapName);
    if (data.empty()) {
        throw PictureError("the program holds no picture " + mapName);
    }
    return DecodeJpeg(data);
}

void TPROPForm::UpdateMap(std::time_t utc)
{
    mapMoment_ = utc;
    Picture24 day;
    Picture24 night;
    SunGlyph sun;
    try {
        day = LoadJpegImage("MAP_DAY");
        night = LoadJpegImage("MAP_NIGHT");
        sun = DecodeSunGlyph(services_.Pictures->Find("SUN_BMP"), services_.Pictures->Find("SUN_ALPHA"));
    } catch (const PictureError&) {
        mapPictureMissing_ = true;
        services_.Messages->Show(this, MessageIcon::None, QString::fromLatin1(ApplicationTitle),
                                 QStringLiteral("Error, no image was found"));
        return;
    }
    const Picture24 earthCombined = ComposeBuiltInMap(ToUtcDateTime(date_->Moment(utc)), MapWidth,
                                                      {std::move(day), std::move(night), std::move(sun)});
    if (earthCombined.Empty()) {
        return;
    }

    // The map image is one row taller than the composed picture; that row
    // stays black. On a screen with more than one device pixel per pixel the
    // picture is scaled smoothly; the markers, drawn on their own, stay sharp.
    const QImage picture(earthCombined.Bytes.data(), earthCombined.Width, earthCombined.Height,
                         static_cast<qsizetype>(earthCombined.RowBytes()), QImage::Format_BGR888);
    const qreal ratio = ui_->MAP->devicePixelRatioF();
    QPixmap image(QSize(MapWidth, MapImageHeight) * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(0, 0, earthCombined.Width, earthCombined.Height), picture);
    }
    ui_->MAP->setPixmap(image);
    ++mapUpdateCount_;
}

void TPROPForm::ComputeMUF()
{
    if (!programReady_) {
        return;
    }
    ++runCount_;
    const std::time_t now = services_.TimeSource->Now();
    const RunInput in = InputsShown(*ui_, settings_, date_->Date(), date_->IsToday(), now, remoteLabel_, bandSet_);
    tableHour_ = in.UtcHour;
    orvela::ComputeMUF(in, workspace_, prediction_);
    lastInput_ = in;
    pathOverlay_->SetPath(static_cast<double>(settings_.Latitude), static_cast<double>(settings_.Longitude),
                          ui_->DESTLat->value(), ui_->DESTLong->value(), settings_.Path);
    coverage_->Follow(in, ToUtcDateTime(date_->Moment(now)).Year);
    planner_->Follow(in, ToUtcDateTime(date_->Moment(now)).Year);
    ShowPrediction(*ui_, in, prediction_, settings_.Display);
}

bool TPROPForm::OpenSetupDialog(const QString& title)
{
    // Each opening makes a new dialog, kept until the main window goes.
    auto* dialog = new TCoordForm(*regIni_, settings_, *services_.Messages, this);
    dialog->setWindowTitle(title);
    SetHelpKeyword(dialog->Widgets().LabelPower, "SET_STA", 11);
    // F1 pressed anywhere else in the dialog, or with the mouse away from
    // it, opens the station's page too: the whole dialog is about it.
    SetHelpKeyword(dialog, "SET_STA", 11);
    help_->InstallContextHelp(*dialog);
    dialog->move(geometry().center() - dialog->rect().center());
    if (services_.Dialogs->Exec(*dialog) != QDialog::Accepted) {
        return false;
    }
    // The dialog has stored the values and set the home position.
    Ui::TCoordForm& d = dialog->Widgets();
    settings_.CallSign = TrimmedCallSign(d.INDEdit->text().toStdString());
    ShowAcceptedPosition(*ui_, *dialog);
    const int runs = runCount_;
    ui_->PWREdit->setText(QString::fromStdString(FormatGeneral(d.PWRSpin->value())));
    ui_->ANGEdit->setText(QString::fromStdString(FormatGeneral(d.ANGSpin->value())));
    PlaceHomeMarker();
    UpdateMap(services_.TimeSource->Now());
    // A new call sign or position alone changes neither text: the table and
    // the strips would go on showing the old station until some other
    // change. They follow the accepted station at once.
    if (runCount_ == runs) {
        ComputeMUF();
    }
    return true;
}

void TPROPForm::ChangeBtnClick()
{
    OpenSetupDialog(QStringLiteral("Setup"));
}

void TPROPForm::HelpBtnClick()
{
    help_->ShowContents();
}

void TPROPForm::InfoBtnClick()
{
    help_->ShowInfo();
}

void TPROPForm::AboutBtnClick()
{
    auto* about = new TAPropos(*services_.Machine, this);
    services_.Dialogs->Exec(*about);
}

QStringList TPROPForm::ExportCaption() const
{
    return TableCaption(settings_, ui_->DESTLat->value(), ui_->DESTLong->value(), ui_->FLXSpin->value(),
                        date_->Moment(services_.TimeSource->Now()), prediction_);
}

void TPROPForm::CellWasSelected(int col, int row)
{
    const std::optional<std::string> report = CellReport(settings_.Display, col, row, prediction_.At(col, row).Text);
    if (!report) {
        return;
    }
    QString text = QString::fromStdString(*report);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    services_.Messages->Show(this, MessageIcon::Information, QStringLiteral("What it means..."), text);
}

void TPROPForm::AGTGroupClick(int index)
{
    settings_.GainTable = static_cast<Antenna>(index);
    ComputeMUF();
}

void TPROPForm::DisplayGroupClick(int index)
{
    settings_.Display = static_cast<DisplayFormat>(index + 1);
    ComputeMUF();
}

void TPROPForm::LongPathBoxClick(bool checked)
{
    settings_.Path = checked;
    ComputeMUF();
}

void TPROPForm::FLXSpinChange()
{
    ComputeMUF();
}

void TPROPForm::PWRSpinChange()
{
    settings_.Power = ParseWholeNumber(ui_->PWREdit->text().toStdString()).value_or(DefaultPower);
    ComputeMUF();
}

void TPROPForm::ANGSpinChange()
{
    settings_.MinAngle = ParseWholeNumber(ui_->ANGEdit->text().toStdString()).value_or(DefaultMinAngle);
    ComputeMUF();
}

void TPROPForm::DESTLongChange()
{
    remote_->LongitudeChanged();
    ForgetRemoteEntity();
    ComputeMUF();
}

void TPROPForm::DESTLatChange()
{
    remote_->LatitudeChanged();
    ForgetRemoteEntity();
    ComputeMUF();
}

void TPROPForm::ForgetRemoteEntity()
{
    // A point moved off a call sign's entity is no longer that entity: it
    // is named as any picked point is.
    if (!remoteLabel_.isEmpty()) {
        remoteLabel_ = QStringLiteral("Remote station");
    }
}

void TPROPForm::MouseIsDownOnMap(int x, int y)
{
    MoveRemotePoint(PixelToLongitude(x), PixelToLatitude(y), QPoint(x, y));
}

void TPROPForm::MouseIsMovingOnMap(int x, int y)
{
    ui_->LBL->setText(CoordinatesText(QPoint(x, y)));
}

void TPROPForm::MoveRemotePoint(int lonWestDeg, int latDeg, QPoint markerPixel, const QString& label)
{
    remote_->MoveTo(lonWestDeg, latDeg, markerPixel);
    remoteLabel_ = label.isEmpty() ? QStringLiteral("Remote station") : label;
    ComputeMUF();
}

void TPROPForm::GoToLocator()
{
    GoToDialog dialog(*services_.Messages, services_.Countries, this);
    if (services_.Dialogs->Exec(dialog) != QDialog::Accepted) {
        return;
    }
    // Whole degrees truncated toward zero, as a click gives them, and the
    // marker on the square's centre or the entity's position itself, as on
    // the clicked pixel. A call sign's entity names the remote point at the
    // head of its header section.
    const double lonWestDeg = dialog.LonWestDeg();
    const double lat = dialog.Latitude();
    MoveRemotePoint(static_cast<int>(lonWestDeg), static_cast<int>(lat), RemotePoint::PixelOf(lonWestDeg, lat),
                    dialog.Entity() ? EntityLabel(*dialog.Entity()) : QString());
}

void TPROPForm::SetRows(BandSet set)
{
    tableMenu_->RowsAction(set)->setChecked(true);
    if (set == bandSet_) {
        return;
    }
    bandSet_ = set;
    StoreChoice(SettingId::BandSet);
    ComputeMUF();
}

void TPROPForm::StoreChoice(SettingId choice)
{
    try {
        SaveSettings(*regIni_, Kept(), std::span(&choice, 1));
    } catch (const StoreError& e) {
        services_.Messages->Show(this, MessageIcon::Warning, QStringLiteral("Warning"), QString::fromUtf8(e.what()));
    }
}

void TPROPForm::OpenCoverage(int band, int utcHour)
{
    if (!programReady_) {
        return;
    }
    coverage_->Open(band, utcHour, lastInput_, ToUtcDateTime(date_->Moment(services_.TimeSource->Now())).Year);
}

void TPROPForm::OpenPlanner()
{
    if (!programReady_) {
        return;
    }
    planner_->Open(lastInput_, ToUtcDateTime(date_->Moment(services_.TimeSource->Now())).Year, plannerTargets_);
}

void TPROPForm::TimerClick()
{
    const std::time_t now = services_.TimeSource->Now();
    ui_->ClockPanel->setText(ClockText(now));
    if (!programReady_) {
        return;
    }
    // Left open, the window follows the clock: past midnight a window on
    // today moves to the new day (which runs the table and the map).
    date_->Tick(now);
    if (TableDue(now, tableHour_)) {
        ComputeMUF();
    }
    if (!mapPictureMissing_ && MapDue(now, mapMoment_, MapRefreshSeconds)) {
        UpdateMap(now);
    }
}

void TPROPForm::FormClose()
{
    // The format, the antenna and the path chosen are kept for the next
    // start, under the keys start-up reads them from, each section in one
    // update of the file.
    try {
        SaveSettings(*regIni_, Kept(), KeptAtClosing);
    } catch (const StoreError& e) {
        services_.Messages->Show(this, MessageIcon::Warning, QStringLiteral("Warning"), QString::fromUtf8(e.what()));
    }
}

void TPROPForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TPROPForm::Report(MessageIcon icon, const QString& caption, const QString& text, const QString& why)
{
    if (!why.isEmpty()) {
        std::fprintf(stderr, "orvela: %s\n%s\n", text.toUtf8().constData(), why.toUtf8().constData());
    }
    services_.Messages->Show(this, icon, caption, text, why);
}

} // namespace orvela::app
