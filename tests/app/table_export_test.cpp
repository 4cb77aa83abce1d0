// The prediction table taken away through its context menu: copied as
// text, saved as CSV and as a picture under a caption that says what it
// shows, and a save that fails.
#include "cli/render.h"
#include "engine/table_export.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

// The main window of a station with a remote point stored.
class TableExport : public StationWindow {};

TEST_F(TableExport, TheTableIsCopiedAndSavedAsItIs)
{
    auto form = Open();
    const Prediction& p = Probe(*form).Widgets().MUFGrid->Current();
    const QList<QAction*> actions = Probe(*form).TableMenu()->actions();
    ASSERT_EQ(actions.size(), 9);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Copy as text"));
    EXPECT_EQ(actions[4]->text(), QStringLiteral("&Coverage map\u2026"));
    EXPECT_EQ(actions[5]->text(), QStringLiteral("&Planner\u2026"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Save as CSV\u2026"));
    EXPECT_EQ(actions[2]->text(), QStringLiteral("Save as PNG\u2026"));

    actions[0]->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 19 + 1);
    EXPECT_EQ(lines[0], QString::fromStdString(p.H1[0] + "\t" + p.H1[1] + "\t" + p.H1[2] + "\t" + p.H1[3]));
    EXPECT_EQ(lines[2].split(QLatin1Char('\t')).size(), 25);
    EXPECT_EQ(lines[2].split(QLatin1Char('\t'))[0], QStringLiteral("30 Mhz"));
    EXPECT_EQ(lines[20].split(QLatin1Char('\t'))[12], QString::fromStdString(p.Cells[18][12].Text));

    // The CSV is offered under the call sign, the remote point and the
    // date; it says what it holds, then holds the command line's CSV.
    std::tm local{};
    localtime_r(&clock.now, &local);
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    files.answer = dir.filePath(QStringLiteral("table.csv"));
    actions[1]->trigger();
    ASSERT_FALSE(files.suggestions.empty());
    EXPECT_EQ(files.suggestions.back(),
              QDir(QDir::homePath()).filePath(QStringLiteral("orvela-F6XYZ-to-40N74W-%1.csv").arg(date)));
    const std::string csv = ReadFile(files.answer.toStdString());
    EXPECT_EQ(csv.rfind("Station,F6XYZ\n", 0), 0u) << csv;
    for (const std::string& line :
         {std::string("\"Remote point\",\"40N 74W\""), "Date," + std::string(date),
          std::string("\"Solar flux (sfu)\",122.0"), std::string("Antenna,\"Isotrop antenna\"")}) {
        EXPECT_NE(csv.find("\n" + line + "\n"), std::string::npos) << line << "\n" << csv;
    }
    const std::string rows = "\n\n" + cli::RenderCsv(p);
    ASSERT_GT(csv.size(), rows.size());
    EXPECT_EQ(csv.substr(csv.size() - rows.size()), rows);

    files.answer = dir.filePath(QStringLiteral("table.png"));
    actions[2]->trigger();
    EXPECT_EQ(files.suggestions.back(),
              QDir(QDir::homePath()).filePath(QStringLiteral("orvela-F6XYZ-to-40N74W-%1.png").arg(date)));
    const QImage saved(files.answer);
    const QImage drawn = Probe(*form).Widgets().MUFGrid->grab().toImage();
    // The table as drawn, under its caption band.
    ASSERT_GT(saved.height(), drawn.height());
    EXPECT_EQ(saved.copy(0, saved.height() - drawn.height(), drawn.width(), drawn.height())
                  .convertToFormat(QImage::Format_RGB32),
              drawn.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("table")).size(), 2); // no leftovers

    files.answer.clear(); // cancelled: nothing happens
    actions[1]->trigger();
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TableExport, ASaveThatFailsSaysWhichFileAndWhy)
{
    auto form = Open();
    // A plain file stands where the folder should be: nothing can be made
    // there, whatever the user's rights.
    WriteFile(dir.filePath(QStringLiteral("blocked")).toStdString(), "not a folder");
    for (int action : {1, 2}) {
        messages.shown.clear();
        files.answer = dir.filePath(QStringLiteral("blocked/table.out"));
        Probe(*form).TableMenu()->actions()[action]->trigger();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_TRUE(messages.shown[0].Text.startsWith(QStringLiteral("Could not save ") + files.answer + ": "))
            << messages.shown[0].Text.toStdString();
    }
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("blocked")).toStdString()), "not a folder");
}

TEST_F(TableExport, TheTableSavedAsAPictureSaysWhatItShows)
{
    WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n\"Latitude\"=" + HexOf(48.85L) + "\r\n\"Longitude\"=" + HexOf(-2.35L) +
                      "\r\n\"Power\"=\"20\"\r\n\"GainTable\"=\"1\"\r\n",
                  "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"-33\"\r\n");
    clock.now = 1796904000 + 34 * 60; // 2026-12-10 12:34 UTC
    auto form = Open();
    const QStringList caption = Probe(*form).ExportCaption();
    ASSERT_EQ(caption.size(), 2);
    EXPECT_EQ(caption[0],
              QStringLiteral("Station F6XYZ 48.85\u00B0N 2.35\u00B0E  \u2014  Remote station 33\u00B0S 74\u00B0W"));
    EXPECT_EQ(caption[1],
              QStringLiteral("2026-12-10 12:34 UTC  \u00B7  Solar flux 122.0  \u00B7  Power 20 dBW  \u00B7  "
                             "Simple dipole  \u00B7  Power (dBm) above threshold"));
    // What the window changes, the caption follows.
    Probe(*form).Widgets().LongPathBox->setChecked(true);
    Probe(*form).Widgets().AGTItem2->click();
    EXPECT_TRUE(Probe(*form).ExportCaption()[0].endsWith(QStringLiteral(", long path")));
    EXPECT_TRUE(Probe(*form).ExportCaption()[1].contains(QStringLiteral("3 elements Yagi")));

    // The picture: the band of text over the table as drawn.
    files.answer = dir.filePath(QStringLiteral("table.png"));
    Probe(*form).TableMenu()->actions()[2]->trigger(); // "Save as PNG…"
    EXPECT_TRUE(messages.shown.empty());
    const QImage saved(files.answer);
    ASSERT_FALSE(saved.isNull());
    const QPixmap table = Probe(*form).Widgets().MUFGrid->grab();
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
