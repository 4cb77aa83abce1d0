// The station setup dialog, driven offscreen through the real main window:
// what it reads, what it stores, and what the main window shows after it.
#include "station/locator.h"
#include "station/settings_schema.h"
#include "tests/app/window_fixture.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QSpinBox>

#include <clocale>
#include <cmath>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

// Paris: 2.25 E (-2.25, positive west), 48.85 N.
const std::string ParisStation = "\"CallSign\"=\"F6XYZ\"\r\n"
                                 "\"Longitude\"=" +
                                 HexOf(-2.25L) +
                                 "\r\n"
                                 "\"Latitude\"=" +
                                 HexOf(48.85L) +
                                 "\r\n"
                                 "\"Power\"=\"20\"\r\n"
                                 "\"MinAngle\"=\"10\"\r\n";

class SetupDialog : public MainWindow {
protected:
    // The next dialog is filled in by `edit`, then closed with the button.
    void Answer(std::function<void(Ui::TCoordForm&)> edit, bool accept = true)
    {
        dialogs.onOpen = [this, edit, accept](QDialog& d) {
            auto& dialog = static_cast<TCoordForm&>(d);
            opened = &dialog;
            if (edit) {
                edit(dialog.Widgets());
            }
            (accept ? dialog.Widgets().OkBtn : dialog.Widgets().CancelBtn)->click();
            return d.result();
        };
    }
    std::vector<QString> StationTexts(Ui::TPROPForm& ui) const
    {
        return {ui.LongDeg->text(), ui.LongMin->text(), ui.LongSec->text(), ui.LatDeg->text(),
                ui.LatMin->text(),  ui.LatSec->text(),  ui.PWREdit->text(), ui.ANGEdit->text()};
    }
    TCoordForm* opened = nullptr;
};

TEST_F(SetupDialog, OpensOnTheStoredStationAndAcceptingStoresItAgain)
{
    WriteSettings(ParisStation);
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const int runs = Probe(*form).RunCount();
    // The dialog reads what the store read at start-up; what it writes on
    // Accept replaces this.
    WriteFile(path, std::string(Header) + StationKey + "\"CallSign\"=\"F6XYZ\"\r\n");

    Answer([](Ui::TCoordForm& d) {
        EXPECT_EQ(d.INDEdit->text(), QStringLiteral("F6XYZ"));
        EXPECT_EQ(d.LngDeg->value(), -2);
        EXPECT_EQ(d.LngMin->value(), 15);
        EXPECT_EQ(d.LngSec->value(), 0);
        EXPECT_EQ(d.LttDeg->value(), 48);
        EXPECT_EQ(d.LttMin->value(), 51);
        EXPECT_EQ(d.LttSec->value(), 0);
        EXPECT_EQ(d.PWRSpin->value(), 20);
        EXPECT_EQ(d.ANGSpin->value(), 10);
        EXPECT_EQ(d.LngLbl->text(), QString());
        EXPECT_EQ(d.LttLbl->text(), QString());
    });
    ui.ChangeBtn->click();
    ASSERT_EQ(dialogs.titles.size(), 1u);
    EXPECT_EQ(dialogs.titles[0], QStringLiteral("Setup"));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->parent(), form.get());
    EXPECT_EQ(opened->size(), QSize(422, 209));

    EXPECT_EQ(Probe(*form).Station().Longitude, -2.25L);
    // Latitude 48.85 is stored as the dialog shows it, to the whole second.
    EXPECT_EQ(Probe(*form).Station().Latitude, ComposeDMS(48, 51, 0, false));
    EXPECT_EQ(StationTexts(ui), (std::vector<QString>{"-2", "15", "0", "48", "51", "0", "20", "10"}));
    EXPECT_EQ(ui.STA->pos(), QPoint(256 + 3, 128 - 69));
    EXPECT_EQ(Probe(*form).MapUpdateCount(), 2);
    // Neither power nor angle changed: one run follows the accepted station.
    EXPECT_EQ(Probe(*form).RunCount(), runs + 1);
    EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station F6XYZ "));
    RegIni reread(path);
    EXPECT_EQ(reread.ReadExtended("Station", "Longitude"), -2.25L);
    EXPECT_EQ(reread.ReadExtended("Station", "Latitude"), Probe(*form).Station().Latitude);
    EXPECT_EQ(reread.ReadInteger("Station", "Power", 0), 20);
    EXPECT_EQ(reread.ReadInteger("Station", "MinAngle", 0), 10);
    EXPECT_TRUE(messages.shown.empty());
}

// The degrees, the power and the angle allow what the settings allow: a
// value the dialog accepts is one start-up uses.
TEST_F(SetupDialog, TheSpinsAllowWhatTheSettingsAllow)
{
    WriteSettings(ParisStation);
    auto form = Open();
    Answer(
        [](Ui::TCoordForm& d) {
            const struct {
                QSpinBox* Spin;
                SettingId Setting;
            } spins[] = {{d.LngDeg, SettingId::Longitude},
                         {d.LttDeg, SettingId::Latitude},
                         {d.PWRSpin, SettingId::Power},
                         {d.ANGSpin, SettingId::MinAngle}};
            for (const auto& s : spins) {
                SCOPED_TRACE(SettingRowOf(s.Setting).Name);
                EXPECT_EQ(s.Spin->minimum(), SettingRowOf(s.Setting).WholeMin());
                EXPECT_EQ(s.Spin->maximum(), SettingRowOf(s.Setting).WholeMax());
            }
        },
        false);
    Probe(*form).Widgets().ChangeBtn->click();
    EXPECT_NE(opened, nullptr);
}

TEST_F(SetupDialog, CancelAfterEditingEverythingChangesNothing)
{
    WriteSettings(ParisStation);
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const std::string before = ReadFile(path);
    const Settings station = Probe(*form).Station();
    const std::vector<QString> shown = StationTexts(ui);
    const QPoint marker = ui.STA->pos();
    const int runs = Probe(*form).RunCount();

    Answer(
        [](Ui::TCoordForm& d) {
            d.INDEdit->setText(QStringLiteral("W1AW"));
            d.QTHEdit->setText(QStringLiteral("FN31PR"));
            d.LngSec->setValue(12);
            d.LttMin->setValue(3);
            d.PWRSpin->setValue(2000);
            d.ANGSpin->setValue(45);
        },
        false);
    ui.ChangeBtn->click();
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Probe(*form).Station().CallSign, station.CallSign);
    EXPECT_EQ(Probe(*form).Station().Longitude, station.Longitude);
    EXPECT_EQ(Probe(*form).Station().Latitude, station.Latitude);
    EXPECT_EQ(Probe(*form).Station().Power, station.Power);
    EXPECT_EQ(Probe(*form).Station().MinAngle, station.MinAngle);
    EXPECT_EQ(StationTexts(ui), shown);
    EXPECT_EQ(ui.STA->pos(), marker);
    EXPECT_EQ(Probe(*form).RunCount(), runs);
    EXPECT_EQ(Probe(*form).MapUpdateCount(), 1);
}

TEST_F(SetupDialog, AcceptedValuesAreStoredShownAndUsed)
{
    WriteSettings(ParisStation);
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const int runs = Probe(*form).RunCount();

    Answer([](Ui::TCoordForm& d) {
        d.INDEdit->setText(QStringLiteral("  F5ABC  "));
        d.LngDeg->setValue(-2);
        d.LngMin->setValue(17);
        d.LngSec->setValue(30);
        d.LttDeg->setValue(-89);
        d.LttMin->setValue(58);
        d.LttSec->setValue(44);
        d.PWRSpin->setValue(250);
        d.ANGSpin->setValue(5);
    });
    ui.ChangeBtn->click();
    EXPECT_EQ(Probe(*form).Station().CallSign, "F5ABC");
    EXPECT_EQ(RegIni(path).ReadString("Station", "CallSign", ""), "  F5ABC  ");
    EXPECT_NEAR(static_cast<double>(Probe(*form).Station().Longitude), -2.291666667, 1e-9);
    EXPECT_NEAR(static_cast<double>(Probe(*form).Station().Latitude), -89.978888889, 1e-9);
    EXPECT_EQ(StationTexts(ui), (std::vector<QString>{"-2", "17", "30", "-89", "58", "44", "250", "5"}));
    EXPECT_EQ(Probe(*form).Station().Power, 250);
    EXPECT_EQ(Probe(*form).Station().MinAngle, 5);
    EXPECT_EQ(Probe(*form).RunCount(), runs + 2); // the power's change, then the angle's
    EXPECT_EQ(ui.InfoBar->PanelText(1), QStringLiteral("250 dbW"));
    EXPECT_EQ(ui.STA->pos(), QPoint(256 + 3, 128 + 128));
    EXPECT_TRUE(ui.H1->Text(0).startsWith(QStringLiteral("F5ABC Lat 90.0\u00B0S"))) << ui.H1->Text(0).toStdString();
    // The station box keeps the caption start-up gave it.
    EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station F6XYZ "));
}

TEST_F(SetupDialog, ANewPositionAloneIsForecastAtOnce)
{
    WriteSettings(ParisStation);
    auto form = Open();
    Answer([](Ui::TCoordForm& d) {
        d.INDEdit->setText(QStringLiteral("F6XYZ/P"));
        d.LttDeg->setValue(10);
    });
    Probe(*form).Widgets().ChangeBtn->click();
    EXPECT_TRUE(Probe(*form).Widgets().H1->Text(0).startsWith(QStringLiteral("F6XYZ/P Lat 10.9\u00B0N")))
        << Probe(*form).Widgets().H1->Text(0).toStdString();
}

TEST_F(SetupDialog, FirstRunAcceptedSetsTheStationBeforeTheWindowAppears)
{
    Answer([](Ui::TCoordForm& d) {
        EXPECT_EQ(d.INDEdit->text(), QStringLiteral("NoCall"));
        // A new station starts at 100 W, and the watts follow the spin.
        EXPECT_EQ(d.PWRSpin->value(), 20);
        EXPECT_EQ(d.PWRWatts->text(), QStringLiteral("= 100 W"));
        d.PWRSpin->setValue(31);
        EXPECT_EQ(d.PWRWatts->text(), QStringLiteral("= 1.3 kW"));
        d.INDEdit->setText(QStringLiteral("G4XYZ"));
        d.QTHEdit->setText(QStringLiteral("io91wm"));
    });
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    ASSERT_EQ(dialogs.titles.size(), 1u);
    EXPECT_EQ(dialogs.titles[0], QStringLiteral("Before anything else..."));
    EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station G4XYZ "));
    EXPECT_EQ(StationTexts(ui), (std::vector<QString>{"0", "7", "30", "51", "31", "14", "31", "10"}));
    EXPECT_EQ(Probe(*form).Station().Longitude, LocatorToStation("IO91WM").Longitude);
    EXPECT_GT(Probe(*form).Station().Longitude, 0); // just west of Greenwich
    EXPECT_EQ(Probe(*form).RunCount(), 1);
    EXPECT_EQ(Probe(*form).MapUpdateCount(), 2); // the dialog's, then start-up's own
    EXPECT_EQ(RegIni(path).ReadString("Station", "CallSign", ""), "G4XYZ");
}

TEST_F(SetupDialog, APositionWithinADegreeOfZeroKeepsItsHemisphere)
{
    struct Case {
        const char* name;
        std::string station; // stored before opening
        const char* locator; // typed in the dialog, or nothing
        const char* lngWord;
        const char* lttWord;
        long double longitude; // positive west
        long double latitude;  // positive north
        const char* longDeg;   // the main window's degrees afterwards
        const char* latDeg;
    };
    const Case cases[] = {
        {"stored, east and south",
         "\"CallSign\"=\"F6XYZ\"\r\n\"Longitude\"=" + HexOf(-0.125L) + "\r\n\"Latitude\"=" + HexOf(-0.5L) + "\r\n",
         nullptr, "East", "South", ComposeDMS(0, 7, 30, true), -0.5L, "-0", "-0"},
        {"Quito, just south of the equator", "\"CallSign\"=\"HC1A\"\r\n", "FI09SW", "West", "South",
         LocatorToStation("FI09SW").Longitude, LocatorToStation("FI09SW").Latitude, "78", "-0"},
        {"just east of Greenwich", "\"CallSign\"=\"F6XYZ\"\r\n", "jo01aa", "East", "North",
         LocatorToStation("JO01AA").Longitude, LocatorToStation("JO01AA").Latitude, "-0", "51"},
    };
    EXPECT_NEAR(static_cast<double>(cases[0].longitude), -0.125, 1e-15);
    EXPECT_LT(cases[1].latitude, 0);
    EXPECT_LT(cases[2].longitude, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings(c.station);
        auto form = Open();
        Answer([&](Ui::TCoordForm& d) {
            if (c.locator != nullptr) {
                d.QTHEdit->setText(QString::fromLatin1(c.locator));
            }
            EXPECT_EQ(d.LngLbl->text(), QString::fromLatin1(c.lngWord));
            EXPECT_EQ(d.LttLbl->text(), QString::fromLatin1(c.lttWord));
        });
        Probe(*form).Widgets().ChangeBtn->click();
        EXPECT_EQ(Probe(*form).Station().Longitude, c.longitude);
        EXPECT_EQ(Probe(*form).Station().Latitude, c.latitude);
        EXPECT_EQ(Probe(*form).Widgets().LongDeg->text(), QString::fromLatin1(c.longDeg));
        EXPECT_EQ(Probe(*form).Widgets().LatDeg->text(), QString::fromLatin1(c.latDeg));
        RegIni reread(path);
        EXPECT_EQ(reread.ReadExtended("Station", "Longitude"), c.longitude);
        EXPECT_EQ(reread.ReadExtended("Station", "Latitude"), c.latitude);
    }
}

TEST_F(SetupDialog, TypingMinusZeroPutsTheStationEastOrSouth)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Answer([](Ui::TCoordForm& d) {
        EXPECT_EQ(d.LngLbl->text(), QStringLiteral("West"));
        d.LngDeg->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(d.LngDeg, QStringLiteral("-0"));
        d.LngMin->setValue(30);
        EXPECT_EQ(d.LngLbl->text(), QStringLiteral("East"));
        d.LttDeg->setValue(-3); // through zero, the side stays
        d.LttDeg->setValue(0);
        d.LttMin->setValue(15);
        EXPECT_EQ(d.LttLbl->text(), QStringLiteral("South"));
    });
    Probe(*form).Widgets().ChangeBtn->click();
    EXPECT_EQ(Probe(*form).Station().Longitude, -0.5L);
    EXPECT_EQ(Probe(*form).Station().Latitude, -0.25L);
}

// Over a stored station away from zero, the sign typed with a zero decides
// the hemisphere both ways: "-0" over 5 W is east, "0" over 5 E is west.
TEST_F(SetupDialog, TheSignTypedWithZeroDecidesOverTheStoredHemisphere)
{
    const struct {
        long double StoredLonWestDeg, StoredLat;
        const char* Typed;
        long double LonWestDeg, Lat;
    } cases[] = {
        {5.0L, 3.0L, "-0", -0.5L, -0.25L}, // 5 W, 3 N: east and south
        {-5.0L, -3.0L, "0", 0.5L, 0.25L},  // 5 E, 3 S: west and north
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Longitude\"=" + HexOf(c.StoredLonWestDeg) +
                      "\r\n\"Latitude\"=" + HexOf(c.StoredLat) + "\r\n");
        auto form = Open();
        Answer([&c](Ui::TCoordForm& d) {
            for (QSpinBox* spin : {d.LngDeg, d.LttDeg}) {
                spin->setFocus();
                spin->findChild<QLineEdit*>()->selectAll();
                QTest::keyClicks(spin, QString::fromLatin1(c.Typed));
            }
            d.LngMin->setValue(30);
            d.LttMin->setValue(15);
        });
        Probe(*form).Widgets().ChangeBtn->click();
        EXPECT_EQ(Probe(*form).Station().Longitude, c.LonWestDeg);
        EXPECT_EQ(Probe(*form).Station().Latitude, c.Lat);
        RegIni reread(path);
        EXPECT_EQ(reread.ReadExtended("Station", "Longitude"), c.LonWestDeg);
        EXPECT_EQ(reread.ReadExtended("Station", "Latitude"), c.Lat);
    }
}

TEST_F(SetupDialog, ALocatorFillsTheCoordinatesAndAWrongCharacterIsNamed)
{
    WriteSettings(ParisStation);
    auto form = Open();
    Answer(
        [this](Ui::TCoordForm& d) {
            d.QTHEdit->setText(QStringLiteral("jn18d"));
            EXPECT_EQ(d.LttDeg->value(), 48); // five characters: nothing yet
            EXPECT_EQ(d.LttMin->value(), 51);
            EXPECT_EQ(d.LttSec->value(), 0);
            d.QTHEdit->setText(QStringLiteral("jn18du"));
            EXPECT_EQ(std::vector<int>({d.LttDeg->value(), d.LttMin->value(), d.LttSec->value(), d.LngDeg->value(),
                                        d.LngMin->value(), d.LngSec->value()}),
                      std::vector<int>({48, 51, 14, -2, 17, 30}));
            EXPECT_EQ(d.LttLbl->text(), QStringLiteral("North"));
            EXPECT_EQ(d.LngLbl->text(), QStringLiteral("East"));
            EXPECT_TRUE(messages.shown.empty());

            // An accented letter is one character: "JN18Dé" is wrong at its sixth.
            for (const auto& [locator, position] :
                 {std::pair{"JS18DU", 2}, {"JN18DY", 6}, {"JN1ADU", 4}, {"JN18D\xC3\xA9", 6}, {"\xC3\xA9N18DU", 1}}) {
                messages.shown.clear();
                d.QTHEdit->setText(QString::fromUtf8(locator));
                ASSERT_EQ(messages.shown.size(), 1u) << locator;
                EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
                EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Attention"));
                EXPECT_EQ(messages.shown[0].Text, QStringLiteral("Le caractère n°%1 est erroné !\nLe format du QTH "
                                                                 "Locator est RR99XX maximum")
                                                      .arg(position));
                EXPECT_EQ(d.LttSec->value(), 14); // unchanged
            }
        },
        false);
    Probe(*form).Widgets().ChangeBtn->click();
}

TEST_F(SetupDialog, AStoreThatCannotBeWrittenIsReportedAndNothingChanges)
{
    WriteSettings(ParisStation);
    auto form = Open();
    const Settings station = Probe(*form).Station();
    // From now on the settings folder's place is taken by a plain file.
    const QString folder = QFileInfo(QString::fromStdString(path)).path();
    const std::string saved = ReadFile(path);
    QDir(folder).removeRecursively();
    WriteFile(folder.toStdString(), "not a folder");

    bool stayedOpen = false;
    dialogs.onOpen = [&](QDialog& d) {
        auto& dialog = static_cast<TCoordForm&>(d);
        dialog.Widgets().INDEdit->setText(QStringLiteral("W1AW"));
        dialog.Widgets().LngDeg->setValue(71);
        dialog.Widgets().PWRSpin->setValue(30);
        dialog.setVisible(true);
        dialog.Widgets().OkBtn->click();
        stayedOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted;
        dialog.Widgets().CancelBtn->click();
        return d.result();
    };
    Probe(*form).Widgets().ChangeBtn->click();
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Warning"));
    EXPECT_TRUE(messages.shown[0].Text.contains(QStringLiteral("Not a directory")))
        << messages.shown[0].Text.toStdString();
    EXPECT_EQ(Probe(*form).Station().CallSign, station.CallSign);
    EXPECT_EQ(Probe(*form).Station().Longitude, station.Longitude);
    EXPECT_EQ(Probe(*form).Station().Power, station.Power);
    EXPECT_EQ(Probe(*form).Widgets().PWREdit->text(), QStringLiteral("20"));
}

// A write that fails once the first value of the station could have landed:
// the file holds the old station or the new one, never the new call sign
// with the old position, and a refusal keeps the reason it was given.
TEST_F(SetupDialog, AcceptStoresTheStationInOneUpdate)
{
    WriteSettings(ParisStation);
    auto form = Open();
    const std::string saved = ReadFile(path);
    for (const bool everyWriteFails : {false, true}) {
        SCOPED_TRACE(everyWriteFails ? "every write fails" : "the writes after the first fail");
        messages.shown.clear();
        int writes = 0;
        beforeSettingsReplaced = [&writes, everyWriteFails] {
            if (everyWriteFails || ++writes > 1) {
                throw StoreError("Cannot save the settings: disk full");
            }
        };
        dialogs.onOpen = [](QDialog& d) {
            auto& dialog = static_cast<TCoordForm&>(d);
            dialog.Widgets().INDEdit->setText(QStringLiteral("W1AW"));
            for (QSpinBox* spin :
                 {dialog.Widgets().LngMin, dialog.Widgets().LngSec, dialog.Widgets().LttMin, dialog.Widgets().LttSec}) {
                spin->setValue(0);
            }
            dialog.Widgets().LngDeg->setValue(71);
            dialog.Widgets().LttDeg->setValue(42);
            dialog.Widgets().OkBtn->click();
            if (dialog.result() != QDialog::Accepted) {
                dialog.Widgets().CancelBtn->click();
            }
            return d.result();
        };
        Probe(*form).Widgets().ChangeBtn->click();
        beforeSettingsReplaced = nullptr;
        RegIni reread(path);
        const bool newCall = reread.ReadString("Station", "CallSign", "") == "W1AW";
        const bool newPlace =
            reread.ReadExtended("Station", "Longitude") == 71.0L && reread.ReadExtended("Station", "Latitude") == 42.0L;
        EXPECT_EQ(newCall, newPlace);
        if (everyWriteFails) {
            EXPECT_EQ(ReadFile(path), saved);
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_TRUE(messages.shown[0].Text.contains(QStringLiteral("disk full")));
        } else {
            EXPECT_TRUE(newCall);
            WriteFile(path, saved);
        }
    }
}

// A call sign that cannot be kept is refused on Accept with a message that
// says why: the dialog stays open on everything typed, and nothing is written
// or changed. Mended, it is accepted with the rest; cancelled, the station
// stays as it was.
TEST_F(SetupDialog, AnUnusableCallSignIsRefusedAndTheDialogStaysOpen)
{
    const QString empty = QStringLiteral("The call sign is empty: type the station's call sign.");
    const struct {
        QString Typed;
        QString Message;
        bool Mend; // then type F6XYZ and accept, rather than cancel
    } cases[] = {
        {QStringLiteral("F6XYZ\u001b[2J"),
         QStringLiteral("The call sign holds the control character U+001B (escape) at character 6; a call sign is "
                        "printable text."),
         true},
        {QString(), empty, false},
        {QStringLiteral("   "), empty, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed.toStdString());
        WriteSettings(ParisStation);
        auto form = Open();
        const Settings station = Probe(*form).Station();
        const std::string saved = ReadFile(path);
        messages.shown.clear();
        bool stayedOpen = false;
        std::string storedMeanwhile;
        dialogs.onOpen = [&](QDialog& d) {
            auto& dialog = static_cast<TCoordForm&>(d);
            Ui::TCoordForm& w = dialog.Widgets();
            w.INDEdit->setText(c.Typed);
            w.LngDeg->setValue(71);
            w.PWRSpin->setValue(30);
            dialog.setVisible(true);
            w.OkBtn->click();
            stayedOpen = dialog.isVisible() && dialog.result() != QDialog::Accepted && w.INDEdit->text() == c.Typed &&
                         w.LngDeg->value() == 71 && w.PWRSpin->value() == 30;
            storedMeanwhile = ReadFile(path);
            if (c.Mend) {
                w.INDEdit->setText(QStringLiteral("F6XYZ"));
                w.OkBtn->click();
            } else {
                w.CancelBtn->click();
            }
            return d.result();
        };
        Probe(*form).Widgets().ChangeBtn->click();
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(storedMeanwhile, saved);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Warning"));
        EXPECT_EQ(messages.shown[0].Text, c.Message);
        EXPECT_EQ(Probe(*form).Station().CallSign, "F6XYZ");
        if (c.Mend) {
            RegIni reread(path);
            EXPECT_EQ(reread.ReadString("Station", "CallSign", ""), "F6XYZ");
            EXPECT_EQ(reread.ReadInteger("Station", "Power", 0), 30);
            EXPECT_EQ(Probe(*form).Station().Power, 30);
            EXPECT_NE(Probe(*form).Station().Longitude, station.Longitude);
        } else {
            EXPECT_EQ(ReadFile(path), saved);
            EXPECT_EQ(Probe(*form).Station().Power, station.Power);
            EXPECT_EQ(Probe(*form).Station().Longitude, station.Longitude);
        }
    }
}

// The call sign is kept as typed, blanks and all; the next start shows and
// uses it without them.
TEST_F(SetupDialog, BlanksAroundTheStoredCallSignAreNotShown)
{
    WriteSettings(ParisStation);
    Answer([](Ui::TCoordForm& d) { d.INDEdit->setText(QStringLiteral("  F5ABC  ")); });
    Probe(*Open()).Widgets().ChangeBtn->click();
    ASSERT_EQ(RegIni(path).ReadString("Station", "CallSign", ""), "  F5ABC  ");

    dialogs.onOpen = nullptr;
    auto again = Open();
    Ui::TPROPForm& ui = Probe(*again).Widgets();
    EXPECT_EQ(Probe(*again).Station().CallSign, "F5ABC");
    EXPECT_EQ(ui.LocalGroupBox->title(), QStringLiteral(" Station F5ABC "));
    EXPECT_TRUE(ui.H1->Text(0).startsWith(QStringLiteral("F5ABC Lat "))) << ui.H1->Text(0).toStdString();
    EXPECT_EQ(dialogs.titles.size(), 1u); // not taken for a first run
}

TEST_F(SetupDialog, NumbersUseAPointWhateverTheLocale)
{
    const std::string old = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the German locale is missing: run scripts/install-deps.sh";
    WriteSettings("\"CallSign\"=\"DL1ABC\"\r\n\"Latitude\"=" + HexOf(48 + 51 / 60.0L + 44.16L / 3600) + "\r\n");
    auto form = Open();
    std::setlocale(LC_ALL, old.c_str());
    EXPECT_EQ(Probe(*form).Widgets().LatSec->text(), QStringLiteral("44.16"));
    EXPECT_TRUE(Probe(*form).Widgets().H1->Text(0).contains(QStringLiteral("Lat 48.9")));
}

} // namespace
} // namespace orvela::app
