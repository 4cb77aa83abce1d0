// The remote point from a locator, the long path switch and the exported
// table's caption, on the real main window.
#include "station/locator.h"
#include "map/map_coordinates.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QLineEdit>
#include <QMenu>
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

TEST_F(MainWindow, AWrongLocatorIsNamedAndTheRemotePointStays)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"10\"\r\n\"DistLat\"=\"20\"\r\n");
    auto form = Open();
    Ui::TPROPForm& ui = form->Widgets();
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
        AnswerLocator(dialogs, QString::fromUtf8(c.Locator));
        form->GoToLocator();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Attention"));
        EXPECT_EQ(messages.shown[0].Text,
                  QStringLiteral("Le caract\u00E8re n\u00B0%1 est erron\u00E9 !\nLe format du QTH Locator est RR99XX "
                                 "maximum")
                      .arg(c.Bad));
        EXPECT_EQ(ui.DESTLong->value(), 10);
        EXPECT_EQ(ui.DESTLat->value(), 20);
        EXPECT_EQ(form->RunCount(), runs);
    }
    // Cancelled: nothing happens.
    messages.shown.clear();
    dialogs.onOpen = nullptr;
    form->GoToLocator();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ui.DESTLong->value(), 10);
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
