// The real main window, driven offscreen with fake platform services and a
// real settings file in a temporary folder.
#include "app/close_on_signals.h"
#include "tests/support/http_test_server.h"
#include "app/network_solar_flux.h"
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QRadioButton>
#include <QEvent>
#include <QEventLoop>
#include <QMouseEvent>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

// Quits an event loop when the widget it watches is hidden.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop)
        : loop_(loop)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            loop_.quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};

// Runs the event loop until the window is hidden, for ten seconds at most.
bool WaitUntilHidden(QWidget& window)
{
    if (window.isVisible()) {
        QEventLoop loop;
        HideWatcher watcher(loop);
        window.installEventFilter(&watcher);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        window.removeEventFilter(&watcher);
    }
    return !window.isVisible();
}

TEST_F(MainWindow, FirstRunWithoutAFileTakesTheDefaultsAndAsksForTheStation)
{
    bool readyDuringDialog = true;
    int runsDuringDialog = -1;
    dialogs.onOpen = [&](QDialog& d) {
        const auto* f = static_cast<const TPROPForm*>(d.parentWidget());
        readyDuringDialog = f->ProgramReady();
        runsDuringDialog = f->RunCount();
        d.reject();
        return d.result();
    };
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();

    ASSERT_EQ(dialogs.titles.size(), 1u);
    EXPECT_EQ(dialogs.titles[0], QStringLiteral("Before anything else..."));
    EXPECT_FALSE(readyDuringDialog);
    EXPECT_EQ(runsDuringDialog, 0);

    const Settings& st = form->Station();
    EXPECT_EQ(st.CallSign, "NoCall");
    EXPECT_EQ(st.Power, 20);
    EXPECT_EQ(st.MinAngle, 10);
    EXPECT_EQ(Number(st.Display), 1);
    EXPECT_EQ(Number(st.GainTable), 0);
    EXPECT_FALSE(st.Path);
    // A cancelled first-run dialog leaves the design texts.
    for (QLineEdit* e : {ui.LongDeg, ui.LongMin, ui.LongSec, ui.LatDeg, ui.LatMin, ui.LatSec}) {
        EXPECT_EQ(e->text(), QStringLiteral("00"));
    }
    EXPECT_EQ(ui.PWREdit->text(), QStringLiteral("20"));
    EXPECT_EQ(ui.ANGEdit->text(), QStringLiteral("10"));
    EXPECT_TRUE(ui.DisplayItem0->isChecked());
    EXPECT_TRUE(ui.AGTItem0->isChecked());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path))); // nothing written before closing

    // One run, at the end of start-up, with the downloaded flux.
    EXPECT_TRUE(form->ProgramReady());
    EXPECT_EQ(form->RunCount(), 1);
    EXPECT_EQ(ui.SolarBox->title(), QStringLiteral("2026 Dec 10 0305 UTC"));
    EXPECT_DOUBLE_EQ(ui.FLXSpin->value(), 122.0);
    EXPECT_EQ(ui.H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 122.0"));
    EXPECT_EQ(ui.H1->Text(0).left(11), QStringLiteral("NoCall Lat "));
    EXPECT_EQ(form->MapUpdateCount(), 1);
    EXPECT_EQ(form->windowTitle().right(16), QStringLiteral(" - Build 1.5.0.0"));
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Orvela v1.5b")));
}

TEST_F(MainWindow, StoredStationFillsTheWindow)
{
    // 2.25 E (-2.25) and 48.85 N: the decimal 48.85 has no exact binary
    // form, and its seconds still read 0, not a residue of 1e-15.
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n"
                  "\"Longitude\"=hex:00,00,00,00,00,00,00,90,00,c0\r\n"
                  "\"Latitude\"=" +
                      HexOf(48.85L) +
                      "\r\n"
                      "\"Power\"=\"20\"\r\n"
                      "\"MinAngle\"=\"5\"\r\n"
                      "\"Display\"=\"3\"\r\n"
                      "\"GainTable\"=\"2\"\r\n",
                  "\"DistLon\"=\"90\"\r\n\"DistLat\"=\"45\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();

    EXPECT_TRUE(dialogs.titles.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(ui.DisplayItem2->isChecked());
    EXPECT_TRUE(ui.AGTItem2->isChecked());
    EXPECT_EQ(ui.InfoBar->PanelText(0), QStringLiteral("Delays (milliseconds)"));
    EXPECT_EQ(ui.InfoBar->PanelText(1), QStringLiteral("20 dbW"));
    EXPECT_EQ(ui.InfoBar->PanelText(2), QStringLiteral("3 elements Yagi"));
    EXPECT_EQ(ui.LongDeg->text(), QStringLiteral("-2"));
    EXPECT_EQ(ui.LongMin->text(), QStringLiteral("15"));
    EXPECT_EQ(ui.LongSec->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.LatDeg->text(), QStringLiteral("48"));
    EXPECT_EQ(ui.LatMin->text(), QStringLiteral("51"));
    EXPECT_EQ(ui.LatSec->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.PWREdit->text(), QStringLiteral("20"));
    EXPECT_EQ(ui.ANGEdit->text(), QStringLiteral("5"));
    EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station F6XYZ "));
    EXPECT_EQ(ui.DESTLong->value(), 90);
    EXPECT_EQ(ui.DESTLat->value(), 45);
    EXPECT_EQ(ui.LBL3->text(), QStringLiteral("degrees West"));
    EXPECT_EQ(ui.LBL4->text(), QStringLiteral("degrees North"));
    // Markers: home at 256 - round(-2.25/180*256), 128 - round(48.85/90*128); remote 90 W 45 N.
    EXPECT_EQ(ui.STA->pos(), QPoint(259, 59));
    EXPECT_EQ(ui.CC->pos(), QPoint(124, 60));
    EXPECT_EQ(ui.STA->toolTip(), QStringLiteral("F6XYZ"));
    EXPECT_EQ(form->RunCount(), 1);
}

TEST_F(MainWindow, SettingsThatCannotBeReadWarnAndKeepWhatWasRead)
{
    struct Case {
        const char* name;
        std::string file;
        std::string callSign; // what start-up ends with
        int power;
        int display; // 0: the read stopped before it, and no format is checked
    };
    const std::vector<Case> cases = {
        // A dword where a whole number as text is expected stops the read
        // there: what came before is kept, what comes after is never set.
        {"dword power", std::string(Header) + StationKey + "\"CallSign\"=\"F6XYZ\"\r\n\"Power\"=dword:00000064\r\n",
         "F6XYZ", 0, 0},
        // A file that is not a registry export at all: nothing read, so the
        // defaults, and the station is asked for again.
        {"garbage", "\x01\x02 this is not a settings file\r\n[unterminated\r\n", "NoCall", 20, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        WriteFile(path, c.file);
        auto form = Open();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Warning"));
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Problem reading the registry"));
        // The details name the file and say why.
        EXPECT_TRUE(messages.shown[0].Detail.startsWith(QString::fromStdString(path) + QStringLiteral(": ")))
            << messages.shown[0].Detail.toStdString();
        EXPECT_GT(messages.shown[0].Detail.size(), static_cast<qsizetype>(path.size()) + 10);
        EXPECT_EQ(form->Station().CallSign, c.callSign);
        EXPECT_EQ(form->Station().Power, c.power);
        EXPECT_EQ(Number(form->Station().Display), c.display);
        int checked = 0;
        for (QRadioButton* item : {form->Widgets().DisplayItem0, form->Widgets().DisplayItem1,
                                   form->Widgets().DisplayItem2, form->Widgets().DisplayItem3}) {
            checked += item->isChecked() ? 1 : 0;
        }
        EXPECT_EQ(checked, c.display == 0 ? 0 : 1);
        EXPECT_EQ(form->RunCount(), 1);
        form->close();
    }
    // The unreadable file was kept aside, byte for byte, before the remote point was saved.
    const QStringList aside =
        QDir(QFileInfo(QString::fromStdString(path)).path()).entryList({QStringLiteral("ORVELA.reg.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    const std::string kept =
        ReadFile(QFileInfo(QString::fromStdString(path)).path().toStdString() + "/" + aside[0].toStdString());
    EXPECT_EQ(kept, cases[1].file);
}

TEST_F(MainWindow, NothingIsComputedBeforeStartUpEnds)
{
    dialogs.onOpen = [](QDialog& d) {
        // The first-run dialog, accepted, sets the station widgets.
        auto& f = *static_cast<TPROPForm*>(d.parentWidget());
        auto& dialog = static_cast<TCoordForm&>(d);
        dialog.Widgets().PWRSpin->setValue(30);
        dialog.Widgets().ANGSpin->setValue(3);
        f.Widgets().DESTLong->setValue(12);
        f.Widgets().FLXSpin->setValue(150);
        dialog.Widgets().OkBtn->click();
        return d.result();
    };
    auto form = Open();
    EXPECT_EQ(form->RunCount(), 1);
    EXPECT_EQ(form->Station().Power, 30);
    EXPECT_EQ(form->Station().MinAngle, 3);

    form->Widgets().FLXSpin->setValue(180.5);
    EXPECT_EQ(form->RunCount(), 2);
    EXPECT_EQ(form->Widgets().H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 180.5"));
}

TEST_F(MainWindow, SelectingABandCellExplainsItAndLabelsExplainNothing)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    PredictionTable* grid = form->Widgets().MUFGrid;
    const Prediction& p = grid->Current();

    // Find a result cell in the band rows.
    int col = -1, row = -1;
    for (int r = 0; r < 15 && col < 0; ++r) {
        for (int c = 1; c < 25; ++c) {
            if (!p.At(c, r).Text.empty()) {
                col = c;
                row = r;
                break;
            }
        }
    }
    ASSERT_GE(col, 1);

    grid->setCurrentIndex(grid->model()->index(0, 0)); // label column: nothing
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());

    grid->setCurrentIndex(grid->model()->index(row, col));
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Information);
    EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("What it means..."));
    EXPECT_TRUE(
        messages.shown[0].Text.startsWith(QStringLiteral("- Signal level in dB above rated receiver sensitivity : ")));
    EXPECT_FALSE(messages.shown[0].Text.contains(QLatin1Char('\r')));

    grid->setCurrentIndex(grid->model()->index(17, col)); // the MUF row: nothing
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainWindow, DisplayFormatSwitchRelabelsTheTable)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
    EXPECT_EQ(ui.MUFGrid->CellText(0, 0), QStringLiteral("30 Mhz"));

    ui.DisplayItem3->click();
    EXPECT_EQ(Number(form->Station().Display), 4);
    EXPECT_EQ(ui.MUFGrid->CellText(0, 0), QString());
    EXPECT_EQ(ui.MUFGrid->CellText(0, 13), QStringLiteral("FRQ"));
    EXPECT_EQ(ui.MUFGrid->CellText(0, 14), QStringLiteral("DSC"));
    EXPECT_EQ(ui.InfoBar->PanelText(0), QStringLiteral("Best frequencies"));

    ui.DisplayItem1->click();
    EXPECT_EQ(ui.MUFGrid->CellText(0, 0), QStringLiteral("30 Mhz"));
    EXPECT_EQ(ui.MUFGrid->CellText(0, 14), QStringLiteral("2 Mhz"));
    EXPECT_EQ(ui.InfoBar->PanelText(0), QStringLiteral("Takeoff angle (degrees)"));

    ui.AGTItem1->click();
    EXPECT_EQ(ui.InfoBar->PanelText(2), QStringLiteral("Simple dipole"));
    EXPECT_EQ(form->RunCount(), 4);
}

TEST_F(MainWindow, ClosingSavesTheRemotePointFormatAndAntennaAndKeepsEverythingElse)
{
    const std::string before = std::string(Header) + "; written by hand\r\n" + StationKey +
                               "\"CallSign\"=\"F6XYZ\"\r\n"
                               "\"Latitude\"=hex:00,00,00,00,00,00,00,c2,04,40\r\n"
                               "\"Unknown\"=hex(7):41,00,00,00,00,00\r\n"
                               "\r\n" +
                               DiversKey + "\"DistLon\"=\"10\"\r\n\"Other\"=dword:00000001\r\n\"DistLat\"=\"20\"\r\n";
    WriteFile(path, before);
    auto form = Open();
    form->Widgets().DESTLong->setValue(-75);
    form->Widgets().DESTLat->setValue(-33);
    form->Widgets().DisplayItem2->click();
    form->Widgets().AGTItem2->click();
    form->close();
    EXPECT_TRUE(messages.shown.empty());

    std::string expected = before;
    expected.insert(expected.find("\r\n", expected.find("\"Unknown\"")) + 2,
                    "\"Display\"=\"3\"\r\n\"GainTable\"=\"2\"\r\n");
    expected.replace(expected.find("\"DistLon\"=\"10\""), 14, "\"DistLon\"=\"-75\"");
    expected.replace(expected.find("\"DistLat\"=\"20\""), 14, "\"DistLat\"=\"-33\"");
    // The long-path option is written too, at the end of its section.
    expected.insert(expected.find("\r\n\r\n[HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA\\Divers]") + 2,
                    "\"Path\"=\"0\"\r\n");
    EXPECT_EQ(ReadFile(path), expected);

    // And the next start finds the remote point again.
    auto again = Open();
    EXPECT_EQ(again->Widgets().DESTLong->value(), -75);
    EXPECT_EQ(again->Widgets().DESTLat->value(), -33);
    EXPECT_TRUE(again->Widgets().DisplayItem2->isChecked());
    EXPECT_TRUE(again->Widgets().AGTItem2->isChecked());
    EXPECT_EQ(Number(again->Station().Display), 3);
    EXPECT_EQ(Number(again->Station().GainTable), 2);
}

TEST_F(MainWindow, TerminationSignalsCloseTheWindowAndSaveTheRemotePoint)
{
    auto form = Open();
    TerminationSignals signalsEndingTheProgram;
    signalsEndingTheProgram.CloseOnSignal(*form);
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(sig);
        form->show();
        form->Widgets().DESTLong->setValue(sig);
        ASSERT_EQ(raise(sig), 0);
        EXPECT_TRUE(WaitUntilHidden(*form));
        EXPECT_EQ(RegIni(path).ReadInteger("Divers", "DistLon", 0), sig);
    }
    EXPECT_FALSE(signalsEndingTheProgram.StartUpAbandoned());
}

// Told to end while start-up waits for the user, the window leaves out the
// rest of start-up: nothing more is shown, fetched, composed, computed or
// written, also when the window goes.
TEST_F(MainWindow, AnAbandonedStartUpStopsAfterTheStepThatWaited)
{
    const std::string station = std::string(Header) + StationKey + "\"CallSign\"=\"F6XYZ\"\r\n";
    struct Case {
        const char* name;
        std::string file; // empty: none, a first run
        int boxes, dialogs, downloads;
    };
    const Case cases[] = {
        {"the settings warning", "\x01 not a settings file\r\n", 1, 0, 0},
        {"the first-run dialog", "", 0, 1, 0},
        {"the download", station, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(QString::fromStdString(path));
        if (!c.file.empty()) {
            WriteFile(path, c.file);
        }
        const QDir folder(QFileInfo(QString::fromStdString(path)).path());
        const QStringList before = folder.entryList(QDir::Files);
        messages.shown.clear();
        dialogs.titles.clear();
        flux.calls = 0;
        flux.result.Ok = false; // a box would follow
        startUpAbandoned = false;
        const auto abandon = [this] { startUpAbandoned = true; };
        messages.onShow = abandon;
        flux.onGet = abandon;
        dialogs.onOpen = [&](QDialog&) {
            abandon();
            return static_cast<int>(QDialog::Rejected);
        };

        auto form = Open();
        EXPECT_EQ(messages.shown.size(), static_cast<std::size_t>(c.boxes));
        EXPECT_EQ(dialogs.titles.size(), static_cast<std::size_t>(c.dialogs));
        EXPECT_EQ(flux.calls, c.downloads);
        EXPECT_EQ(form->MapUpdateCount(), 0);
        EXPECT_FALSE(form->ProgramReady());
        EXPECT_EQ(form->RunCount(), 0);
        form.reset();
        EXPECT_EQ(folder.entryList(QDir::Files), before);
        EXPECT_EQ(ReadFile(path), c.file);
    }
}

TEST_F(MainWindow, ASaveThatFailsWarnsWithTheFileAndTheReason)
{
    // The settings folder's place is taken by a plain file: nothing can be
    // created there, whatever the user's rights.
    const std::string blocker = dir.filePath(QStringLiteral("blocked")).toStdString();
    WriteFile(blocker, "not a folder");
    path = blocker + "/ORVELA.reg";
    auto form = Open();
    messages.shown.clear();
    form->close();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
    EXPECT_TRUE(messages.shown[0].Text.contains(QString::fromStdString(path))) << messages.shown[0].Text.toStdString();
    EXPECT_TRUE(messages.shown[0].Text.contains(QStringLiteral("Not a directory")))
        << messages.shown[0].Text.toStdString();
    EXPECT_EQ(ReadFile(blocker), "not a folder");
}

TEST_F(MainWindow, ClockShowsUniversalTimeInTheLocalZone)
{
    struct Case {
        const char* zone;
        const char* local;  // local time, for the trace
        std::time_t moment; // that local time as a moment
        const char* expected;
    };
    const Case cases[] = {
        // Five hours west, no daylight saving: local 20:30 is 01:30 UTC.
        {"EST5", "2026-12-10 20:30", 1796952600, "UTC : 01:30"},
        // Central European summer time: local 14:05 is 12:05 UTC.
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-07-15 14:05", 1784117100, "UTC : 12:05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        WithTimeZone(c.zone, [&] {
            clock.now = c.moment;
            auto form = Open();
            EXPECT_EQ(form->Widgets().ClockPanel->text(), QStringLiteral("Universal time"));
            form->TimerClick();
            EXPECT_EQ(form->Widgets().ClockPanel->text(), QString::fromLatin1(c.expected));
        });
    }
}

TEST_F(MainWindow, LeftOpenTheTableFollowsTheHourAndTheMapTheClock)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open(); // 12:00 UTC
    const PredictionTable& grid = *form->Widgets().MUFGrid;
    const auto highlighted = [&grid] {
        for (int col = 1; col < TableCols; ++col) {
            if (grid.Current().At(col, RowUtc).Bg == 0xFFFF00) {
                return col;
            }
        }
        return 0;
    };
    const auto mapImage = [&form] { return form->Widgets().MAP->pixmap().toImage(); };
    ASSERT_EQ(highlighted(), 13);
    const int runs = form->RunCount();
    const int maps = form->MapUpdateCount();
    const QImage atNoon = mapImage();

    struct Step {
        std::time_t advance; // seconds since the previous step
        int runs, maps;      // counts since start-up
        int column;          // highlighted
    };
    const Step steps[] = {
        {1, 0, 0, 13},   {298, 0, 0, 13},   // 12:04:59
        {1, 0, 1, 13},                      // 12:05:00, five minutes on: the map again
        {299, 0, 1, 13}, {3000, 0, 2, 13},  // 12:59:59
        {1, 1, 2, 14},                      // 13:00:00: the new hour's table
        {1, 1, 2, 14},   {-3601, 2, 3, 13}, // the clock set back an hour: both again
    };
    for (const Step& step : steps) {
        clock.now += step.advance;
        SCOPED_TRACE(::testing::Message() << "at " << clock.now);
        form->TimerClick();
        EXPECT_EQ(form->RunCount() - runs, step.runs);
        EXPECT_EQ(form->MapUpdateCount() - maps, step.maps);
        EXPECT_EQ(highlighted(), step.column);
        if (step.column == 14) {
            EXPECT_NE(mapImage(), atNoon); // the terminator has moved
        }
    }
}

TEST_F(MainWindow, AFailedFluxDownloadWarnsAndUsesOneHundred)
{
    flux.result = SolarFlux{};
    auto form = Open();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Error"));
    EXPECT_EQ(messages.shown[0].Text,
              QStringLiteral("Could not download Geophysical Alert Message wwv.txt from http://127.0.0.1:9"));
    EXPECT_DOUBLE_EQ(form->Widgets().FLXSpin->value(), 100.0);
    EXPECT_EQ(form->Widgets().SolarBox->title(), QStringLiteral("Flux error"));
    EXPECT_TRUE(form->Widgets().SolarBox->toolTip().endsWith(QStringLiteral("http://127.0.0.1:9/text/wwv.txt")));
}

TEST_F(MainWindow, TheMapPicksTheRemotePoint)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
    EXPECT_TRUE(ui.H1->Text(1).startsWith(QStringLiteral(" Lat "))); // no label before the first click

    const auto send = [&](QEvent::Type type, QPoint at) {
        QMouseEvent e(type, at, ui.MAP->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(ui.MAP, &e);
    };
    send(QEvent::MouseMove, QPoint(400, 200));
    EXPECT_EQ(ui.LBL->text(), QStringLiteral("Longitude 101\u00B0 East - Latitude 50\u00B0 South"));
    EXPECT_EQ(ui.DESTLong->value(), 0); // moving picks nothing
    // The widest coordinates fit the label's fixed width, drawn in Arial or
    // the font with its widths.
    send(QEvent::MouseMove, QPoint(0, 0));
    EXPECT_EQ(ui.LBL->text(), QStringLiteral("Longitude 180\u00B0 West - Latitude 90\u00B0 North"));
    EXPECT_LE(QFontMetrics(ui.LBL->font()).horizontalAdvance(ui.LBL->text()), ui.LBL->width())
        << QFontInfo(ui.LBL->font()).family().toStdString();

    const int runs = form->RunCount();
    send(QEvent::MouseButtonPress, QPoint(0, 0));
    EXPECT_EQ(ui.DESTLong->value(), 180);
    EXPECT_EQ(ui.DESTLat->value(), 90);
    EXPECT_EQ(ui.LBL3->text(), QStringLiteral("degrees West"));
    EXPECT_EQ(ui.LBL4->text(), QStringLiteral("degrees North"));
    EXPECT_EQ(ui.CC->pos(), QPoint(-4, -4));
    EXPECT_EQ(form->RemoteLabel(), QStringLiteral("Remote station"));
    EXPECT_TRUE(ui.H1->Text(1).startsWith(QStringLiteral("Remote station Lat 90.0\u00B0N Lon 180.0\u00B0O")))
        << ui.H1->Text(1).toStdString();
    EXPECT_EQ(form->RunCount(), runs + 3); // each spin edit's change, then the click

    ui.DESTLat->setValue(-45); // typed: the marker follows
    EXPECT_EQ(ui.CC->pos(), QPoint(-4, 188));
    EXPECT_EQ(ui.LBL4->text(), QStringLiteral("degrees South"));

    // The second press of a double click picks its point too.
    send(QEvent::MouseButtonRelease, QPoint(0, 0));
    send(QEvent::MouseButtonDblClick, QPoint(128, 64));
    EXPECT_EQ(ui.DESTLong->value(), 90);
    EXPECT_EQ(ui.DESTLat->value(), 45);
    EXPECT_EQ(ui.CC->pos(), QPoint(124, 60));
}

TEST_F(MainWindow, StartUpShadesTheMapForNow)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    clock.now = 1781870400; // 2026-06-19 12:00:00 UTC: the sun over longitude 0
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
    EXPECT_EQ(form->MapUpdateCount(), 1);
    const QImage map = ui.MAP->pixmap().toImage();
    ASSERT_EQ(map.size(), QSize(512, 257));
    // The composed picture is the compositor's, byte for byte: the sub-solar
    // point carries the glyph's glow, the antimeridian lies in the night.
    Picture24 expected;
    ComposeMap(DecodeJpeg(MapResource("MAP_DAY")), DecodeJpeg(MapResource("MAP_NIGHT")), expected,
               ToUtcDateTime(clock.now), true, ResizeNearest(DecodeBmp24(MapResource("SUN_BMP")), 8, 8),
               ResizeNearest(DecodeBmp8(MapResource("SUN_ALPHA")), 8, 8), 512);
    for (const QPoint p : {QPoint(256, 90), QPoint(0, 128), QPoint(100, 30), QPoint(511, 255)}) {
        const std::uint8_t* px = expected.Row(p.y()) + 3 * p.x();
        EXPECT_EQ(map.pixelColor(p), QColor(px[2], px[1], px[0])) << p.x() << "," << p.y();
    }
    EXPECT_EQ(map.pixelColor(10, 256), QColor(Qt::black)); // the row below the picture

    // The clock rewrites its text only.
    for (int i = 0; i < 3; ++i) {
        form->TimerClick();
    }
    EXPECT_EQ(form->MapUpdateCount(), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindow, AMissingMapPictureIsReportedAndTheCaptionStays)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    for (const char* name : {"MAP_DAY", "MAP_NIGHT"}) {
        SCOPED_TRACE(name);
        messages.shown.clear();
        pictures.missing = {name};
        auto form = Open();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::None);
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Error, no image was found"));
        EXPECT_EQ(form->MapUpdateCount(), 0);
        EXPECT_TRUE(form->Widgets().MAP->pixmap().isNull());
        EXPECT_EQ(form->Widgets().MAPCaption->text(), QStringLiteral("World map"));
        EXPECT_EQ(form->RunCount(), 1); // start-up goes on
        clock.now += 600;
        form->TimerClick();
        EXPECT_EQ(messages.shown.size(), 1u); // reported once, not at every refresh
    }
}

// The download itself, from a server on the loopback interface.
TEST_F(MainWindow, DownloadedFluxFillsTheSolarBox)
{
    using namespace solar::testing;
    const std::string bulletin = ":Product: Geophysical Alert Message wwv.txt\n"
                                 ":Issued: 2026 Dec 10 0305 UTC\n"
                                 "Solar flux 620 and estimated planetary A-index 5.\n";
    // The server answers only after the event loop has gone round three
    // times since the request came in: one that stood still during the
    // download leaves the server waiting, and after ten seconds it answers
    // all the same, for the test to fail.
    std::mutex mutex;
    std::condition_variable ticked;
    int ticks = 0;
    bool ranDuringDownload = false;
    HttpTestServer server([&](const HttpRequest& r, HttpConnection& c) {
        {
            std::unique_lock lock(mutex);
            const int atRequest = ticks;
            ranDuringDownload = ticked.wait_for(lock, std::chrono::seconds(10), [&] { return ticks >= atRequest + 3; });
        }
        Reply(200, bulletin)(r, c);
    });
    NetworkSolarFlux source(server.Url("/text/wwv.txt"));
    QTimer paintingGoesOn;
    QObject::connect(&paintingGoesOn, &QTimer::timeout, [&] {
        {
            const std::lock_guard lock(mutex);
            ++ticks;
        }
        ticked.notify_all();
    });
    paintingGoesOn.start(10);

    auto form = Open(&source);
    {
        const std::lock_guard lock(mutex);
        EXPECT_TRUE(ranDuringDownload) << "the event loop stood still during the download";
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form->Widgets().SolarBox->title(), QStringLiteral("2026 Dec 10 0305 UTC"));
    EXPECT_DOUBLE_EQ(form->Widgets().FLXSpin->value(), 500.0); // 620 is beyond the flux's range
    EXPECT_EQ(form->Widgets().H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 500.0"));
    EXPECT_TRUE(form->Widgets().SolarBox->toolTip().endsWith(QString::fromStdString(server.Url("/text/wwv.txt"))));
}

TEST_F(MainWindow, AFailedDownloadIsReportedAndTheFluxIsOneHundred)
{
    using namespace solar::testing;
    struct Case {
        const char* name;
        Handler handler;
    };
    const Case cases[] = {
        {"not found", Reply(404, "<html>Not Found</html>")},
        {"data outage",
         Reply(200, ":Issued: 2026 Jun 02 0305 UTC\nSolar flux ??? and estimated planetary A-index 5.\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        HttpTestServer server(c.handler);
        NetworkSolarFlux source(server.Url("/text/wwv.txt"));
        auto form = Open(&source);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Error"));
        EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Could not download Geophysical Alert Message wwv.txt from ") +
                                              QString::fromStdString(server.Origin()));
        EXPECT_DOUBLE_EQ(form->Widgets().FLXSpin->value(), 100.0);
        EXPECT_EQ(form->Widgets().SolarBox->title(), QStringLiteral("Flux error"));
        EXPECT_EQ(form->RunCount(), 1);
    }
}

} // namespace
} // namespace orvela::app
