// The remote point from a locator, the long path switch and the exported
// table's caption, on the real main window.
#include "app/goto_dialog.h"
#include "station/locator.h"
#include "app/ui_goto_dialog.h"
#include "map/map_coordinates.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QPixmap>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

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

TEST_F(MainWindow, ALocatorMovesTheRemotePointAsAClickThere)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
    const QList<QAction*> actions = form->MapMenu()->actions();
    ASSERT_GE(actions.size(), 1);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Go to locator\u2026"));

    const struct {
        const char* Locator;
        int Lon; // positive west
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
        const int runs = form->RunCount();
        AnswerLocator(dialogs, QString::fromLatin1(c.Locator));
        actions[0]->trigger();
        EXPECT_EQ(dialogs.titles.back(), QStringLiteral("Go to locator"));
        EXPECT_EQ(ui.DESTLong->value(), c.Lon);
        EXPECT_EQ(ui.DESTLat->value(), c.Lat);
        EXPECT_EQ(form->RemoteLabel(), QStringLiteral("Remote station"));
        EXPECT_GT(form->RunCount(), runs);
        EXPECT_TRUE(messages.shown.empty());
    }
    // The marker sits on the sub-square's centre, as on the clicked pixel.
    AnswerLocator(dialogs, QStringLiteral("JN18DU"));
    actions[0]->trigger();
    EXPECT_EQ(ui.CC->pos(), QPoint(MarkerLeft(-static_cast<double>(LocatorCentre("JN18DU", "Lon"))) - 4,
                                   MarkerTop(static_cast<double>(LocatorCentre("JN18DU", "Lat"))) - 4));
    EXPECT_TRUE(ui.H1->Text(1).startsWith(QStringLiteral("Remote station Lat 48.0\u00B0N Lon 2.0\u00B0E")))
        << ui.H1->Text(1).toStdString();
}

TEST_F(MainWindow, AWrongLocatorIsNamedAndTheDialogStaysOpenOnItSelected)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"10\"\r\n\"DistLat\"=\"20\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
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
        const int runs = form->RunCount();
        typeInTurn({QString::fromUtf8(c.Locator)});
        form->GoToLocator();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Attention"));
        EXPECT_EQ(messages.shown[0].Text,
                  QStringLiteral("Le caract\u00E8re n\u00B0%1 est erron\u00E9 !\nLe format du QTH Locator est RR99XX "
                                 "maximum")
                      .arg(c.Bad));
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].Open);
        EXPECT_EQ(seen[0].Selected, QString::fromUtf8(c.Locator)); // to be typed over
        EXPECT_TRUE(seen[0].Focused);
        // Cancelled then: nothing moves.
        EXPECT_EQ(ui.DESTLong->value(), 10);
        EXPECT_EQ(ui.DESTLat->value(), 20);
        EXPECT_EQ(form->RunCount(), runs);
    }

    // Mended in the same dialog, the locator is taken.
    messages.shown.clear();
    typeInTurn({QStringLiteral("FN3L"), QStringLiteral("FN31")});
    form->GoToLocator();
    EXPECT_EQ(messages.shown.size(), 1u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].Open);
    EXPECT_FALSE(seen[1].Open);
    EXPECT_EQ(ui.DESTLong->value(), 73);
    EXPECT_EQ(ui.DESTLat->value(), 41);
}

TEST_F(MainWindow, CtrlLAsksForALocator)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n");
    auto form = Open();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get(), 5000));
    AnswerLocator(dialogs, QStringLiteral("FN31"));
    QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.titles.empty());
    EXPECT_EQ(dialogs.titles.back(), QStringLiteral("Go to locator"));
    EXPECT_EQ(form->Widgets().DESTLong->value(), 73);
}

// Clicks as the window system delivers them: the press to the widget under
// the pointer, then for the right button the context menu event.
TEST_F(MainWindow, OnlyTheLeftButtonPicksAndTheRightOneOpensTheMapsMenuOverTheMarkersToo)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"-100\"\r\n\"DistLat\"=\"-30\"\r\n");
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Ui::TPROPForm& ui = form->Widgets();
    int menus = 0;
    QObject::connect(form->MapMenu(), &QMenu::aboutToShow, form->MapMenu(), [&menus, &form] {
        ++menus;
        QMetaObject::invokeMethod(form->MapMenu(), &QMenu::close, Qt::QueuedConnection);
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
        const int runs = form->RunCount();
        const int menusBefore = menus;
        click(c.Widget, c.Button, c.At);
        EXPECT_EQ(menus - menusBefore, c.Menus);
        EXPECT_EQ(ui.DESTLong->value(), -100);
        EXPECT_EQ(ui.DESTLat->value(), -30);
        EXPECT_EQ(ui.CC->pos(), remoteMarker);
        EXPECT_TRUE(form->RemoteLabel().isEmpty());
        EXPECT_EQ(form->RunCount(), runs);
    }

    // The left button picks, on the map and on a marker: the point under it.
    click(ui.MAP, Qt::LeftButton, QPoint(100, 60));
    EXPECT_EQ(ui.DESTLong->value(), PixelToLongitude(100));
    EXPECT_EQ(ui.DESTLat->value(), PixelToLatitude(60));
    const QPoint home = ui.MAP->mapFromGlobal(ui.STA->mapToGlobal(ui.STA->rect().center()));
    click(ui.STA, Qt::LeftButton, ui.STA->rect().center());
    EXPECT_EQ(ui.DESTLong->value(), PixelToLongitude(home.x()));
    EXPECT_EQ(ui.DESTLat->value(), PixelToLatitude(home.y()));
    EXPECT_EQ(form->RemoteLabel(), QStringLiteral("Remote station"));
    EXPECT_EQ(menus, 3);
}

TEST_F(MainWindow, TheLongPathBoxRunsTheLongPathAndIsStoredAtClosing)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Path\"=\"1\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
    EXPECT_EQ(ui.LongPathBox->text(), QStringLiteral("Long path"));
    EXPECT_EQ(ui.LongPathBox->accessibleName(), QStringLiteral("Long path"));
    EXPECT_NE(ui.LongPathBox->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_TRUE(ui.LongPathBox->isChecked()); // as stored
    EXPECT_TRUE(form->Station().Path);
    const QString longDistance = ui.H1->Text(2);

    // Unticked from the keyboard: the short path at once.
    const int runs = form->RunCount();
    ui.LongPathBox->setFocus();
    QTest::keyClick(ui.LongPathBox, Qt::Key_Space);
    EXPECT_FALSE(ui.LongPathBox->isChecked());
    EXPECT_FALSE(form->Station().Path);
    EXPECT_EQ(form->RunCount(), runs + 1);
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
    EXPECT_FALSE(again->Widgets().LongPathBox->isChecked());
    again->Widgets().LongPathBox->setChecked(true);
    EXPECT_EQ(again->Widgets().H1->Text(2), longDistance);
    again->close();
    EXPECT_TRUE(Open()->Widgets().LongPathBox->isChecked());
}

TEST_F(MainWindow, TheTableSavedAsAPictureSaysWhatItShows)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) +
                      "\r\n\"Power\"=\"20\"\r\n\"GainTable\"=\"1\"\r\n",
                  "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"-33\"\r\n");
    clock.now = 1796904000 + 34 * 60; // 2026-12-10 12:34 UTC
    auto form = Open();
    const QStringList caption = form->ExportCaption();
    ASSERT_EQ(caption.size(), 2);
    EXPECT_EQ(caption[0],
              QStringLiteral("Station F6XYZ 48.85\u00B0N 2.35\u00B0E  \u2014  Remote station 33\u00B0S 74\u00B0W"));
    EXPECT_EQ(caption[1],
              QStringLiteral("2026-12-10 12:34 UTC  \u00B7  Solar flux 122.0  \u00B7  Power 20 dBW  \u00B7  "
                             "Simple dipole  \u00B7  Power (dBm) above threshold"));
    // What the window changes, the caption follows.
    form->Widgets().LongPathBox->setChecked(true);
    form->Widgets().AGTItem2->click();
    EXPECT_TRUE(form->ExportCaption()[0].endsWith(QStringLiteral(", long path")));
    EXPECT_TRUE(form->ExportCaption()[1].contains(QStringLiteral("3 elements Yagi")));

    // The picture: the band of text over the table as drawn.
    files.answer = dir.filePath(QStringLiteral("table.png"));
    form->SaveTableAsPng();
    EXPECT_TRUE(messages.shown.empty());
    const QImage saved(files.answer);
    ASSERT_FALSE(saved.isNull());
    const QPixmap table = form->Widgets().MUFGrid->grab();
    const int band = saved.height() - table.height();
    EXPECT_GT(band, 20);
    EXPECT_GE(saved.width(), table.width());
    EXPECT_EQ(saved.copy(0, band, table.width(), table.height()), table.toImage().convertToFormat(saved.format()));
    int dark = 0;
    for (int y = 0; y < band; ++y) {
        for (int x = 0; x < saved.width(); ++x) {
            dark += qGray(saved.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 200) << "the band carries text";
}

} // namespace
} // namespace orvela::app
