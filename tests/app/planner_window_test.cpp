// The planner window on the real main window: opened from the keyboard and
// the menus with the fixture country file's entities, filtered, choosing the
// remote point, keeping the user's list in the settings file and following
// the main window's inputs, computed on its workers.
#include "app/plan_table_model.h"
#include "app/planner_window.h"
#include "planner/plan_view.h"
#include "planner/targets.h"
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class Planner : public MainWindow {
protected:
    // Paris, dipole, 100 W, flux 122 (the fake download's).
    std::unique_ptr<TPROPForm> OpenParis()
    {
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) +
                      "\r\n\"GainTable\"=\"1\"\r\n");
        return Open();
    }

    // Ctrl+P in the main window, as a user opens the planner.
    static PlannerWindow* ByKeyboard(TPROPForm& form)
    {
        form.show();
        form.activateWindow();
        if (!WaitUntilActive(form)) {
            return nullptr;
        }
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        return Probe(form).Planner();
    }

    // Waits until the plan of the newest request is shown.
    static bool Settled(PlannerWindow& w)
    {
        return QTest::qWaitFor(
            [&w] {
                return !w.Computing() && w.Plan() != nullptr && w.Asked() && w.Plan()->In == w.Asked()->In &&
                       w.Plan()->Targets == w.Asked()->Targets;
            },
            60000);
    }

    // The table row showing the target of that name; -1 when none does.
    static int RowNamed(const PlannerWindow& w, const QString& name)
    {
        for (int r = 0; r < w.Model()->rowCount(); ++r) {
            if (w.Model()->index(r, PlanTableModel::NameColumn).data().toString() == name) {
                return r;
            }
        }
        return -1;
    }
};

TEST_F(Planner, CtrlPOpensItOnEveryEntityOfTheFileWithTheMainWindowsInputs)
{
    auto form = OpenParis();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    ASSERT_TRUE(Settled(*w));

    // Every DXCC entity of the fixture, the WAE-only ones left out.
    const std::vector<planner::Target> entities = planner::EntityTargets(*countries.read.File);
    EXPECT_EQ(w->Model()->rowCount(), static_cast<int>(entities.size()));
    EXPECT_EQ(w->Plan()->Targets, entities);

    const RunInput& in = Probe(*form).LastInput();
    const planner::PlanInputs& p = w->Plan()->In;
    EXPECT_EQ(p.HomeLatDeg, in.Station.Latitude);
    EXPECT_EQ(p.HomeLonWestDeg, in.Station.Longitude);
    EXPECT_EQ(p.GainTable, Antenna::Dipole);
    EXPECT_EQ(p.Flux, 122);
    EXPECT_EQ(p.Date.Month, in.Month);
    EXPECT_EQ(p.Date.Day, in.Day);
    EXPECT_FALSE(p.Band.has_value()); // all bands
    EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("Planner \u2014 F6XYZ, ")))
        << w->windowTitle().toStdString();

    // Today: the current hour's column is marked, and only it.
    for (int h = 0; h < 24; ++h) {
        const QString head = w->Model()->headerData(PlanTableModel::FirstHourColumn + h, Qt::Horizontal).toString();
        EXPECT_EQ(head.startsWith(QChar(0x25BC)), h == in.UtcHour) << h;
    }

    // A row says itself in one sentence, for the pointer and a screen reader.
    const int japan = RowNamed(*w, QStringLiteral("Japan"));
    ASSERT_GE(japan, 0);
    const QModelIndex cell = w->Model()->index(japan, PlanTableModel::FirstHourColumn + 3);
    const QString sentence = cell.data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(sentence.startsWith(QStringLiteral("Japan, JA, "))) << sentence.toStdString();
    EXPECT_EQ(cell.data(Qt::AccessibleDescriptionRole).toString(), sentence);

    // One band: its cells in the table's colours.
    w->BandBox()->setCurrentIndex(w->BandBox()->findText(QStringLiteral("20 m")));
    ASSERT_TRUE(Settled(*w));
    ASSERT_TRUE(w->Plan()->In.Band.has_value());
    EXPECT_EQ(w->Plan()->In.Band->Name, "20 m");
    for (int h = 0; h < 24; ++h) {
        const planner::PlanCell& c = w->Plan()->Rows[w->Model()->PlanRowAt(japan)].Hours[static_cast<std::size_t>(h)];
        Rgb bg = 0, fg = 0;
        ResultCellColors(c.Text, bg, fg);
        EXPECT_EQ(
            w->Model()->index(japan, PlanTableModel::FirstHourColumn + h).data(Qt::BackgroundRole).value<QColor>(),
            ToColor(bg))
            << h;
    }
    w->close();
}

TEST_F(Planner, TheTablesAndTheMapsMenusOpenIt)
{
    auto form = OpenParis();
    QTimer::singleShot(0, Probe(*form).TableMenu(), [&form] { QTest::keyClick(Probe(*form).TableMenu(), Qt::Key_P); });
    emit Probe(*form).Widgets().MUFGrid->customContextMenuRequested(QPoint(5, 5));
    PlannerWindow* w = Probe(*form).Planner();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    w->close();
    for (QAction* a : Probe(*form).MapMenu()->actions()) {
        if (a->text() == QStringLiteral("&Planner\u2026")) {
            EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
            a->trigger();
        }
    }
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(Probe(*form).Planner(), w); // one window, shown again
    w->close();
}

TEST_F(Planner, SearchAndOpenNowKeepTheRowsTheyName)
{
    auto form = OpenParis();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(Settled(*w));
    const int all = w->Model()->rowCount();

    // Any case, in the name or the prefix.
    QTest::keyClicks(w->SearchBox(), QStringLiteral("jAp"));
    ASSERT_EQ(w->Model()->rowCount(), 1);
    EXPECT_EQ(w->Model()->index(0, PlanTableModel::NameColumn).data().toString(), QStringLiteral("Japan"));
    w->SearchBox()->clear();
    EXPECT_EQ(w->Model()->rowCount(), all);

    // Open now: the rows with an open band at the clock's hour, and only those.
    const int hour = Probe(*form).LastInput().UtcHour;
    std::size_t open = 0;
    for (const planner::PlanRow& r : w->Plan()->Rows) {
        open += planner::OpenAt(r, hour) ? 1 : 0;
    }
    w->OpenNowBox()->setChecked(true);
    EXPECT_EQ(w->Model()->rowCount(), static_cast<int>(open));
    for (int r = 0; r < w->Model()->rowCount(); ++r) {
        EXPECT_TRUE(planner::OpenAt(w->Plan()->Rows[w->Model()->PlanRowAt(r)], hour));
    }
    w->OpenNowBox()->setChecked(false);

    // A click on a header sorts by its key: by name, then by distance.
    const int nameX = w->Table()->horizontalHeader()->sectionViewportPosition(PlanTableModel::NameColumn) + 5;
    QTest::mouseClick(w->Table()->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(nameX, 5));
    EXPECT_EQ(w->SortBox()->currentIndex(), static_cast<int>(planner::SortKey::Name));
    EXPECT_EQ(w->Model()->Visible(), planner::VisibleRows(*w->Plan(), planner::SortKey::Name));
    w->close();
}

TEST_F(Planner, DoubleClickOrReturnMakesARowTheRemotePoint)
{
    auto form = OpenParis();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(Settled(*w));

    // Japan by a double click: whole degrees toward zero, named as "Go to…" names it.
    const int japan = RowNamed(*w, QStringLiteral("Japan"));
    ASSERT_GE(japan, 0);
    QTableView* table = w->Table();
    ASSERT_TRUE(WaitUntilExposed(*w));
    table->scrollTo(w->Model()->index(japan, PlanTableModel::NameColumn));
    const QRect at = table->visualRect(w->Model()->index(japan, PlanTableModel::NameColumn));
    // A real double click: the first press and release, then the second.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(ui.DESTLong->value(), -138);
    EXPECT_EQ(ui.DESTLat->value(), 36);
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Japan (JA), CQ 25, AS"));

    // Canada by the keyboard.
    const int canada = RowNamed(*w, QStringLiteral("Canada"));
    ASSERT_GE(canada, 0);
    table->setFocus();
    table->setCurrentIndex(w->Model()->index(canada, PlanTableModel::NameColumn));
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(ui.DESTLong->value(), 78);
    EXPECT_EQ(ui.DESTLat->value(), 44);
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Canada (VE), CQ 5, NA"));
    w->close();
}

TEST_F(Planner, TheUsersListIsKeptInTheSettingsFileAndSurvivesARestart)
{
    const QString list = QStringLiteral("JA1ABC, jn18du, XX9ZZZ");
    {
        auto form = OpenParis();
        PlannerWindow* w = ByKeyboard(*form);
        ASSERT_NE(w, nullptr);
        QTest::keyClicks(w->EntriesEdit(), list);
        QTest::keyClick(w->EntriesEdit(), Qt::Key_Return);
        EXPECT_EQ(w->TargetsBox()->currentIndex(), static_cast<int>(PlannerWindow::Targets::MyList));
        ASSERT_TRUE(Settled(*w));
        // Nearest first; the entry with no entity stays, last, saying why.
        ASSERT_EQ(w->Model()->rowCount(), 3);
        EXPECT_EQ(w->Model()->index(0, PlanTableModel::NameColumn).data().toString(), QStringLiteral("JN18DU"));
        EXPECT_EQ(w->Model()->index(1, PlanTableModel::NameColumn).data().toString(), QStringLiteral("Japan"));
        EXPECT_EQ(w->Model()->index(2, PlanTableModel::NameColumn).data().toString(), QStringLiteral("XX9ZZZ"));
        EXPECT_TRUE(w->Model()->index(2, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral("XX9ZZZ")));
        w->close();
    }
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromLatin1(file.readAll()).contains(QStringLiteral("JA1ABC, jn18du, XX9ZZZ")));
    file.close();

    auto form = Open();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->EntriesEdit()->text(), list);
}

TEST_F(Planner, WithoutACountryFileItSaysWhyAndTheLocatorsStillWork)
{
    countries.read.File.reset();
    countries.read.Problem = "no cty.dat in /usr/share/hamradio-files";
    auto form = OpenParis();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(Settled(*w));
    EXPECT_EQ(w->Model()->rowCount(), 0);
    EXPECT_TRUE(
        w->StatusLine()->text().startsWith(QStringLiteral("No country file: no cty.dat in /usr/share/hamradio-files.")))
        << w->StatusLine()->text().toStdString();

    QTest::keyClicks(w->EntriesEdit(), QStringLiteral("FN31 JA1ABC"));
    QTest::keyClick(w->EntriesEdit(), Qt::Key_Return);
    ASSERT_TRUE(Settled(*w));
    ASSERT_EQ(w->Plan()->Targets.size(), 2u);
    EXPECT_TRUE(w->Plan()->Targets[0].Resolved);
    EXPECT_FALSE(w->Plan()->Targets[1].Resolved);
    w->close();
}

TEST_F(Planner, FollowsAChangeOfPowerOnItsWorkers)
{
    auto form = OpenParis();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(Settled(*w));
    const std::vector<planner::PlanRow> before = w->Plan()->Rows;
    const int power = w->Plan()->In.Power;
    const std::uint64_t request = w->Request();

    Probe(*form).Widgets().PWREdit->setText(QString::number(power + 20));
    EXPECT_GT(w->Request(), request);
    ASSERT_TRUE(Settled(*w));
    EXPECT_EQ(w->Plan()->In.Power, power + 20);
    EXPECT_NE(w->Plan()->Rows, before);

    // The remote point alone changes nothing the plan depends on.
    const std::uint64_t settled = w->Request();
    Probe(*form).Widgets().DESTLat->setValue(Probe(*form).Widgets().DESTLat->value() + 1);
    EXPECT_EQ(w->Request(), settled);
    w->close();
}

// Every control can be named by a screen reader and reached by Tab.
TEST_F(Planner, EveryControlHasAnAccessibleNameAndTakesTheFocus)
{
    auto form = OpenParis();
    PlannerWindow* w = ByKeyboard(*form);
    ASSERT_NE(w, nullptr);
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->focusPolicy() & Qt::TabFocus && c->isVisibleTo(w) && c->parentWidget() == w) {
            EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
        }
    }
    w->close();
}

} // namespace
} // namespace orvela::app
