// The window's guards: clicks and keys on the table, what a screen reader
// hears, settings that cannot be used, and the reasons given for failures.
#include "tests/support/http_test_server.h"
#include "app/network_solar_flux.h"
#include "app/prediction_table.h"
#include "app/status_bar.h"
#include "tests/app/window_fixture.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolTip>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

// The main window of a station with a remote point stored.
class StationWindow : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    }
    int Reports() const
    {
        return static_cast<int>(std::count_if(messages.shown.begin(), messages.shown.end(), [](const ShownMessage& m) {
            return m.Caption == QStringLiteral("What it means...");
        }));
    }
    // A band cell with a result, found in the table.
    static QModelIndex ResultCell(const PredictionTable& grid)
    {
        for (int row = 0; row < RowUtc; ++row) {
            for (int col = 1; col < TableCols; ++col) {
                if (!grid.Current().At(col, row).Text.empty()) {
                    return grid.model()->index(row, col);
                }
            }
        }
        return {};
    }
};

// Clicks and keys on the table.
class TableInput : public StationWindow {};
// What the window looks like: where boxes open, icons, hints.
class WindowLook : public StationWindow {};
// What a screen reader is given.
class Accessibility : public StationWindow {};
// Stored values the program cannot use.
class StoredSettings : public StationWindow {};
// The day's bulletin, fetched while the splash is up.
class FluxDownload : public StationWindow {};

TEST_F(TableInput, EveryClickOnACellShowsItsReportOnce)
{
    auto form = Open();
    PredictionTable* grid = form->Widgets().MUFGrid;
    const QModelIndex cell = ResultCell(*grid);
    ASSERT_TRUE(cell.isValid());
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(Reports(), 1); // the click, not also the change of current cell
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(Reports(), 2); // the same cell again
}

TEST_F(TableInput, ARightClickOnlyOpensTheMenuAndAMiddleClickDoesNothing)
{
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    PredictionTable* grid = form->Widgets().MUFGrid;
    const QModelIndex cell = ResultCell(*grid);
    ASSERT_TRUE(cell.isValid());
    const QPoint at = grid->visualRect(cell).center();
    const QModelIndex currentBefore = grid->currentIndex();
    int menusShown = 0;
    QObject::connect(form->TableMenu(), &QMenu::aboutToShow, form->TableMenu(), [&menusShown, &form] {
        ++menusShown;
        QMetaObject::invokeMethod(form->TableMenu(), &QMenu::close, Qt::QueuedConnection);
    });

    // The right click, then the context menu event the window system sends
    // for it.
    QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &menuEvent);
    QCoreApplication::processEvents();
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(Reports(), 0);

    QTest::mouseClick(grid->viewport(), Qt::MiddleButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(menusShown, 1);
    EXPECT_EQ(Reports(), 0);
    EXPECT_EQ(grid->currentIndex(), currentBefore);
}

TEST_F(TableInput, TabLeavesTheTable)
{
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    PredictionTable* grid = form->Widgets().MUFGrid;
    grid->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());
    const int before = Reports();
    QTest::keyClick(grid, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->hasFocus());
    EXPECT_EQ(Reports(), before);
}

TEST_F(WindowLook, TheTablesHintIsPaleYellow)
{
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QWidget* viewport = form->Widgets().MUFGrid->viewport();
    const QPoint at(100, 100);
    QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &help);
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible()) {
            tip = w;
        }
    }
    ASSERT_NE(tip, nullptr);
    const QImage drawn = tip->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(drawn.width() / 2, 3), QColor(0xFD, 0xE4, 0x8E));
}

TEST_F(WindowLook, StartUpBoxesCentreOnTheCentredWindow)
{
    flux.result = SolarFlux{};
    auto form = Open();
    ASSERT_EQ(messages.shown.size(), 1u);
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((messages.shown[0].Owner.center() - centre).manhattanLength(), 2)
        << messages.shown[0].Owner.x() << "," << messages.shown[0].Owner.y();
    EXPECT_EQ(messages.shown[0].Detail, QStringLiteral("Connection refused")); // and why
}

TEST_F(WindowLook, TheInformationIconIsDrawnWholeOnePixelHigher)
{
    auto form = Open();
    InfoStatusBar* bar = form->Widgets().InfoBar;
    QPixmap solid(20, 20); // an icon inked to its edges shows a cut row
    solid.fill(Qt::red);
    for (int panel : {0, 1}) {
        bar->SetPanelIcon(panel, solid);
    }
    const QImage drawn = bar->grab().toImage();
    const QRect r0 = bar->PanelRect(0);
    const QRect r1 = bar->PanelRect(1);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(drawn.pixelColor(r0.left() + 2 + x, r0.top() - 1), QColor(Qt::red)) << x; // its top row
        EXPECT_EQ(drawn.pixelColor(r0.left() + 2 + x, r0.top() + 18), QColor(Qt::red)) << x;
        EXPECT_NE(drawn.pixelColor(r0.left() + 2 + x, r0.top() + 19), QColor(Qt::red)) << x;
        EXPECT_EQ(drawn.pixelColor(r1.left() + 2 + x, r1.top()), QColor(Qt::red)) << x;
    }
}

// How many clear pixels lie between what `control` draws and anything else
// drawn in its group (the frame, the other controls): the group is drawn
// with and without it. A pixel counts as drawn when it stands out from the
// ground under the control.
int Clearance(QWidget* group, QWidget* control)
{
    const QImage with = group->grab().toImage();
    control->hide();
    const QImage without = group->grab().toImage();
    control->show();
    const QRect place = control->geometry();
    const int ground = qGray(without.pixel(place.center()));
    const auto drawn = [ground](QRgb c) { return std::abs(qGray(c) - ground) > 12; };
    constexpr int Reach = 4;
    int nearest = Reach + 1; // Chebyshev distance
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (with.pixel(x, y) == without.pixel(x, y) || !drawn(with.pixel(x, y))) {
                continue;
            }
            for (int dy = -Reach; dy <= Reach; ++dy) {
                for (int dx = -Reach; dx <= Reach; ++dx) {
                    const QPoint p(x + dx, y + dy);
                    if (without.rect().contains(p) && drawn(without.pixel(p)) &&
                        !place.contains(p)) { // the control's own ground
                        nearest = std::min(nearest, std::max(std::abs(dx), std::abs(dy)));
                    }
                }
            }
        }
    }
    return nearest - 1;
}

// The long path box under the remote group's frame, and the power in watts
// over the station group's, keep two clear pixels from all around them.
TEST_F(WindowLook, TheLongPathBoxAndTheWattsKeepClearOfTheirGroupFrames)
{
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_GE(Clearance(form->Widgets().RemoteGroupBox, form->Widgets().LongPathBox), 2);
    int watts = -1;
    dialogs.onOpen = [&watts](QDialog& d) {
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        Ui::TCoordForm& ui = static_cast<TCoordForm&>(d).Widgets();
        ui.PWRSpin->setValue(34); // "= 2.51 kW", as wide as it gets
        watts = Clearance(ui.LocalGroupBox, ui.PWRWatts);
        d.reject();
        return d.result();
    };
    form->Widgets().ChangeBtn->click();
    EXPECT_GE(watts, 2);
}

// The web address of the last panel, and longer ones, do not fit beside
// its icon: cut short with an ellipsis, whole in the tooltip and in the
// bar's accessible description.
TEST_F(WindowLook, AStatusTextTooLongForItsPanelIsCutShortAndGivenWhole)
{
    auto form = Open();
    InfoStatusBar* bar = form->Widgets().InfoBar;
    const QFontMetrics metrics(bar->font());
    const int room = bar->PanelRect(3).width() - 23;
    const QString power = bar->PanelText(1);
    ASSERT_FALSE(power.isEmpty());
    EXPECT_EQ(bar->ShownText(1), power); // what fits is shown whole
    const auto tooltipOver = [bar](int panel) {
        const QPoint at = bar->PanelRect(panel).center();
        QHelpEvent tip(QEvent::ToolTip, at, bar->mapToGlobal(at));
        QApplication::sendEvent(bar, &tip);
        return QToolTip::text();
    };
    for (const QString& text :
         {QString::fromLatin1(TPROPForm::WebAddress), QStringLiteral("https://orvela.radio-amateurs.example.org/")}) {
        SCOPED_TRACE(text.toStdString());
        bar->SetPanelText(3, text);
        ASSERT_GT(metrics.horizontalAdvance(text), room);
        const QString shown = bar->ShownText(3);
        EXPECT_LE(metrics.horizontalAdvance(shown), room);
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
        EXPECT_TRUE(text.startsWith(shown.chopped(1)));
        // What is drawn is that shortened text.
        const QImage drawn = bar->grab().toImage();
        bar->SetPanelText(3, shown);
        EXPECT_EQ(bar->grab().toImage(), drawn);
        bar->SetPanelText(3, text);

        EXPECT_EQ(tooltipOver(3), text);
        EXPECT_EQ(tooltipOver(1), power);
        const QString description = QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Description);
        EXPECT_TRUE(description.contains(text)) << description.toStdString();
        EXPECT_TRUE(description.contains(power)) << description.toStdString();
    }
    QToolTip::hideText();
}

TEST_F(Accessibility, EveryControlHasANameAndEveryCellADescription)
{
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
    const auto name = [](QObject* o) { return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name); };
    EXPECT_EQ(name(ui.LongDeg), QStringLiteral("Home longitude, degrees"));
    EXPECT_EQ(name(ui.DESTLat), QStringLiteral("Remote latitude, degrees, positive north"));
    EXPECT_EQ(name(ui.FLXSpin), QStringLiteral("Solar flux"));
    QStringList names;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) != nullptr && qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr) {
            continue; // a spin box's own line edit
        }
        if (qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QAbstractSpinBox*>(w) != nullptr ||
            qobject_cast<QRadioButton*>(w) != nullptr) {
            const QString n = name(w);
            EXPECT_FALSE(n.isEmpty()) << w->objectName().toStdString();
            names << n;
        }
    }
    EXPECT_EQ(names.size(), 8 + 3 + 4 + 3);
    EXPECT_EQ(names.removeDuplicates(), 0) << names.join(QStringLiteral(" | ")).toStdString();

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(ui.MUFGrid);
    ASSERT_NE(table->tableInterface(), nullptr);
    const QModelIndex cell = ResultCell(*ui.MUFGrid);
    QAccessibleInterface* spoken = table->tableInterface()->cellAt(cell.row(), cell.column());
    ASSERT_NE(spoken, nullptr);
    const Prediction& p = ui.MUFGrid->Current();
    EXPECT_EQ(spoken->text(QAccessible::Name), QString::fromStdString(p.At(cell.column(), cell.row()).Text));
    const QString description = spoken->text(QAccessible::Description);
    const QString where = QString::fromStdString(p.At(0, cell.row()).Text) + QStringLiteral(", ") +
                          QString::fromStdString(p.At(cell.column(), RowUtc).Text) + QStringLiteral(" UTC. ");
    EXPECT_TRUE(description.startsWith(where)) << description.toStdString();
    EXPECT_GT(description.size(), where.size() + 20);
    EXPECT_FALSE(description.contains(QLatin1Char('\n')));
}

TEST_F(StoredSettings, SettingsThatCannotBeUsedTakeTheirDefaultsAndLeaveTheFileAlone)
{
    struct Case {
        const char* name;
        std::string station;
        std::string divers;
        const char* named; // in the warning's detail
    };
    const long double inf = std::numeric_limits<long double>::infinity();
    const Case cases[] = {
        {"NaN longitude", "\"Longitude\"=" + HexOf(std::nanl("")) + "\r\n", "", "Station\\Longitude"},
        {"infinite longitude", "\"Longitude\"=" + HexOf(-inf) + "\r\n", "", "Station\\Longitude"},
        {"huge latitude", "\"Latitude\"=" + HexOf(1e300L) + "\r\n", "", "Station\\Latitude"},
        {"latitude 95", "\"Latitude\"=" + HexOf(95.0L) + "\r\n", "", "Station\\Latitude"},
        {"power 99999", "\"Power\"=\"99999\"\r\n", "", "Station\\Power"},
        {"angle 91", "\"MinAngle\"=\"91\"\r\n", "", "Station\\MinAngle"},
        {"display 7", "\"Display\"=\"7\"\r\n", "", "Station\\Display"},
        {"gain table -1", "\"GainTable\"=\"-1\"\r\n", "", "Station\\GainTable"},
        {"remote longitude 500", "", "\"DistLon\"=\"500\"\r\n", "Divers\\DistLon"},
        {"rows 7", "", "\"BandSet\"=\"7\"\r\n", "Divers\\BandSet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n" + c.station, c.divers);
        const std::string before = ReadFile(path);
        auto form = Open();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Problem reading the registry"));
        EXPECT_TRUE(messages.shown[0].Detail.contains(QString::fromLatin1(c.named)))
            << messages.shown[0].Detail.toStdString();
        const Settings& st = form->Station();
        EXPECT_EQ(st.Longitude, 0);
        EXPECT_EQ(st.Latitude, 0);
        EXPECT_EQ(st.Power, 20);
        EXPECT_EQ(st.MinAngle, 10);
        EXPECT_EQ(Number(st.Display), 1);
        EXPECT_EQ(Number(st.GainTable), 0);
        EXPECT_EQ(form->Widgets().DESTLong->value(), 0);
        EXPECT_EQ(form->Rows(), BandSet::Fixed);
        EXPECT_EQ(form->Widgets().STA->pos(), QPoint(256, 128));
        EXPECT_EQ(form->RunCount(), 1);
        EXPECT_EQ(ReadFile(path), before);
    }
}

// A call sign written into the settings file with a control character in
// it (by hand, by another program, or a line end escaped in the file) is
// used without that character, and the start-up warning names it; the other
// settings are used and the file stays as it was. The setup dialog offers
// the call sign without it, so that accepting mends the file.
TEST_F(StoredSettings, ACallSignWithAControlCharacterIsUsedWithoutIt)
{
    const struct {
        std::string Stored; // as written between the quotes of the file
        std::string Used;
        const char* Named;
    } cases[] = {
        {"F5\tABC", "F5ABC", "the control character U+0009 (tab) at character 3"},
        {"F6XYZ\x1b[2J", "F6XYZ[2J", "the control character U+001B (escape) at character 6"},
        {"F5\\nABC", "F5ABC", "the control character U+000A (line feed) at character 3"},
        {"\\r\\nF5ABC\x7f/P", "F5ABC/P", "the control character U+007F (delete) at character 6"},
        {"F5\xc2\x9b"
         "31mABC",
         "F531mABC", "the control character U+009B (control sequence introducer)"},
        {"F5ABC\xe2\x80\xae", "F5ABC", "the text-direction control U+202E (right-to-left override)"},
        {"\xc2\x85", "", "the control character U+0085 at character 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Named);
        messages.shown.clear();
        dialogs.titles.clear();
        WriteSettings("\"CallSign\"=\"" + c.Stored + "\"\r\n\"Power\"=\"30\"\r\n",
                      "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
        const std::string before = ReadFile(path);
        auto form = Open();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Problem reading the registry"));
        const QString detail = messages.shown[0].Detail;
        EXPECT_TRUE(detail.contains(QStringLiteral("Station\\CallSign could not be used: the call sign holds ") +
                                    QString::fromLatin1(c.Named)))
            << detail.toStdString();
        EXPECT_TRUE(detail.endsWith(QStringLiteral("; a call sign is printable text. \"") +
                                    QString::fromStdString(c.Used) + QStringLiteral("\" is used instead.")))
            << detail.toStdString();
        Ui::TPROPForm& ui = form->Widgets();
        EXPECT_EQ(form->Station().CallSign, c.Used);
        EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station %1 ").arg(QString::fromStdString(c.Used)));
        EXPECT_TRUE(ui.H1->Text(0).startsWith(QString::fromStdString(c.Used) + QStringLiteral(" Lat ")));
        EXPECT_EQ(ui.STA->toolTip(), QString::fromStdString(c.Used));
        EXPECT_EQ(form->Station().Power, 30);
        EXPECT_EQ(ui.DESTLong->value(), 74);
        EXPECT_TRUE(dialogs.titles.empty()); // not taken for a first run
        EXPECT_EQ(ReadFile(path), before);
    }

    WriteSettings("\"CallSign\"=\"F5\tABC\"\r\n");
    QString offered;
    dialogs.onOpen = [&offered](QDialog& d) {
        auto& dialog = static_cast<TCoordForm&>(d);
        offered = dialog.Widgets().INDEdit->text();
        dialog.Widgets().OkBtn->click();
        return d.result();
    };
    Open()->Widgets().ChangeBtn->click();
    EXPECT_EQ(offered, QStringLiteral("F5ABC"));
    EXPECT_EQ(RegIni(path).ReadString("Station", "CallSign", ""), "F5ABC");
    messages.shown.clear();
    Open();
    EXPECT_TRUE(messages.shown.empty());
}

// The download starts with the splash; start-up then takes its result.
TEST_F(FluxDownload, ADownloadStartedEarlyIsTakenByStartUp)
{
    using namespace solar::testing;
    std::atomic<bool> served{false};
    HttpTestServer server([&](const HttpRequest&, HttpConnection& c) {
        c.Send(Head(200) + "\r\n:Product: Geophysical Alert Message wwv.txt\n:Issued: 2026 Dec 10 0305 UTC\n"
                           "Solar flux 131 and estimated planetary A-index 5.\n");
        served = true;
    });
    NetworkSolarFlux network(server.Url("/text/wwv.txt"));
    network.Start();
    network.Start(); // a second start changes nothing
    auto form = Open(&network);
    EXPECT_TRUE(served);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_DOUBLE_EQ(form->Widgets().FLXSpin->value(), 131.0);
    EXPECT_TRUE(messages.shown.empty());
}

// Each call after the first downloads the bulletin again; the download's
// two descriptors (its end, and its cancel) go with the object.
TEST_F(FluxDownload, EachLaterCallDownloadsAgainAndNoDescriptorStaysOpen)
{
    using namespace solar::testing;
    std::atomic<int> served{0};
    HttpTestServer server([&](const HttpRequest& r, HttpConnection& c) {
        const int flux = 130 + ++served;
        Reply(200, ":Issued: 2026 Dec 10 0305 UTC\nSolar flux " + std::to_string(flux) + " and A-index 5.\n")(r, c);
    });
    const auto eventDescriptors = [] {
        int n = 0;
        for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            n += std::filesystem::read_symlink(fd.path(), error) == "anon_inode:[eventfd]" ? 1 : 0;
        }
        return n;
    };
    const int before = eventDescriptors();
    {
        NetworkSolarFlux network(server.Url("/text/wwv.txt"));
        network.Start();
        EXPECT_EQ(network.GetSolarFlux().Flux, 131);
        EXPECT_EQ(network.GetSolarFlux().Flux, 132);
        EXPECT_EQ(network.GetSolarFlux().Flux, 133);
        EXPECT_EQ(eventDescriptors(), before + 2);
    }
    EXPECT_EQ(eventDescriptors(), before);
    EXPECT_EQ(server.Requests().size(), 3u);
}

// A program that ends while its download hangs (a signal during the
// splash) does not wait for the network: the download is cancelled as its
// source goes, long before its time-outs.
TEST_F(FluxDownload, ADownloadLeftHangingIsCancelledWhenItsSourceGoes)
{
    using namespace solar::testing;
    std::promise<void> stalling;
    std::optional<HttpTestServer> server(std::in_place, [&](const HttpRequest&, HttpConnection& c) {
        stalling.set_value();
        c.WaitForClose();
    });
    auto network =
        std::make_unique<NetworkSolarFlux>(server->Url("/text/wwv.txt"), solar::FetchOptions{600000, 600000});
    network->Start();
    ASSERT_EQ(stalling.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
    auto gone = std::async(std::launch::async, [&network] { network.reset(); });
    EXPECT_EQ(gone.wait_for(std::chrono::seconds(60)), std::future_status::ready)
        << "the source waited for its download";
    // Ends the stall, and with it a download that went on.
    server.reset();
}

} // namespace
} // namespace orvela::app
