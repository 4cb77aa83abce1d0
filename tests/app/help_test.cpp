// Help, the information window, the about box, context help, and the table
// taken away through its context menu.
#include "info_window.h"
#include "render.h"
#include "table_export.h"
#include "tapropos.h"
#include "ui_tapropos.h"
#include "window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class HelpAndInfo : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        WriteSettings("\"CallSign\"=\"F6XYZ\"\r\n", "\"DistLon\"=\"74\"\r\n\"DistLat\"=\"40\"\r\n");
        startDir = QDir::currentPath();
    }
    void TearDown() override { QDir::setCurrent(startDir); }
    QString startDir;
};

TEST_F(HelpAndInfo, HelpOpensTheStartDirectorysHelpFile)
{
    QDir::setCurrent(dir.path());
    auto form = Open();
    QDir::setCurrent(startDir); // the help stays where the program started
    form->Widgets().HelpBtn->click();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(dir.path() + QStringLiteral("/ORVELA.CHM")));
}

TEST_F(HelpAndInfo, InfoWindowsReadInfoTxtFromTheCurrentDirectoryAndGoWithTheMainWindow)
{
    auto form = Open();
    QDir::setCurrent(dir.path());
    WriteFile(dir.filePath(QStringLiteral("Info.txt")).toStdString(), "Propagation: 100 W is 20 dBW \xC2\xB0\n");
    form->Widgets().InfoBtn->click();
    QFile::remove(dir.filePath(QStringLiteral("Info.txt")));
    form->Widgets().InfoBtn->click();
    form->Widgets().InfoBtn->click();

    const QList<TInfoForm*> windows = form->findChildren<TInfoForm*>();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[0]->Text()->toPlainText(), QStringLiteral("Propagation: 100 W is 20 dBW \u00B0\n"));
    for (TInfoForm* w : windows) {
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->isWindow());
        EXPECT_EQ(w->windowTitle(), QStringLiteral("What is propagation ?..."));
        EXPECT_EQ(w->size(), QSize(480, 375));
        EXPECT_FALSE(w->Text()->isReadOnly());
    }
    EXPECT_EQ(windows[1]->Text()->toPlainText(), QStringLiteral("Could not find info file (info.txt)"));
    EXPECT_TRUE(form->isEnabled()); // modeless

    windows[2]->CloseButton()->click();
    EXPECT_FALSE(windows[2]->isVisible());
    std::vector<QPointer<TInfoForm>> kept(windows.begin(), windows.end());
    form.reset();
    for (const auto& w : kept) {
        EXPECT_TRUE(w.isNull());
    }
}

TEST_F(HelpAndInfo, TheAboutBoxReportsPhysicalMemoryInKilobytes)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case {
        std::uint64_t bytes;
        const char* text;
    };
    const Case cases[] = {{2147483648ull, "2,097,152 Ko"}, {64ull << 30, "67,108,864 Ko"}, {1536, "2 Ko"}};
    auto form = Open();
    for (const Case& c : cases) {
        machine.bytes = c.bytes;
        QString shown;
        dialogs.onOpen = [&](QDialog& d) {
            auto& about = static_cast<TAPropos&>(d);
            shown = about.Widgets().PhysMem->text();
            EXPECT_EQ(about.windowTitle(), QStringLiteral("About  ORVELA"));
            EXPECT_EQ(about.size(), QSize(380, 160));
            about.Widgets().CloseBtn->click();
            return d.result();
        };
        form->Widgets().AboutBtn->click();
        EXPECT_EQ(shown, QString::fromLatin1(c.text));
    }
    EXPECT_EQ(form->findChildren<TAPropos*>().size(), 3);
    EXPECT_EQ(TAPropos::MemoryText(2147483648ull, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("2.097.152 Ko"));
    QLocale::setDefault(QLocale::c());
}

TEST_F(HelpAndInfo, F1OpensThePageOfTheControlUnderTheMouse)
{
    QDir::setCurrent(dir.path());
    auto form = Open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    const auto pressF1Over = [&](QWidget* control) {
        opener.opened.clear();
        QCursor::setPos(control->mapToGlobal(control->rect().center()));
        QTest::keyClick(form.get(), Qt::Key_F1);
        return opener.opened.size() == 1 ? opener.opened[0].fileName() : QStringLiteral("(none)");
    };
    EXPECT_EQ(pressF1Over(form->Widgets().MAP), QStringLiteral("map.html")); // the home marker sits there
    EXPECT_EQ(pressF1Over(form->Widgets().LBL), QStringLiteral("map.html"));
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(dir.path() + QStringLiteral("/html/map.html")));
    EXPECT_EQ(pressF1Over(form->Widgets().MUFGrid->viewport()), QStringLiteral("table.html"));
    EXPECT_EQ(pressF1Over(form->Widgets().DESTLat), QStringLiteral("remote.html"));
    EXPECT_EQ(pressF1Over(form->Widgets().H2), QStringLiteral("strips.html"));
    EXPECT_EQ(pressF1Over(form->Widgets().LabelPower), QStringLiteral("station.html"));
    EXPECT_EQ(pressF1Over(form->Widgets().FLXSpin), QStringLiteral("index.html"));
}

TEST_F(HelpAndInfo, TheTableIsCopiedAndSavedAsItIs)
{
    auto form = Open();
    const Prediction& p = form->Widgets().MUFGrid->Current();
    const QList<QAction*> actions = form->TableMenu()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Copy as text"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Save as CSV\u2026"));
    EXPECT_EQ(actions[2]->text(), QStringLiteral("Save as PNG\u2026"));

    actions[0]->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2 + 19 + 1);
    EXPECT_EQ(lines[0], QString::fromStdString(p.H1[0] + "\t" + p.H1[1] + "\t" + p.H1[2] + "\t" + p.H1[3]));
    EXPECT_EQ(lines[2].split(QLatin1Char('\t')).size(), 25);
    EXPECT_EQ(lines[2].split(QLatin1Char('\t'))[0], QStringLiteral("30 Mhz"));
    EXPECT_EQ(lines[20].split(QLatin1Char('\t'))[12], QString::fromStdString(p.Cells[18][12].Text));

    files.answer = dir.filePath(QStringLiteral("table.csv"));
    actions[1]->trigger();
    EXPECT_EQ(ReadFile(files.answer.toStdString()), cli::RenderCsv(p)); // the command line's CSV

    files.answer = dir.filePath(QStringLiteral("table.png"));
    actions[2]->trigger();
    const QImage saved(files.answer);
    const QImage drawn = form->Widgets().MUFGrid->grab().toImage();
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

TEST_F(HelpAndInfo, ASaveThatFailsSaysWhichFileAndWhy)
{
    auto form = Open();
    // A plain file stands where the folder should be: nothing can be made
    // there, whatever the user's rights.
    WriteFile(dir.filePath(QStringLiteral("blocked")).toStdString(), "not a folder");
    for (int action : {1, 2}) {
        messages.shown.clear();
        files.answer = dir.filePath(QStringLiteral("blocked/table.out"));
        form->TableMenu()->actions()[action]->trigger();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Warning);
        EXPECT_TRUE(messages.shown[0].Text.startsWith(QStringLiteral("Could not save ") + files.answer + ": "))
            << messages.shown[0].Text.toStdString();
    }
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("blocked")).toStdString()), "not a folder");
}

} // namespace
} // namespace orvela::app
