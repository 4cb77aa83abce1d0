// What the main window looks like beyond its layout: the table's hint,
// where start-up's boxes open, the status bar's icons and texts, and the
// room around the controls of its groups and of the setup dialog.
#include "app/prediction_table.h"
#include "app/status_bar.h"
#include "tests/app/window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cmath>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class WindowLook : public StationWindow {};

TEST_F(WindowLook, TheTablesHintIsPaleYellow)
{
    auto form = Open();
    form->show();
    ASSERT_TRUE(WaitUntilExposed(*form));
    QWidget* viewport = Probe(*form).Widgets().MUFGrid->viewport();
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
    InfoStatusBar* bar = Probe(*form).Widgets().InfoBar;
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
    ASSERT_TRUE(WaitUntilExposed(*form));
    EXPECT_GE(Clearance(Probe(*form).Widgets().RemoteGroupBox, Probe(*form).Widgets().LongPathBox), 2);
    int watts = -1;
    dialogs.onOpen = [&watts](QDialog& d) {
        d.show();
        EXPECT_TRUE(WaitUntilExposed(d));
        Ui::TCoordForm& ui = static_cast<TCoordForm&>(d).Widgets();
        ui.PWRSpin->setValue(34); // "= 2.51 kW", as wide as it gets
        watts = Clearance(ui.LocalGroupBox, ui.PWRWatts);
        d.reject();
        return d.result();
    };
    Probe(*form).Widgets().ChangeBtn->click();
    EXPECT_GE(watts, 2);
}

// The web address of the last panel, and longer ones, do not fit beside
// its icon: cut short with an ellipsis, whole in the tooltip and in the
// bar's accessible description.
TEST_F(WindowLook, AStatusTextTooLongForItsPanelIsCutShortAndGivenWhole)
{
    auto form = Open();
    InfoStatusBar* bar = Probe(*form).Widgets().InfoBar;
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

} // namespace
} // namespace orvela::app
