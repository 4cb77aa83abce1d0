// The great circle over the main window's map and its "Show the path".
#include "app/path_overlay.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

const std::string Paris =
    "\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) + "\r\n";

// The line follows the remote point and the path taken; it lies over the
// map and under the markers, and lets the map have the mouse.
TEST_F(MainWindow, ThePathLineFollowsTheRemotePointUnderTheMarkers)
{
    WriteSettings(Paris, "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    form->show();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    PathOverlay* line = Probe(*form).PathLine();
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry(), ui.MAP->geometry());

    const QObjectList& stack = ui.MAPPanel->children();
    EXPECT_GT(stack.indexOf(line), stack.indexOf(ui.MAP));
    EXPECT_LT(stack.indexOf(line), stack.indexOf(ui.STA));
    EXPECT_LT(stack.indexOf(line), stack.indexOf(ui.CC));
    EXPECT_EQ(QApplication::widgetAt(ui.MAP->mapToGlobal(QPoint(100, 60))), ui.MAP);

    // New York: the short path ends there, in one line; the long one is
    // broken at the date line.
    const auto end = [&] { return line->Tracks().ShortPath.back().back(); };
    ASSERT_EQ(line->Tracks().ShortPath.size(), 1u);
    EXPECT_NEAR(end().X, (180 - 74.0) / 360 * 512, 1e-6);
    EXPECT_EQ(line->Tracks().LongPath.size(), 2u);
    EXPECT_FALSE(line->LongPath());

    // Tokyo: over the date line the short way.
    ui.DESTLong->setValue(-140);
    ui.DESTLat->setValue(36);
    EXPECT_EQ(line->Tracks().ShortPath.size(), 1u);
    ui.DESTLong->setValue(-170);
    ui.DESTLat->setValue(-40); // New Zealand's east: the short way from Paris crosses 180
    EXPECT_NEAR(end().X, (180 + 170.0) / 360 * 512, 1e-6);
    ui.LongPathBox->click();
    EXPECT_TRUE(line->LongPath());
}

// "Show the path" hides and shows the line and is kept in the settings
// file; a file from before the choice shows it.
TEST_F(MainWindow, ShowThePathIsKept)
{
    WriteSettings(Paris);
    {
        auto form = Open();
        form->show();
        QAction* show = Probe(*form).ShowPathAction();
        ASSERT_NE(show, nullptr);
        EXPECT_TRUE(Probe(*form).MapMenu()->actions().contains(show));
        EXPECT_EQ(show->text(), QStringLiteral("Show the path"));
        EXPECT_TRUE(show->isCheckable());
        EXPECT_TRUE(show->isChecked());
        show->trigger();
        EXPECT_FALSE(Probe(*form).PathLine()->isVisible());
        EXPECT_NE(ReadFile(path).find("\"ShowPath\"=\"0\""), std::string::npos) << ReadFile(path);
        form->close(); // keeps the value beside the remote point
    }
    EXPECT_NE(ReadFile(path).find("\"ShowPath\"=\"0\""), std::string::npos);
    {
        auto form = Open();
        form->show();
        EXPECT_FALSE(Probe(*form).ShowPathAction()->isChecked());
        EXPECT_FALSE(Probe(*form).PathLine()->isVisible());
        Probe(*form).ShowPathAction()->trigger();
        EXPECT_TRUE(Probe(*form).PathLine()->isVisible());
        EXPECT_NE(ReadFile(path).find("\"ShowPath\"=\"1\""), std::string::npos);
    }
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace orvela::app
