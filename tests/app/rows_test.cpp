// The table's rows: the fixed frequencies or the amateur bands, chosen in
// the table's menu, kept in the settings file and followed by the coverage
// window.
#include "app/coverage_window.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

const std::string Paris =
    "\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) + "\r\n";

QString Label(TPROPForm& form, int row)
{
    return Probe(form).Widgets().MUFGrid->CellText(0, row);
}

// The amateur bands label their rows with band and frequency, lowest just
// above the UTC row, and leave the rows above them empty; the choice is
// kept, and a file from before it gets the fixed rows.
TEST_F(MainWindow, TheAmateurBandsAreChosenAndKept)
{
    WriteSettings(Paris, "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    {
        auto form = Open();
        EXPECT_EQ(Probe(*form).Rows(), BandSet::Fixed);
        EXPECT_TRUE(Probe(*form).RowsAction(BandSet::Fixed)->isChecked());
        EXPECT_EQ(Label(*form, 14), QStringLiteral("2 Mhz"));
        const Prediction fixed = Probe(*form).Widgets().MUFGrid->Current();

        Probe(*form).RowsAction(BandSet::Amateur)->trigger();
        EXPECT_EQ(Probe(*form).Rows(), BandSet::Amateur);
        EXPECT_EQ(Label(*form, 14), QStringLiteral("80 m 3.6"));
        EXPECT_EQ(Label(*form, 12), QStringLiteral("40 m 7.1"));
        EXPECT_EQ(Label(*form, 6), QStringLiteral("10 m 28.5"));
        for (int row = 0; row < 6; ++row) {
            for (int col = 0; col < TableCols; ++col) {
                EXPECT_TRUE(Probe(*form).Widgets().MUFGrid->CellText(col, row).isEmpty()) << row << "," << col;
            }
        }
        // A screen reader names the band.
        const QModelIndex cell = Probe(*form).Widgets().MUFGrid->model()->index(12, 13);
        EXPECT_TRUE(
            cell.data(Qt::AccessibleDescriptionRole).toString().startsWith(QStringLiteral("40 m band, 12h UTC")))
            << cell.data(Qt::AccessibleDescriptionRole).toString().toStdString();
        EXPECT_NE(ReadFile(path).find("\"BandSet\"=\"1\""), std::string::npos) << ReadFile(path);

        // Back to the fixed rows: the table it had.
        Probe(*form).RowsAction(BandSet::Fixed)->trigger();
        const Prediction again = Probe(*form).Widgets().MUFGrid->Current();
        for (int r = 0; r < TableRows; ++r) {
            for (int c = 0; c < TableCols; ++c) {
                ASSERT_EQ(again.At(c, r).Text, fixed.At(c, r).Text) << r << "," << c;
            }
        }
        Probe(*form).RowsAction(BandSet::Amateur)->trigger();
        form->close();
    }
    auto form = Open();
    EXPECT_EQ(Probe(*form).Rows(), BandSet::Amateur);
    EXPECT_TRUE(Probe(*form).RowsAction(BandSet::Amateur)->isChecked());
    EXPECT_EQ(Label(*form, 12), QStringLiteral("40 m 7.1"));
    EXPECT_TRUE(messages.shown.empty());
}

// The coverage window's selector lists the rows in use, and its status
// line gives the S-meter reading.
TEST_F(MainWindow, TheCoverageWindowFollowsTheRows)
{
    WriteSettings(Paris);
    auto form = Open();
    Probe(*form).RowsAction(BandSet::Amateur)->trigger();
    Probe(*form).OpenCoverage(BandNearest(BandsOf(BandSet::Amateur), 14), 12);
    CoverageWindow* w = Probe(*form).Coverage();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->BandBox()->count(), static_cast<int>(BandsOf(BandSet::Amateur).size()));
    EXPECT_EQ(w->BandBox()->itemText(0), QStringLiteral("10 m 28.5"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 20 m (14.1 MHz), 12h UTC"));
    w->SetStepDeg(5);
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->Final() && !w->Computing() && w->Day() != nullptr; }, 60000));
    w->MapView()->setFocus();
    w->MapView()->SetCursor(30, 60); // 30 N 60 W, the Atlantic
    QTest::keyClick(w->MapView(), Qt::Key_Up);
    const QString said = w->StatusLine()->text();
    EXPECT_TRUE(said.contains(QStringLiteral(", 20 m: "))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral(" dB, S"))) << said.toStdString();

    // Back to the fixed rows: the selector's fifteen, the band nearest.
    Probe(*form).RowsAction(BandSet::Fixed)->trigger();
    EXPECT_EQ(w->BandBox()->count(), BandCount);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Coverage \u2014 14 MHz, 12h UTC"));
    w->close();
}

} // namespace
} // namespace orvela::app
