// Clicks and keys on the prediction table: each click on a cell explains it
// once, the right button only opens the menu, Tab leaves the table.
#include "app/prediction_table.h"
#include "tests/app/window_fixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class TableInput : public StationWindow {};

TEST_F(TableInput, EveryClickOnACellShowsItsReportOnce)
{
    auto form = Open();
    PredictionTable* grid = Probe(*form).Widgets().MUFGrid;
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
    ASSERT_TRUE(WaitUntilExposed(*form));
    PredictionTable* grid = Probe(*form).Widgets().MUFGrid;
    const QModelIndex cell = ResultCell(*grid);
    ASSERT_TRUE(cell.isValid());
    const QPoint at = grid->visualRect(cell).center();
    const QModelIndex currentBefore = grid->currentIndex();
    int menusShown = 0;
    QObject::connect(Probe(*form).TableMenu(), &QMenu::aboutToShow, Probe(*form).TableMenu(), [&menusShown, &form] {
        ++menusShown;
        QMetaObject::invokeMethod(Probe(*form).TableMenu(), &QMenu::close, Qt::QueuedConnection);
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
    ASSERT_TRUE(WaitUntilExposed(*form));
    form->activateWindow();
    PredictionTable* grid = Probe(*form).Widgets().MUFGrid;
    grid->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());
    const int before = Reports();
    QTest::keyClick(grid, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->hasFocus());
    EXPECT_EQ(Reports(), before);
}

} // namespace
} // namespace orvela::app
