// A table without a single cell says why, over its cells and to a screen
// reader, on the real main window.
#include "tests/app/window_fixture.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

bool AnyResultCell(const PredictionTable& table)
{
    return ResultCell(table).isValid();
}

// Paris to Tokyo: the short path fills cells, the long one, 30,317 km,
// none at 20 dBW. The notice comes with the empty table and goes with it,
// over the band rows, letting clicks through to the cells; the table
// itself stays where it was.
TEST_F(MainWindow, AnEmptyTableSaysWhyOverItsCells)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) +
                      "\r\n\"Power\"=\"20\"\r\n\"GainTable\"=\"0\"\r\n",
                  "\"DistLon\"=\"-140\"\r\n\"DistLat\"=\"36\"\r\n");
    auto form = Open();
    form->show();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    PredictionTable& table = *ui.MUFGrid;
    const QLabel& notice = *table.EmptyNotice();
    ASSERT_TRUE(AnyResultCell(table));
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(table.accessibleDescription(), QString());
    const QRect tableAt = table.geometry();

    ui.LongPathBox->setFocus();
    QTest::keyClick(ui.LongPathBox, Qt::Key_Space);
    ASSERT_TRUE(ui.LongPathBox->isChecked());
    ASSERT_FALSE(AnyResultCell(table));
    EXPECT_TRUE(notice.isVisible());
    EXPECT_TRUE(notice.text().startsWith(QStringLiteral("No mode reaches the receiver on this 30,")))
        << notice.text().toStdString();
    EXPECT_TRUE(notice.text().contains(QStringLiteral(" km path: the long path is beyond the model at 20 dBW. ")))
        << notice.text().toStdString();
    EXPECT_EQ(table.accessibleDescription(), notice.text());
    EXPECT_FALSE(notice.accessibleName().isEmpty());

    // Over the band rows, whole, with the UTC row and those below it free.
    QWidget* viewport = table.viewport();
    EXPECT_EQ(notice.parentWidget(), viewport);
    const QRect bandRows(0, 0, viewport->width(), table.rowViewportPosition(RowUtc));
    EXPECT_TRUE(bandRows.contains(notice.geometry())) << notice.geometry().y() << "+" << notice.geometry().height();
    EXPECT_GE(notice.height(), notice.heightForWidth(notice.width()));
    EXPECT_EQ(viewport->childAt(notice.geometry().center()), nullptr); // a click there reaches the cell
    EXPECT_EQ(notice.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(table.geometry(), tableAt);

    // Back to the short path: cells again, and no notice.
    QTest::keyClick(ui.LongPathBox, Qt::Key_Space);
    ASSERT_TRUE(AnyResultCell(table));
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(table.accessibleDescription(), QString());
    EXPECT_EQ(table.geometry(), tableAt);
}

} // namespace
} // namespace orvela::app
