// Picking the remote point on the real main window: a click on the map, a
// locator, a call sign or a prefix typed in "Go to…" (the map's menu, or
// Ctrl+L), and which
// mouse buttons pick a point and which open the map's menu.
#include "app/goto_dialog.h"
#include "app/remote_point.h"
#include "station/locator.h"
#include "app/ui_goto_dialog.h"
#include "map/map_coordinates.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class RemotePointPicking : public MainWindow {};

TEST_F(RemotePointPicking, TheMapPicksTheRemotePoint)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
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

    const int runs = Probe(*form).RunCount();
    send(QEvent::MouseButtonPress, QPoint(0, 0));
    EXPECT_EQ(ui.DESTLong->value(), 180);
    EXPECT_EQ(ui.DESTLat->value(), 90);
    EXPECT_EQ(ui.LBL3->text(), QStringLiteral("degrees West"));
    EXPECT_EQ(ui.LBL4->text(), QStringLiteral("degrees North"));
    EXPECT_EQ(ui.CC->pos(), QPoint(-4, -4));
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Remote station"));
    EXPECT_TRUE(ui.H1->Text(1).startsWith(QStringLiteral("Remote station Lat 90.0\u00B0N Lon 180.0\u00B0O")))
        << ui.H1->Text(1).toStdString();
    EXPECT_EQ(Probe(*form).RunCount(), runs + 3); // each spin edit's change, then the click

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

// Answers the locator dialog with a text and OK.
void AnswerLocator(FakeDialogs& dialogs, const QString& text)
{
    dialogs.onOpen = [text](QDialog& dialog) {
        QLineEdit* edit = dialog.findChild<QLineEdit*>(QStringLiteral("LocatorEdit"));
        EXPECT_NE(edit, nullptr);
        if (edit == nullptr) {
            return static_cast<int>(QDialog::Rejected);
        }
        EXPECT_FALSE(edit->accessibleName().isEmpty());
        edit->setText(text);
        dialog.accept();
        return dialog.result();
    };
}

TEST_F(RemotePointPicking, ALocatorMovesTheRemotePointAsAClickThere)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const QList<QAction*> actions = Probe(*form).MapMenu()->actions();
    ASSERT_GE(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Go to\u2026"));

    const struct {
        const char* Locator;
        int LonWestDeg; // positive west
        int Lat;
    } cases[] = {
        {"JN18DU", -2, 48},  // 2.29 E, 48.85 N: truncated toward zero, as a click
        {" fn31 ", 73, 41},  // a square's centre, 73 W 41.5 N; blanks and case do not matter
        {"PF95", -139, -34}, // 139 E, 34.5 S
        {"IO91WM", 0, 51},   // 0.125 W
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Locator);
        ui.DESTLong->setValue(100);
        const int runs = Probe(*form).RunCount();
        AnswerLocator(dialogs, QString::fromLatin1(c.Locator));
        actions[0]->trigger();
        EXPECT_EQ(dialogs.titles.back(), QStringLiteral("Go to"));
        EXPECT_EQ(ui.DESTLong->value(), c.LonWestDeg);
        EXPECT_EQ(ui.DESTLat->value(), c.Lat);
        EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Remote station"));
        EXPECT_GT(Probe(*form).RunCount(), runs);
        EXPECT_TRUE(messages.shown.empty());
    }
    // The marker sits on the sub-square's centre, as on the clicked pixel.
    AnswerLocator(dialogs, QStringLiteral("JN18DU"));
    actions[0]->trigger();
    EXPECT_EQ(ui.CC->pos(), QPoint(MarkerLeft(-static_cast<double>(LocatorCentre("JN18DU", "Lon"))),
                                   MarkerTop(static_cast<double>(LocatorCentre("JN18DU", "Lat")))) -
                                QPoint(RemotePoint::MarkerOffset, RemotePoint::MarkerOffset));
    EXPECT_TRUE(ui.H1->Text(1).startsWith(QStringLiteral("Remote station Lat 48.0\u00B0N Lon 2.0\u00B0E")))
        << ui.H1->Text(1).toStdString();
}

TEST_F(RemotePointPicking, AWrongLocatorIsNamedAndTheDialogStaysOpenOnItSelected)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"10\"\r\n\"DistLat\"=\"20\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    // Types each text in turn into the open dialog and presses OK, noting
    // what the dialog shows after each; Cancel after the last if it is
    // still open.
    struct Seen {
        bool Open;
        QString Selected;
        bool Focused;
    };
    std::vector<Seen> seen;
    const auto typeInTurn = [&](std::vector<QString> texts) {
        seen.clear();
        dialogs.onOpen = [&seen, texts](QDialog& d) {
            auto& dialog = static_cast<GoToDialog&>(d);
            dialog.show();
            QLineEdit* edit = dialog.Widgets().LocatorEdit;
            for (const QString& text : texts) {
                edit->setText(text);
                dialog.Widgets().Buttons->button(QDialogButtonBox::Ok)->click();
                seen.push_back({dialog.isVisible(), edit->selectedText(), dialog.focusWidget() == edit});
                if (!dialog.isVisible()) {
                    return dialog.result();
                }
            }
            dialog.Widgets().Buttons->button(QDialogButtonBox::Cancel)->click();
            return dialog.result();
        };
    };

    const struct {
        const char* Locator; // UTF-8
        int Bad;
    } cases[] = {
        {"JN18D!", 6}, {"JS18", 2}, {"JN1X", 4}, {"JN18D", 6}, {"JN1", 4}, {"", 1}, {"JN18D\xC3\xA9", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Locator);
        messages.shown.clear();
        const int runs = Probe(*form).RunCount();
        typeInTurn({QString::fromUtf8(c.Locator)});
        Probe(*form).GoToLocator();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Attention"));
        // The locator's fault, then why the text is no call sign either.
        const QString locatorFault =
            QStringLiteral("Le caract\u00E8re n\u00B0%1 est erron\u00E9 !\nLe format du QTH Locator est RR99XX "
                           "maximum")
                .arg(c.Bad);
        if (c.Locator[0] == '\0') {
            EXPECT_EQ(messages.shown[0].Text, locatorFault);
        } else {
            EXPECT_TRUE(messages.shown[0].Text.startsWith(locatorFault + QStringLiteral("\n")))
                << messages.shown[0].Text.toStdString();
            EXPECT_TRUE(messages.shown[0].Text.contains(QStringLiteral("call sign")) ||
                        messages.shown[0].Text.contains(QStringLiteral("No DXCC entity")))
                << messages.shown[0].Text.toStdString();
        }
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].Open);
        EXPECT_EQ(seen[0].Selected, QString::fromUtf8(c.Locator)); // to be typed over
        EXPECT_TRUE(seen[0].Focused);
        // Cancelled then: nothing moves.
        EXPECT_EQ(ui.DESTLong->value(), 10);
        EXPECT_EQ(ui.DESTLat->value(), 20);
        EXPECT_EQ(Probe(*form).RunCount(), runs);
    }

    // Mended in the same dialog, the locator is taken. (A wrong locator
    // that is a call sign, FN3L in France, is taken as that call.)
    messages.shown.clear();
    typeInTurn({QStringLiteral("FN3!"), QStringLiteral("FN31")});
    Probe(*form).GoToLocator();
    EXPECT_EQ(messages.shown.size(), 1u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].Open);
    EXPECT_FALSE(seen[1].Open);
    EXPECT_EQ(ui.DESTLong->value(), 73);
    EXPECT_EQ(ui.DESTLat->value(), 41);
}

TEST_F(RemotePointPicking, CtrlLAsksForALocator)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(WaitUntilActive(*form));
    AnswerLocator(dialogs, QStringLiteral("FN31"));
    QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.titles.empty());
    EXPECT_EQ(dialogs.titles.back(), QStringLiteral("Go to"));
    EXPECT_EQ(Probe(*form).Widgets().DESTLong->value(), 73);
}

// Clicks as the window system delivers them: the press to the widget under
// the pointer, then for the right button the context menu event.
TEST_F(RemotePointPicking, OnlyTheLeftButtonPicksAndTheRightOneOpensTheMapsMenuOverTheMarkersToo)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"-100\"\r\n\"DistLat\"=\"-30\"\r\n");
    auto form = Open();
    form->show();
    ASSERT_TRUE(WaitUntilExposed(*form));
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    int menus = 0;
    QObject::connect(Probe(*form).MapMenu(), &QMenu::aboutToShow, Probe(*form).MapMenu(), [&menus, &form] {
        ++menus;
        QMetaObject::invokeMethod(Probe(*form).MapMenu(), &QMenu::close, Qt::QueuedConnection);
    });
    const auto click = [&form](QWidget* w, Qt::MouseButton button, QPoint at) {
        QTest::mouseClick(form->windowHandle(), button, Qt::NoModifier, w->mapTo(form.get(), at));
    };
    const QPoint remoteMarker = ui.CC->pos();

    const struct {
        const char* What;
        QWidget* Widget;
        QPoint At;
        Qt::MouseButton Button;
        int Menus;
    } still[] = {
        {"right on the map", ui.MAP, QPoint(100, 60), Qt::RightButton, 1},
        {"right on the remote marker", ui.CC, ui.CC->rect().center(), Qt::RightButton, 1},
        {"right on the home marker", ui.STA, ui.STA->rect().center(), Qt::RightButton, 1},
        {"middle on the map", ui.MAP, QPoint(100, 60), Qt::MiddleButton, 0},
    };
    for (const auto& c : still) {
        SCOPED_TRACE(c.What);
        ASSERT_EQ(QApplication::widgetAt(c.Widget->mapToGlobal(c.At)), c.Widget);
        const int runs = Probe(*form).RunCount();
        const int menusBefore = menus;
        click(c.Widget, c.Button, c.At);
        EXPECT_EQ(menus - menusBefore, c.Menus);
        EXPECT_EQ(ui.DESTLong->value(), -100);
        EXPECT_EQ(ui.DESTLat->value(), -30);
        EXPECT_EQ(ui.CC->pos(), remoteMarker);
        EXPECT_TRUE(Probe(*form).RemoteLabel().isEmpty());
        EXPECT_EQ(Probe(*form).RunCount(), runs);
    }

    // The left button picks, on the map and on a marker: the point under it.
    click(ui.MAP, Qt::LeftButton, QPoint(100, 60));
    EXPECT_EQ(ui.DESTLong->value(), PixelToLongitude(100));
    EXPECT_EQ(ui.DESTLat->value(), PixelToLatitude(60));
    const QPoint home = ui.MAP->mapFromGlobal(ui.STA->mapToGlobal(ui.STA->rect().center()));
    click(ui.STA, Qt::LeftButton, ui.STA->rect().center());
    EXPECT_EQ(ui.DESTLong->value(), PixelToLongitude(home.x()));
    EXPECT_EQ(ui.DESTLat->value(), PixelToLatitude(home.y()));
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Remote station"));
    EXPECT_EQ(menus, 3);
}

} // namespace
} // namespace orvela::app

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class GoToCallSign : public MainWindow {};

TEST_F(GoToCallSign, ACallOrPrefixMovesTheRemotePointToItsEntityAndNamesIt)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const struct {
        const char* Typed;
        double LonWest, Lat; // the file's position: the marker's
        const char* Label;
    } cases[] = {
        {"JA1ABC", -138.38, 36.40, "Japan (JA), CQ 25, AS"},
        {" ja ", -138.38, 36.40, "Japan (JA), CQ 25, AS"},
        // An exact call with a position and zone of its own.
        {"JA1ZZZ/JD1", -142.20, 27.10, "Japan (JA), CQ 27, AS"},
        {"W1ABC/P", 91.87, 37.60, "United States of America (K), CQ 5, NA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        ui.DESTLong->setValue(100);
        AnswerLocator(dialogs, QString::fromLatin1(c.Typed));
        Probe(*form).GoToLocator();
        EXPECT_TRUE(messages.shown.empty());
        // Whole degrees truncated toward zero, as a click there gives them.
        EXPECT_EQ(ui.DESTLong->value(), static_cast<int>(c.LonWest));
        EXPECT_EQ(ui.DESTLat->value(), static_cast<int>(c.Lat));
        EXPECT_EQ(ui.CC->pos(), QPoint(MarkerLeft(c.LonWest), MarkerTop(c.Lat)) -
                                    QPoint(RemotePoint::MarkerOffset, RemotePoint::MarkerOffset));
        EXPECT_EQ(Probe(*form).RemoteLabel(), QString::fromLatin1(c.Label));
        EXPECT_TRUE(ui.H1->Text(1).startsWith(QString::fromLatin1(c.Label) + QStringLiteral(" Lat ")))
            << ui.H1->Text(1).toStdString();
    }
    // Moved by hand off the entity, the point is no longer named for it.
    ui.DESTLat->setValue(10);
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Remote station"));
}

TEST_F(GoToCallSign, ACallOfNoEntityIsNamedAndTheDialogStaysOpenOnItSelected)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"10\"\r\n\"DistLat\"=\"20\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();
    const struct {
        const char* Typed;
        const char* Says;
    } cases[] = {
        {"K1ABC/MM", "K1ABC/MM is maritime mobile: a station at sea has no DXCC entity"},
        {"XX9ABC", "No DXCC entity for XX9ABC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        messages.shown.clear();
        bool stayedOpen = false;
        QString selected;
        dialogs.onOpen = [&, c](QDialog& d) {
            auto& dialog = static_cast<GoToDialog&>(d);
            dialog.show();
            EXPECT_FALSE(dialog.Widgets().CallsProblemLabel->isVisible());
            dialog.Widgets().LocatorEdit->setText(QString::fromLatin1(c.Typed));
            dialog.Widgets().Buttons->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog.isVisible();
            selected = dialog.Widgets().LocatorEdit->selectedText();
            dialog.Widgets().Buttons->button(QDialogButtonBox::Cancel)->click();
            return dialog.result();
        };
        Probe(*form).GoToLocator();
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(selected, QString::fromLatin1(c.Typed));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].Text.contains(QString::fromLatin1(c.Says)))
            << messages.shown[0].Text.toStdString();
        EXPECT_EQ(ui.DESTLong->value(), 10);
        EXPECT_EQ(ui.DESTLat->value(), 20);
    }
}

TEST_F(GoToCallSign, WithoutACountryFileLocatorsStillWorkAndTheDialogSaysWhyCallsDoNot)
{
    countries.read = country::ParseCountryFile("Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA\n");
    ASSERT_FALSE(countries.read.File);
    const QString why = QString::fromStdString(countries.read.Problem);
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = Probe(*form).Widgets();

    QString shownWhy;
    dialogs.onOpen = [&](QDialog& d) {
        auto& dialog = static_cast<GoToDialog&>(d);
        dialog.show();
        if (dialog.Widgets().CallsProblemLabel->isVisible()) {
            shownWhy = dialog.Widgets().CallsProblemLabel->text();
        }
        dialog.Widgets().LocatorEdit->setText(QStringLiteral("JA1ABC"));
        dialog.Widgets().Buttons->button(QDialogButtonBox::Ok)->click();
        dialog.Widgets().LocatorEdit->setText(QStringLiteral("FN31"));
        dialog.Widgets().Buttons->button(QDialogButtonBox::Ok)->click();
        return dialog.result();
    };
    Probe(*form).GoToLocator();
    EXPECT_TRUE(shownWhy.endsWith(why)) << shownWhy.toStdString();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].Text.endsWith(QStringLiteral("Call signs cannot be looked up: ") + why))
        << messages.shown[0].Text.toStdString();
    EXPECT_EQ(ui.DESTLong->value(), 73);
    EXPECT_EQ(ui.DESTLat->value(), 41);
    EXPECT_EQ(Probe(*form).RemoteLabel(), QStringLiteral("Remote station"));
}

} // namespace
} // namespace orvela::app
