#include "app/tpropform.h"

#include "station/call_sign.h"
#include "map/compositor.h"
#include "map/built_in_map.h"
#include "app/context_help.h"
#include "app/coverage_window.h"
#include "app/goto_dialog.h"
#include "app/path_overlay.h"
#include "engine/format.h"
#include "app/help_window.h"
#include "app/info_window.h"
#include "map/picture_io.h"
#include "engine/reach.h"
#include "engine/report.h"
#include "map/map_coordinates.h"
#include "app/prediction_table.h"
#include "station/settings_store.h"
#include "station/station_display.h"
#include "engine/table_export.h"
#include "app/tapropos.h"
#include "app/tcoordform.h"
#include "ui_tcoordform.h"
#include "ui_tpropform.h"
#include "map/utc_offset.h"

#include <QAction>
#include <QApplication>
#include <QActionGroup>
#include <QButtonGroup>
#include <QSpinBox>
#include <QClipboard>
#include <QCursor>
#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>

// The pictures and icons compiled into the program (a static library's
// resources must be registered by hand).
static void InitResources()
{
    Q_INIT_RESOURCE(orvela);
}

namespace orvela::app {

namespace {

constexpr Rgb InactiveCaptionGradient = 0xD7E4F2; // the window's background
constexpr Rgb ButtonFace = 0xF0F0F0;

std::tm LocalTime(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

void SetBackground(QWidget* w, Rgb c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ToColor(c));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void SetBold(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace

TPROPForm::TPROPForm(const Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , services_(services)
    , ui_(std::make_unique<Ui::TPROPForm>())
{
    InitResources();
    ui_->setupUi(this);
    setFixedSize(856, 614);
    setObjectName(QStringLiteral("TPROPForm"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/orvela.svg")));

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStretch(QFont::SemiCondensed); // the substitute is wider than the original face
    setFont(font);
    SetBackground(this, InactiveCaptionGradient);
    for (QWidget* w : {static_cast<QWidget*>(ui_->LocalGroupBox), static_cast<QWidget*>(ui_->RemoteGroupBox),
                       static_cast<QWidget*>(ui_->SolarBox), static_cast<QWidget*>(ui_->DisplayGroup)}) {
        SetBackground(w, ButtonFace);
    }
    for (QWidget* w : {static_cast<QWidget*>(ui_->LocalGroupBox), static_cast<QWidget*>(ui_->RemoteGroupBox)}) {
        SetBold(w);
        for (QWidget* child : w->findChildren<QWidget*>()) {
            if (child != ui_->LBL3 && child != ui_->LBL4 && child != ui_->DESTLong && child != ui_->DESTLat) {
                QFont f = child->font();
                f.setBold(false);
                child->setFont(f);
            }
        }
    }

    // Numbers are read and written with a point whatever the user's locale.
    for (QWidget* w : {static_cast<QWidget*>(ui_->FLXSpin), static_cast<QWidget*>(ui_->DESTLong),
                       static_cast<QWidget*>(ui_->DESTLat)}) {
        w->setLocale(QLocale::c());
    }
    QPalette green = ui_->DESTLong->palette();
    green.setColor(QPalette::Text, ToColor(0x008000));
    ui_->DESTLong->setPalette(green);
    ui_->DESTLat->setPalette(green);
    QPalette red = ui_->FLXSpin->palette();
    red.setColor(QPalette::Text, ToColor(0xCE0000));
    ui_->FLXSpin->setPalette(red);

    ui_->ClockPanel->setAutoFillBackground(true);
    QPalette clock = ui_->ClockPanel->palette();
    clock.setColor(QPalette::Window, Qt::black);
    clock.setColor(QPalette::WindowText, ToColor(0x00FF00));
    ui_->ClockPanel->setPalette(clock);

    // The table's hint shows over its cells, which are drawn by the viewport,
    // on a pale yellow ground.
    ui_->MUFGrid->viewport()->setToolTip(ui_->MUFGrid->toolTip());
    ui_->MUFGrid->setStyleSheet(
        ui_->MUFGrid->styleSheet() +
        QStringLiteral(" QToolTip { background-color: #FDE48E; color: #000000; border: 1px solid #000000; }"));

    // Names for a screen reader: the group captions alone would announce
    // every edit of a group alike.
    const std::pair<QWidget*, const char*> names[] = {
        {ui_->LongDeg, "Home longitude, degrees"},
        {ui_->LongMin, "Home longitude, minutes"},
        {ui_->LongSec, "Home longitude, seconds"},
        {ui_->LatDeg, "Home latitude, degrees"},
        {ui_->LatMin, "Home latitude, minutes"},
        {ui_->LatSec, "Home latitude, seconds"},
        {ui_->PWREdit, "Power, dBW"},
        {ui_->ANGEdit, "Lowest take-off angle, degrees"},
        {ui_->DESTLong, "Remote longitude, degrees, positive west"},
        {ui_->DESTLat, "Remote latitude, degrees, positive north"},
        {ui_->LongPathBox, "Long path"},
        {ui_->FLXSpin, "Solar flux"},
        {ui_->MUFGrid, "Prediction table"},
        {ui_->MAP, "World map"},
        {ui_->ClockPanel, "Universal time"},
    };
    for (const auto& [widget, name] : names) {
        widget->setAccessibleName(QString::fromLatin1(name));
    }

    ui_->STA->SetKind(MarkerShape::Kind::Circle);
    ui_->CC->SetKind(MarkerShape::Kind::Square);
    // The markers lie on the map: the mouse over them is over the map.
    for (QWidget* w :
         {static_cast<QWidget*>(ui_->MAP), static_cast<QWidget*>(ui_->CC), static_cast<QWidget*>(ui_->STA)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    ui_->MAP->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui_->LBL->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont lblFont(QStringLiteral("Arial"));
    lblFont.setBold(true);
    lblFont.setPixelSize(11);
    ui_->LBL->setFont(lblFont);

    ui_->H1->SetSectionWidths({255, 300, 150, 151});
    ui_->H2->SetSectionWidths({180, 120, 170, 160, 226});
    ui_->InfoBar->SetPanelText(3, QString::fromLatin1(WebAddress));

    displayGroup_ = new QButtonGroup(this);
    const QList<QAbstractButton*> displayItems = {ui_->DisplayItem0, ui_->DisplayItem1, ui_->DisplayItem2,
                                                  ui_->DisplayItem3};
    for (int i = 0; i < displayItems.size(); ++i) {
        displayGroup_->addButton(displayItems[i], i);
    }
    agtGroup_ = new QButtonGroup(this);
    const QList<QAbstractButton*> agtItems = {ui_->AGTItem0, ui_->AGTItem1, ui_->AGTItem2};
    for (int i = 0; i < agtItems.size(); ++i) {
        agtGroup_->addButton(agtItems[i], i);
    }
    for (QAbstractButton* item : displayGroup_->buttons()) {
        item->setAccessibleName(QStringLiteral("Display format: ") + item->text());
    }
    for (QAbstractButton* item : agtGroup_->buttons()) {
        item->setAccessibleName(QStringLiteral("Antenna: ") + item->text());
    }

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

    // Context help: the controls' keywords, and F1.
    SetHelpKeyword(ui_->MAP, "MAP_ID", 1);
    SetHelpKeyword(ui_->MAPPanel, "MAP_ID", 1); // the markers and the coordinates over the map
    SetHelpKeyword(ui_->MUFGrid, "GRAPH_ID", 2);
    SetHelpKeyword(ui_->RemoteGroupBox, "REM_ID", 5);
    SetHelpKeyword(ui_->H1, "PNL_ID", 8);
    SetHelpKeyword(ui_->H2, "PNL_ID", 8);
    SetHelpKeyword(ui_->LabelPower, "SET_STA", 11);
    InstallContextHelp(this, [this](const QString& page) { OpenHelpPage(page); });

    // The table taken away, by a right click or the menu key.
    tableMenu_ = new QMenu(this);
    tableMenu_->addAction(QStringLiteral("Copy as text"), this, &TPROPForm::CopyTableAsText);
    tableMenu_->addAction(QStringLiteral("Save as CSV\u2026"), this, &TPROPForm::SaveTableAsCsv);
    tableMenu_->addAction(QStringLiteral("Save as PNG\u2026"), this, &TPROPForm::SaveTableAsPng);
    // Where the cell's band reaches at the cell's hour; a cell off the bands
    // or the hours keeps the last band or the current hour.
    tableMenu_->addSeparator();
    tableMenu_->addAction(QStringLiteral("&Coverage map\u2026"), this, [this] {
        const int col = menuCell_.x();
        const int row = menuCell_.y();
        const int rows = static_cast<int>(BandsOf(bandSet_).size());
        const int band = row >= 0 && row < BandCount && BandCount - row <= rows ? BandCount - row : CoverageBand();
        const int hour = col >= 1 && col <= 24 ? col - 1 : UtcMinuteOfDay(services_.TimeSource->Now()) / 60;
        OpenCoverage(band, hour);
    });
    // The rows of the table: the fixed frequencies or the amateur bands.
    tableMenu_->addSeparator();
    auto* rowsGroup = new QActionGroup(this);
    fixedRows_ = tableMenu_->addAction(QStringLiteral("&2\u201330 MHz"), this, [this] { SetRows(BandSet::Fixed); });
    amateurRows_ = tableMenu_->addAction(QStringLiteral("&Amateur bands"), this, [this] { SetRows(BandSet::Amateur); });
    for (QAction* a : {fixedRows_, amateurRows_}) {
        a->setCheckable(true);
        rowsGroup->addAction(a);
    }
    fixedRows_->setChecked(true);
    ui_->MUFGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_->MUFGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The cell under the pointer; from the keyboard (the menu key, the
        // pointer elsewhere), the current cell.
        QWidget* viewport = ui_->MUFGrid->viewport();
        QModelIndex cell = viewport->rect().contains(viewport->mapFromGlobal(QCursor::pos()))
                               ? ui_->MUFGrid->indexAt(at)
                               : QModelIndex();
        if (!cell.isValid()) {
            cell = ui_->MUFGrid->currentIndex();
        }
        menuCell_ = cell.isValid() ? QPoint(cell.column(), cell.row()) : QPoint(-1, -1);
        tableMenu_->exec(ui_->MUFGrid->viewport()->mapToGlobal(at));
    });
    // The remote point from a Maidenhead locator: the map's context menu, or
    // Ctrl+L anywhere in the window.
    auto* goToLocator = new QAction(QStringLiteral("Go to locator\u2026"), this);
    goToLocator->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    goToLocator->setShortcutContext(Qt::WindowShortcut);
    addAction(goToLocator);
    connect(goToLocator, &QAction::triggered, this, &TPROPForm::GoToLocator);
    mapMenu_ = new QMenu(this);
    mapMenu_->addAction(goToLocator);
    mapMenu_->addAction(QStringLiteral("&Coverage map\u2026"), this,
                        [this] { OpenCoverage(CoverageBand(), UtcMinuteOfDay(services_.TimeSource->Now()) / 60); });
    // The path over the map, under the markers and the coordinates; shown
    // unless the settings say otherwise.
    pathOverlay_ = new PathOverlay(ui_->MAPPanel);
    pathOverlay_->setGeometry(ui_->MAP->geometry());
    pathOverlay_->stackUnder(ui_->STA);
    showPath_ = new QAction(QStringLiteral("Show the path"), this);
    showPath_->setCheckable(true);
    showPath_->setChecked(true);
    mapMenu_->addAction(showPath_);
    connect(showPath_, &QAction::toggled, this, [this](bool on) {
        pathOverlay_->setVisible(on);
        if (!programReady_) {
            return;
        }
        StoreChoice("ShowPath", on ? 1 : 0);
    });
    // The map's menu opens over the map and over the markers on it alike.
    for (QWidget* w :
         {static_cast<QWidget*>(ui_->MAP), static_cast<QWidget*>(ui_->CC), static_cast<QWidget*>(ui_->STA)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { mapMenu_->exec(w->mapToGlobal(at)); });
    }
    connect(&timer_, &QTimer::timeout, this, &TPROPForm::TimerClick);
    timer_.start(1000);

    // The window opens centred on the screen. It is placed before start-up
    // so that the boxes and the dialog start-up may raise centre on it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    InitProgram();
}

TPROPForm::~TPROPForm() = default;

void TPROPForm::InitProgram()
{
    // Where the help is looked for first, and the window's caption.
    startDir_ = QDir::currentPath();
    setWindowTitle(QString::fromLatin1(TitleText) + QString::fromLatin1(Credit) + QStringLiteral(" - ") +
                   QString::fromStdString(services_.BuildStr));

    // The prediction date, fixed for the life of the program.
    const std::tm today = LocalTime(services_.TimeSource->Now());
    month_ = today.tm_mon + 1;
    day_ = today.tm_mday;

    // The settings store and the stored settings. Each step that may
    // wait for the user (a message box, the first-run dialog, the download)
    // is followed by a look at whether the program was told to end
    // meanwhile: the rest of start-up is then left out.
    regIni_ = std::make_unique<RegIni>(services_.SettingsPath);
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

    // The antenna and display format, as stored.
    if (QAbstractButton* b = agtGroup_->button(Number(settings_.GainTable))) {
        b->setChecked(true);
    }
    if (QAbstractButton* b = displayGroup_->button(Number(settings_.Display) - 1)) {
        b->setChecked(true);
    } else {
        // No valid format (the settings could not be read that far): no
        // item is shown checked.
        displayGroup_->setExclusive(false);
        for (QAbstractButton* item : displayGroup_->buttons()) {
            item->setChecked(false);
        }
        displayGroup_->setExclusive(true);
    }

    // The long path, as stored.
    ui_->LongPathBox->setChecked(settings_.Path);

    // The home marker and the station box's caption.
    PlaceHomeMarker();
    ui_->LocalGroupBox->setTitle(QStringLiteral(" Station ") + QString::fromStdString(settings_.CallSign) +
                                 QStringLiteral(" "));

    // The day's solar flux.
    FetchSolarFlux();
    if (Abandoned()) {
        return;
    }

    // The remote marker.
    PlaceRemoteMarker();
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
    RegIni& reg = *regIni_;
    // A value read from the store is used only when it is finite and within
    // what the window and the engine accept; any other takes its default,
    // and the warning says which.
    QStringList unusable;
    const auto use = [&unusable](auto& target, auto value, bool usable, const char* name, auto def) {
        if (usable) {
            target = value;
        } else {
            target = def;
            unusable << QStringLiteral("%1 could not be used; %2 is used instead.")
                            .arg(QString::fromLatin1(name), QString::fromStdString(FormatGeneral(def)));
        }
    };
    const auto within = [](long double v, long double lo, long double hi) {
        return std::isfinite(v) && v >= lo && v <= hi;
    };
    QString why;
    try {
        reg.CreateKey("Station");
        reg.CreateKey("Divers");
        const long double longitude = reg.ReadExtended("Station", "Longitude");
        use(settings_.Longitude, longitude, within(longitude, -180, 180), "Station\\Longitude", 0.0L);
        const long double latitude = reg.ReadExtended("Station", "Latitude");
        use(settings_.Latitude, latitude, within(latitude, -90, 90), "Station\\Latitude", 0.0L);
        // Kept as typed; shown and used without the blanks around it, and
        // without any character a call sign may not hold (a tab, an escape,
        // a line end written into the file), which the warning names.
        settings_.CallSign = TrimmedCallSign(reg.ReadString("Station", "CallSign", "NoCall"));
        if (const std::optional<std::string> bad = CallSignProblem(settings_.CallSign)) {
            settings_.CallSign = TrimmedCallSign(PrintableCallSign(settings_.CallSign));
            unusable << QStringLiteral("Station\\CallSign could not be used: %1. \"%2\" is used instead.")
                            .arg(QString::fromStdString(*bad), QString::fromStdString(settings_.CallSign));
        }
        const int power = reg.ReadInteger("Station", "Power", DefaultPower);
        use(settings_.Power, power, within(power, 5, 2500), "Station\\Power", DefaultPower);
        settings_.Path = reg.ReadBool("Station", "Path", false);
        int display = 1;
        const int storedDisplay = reg.ReadInteger("Station", "Display", 1);
        use(display, storedDisplay, within(storedDisplay, 1, 4), "Station\\Display", 1);
        settings_.Display = static_cast<DisplayFormat>(display);
        int gainTable = 0;
        const int storedGainTable = reg.ReadInteger("Station", "GainTable", 0);
        use(gainTable, storedGainTable, within(storedGainTable, 0, 2), "Station\\GainTable", 0);
        settings_.GainTable = static_cast<Antenna>(gainTable);
        const int minAngle = reg.ReadInteger("Station", "MinAngle", 10);
        use(settings_.MinAngle, minAngle, within(minAngle, 0, 90), "Station\\MinAngle", 10);
        int distLon = 0;
        const int storedLon = reg.ReadInteger("Divers", "DistLon", 0);
        use(distLon, storedLon, within(storedLon, -180, 180), "Divers\\DistLon", 0);
        ui_->DESTLong->setValue(distLon);
        int distLat = 0;
        const int storedLat = reg.ReadInteger("Divers", "DistLat", 0);
        use(distLat, storedLat, within(storedLat, -90, 90), "Divers\\DistLat", 0);
        ui_->DESTLat->setValue(distLat);
        // The fixed rows unless the amateur bands were chosen.
        int rows = 0;
        const int storedRows = reg.ReadInteger("Divers", "BandSet", 0);
        use(rows, storedRows, within(storedRows, 0, 1), "Divers\\BandSet", 0);
        bandSet_ = rows == 1 ? BandSet::Amateur : BandSet::Fixed;
        (rows == 1 ? amateurRows_ : fixedRows_)->setChecked(true);
        // Shown unless switched off; a file from before the choice shows it.
        showPath_->setChecked(reg.ReadInteger("Divers", "ShowPath", 1) != 0);
        if (!reg.ParseProblem().empty()) {
            throw StoreError(reg.ParseProblem());
        }
    } catch (const StoreError& e) {
        why = QString::fromUtf8(e.what());
    }
    if (!unusable.isEmpty()) {
        why += (why.isEmpty() ? QString() : QStringLiteral("\n")) + unusable.join(QLatin1Char('\n'));
    }
    if (!why.isEmpty()) {
        Report(MessageIcon::Warning, QStringLiteral("Warning"), QStringLiteral("Problem reading the registry"),
               QString::fromStdString(regIni_->Path()) + QStringLiteral(": ") + why);
    }
}

void TPROPForm::FetchSolarFlux()
{
    SolarFluxSource& source = *services_.Flux;
    ui_->SolarBox->setToolTip(
        QStringLiteral("Value found in the Geophysical Alert Message wwv.txt\nThis file is downloaded directly from "
                       "the NOAA website \n") +
        source.FileAddress());
    const SolarFlux flux = source.GetSolarFlux();
    if (Abandoned()) {
        // Nobody waits for the result any more, nor for a box about it.
        return;
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
}

void TPROPForm::ShowLongitude()
{
    const Dms d = SplitDMS(settings_.Longitude);
    ui_->LongDeg->setText(QString::fromStdString(FormatGeneral(d.Degrees)));
    ui_->LongMin->setText(QString::fromStdString(FormatGeneral(d.Minutes)));
    ui_->LongSec->setText(QString::fromStdString(FormatGeneral(d.Seconds)));
}

void TPROPForm::ShowLatitude()
{
    const Dms d = SplitDMS(settings_.Latitude);
    ui_->LatDeg->setText(QString::fromStdString(FormatGeneral(d.Degrees)));
    ui_->LatMin->setText(QString::fromStdString(FormatGeneral(d.Minutes)));
    ui_->LatSec->setText(QString::fromStdString(FormatGeneral(d.Seconds)));
}

void TPROPForm::PlaceHomeMarker()
{
    ui_->STA->move(MarkerLeft(static_cast<double>(settings_.Longitude)),
                   MarkerTop(static_cast<double>(settings_.Latitude)));
    ui_->STA->setToolTip(QString::fromStdString(settings_.CallSign));
}

void TPROPForm::PlaceRemoteMarker()
{
    ui_->CC->move(MarkerLeft(ui_->DESTLong->value()) - 4, MarkerTop(ui_->DESTLat->value()) - 4);
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
    const Picture24 earthCombined =
        ComposeBuiltInMap(ToUtcDateTime(utc), MapWidth, {std::move(day), std::move(night), std::move(sun)});
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
    const std::tm local = LocalTime(now);
    RunInput in;
    in.Station = settings_;
    in.Flux = static_cast<ld>(ui_->FLXSpin->value());
    in.RemoteLonDeg = ui_->DESTLong->value();
    in.RemoteLatDeg = ui_->DESTLat->value();
    in.Month = month_;
    in.Day = day_;
    in.LocalDate = CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    in.UtcHour = UtcMinuteOfDay(now) / 60;
    tableHour_ = in.UtcHour;
    in.RemoteLabel = remoteLabel_.toStdString();
    in.Bands = BandsOf(bandSet_);
    orvela::ComputeMUF(in, workspace_, prediction_);
    lastInput_ = in;
    pathOverlay_->SetPath(static_cast<double>(settings_.Latitude), static_cast<double>(settings_.Longitude),
                          ui_->DESTLat->value(), ui_->DESTLong->value(), settings_.Path);
    if (coverage_) {
        coverage_->Follow(in, ToUtcDateTime(now).Year);
    }

    ui_->MUFGrid->Show(prediction_, settings_.Display);
    const Reach reach = ReachOf(in, prediction_);
    ui_->MUFGrid->SetEmptyNotice(reach.Reaches ? QString() : QString::fromStdString(reach.Reason));
    for (int i = 0; i < 4; ++i) {
        ui_->H1->SetText(i, QString::fromStdString(prediction_.H1[i]));
    }
    for (int i = 0; i < 5; ++i) {
        ui_->H2->SetText(i, QString::fromStdString(prediction_.H2[i]));
    }
    ui_->InfoBar->SetPanelText(0, QString::fromStdString(prediction_.DisplayText));
    ui_->InfoBar->SetPanelText(1, QString::fromStdString(prediction_.PowerText));
    ui_->InfoBar->SetPanelText(2, QString::fromStdString(prediction_.AntennaText));
}

bool TPROPForm::OpenSetupDialog(const QString& title)
{
    // Each opening makes a new dialog, kept until the main window goes.
    auto* dialog = new TCoordForm(*regIni_, settings_, *services_.Messages, this);
    dialog->setWindowTitle(title);
    SetHelpKeyword(dialog->Widgets().LabelPower, "SET_STA", 11);
    InstallContextHelp(dialog, [this](const QString& page) { OpenHelpPage(page); });
    dialog->move(geometry().center() - dialog->rect().center());
    if (services_.Dialogs->Exec(*dialog) != QDialog::Accepted) {
        return false;
    }
    // The dialog has stored the values and set the home position.
    Ui::TCoordForm& d = dialog->Widgets();
    settings_.CallSign = TrimmedCallSign(d.INDEdit->text().toStdString());

    // The texts as shown; degrees of 0 on the east or south side read "-0",
    // as start-up shows them.
    const auto degrees = [](const QSpinBox* spin, bool negative) {
        return spin->value() == 0 && negative ? QStringLiteral("-0") : spin->text();
    };
    ui_->LongDeg->setText(degrees(d.LngDeg, dialog->LongitudeNegative()));
    ui_->LongMin->setText(d.LngMin->text());
    ui_->LongSec->setText(d.LngSec->text());
    ui_->LatDeg->setText(degrees(d.LttDeg, dialog->LatitudeNegative()));
    ui_->LatMin->setText(d.LttMin->text());
    ui_->LatSec->setText(d.LttSec->text());
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

namespace {

constexpr const char* ChmType = "application/vnd.ms-htmlhelp";

// The first of the folders that holds `name`, a file or a folder; empty
// when none does.
QString FindIn(const QStringList& folders, const QString& name)
{
    for (const QString& folder : folders) {
        if (QFileInfo::exists(QDir(folder).filePath(name))) {
            return folder;
        }
    }
    return {};
}

QString FolderList(const QStringList& folders)
{
    QStringList lines;
    for (const QString& f : folders) {
        lines << QStringLiteral("  ") + QDir::toNativeSeparators(f);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QStringList TPROPForm::DataFolders(const QString& first) const
{
    QStringList folders{first};
    if (!services_.DataDir.isEmpty()) {
        const QString data = QDir::cleanPath(QDir(services_.DataDir).absolutePath());
        if (QDir::cleanPath(QDir(first).absolutePath()) != data) {
            folders << data;
        }
    }
    return folders;
}

void TPROPForm::HelpBtnClick()
{
    ShowHelp(QStringLiteral("index.html"), true);
}

void TPROPForm::OpenHelpPage(const QString& page)
{
    ShowHelp(page, false);
}

void TPROPForm::ShowHelp(const QString& page, bool whole)
{
    const QStringList folders = DataFolders(startDir_);
    // A CHM viewer cannot be sent to a page through the desktop: a page
    // alone goes to its program for HTML.
    if (services_.Opener->CanOpen(QString::fromLatin1(ChmType))) {
        const QString name = whole ? QStringLiteral("ORVELA.CHM") : QStringLiteral("html/") + page;
        if (whole || services_.Opener->CanOpen(QStringLiteral("text/html"))) {
            const QString folder = FindIn(folders, name);
            if (!folder.isEmpty()) {
                services_.Opener->Open(QUrl::fromLocalFile(QDir(folder).filePath(name)));
                return;
            }
        }
    }
    const QString folder = FindIn(folders, QStringLiteral("html/index.html"));
    if (folder.isEmpty()) {
        services_.Messages->Show(this, MessageIcon::Warning, QStringLiteral("Help"),
                                 QStringLiteral("Could not find the help (ORVELA.CHM or html/index.html). "
                                                "Looked in:\n") +
                                     FolderList(folders));
        return;
    }
    const QString html = QDir(folder).filePath(QStringLiteral("html"));
    // One help window, made again only when its pages have moved.
    if (helpWindow_ != nullptr && helpWindow_->Folder() != html) {
        helpWindow_->deleteLater();
        helpWindow_ = nullptr;
    }
    // Help asked for in a modal dialog (F1 in the setup dialog) belongs to
    // that dialog while it is open, since a modal dialog leaves every other
    // window deaf to the mouse and the keyboard; the dialog closed, it comes
    // back to the main window, still open where the reader left it.
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QWidget* owner = dialog != nullptr ? static_cast<QWidget*>(dialog) : this;
    if (helpWindow_ == nullptr) {
        helpWindow_ = new THelpForm(html, this);
    }
    if (helpWindow_->parentWidget() != owner) {
        helpWindow_->SetOwner(owner);
        if (dialog != nullptr) {
            connect(dialog, &QDialog::finished, helpWindow_, [this, dialog] {
                if (helpWindow_ != nullptr && helpWindow_->parentWidget() == dialog) {
                    helpWindow_->SetOwner(this);
                }
            });
        }
    }
    helpWindow_->ShowPage(page);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void TPROPForm::InfoBtnClick()
{
    // Each click makes a further window, kept until the main window goes.
    auto* info = new TInfoForm(this);
    info->show();
    // Info.txt is read from the current directory, else from the data folder.
    const QStringList folders = DataFolders(QDir::currentPath());
    const QString folder = FindIn(folders, QStringLiteral("Info.txt"));
    if (!info->LoadText(QDir(folder.isEmpty() ? folders.front() : folder).filePath(QStringLiteral("Info.txt")))) {
        services_.Messages->Show(this, MessageIcon::Warning, QStringLiteral("Infos"),
                                 QStringLiteral("Could not read the information text (Info.txt). Looked in:\n") +
                                     FolderList(folders));
    }
}

void TPROPForm::AboutBtnClick()
{
    auto* about = new TAPropos(*services_.Machine, this);
    services_.Dialogs->Exec(*about);
}

void TPROPForm::CopyTableAsText()
{
    QGuiApplication::clipboard()->setText(QString::fromStdString(TableTabText(prediction_)));
}

void TPROPForm::SaveTableAsCsv()
{
    const std::string csv = TableCsvFile(lastInput_, prediction_);
    SaveTable(QStringLiteral("Save as CSV"), QString::fromStdString(TableFileName(lastInput_, "csv")),
              QStringLiteral("CSV files (*.csv)"), [&csv](QIODevice& file) {
                  return file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size());
              });
}

QStringList TPROPForm::ExportCaption() const
{
    // A position as the caption shows it: degrees with their hemisphere,
    // the program's longitudes being positive west.
    const auto position = [](double lat, double lonWest, int decimals) {
        return QStringLiteral("%1\u00B0%2 %3\u00B0%4")
            .arg(std::fabs(lat), 0, 'f', decimals)
            .arg(lat < 0 ? QLatin1Char('S') : QLatin1Char('N'))
            .arg(std::fabs(lonWest), 0, 'f', decimals)
            .arg(lonWest < 0 ? QLatin1Char('E') : QLatin1Char('W'));
    };
    const UtcDateTime now = ToUtcDateTime(services_.TimeSource->Now());
    QString first =
        QStringLiteral("Station %1 %2  \u2014  Remote station %3")
            .arg(QString::fromStdString(settings_.CallSign),
                 position(static_cast<double>(settings_.Latitude), static_cast<double>(settings_.Longitude), 2),
                 position(ui_->DESTLat->value(), ui_->DESTLong->value(), 0));
    if (settings_.Path) {
        first += QStringLiteral(", long path");
    }
    const QString second =
        QStringLiteral("%1-%2-%3 %4:%5 UTC  \u00B7  Solar flux %6  \u00B7  Power %7 dBW  \u00B7  %8  \u00B7  %9")
            .arg(now.Year, 4, 10, QLatin1Char('0'))
            .arg(now.Month, 2, 10, QLatin1Char('0'))
            .arg(now.Day, 2, 10, QLatin1Char('0'))
            .arg(now.Hour, 2, 10, QLatin1Char('0'))
            .arg(now.Minute, 2, 10, QLatin1Char('0'))
            .arg(ui_->FLXSpin->value(), 0, 'f', 1)
            .arg(settings_.Power)
            .arg(QString::fromStdString(prediction_.AntennaText), QString::fromStdString(prediction_.DisplayText));
    return {first, second};
}

void TPROPForm::SaveTableAsPng()
{
    // The table as drawn, at the screen's device-pixel ratio, under a band
    // that says what it shows: a picture passed around alone keeps its
    // station, remote point, moment and inputs.
    const QPixmap table = ui_->MUFGrid->grab();
    const QStringList lines = ExportCaption();
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int pad = 6;
    const int band = pad * 2 + metrics.lineSpacing() * static_cast<int>(lines.size());
    const qreal ratio = table.devicePixelRatio();
    const QSize tableSize = table.deviceIndependentSize().toSize();
    int width = tableSize.width();
    for (const QString& line : lines) {
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
        for (const QString& line : lines) {
            painter.drawText(pad, y, line);
            y += metrics.lineSpacing();
        }
        painter.drawPixmap(0, band, table);
    }
    SaveTable(QStringLiteral("Save as PNG"), QString::fromStdString(TableFileName(lastInput_, "png")),
              QStringLiteral("PNG pictures (*.png)"),
              [&picture](QIODevice& file) { return picture.save(&file, "PNG"); });
}

void TPROPForm::SaveTable(const QString& caption, const QString& suggestion, const QString& filter,
                          const std::function<bool(QIODevice&)>& write, QWidget* parent)
{
    if (parent == nullptr) {
        parent = this;
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
    settings_.MinAngle = ParseWholeNumber(ui_->ANGEdit->text().toStdString()).value_or(10);
    ComputeMUF();
}

void TPROPForm::DESTLongChange()
{
    const int v = ui_->DESTLong->value();
    ui_->LBL3->setText(v > 0 ? QStringLiteral("degrees West") : v < 0 ? QStringLiteral("degrees East") : QString());
    ui_->CC->move(MarkerLeft(v) - 4, ui_->CC->y());
    ComputeMUF();
}

void TPROPForm::DESTLatChange()
{
    const int v = ui_->DESTLat->value();
    ui_->LBL4->setText(v > 0 ? QStringLiteral("degrees North") : v < 0 ? QStringLiteral("degrees South") : QString());
    ui_->CC->move(ui_->CC->x(), MarkerTop(v) - 4);
    ComputeMUF();
}

void TPROPForm::MouseIsDownOnMap(int x, int y)
{
    ui_->DESTLong->setValue(PixelToLongitude(x));
    ui_->DESTLat->setValue(PixelToLatitude(y));
    ui_->CC->move(x - 4, y - 4);
    remoteLabel_ = QStringLiteral("Remote station");
    ComputeMUF();
}

void TPROPForm::GoToLocator()
{
    GoToDialog dialog(*services_.Messages, this);
    if (services_.Dialogs->Exec(dialog) != QDialog::Accepted) {
        return;
    }
    const double lon = dialog.LongitudeWest();
    const double lat = dialog.Latitude();
    // As a click there: whole degrees truncated toward zero, each spin's
    // handler, the marker at the point itself, and a last run.
    ui_->DESTLong->setValue(static_cast<int>(lon));
    ui_->DESTLat->setValue(static_cast<int>(lat));
    ui_->CC->move(MarkerLeft(lon) - 4, MarkerTop(lat) - 4);
    remoteLabel_ = QStringLiteral("Remote station");
    ComputeMUF();
}

CoverageWindow* TPROPForm::Coverage() const
{
    return coverage_;
}

int TPROPForm::CoverageBand() const
{
    if (coverage_ && coverage_->Bands().size() == BandsOf(bandSet_).size()) {
        return coverage_->Band();
    }
    return BandNearest(BandsOf(bandSet_), CoverageWindow::DefaultBandMhz);
}

QAction* TPROPForm::RowsAction(BandSet set) const
{
    return set == BandSet::Amateur ? amateurRows_ : fixedRows_;
}

void TPROPForm::SetRows(BandSet set)
{
    RowsAction(set)->setChecked(true);
    if (set == bandSet_) {
        return;
    }
    bandSet_ = set;
    StoreChoice("BandSet", set == BandSet::Amateur ? 1 : 0);
    ComputeMUF();
}

void TPROPForm::StoreChoice(const char* name, int value)
{
    try {
        regIni_->WriteValues("Divers", {RegIni::Value::Integer(name, value)});
    } catch (const StoreError& e) {
        services_.Messages->Show(this, MessageIcon::Warning, QStringLiteral("Warning"), QString::fromUtf8(e.what()));
    }
}

void TPROPForm::OpenCoverage(int band, int utcHour)
{
    if (!programReady_) {
        return;
    }
    if (!coverage_) {
        coverage_ = new CoverageWindow(
            *services_.Pictures,
            [this](QWidget* parent, const QString& caption, const QString& suggestion, const QString& filter,
                   const std::function<bool(QIODevice&)>& write) {
                SaveTable(caption, suggestion, filter, write, parent);
            },
            this);
        connect(coverage_, &CoverageWindow::RemotePointPicked, this, &TPROPForm::SetRemotePoint);
        coverage_->resize(coverage_->sizeHint());
        coverage_->Follow(lastInput_, ToUtcDateTime(services_.TimeSource->Now()).Year);
    }
    coverage_->ShowBandHour(band, utcHour);
    coverage_->show();
    coverage_->raise();
    coverage_->activateWindow();
}

void TPROPForm::SetRemotePoint(int latDeg, int lonWestDeg)
{
    // As a click on the map: each spin's handler, the marker at the point,
    // and a last run.
    ui_->DESTLong->setValue(lonWestDeg);
    ui_->DESTLat->setValue(latDeg);
    PlaceRemoteMarker();
    remoteLabel_ = QStringLiteral("Remote station");
    ComputeMUF();
}

void TPROPForm::MouseIsMovingOnMap(int x, int y)
{
    const int lon = PixelToLongitude(x);
    const int lat = PixelToLatitude(y);
    QString text = QStringLiteral("Longitude ");
    text += lon > 0 ? QString::number(lon) + QStringLiteral("\u00B0 West")
                    : QString::number(-lon) + QStringLiteral("\u00B0 East");
    text += lat > 0 ? QStringLiteral(" - Latitude ") + QString::number(lat) + QStringLiteral("\u00B0 North")
                    : QStringLiteral(" - Latitude ") + QString::number(-lat) + QStringLiteral("\u00B0 South");
    ui_->LBL->setText(text);
}

bool TPROPForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui_->MAP || watched == ui_->CC || watched == ui_->STA) {
        const auto onMap = [this, watched](const QMouseEvent* mouse) {
            const QPoint at = mouse->position().toPoint();
            return watched == ui_->MAP ? at : ui_->MAP->mapFromGlobal(static_cast<QWidget*>(watched)->mapToGlobal(at));
        };
        // Only the left button picks the remote point, so that the right one
        // reaches the map's menu without moving it. The second press of a
        // double click comes as a double click event: it picks the point like
        // any other press.
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QPoint pos = onMap(mouse);
                MouseIsDownOnMap(pos.x(), pos.y());
                return true;
            }
        }
        if (event->type() == QEvent::MouseMove) {
            const QPoint pos = onMap(static_cast<QMouseEvent*>(event));
            MouseIsMovingOnMap(pos.x(), pos.y());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPROPForm::TimerClick()
{
    const std::time_t now = services_.TimeSource->Now();
    const int minutes = UtcMinuteOfDay(now);
    ui_->ClockPanel->setText(QStringLiteral("UTC : %1:%2")
                                 .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                 .arg(minutes % 60, 2, 10, QLatin1Char('0')));
    if (!programReady_) {
        return;
    }
    // Left open, the window follows the clock: a new UTC hour moves the
    // highlighted column, the LOC/ZEN rows and the strips; the map's
    // terminator and sun move a degree every four minutes. A clock set back
    // counts as due too.
    if (minutes / 60 != tableHour_) {
        ComputeMUF();
    }
    if (!mapPictureMissing_ && (mapMoment_ < 0 || now - mapMoment_ >= MapRefreshSeconds || now < mapMoment_)) {
        UpdateMap(now);
    }
}

void TPROPForm::FormClose()
{
    // The format, the antenna and the path chosen are kept for the next
    // start, under the keys start-up reads them from, each section in one
    // update of the file.
    try {
        regIni_->WriteValues("Station", {RegIni::Value::Integer("Display", Number(settings_.Display)),
                                         RegIni::Value::Integer("GainTable", Number(settings_.GainTable)),
                                         RegIni::Value::Integer("Path", settings_.Path ? 1 : 0)});
        regIni_->WriteValues("Divers", {RegIni::Value::Integer("DistLon", ui_->DESTLong->value()),
                                        RegIni::Value::Integer("DistLat", ui_->DESTLat->value())});
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
