// The real main window, driven offscreen with fake platform services and a
// real settings file in a temporary folder: start-up, the options and the
// cell report, closing, the clock, and the day/night map.
#include "app/close_on_signals.h"
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QRadioButton>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
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
        auto& f = *static_cast<TPROPForm*>(d.parentWidget());
        readyDuringDialog = Probe(f).ProgramReady();
        runsDuringDialog = Probe(f).RunCount();
        d.reject();
        return d.result();
    };
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();

    ASSERT_EQ(dialogs.titles.size(), 1u);
    EXPECT_EQ(dialogs.titles[0], QStringLiteral("Before anything else..."));
    EXPECT_FALSE(readyDuringDialog);
    EXPECT_EQ(runsDuringDialog, 0);

    const Settings& st = Probe(*form).Station();
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
    EXPECT_TRUE(Probe(*form).ProgramReady());
    EXPECT_EQ(Probe(*form).RunCount(), 1);
    EXPECT_EQ(ui.SolarBox->title(), QStringLiteral("2026 Dec 10 0305 UTC"));
    EXPECT_DOUBLE_EQ(ui.FLXSpin->value(), 122.0);
    EXPECT_EQ(ui.H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 122.0"));
    EXPECT_EQ(ui.H1->Text(0).left(11), QStringLiteral("NoCall Lat "));
    EXPECT_EQ(Probe(*form).MapUpdateCount(), 1);
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
    Ui::TPROPForm& ui = Probe(*form).Widgets();

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
    EXPECT_EQ(Probe(*form).RunCount(), 1);
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
        EXPECT_EQ(Probe(*form).Station().CallSign, c.callSign);
        EXPECT_EQ(Probe(*form).Station().Power, c.power);
        EXPECT_EQ(Number(Probe(*form).Station().Display), c.display);
        int checked = 0;
        for (QRadioButton* item : {Probe(*form).Widgets().DisplayItem0, Probe(*form).Widgets().DisplayItem1,
                                   Probe(*form).Widgets().DisplayItem2, Probe(*form).Widgets().DisplayItem3}) {
            checked += item->isChecked() ? 1 : 0;
        }
        EXPECT_EQ(checked, c.display == 0 ? 0 : 1);
        EXPECT_EQ(Probe(*form).RunCount(), 1);
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
        Probe(f).Widgets().DESTLong->setValue(12);
        Probe(f).Widgets().FLXSpin->setValue(150);
        dialog.Widgets().OkBtn->click();
        return d.result();
    };
    auto form = Open();
    EXPECT_EQ(Probe(*form).RunCount(), 1);
    EXPECT_EQ(Probe(*form).Station().Power, 30);
    EXPECT_EQ(Probe(*form).Station().MinAngle, 3);

    Probe(*form).Widgets().FLXSpin->setValue(180.5);
    EXPECT_EQ(Probe(*form).RunCount(), 2);
    EXPECT_EQ(Probe(*form).Widgets().H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 180.5"));
}

TEST_F(MainWindow, SelectingABandCellExplainsItAndLabelsExplainNothing)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    PredictionTable* grid = Probe(*form).Widgets().MUFGrid;
    const QModelIndex cell = ResultCell(*grid);
    ASSERT_TRUE(cell.isValid());

    grid->setCurrentIndex(grid->model()->index(0, 0)); // label column: nothing
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());

    grid->setCurrentIndex(cell);
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Information);
    EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("What it means..."));
    EXPECT_TRUE(
        messages.shown[0].Text.startsWith(QStringLiteral("- Signal level in dB above rated receiver sensitivity : ")));
    EXPECT_FALSE(messages.shown[0].Text.contains(QLatin1Char('\r')));

    grid->setCurrentIndex(grid->model()->index(RowMuf, cell.column())); // the MUF row: nothing
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainWindow, DisplayFormatSwitchRelabelsTheTable)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    EXPECT_EQ(ui.MUFGrid->CellText(0, 0), QStringLiteral("30 Mhz"));

    ui.DisplayItem3->click();
    EXPECT_EQ(Number(Probe(*form).Station().Display), 4);
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
    EXPECT_EQ(Probe(*form).RunCount(), 4);
}

TEST_F(MainWindow, TheLongPathBoxRunsTheLongPathAndIsStoredAtClosing)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Path\"=\"1\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    EXPECT_EQ(ui.LongPathBox->text(), QStringLiteral("Long path"));
    EXPECT_EQ(ui.LongPathBox->accessibleName(), QStringLiteral("Long path"));
    EXPECT_NE(ui.LongPathBox->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_TRUE(ui.LongPathBox->isChecked()); // as stored
    EXPECT_TRUE(Probe(*form).Station().Path);
    const QString longDistance = ui.H1->Text(2);

    // Unticked from the keyboard: the short path at once.
    const int runs = Probe(*form).RunCount();
    ui.LongPathBox->setFocus();
    QTest::keyClick(ui.LongPathBox, Qt::Key_Space);
    EXPECT_FALSE(ui.LongPathBox->isChecked());
    EXPECT_FALSE(Probe(*form).Station().Path);
    EXPECT_EQ(Probe(*form).RunCount(), runs + 1);
    const QString shortDistance = ui.H1->Text(2);
    EXPECT_NE(shortDistance, longDistance);
    // The two ways round add up to the Earth's circumference.
    const auto km = [](const QString& text) {
        return text.section(QLatin1Char(':'), 1).remove(QStringLiteral("Km")).trimmed().toDouble();
    };
    EXPECT_NEAR(km(shortDistance) + km(longDistance), 40030, 100)
        << shortDistance.toStdString() << " / " << longDistance.toStdString();

    form->close();
    EXPECT_NE(ReadFile(path).find("\"Path\"=\"0\""), std::string::npos) << ReadFile(path);
    auto again = Open();
    EXPECT_FALSE(Probe(*again).Widgets().LongPathBox->isChecked());
    Probe(*again).Widgets().LongPathBox->setChecked(true);
    EXPECT_EQ(Probe(*again).Widgets().H1->Text(2), longDistance);
    again->close();
    EXPECT_TRUE(Probe(*Open()).Widgets().LongPathBox->isChecked());
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
    Probe(*form).Widgets().DESTLong->setValue(-75);
    Probe(*form).Widgets().DESTLat->setValue(-33);
    Probe(*form).Widgets().DisplayItem2->click();
    Probe(*form).Widgets().AGTItem2->click();
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
    EXPECT_EQ(Probe(*again).Widgets().DESTLong->value(), -75);
    EXPECT_EQ(Probe(*again).Widgets().DESTLat->value(), -33);
    EXPECT_TRUE(Probe(*again).Widgets().DisplayItem2->isChecked());
    EXPECT_TRUE(Probe(*again).Widgets().AGTItem2->isChecked());
    EXPECT_EQ(Number(Probe(*again).Station().Display), 3);
    EXPECT_EQ(Number(Probe(*again).Station().GainTable), 2);
}

TEST_F(MainWindow, TerminationSignalsCloseTheWindowAndSaveTheRemotePoint)
{
    auto form = Open();
    TerminationSignals signalsEndingTheProgram;
    signalsEndingTheProgram.CloseOnSignal(*form);
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(sig);
        form->show();
        Probe(*form).Widgets().DESTLong->setValue(sig);
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
        EXPECT_EQ(Probe(*form).MapUpdateCount(), 0);
        EXPECT_FALSE(Probe(*form).ProgramReady());
        EXPECT_EQ(Probe(*form).RunCount(), 0);
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
            EXPECT_EQ(Probe(*form).Widgets().ClockPanel->text(), QStringLiteral("Universal time"));
            Probe(*form).TimerClick();
            EXPECT_EQ(Probe(*form).Widgets().ClockPanel->text(), QString::fromLatin1(c.expected));
        });
    }
}

TEST_F(MainWindow, LeftOpenTheTableFollowsTheHourAndTheMapTheClock)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open(); // 12:00 UTC
    const PredictionTable& grid = *Probe(*form).Widgets().MUFGrid;
    const auto highlighted = [&grid] {
        for (int col = 1; col < TableCols; ++col) {
            if (grid.Current().At(col, RowUtc).Bg == 0xFFFF00) {
                return col;
            }
        }
        return 0;
    };
    const auto mapImage = [&form] { return Probe(*form).Widgets().MAP->pixmap().toImage(); };
    ASSERT_EQ(highlighted(), 13);
    const int runs = Probe(*form).RunCount();
    const int maps = Probe(*form).MapUpdateCount();
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
        Probe(*form).TimerClick();
        EXPECT_EQ(Probe(*form).RunCount() - runs, step.runs);
        EXPECT_EQ(Probe(*form).MapUpdateCount() - maps, step.maps);
        EXPECT_EQ(highlighted(), step.column);
        if (step.column == 14) {
            EXPECT_NE(mapImage(), atNoon); // the terminator has moved
        }
    }
}

TEST_F(MainWindow, StartUpShadesTheMapForNow)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    clock.now = 1781870400; // 2026-06-19 12:00:00 UTC: the sun over longitude 0
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    EXPECT_EQ(Probe(*form).MapUpdateCount(), 1);
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
        Probe(*form).TimerClick();
    }
    EXPECT_EQ(Probe(*form).MapUpdateCount(), 1);
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
        EXPECT_EQ(Probe(*form).MapUpdateCount(), 0);
        EXPECT_TRUE(Probe(*form).Widgets().MAP->pixmap().isNull());
        EXPECT_EQ(Probe(*form).Widgets().MAPCaption->text(), QStringLiteral("World map"));
        EXPECT_EQ(Probe(*form).RunCount(), 1); // start-up goes on
        clock.now += 600;
        Probe(*form).TimerClick();
        EXPECT_EQ(messages.shown.size(), 1u); // reported once, not at every refresh
    }
}

} // namespace
} // namespace orvela::app
