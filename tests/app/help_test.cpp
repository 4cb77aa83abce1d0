// Help, the information window, the about box and context help.
#include "app/help_window.h"
#include "app/info_window.h"
#include "cli/render.h"
#include "app/system_services.h"
#include "engine/table_export.h"
#include "app/tapropos.h"
#include "app/ui_tapropos.h"
#include "tests/app/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

    // A folder laid out as the program's data folder: the compiled help, its
    // pages (each titled, the first linking to the others) and Info.txt.
    QString LayOut(const QString& name, const std::string& info = "")
    {
        const QString folder = dir.filePath(name);
        QDir(folder).mkpath(QStringLiteral("html"));
        WriteFile((folder + "/ORVELA.CHM").toStdString(), "ITSF");
        WriteFile((folder + "/html/index.html").toStdString(),
                  "<html><head><title>Orvela Help</title></head><body><h1>Orvela Help</h1>"
                  "<h2 id=\"start\">Getting started</h2>"
                  "<a href=\"table.html\">t</a> <a href=\"map.html#drag\">m</a></body></html>");
        for (const char* page : {"map", "table", "remote", "strips", "station"}) {
            WriteFile((folder + "/html/" + page + ".html").toStdString(),
                      std::string("<html><head><title>Page ") + page + "</title></head><body><p>" + page +
                          "</p><h2 id=\"drag\">Dragging</h2></body></html>");
        }
        if (!info.empty()) {
            WriteFile((folder + "/Info.txt").toStdString(), info);
        }
        return folder;
    }

    QString startDir;
};

TEST_F(HelpAndInfo, HelpOpensTheCompiledHelpOfTheStartDirectoryElseOfTheDataFolder)
{
    dataDir = LayOut(QStringLiteral("share/orvela"));
    QDir(dir.path()).mkdir(QStringLiteral("start"));
    QDir::setCurrent(dir.filePath(QStringLiteral("start")));
    auto form = Open();
    QDir::setCurrent(startDir); // the help stays where the program started
    Probe(*form).Widgets().HelpBtn->click();
    LayOut(QStringLiteral("start"));
    Probe(*form).Widgets().HelpBtn->click();
    ASSERT_EQ(opener.opened.size(), 2u);
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(dataDir + QStringLiteral("/ORVELA.CHM")));
    EXPECT_EQ(opener.opened[1], QUrl::fromLocalFile(dir.filePath(QStringLiteral("start/ORVELA.CHM"))));
    EXPECT_EQ(Probe(*form).HelpWindow(), nullptr);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HelpAndInfo, WithoutACHMViewerTheHelpOpensInItsOwnWindowAtThePageAsked)
{
    dataDir = LayOut(QStringLiteral("share/orvela"));
    opener.handled.clear();
    auto form = Open();
    form->show();
    ASSERT_TRUE(WaitUntilExposed(*form));
    Probe(*form).Widgets().HelpBtn->click();
    THelpForm* help = Probe(*form).HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->windowTitle().contains(QStringLiteral("Help")));
    const QString html = dataDir + QStringLiteral("/html/");
    EXPECT_EQ(help->Browser()->source(), QUrl::fromLocalFile(html + QStringLiteral("index.html")));
    EXPECT_TRUE(help->Browser()->toPlainText().contains(QStringLiteral("Getting started")));

    // The contents: the first page, then the pages in the order it links to
    // them, each with its sections.
    QTreeWidget* contents = help->Contents();
    QStringList titles;
    for (int i = 0; i < contents->topLevelItemCount(); ++i) {
        titles << contents->topLevelItem(i)->text(0);
    }
    EXPECT_EQ(titles,
              (QStringList{"Orvela Help", "Page table", "Page map", "Page remote", "Page station", "Page strips"}));
    EXPECT_EQ(contents->topLevelItem(0)->child(0)->text(0), QStringLiteral("Getting started"));

    // F1 over the map, once the window is closed: the same window again, at
    // the map's page.
    help->CloseButton()->click();
    EXPECT_FALSE(help->isVisible());
    QCursor::setPos(Probe(*form).Widgets().MAP->mapToGlobal(Probe(*form).Widgets().MAP->rect().center()));
    form->activateWindow();
    ASSERT_TRUE(WaitUntilActive(*form));
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(Probe(*form).HelpWindow(), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->Browser()->source(), QUrl::fromLocalFile(html + QStringLiteral("map.html")));
    EXPECT_EQ(contents->currentItem()->text(0), QStringLiteral("Page map"));

    // Back and forward, by the buttons and by the keyboard; the contents follow.
    ASSERT_TRUE(help->BackButton()->isEnabled());
    help->BackButton()->click();
    EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("index.html"));
    EXPECT_EQ(contents->currentItem()->text(0), QStringLiteral("Orvela Help"));
    QApplication::setActiveWindow(help); // the offscreen platform leaves it to the program
    ASSERT_TRUE(WaitUntilActive(*help));
    QTest::keySequence(help, QKeySequence::Forward);
    EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("map.html"));
    contents->setCurrentItem(contents->topLevelItem(1));
    EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("table.html"));
    contents->setCurrentItem(contents->topLevelItem(2)->child(0));
    EXPECT_EQ(help->Browser()->source().toString(),
              QUrl::fromLocalFile(html + QStringLiteral("map.html")).toString() + QStringLiteral("#drag"));

    for (QWidget* w : std::initializer_list<QWidget*>{contents, help->Browser(), help->BackButton(),
                                                      help->ForwardButton(), help->HomeButton(), help->CloseButton()}) {
        EXPECT_FALSE(w->accessibleName().isEmpty());
        EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0);
    }
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());

    // A desktop with a CHM viewer but no browser: F1 too uses our window.
    opener.handled = {QStringLiteral("application/vnd.ms-htmlhelp")};
    form->activateWindow();
    ASSERT_TRUE(WaitUntilActive(*form));
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(help->isVisible());
}

// F1 in the setup dialog, shown application-modal as the program shows it:
// the help window takes the mouse while the dialog is open, and stays open
// after it.
TEST_F(HelpAndInfo, HelpOpenedInTheModalSetupDialogCanBeReadBeforeTheDialogCloses)
{
    dataDir = LayOut(QStringLiteral("share/orvela"));
    opener.handled.clear(); // our own help window
    auto form = Open();
    form->show();
    ASSERT_TRUE(WaitUntilExposed(*form));
    QPointer<THelpForm> help;
    QString fromKeyboard, asked, afterClick;
    dialogs.onOpen = [&](QDialog& d) {
        d.setWindowModality(Qt::ApplicationModal);
        d.show();
        EXPECT_TRUE(WaitUntilExposed(d));
        EXPECT_EQ(QApplication::activeModalWidget(), &d);
        QApplication::setActiveWindow(&d);
        EXPECT_TRUE(WaitUntilActive(d));
        // F1 from the keyboard, the mouse resting outside the dialog: the
        // dialog's own page, whichever of its fields has the focus.
        static_cast<TCoordForm&>(d).Widgets().INDEdit->setFocus();
        QCursor::setPos(form->mapToGlobal(QPoint(2, 2)));
        QTest::keyClick(d.windowHandle(), Qt::Key_F1);
        help = Probe(*form).HelpWindow();
        if (help != nullptr) {
            EXPECT_TRUE(WaitUntilExposed(*help));
            fromKeyboard = help->Browser()->source().fileName();
        }
        QWidget* power = static_cast<TCoordForm&>(d).Widgets().LabelPower;
        QCursor::setPos(power->mapToGlobal(power->rect().center()));
        QTest::keyClick(d.windowHandle(), Qt::Key_F1);
        help = Probe(*form).HelpWindow();
        if (help != nullptr) {
            asked = help->Browser()->source().fileName();
            // A click as the window system delivers it, which a window
            // blocked by the modal dialog never gets.
            QPushButton* contents = help->HomeButton();
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                              contents->mapTo(help, contents->rect().center()));
            afterClick = help->Browser()->source().fileName();
        }
        d.reject();
        return d.result();
    };
    Probe(*form).Widgets().ChangeBtn->click();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(fromKeyboard, QStringLiteral("station.html"));
    EXPECT_EQ(asked, QStringLiteral("station.html"));
    EXPECT_EQ(afterClick, QStringLiteral("index.html"));

    // The dialog closed, the help stays open where it was, with the main
    // window, and takes the mouse as before.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->parentWidget(), form.get());
    QPushButton* back = help->BackButton();
    QTest::mouseClick(help->windowHandle(), Qt::LeftButton, Qt::NoModifier, back->mapTo(help, back->rect().center()));
    EXPECT_EQ(help->Browser()->source().fileName(), QStringLiteral("station.html"));
}

TEST_F(HelpAndInfo, HelpOrInfosThatFindNothingNameTheFoldersTheyLookedIn)
{
    dataDir = dir.filePath(QStringLiteral("share/orvela"));
    QDir(dir.path()).mkdir(QStringLiteral("start"));
    const QString start = dir.filePath(QStringLiteral("start"));
    QDir::setCurrent(start);
    for (bool viewer : {true, false}) {
        if (!viewer) {
            opener.handled.clear();
        }
        messages.shown.clear();
        auto form = Open();
        Probe(*form).Widgets().HelpBtn->click();
        Probe(*form).Widgets().InfoBtn->click();
        EXPECT_TRUE(opener.opened.empty());
        EXPECT_EQ(Probe(*form).HelpWindow(), nullptr);
        ASSERT_EQ(messages.shown.size(), 2u);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Help"));
        EXPECT_EQ(messages.shown[1].Caption, QStringLiteral("Infos"));
        for (const auto& m : messages.shown) {
            EXPECT_EQ(m.Icon, MessageIcon::Warning);
            EXPECT_TRUE(m.Text.contains(start)) << m.Text.toStdString();
            EXPECT_TRUE(m.Text.contains(dataDir)) << m.Text.toStdString();
        }
        const QList<TInfoForm*> windows = form->findChildren<TInfoForm*>();
        ASSERT_EQ(windows.size(), 1);
        EXPECT_EQ(windows[0]->Text()->toPlainText(), QStringLiteral("Could not find info file (info.txt)"));
    }
}

TEST_F(HelpAndInfo, InfosReadsInfoTxtFromTheDataFolderWhenTheCurrentDirectoryHasNone)
{
    dataDir = LayOut(QStringLiteral("share/orvela"), "Ionosphere \xC2\xB0\n");
    QDir(dir.path()).mkdir(QStringLiteral("start"));
    QDir::setCurrent(dir.filePath(QStringLiteral("start")));
    auto form = Open();
    Probe(*form).Widgets().InfoBtn->click();
    WriteFile(dir.filePath(QStringLiteral("start/Info.txt")).toStdString(), "Here\n");
    Probe(*form).Widgets().InfoBtn->click();
    const QList<TInfoForm*> windows = form->findChildren<TInfoForm*>();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->Text()->toPlainText(), QStringLiteral("Ionosphere \u00B0\n"));
    EXPECT_EQ(windows[1]->Text()->toPlainText(), QStringLiteral("Here\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HelpAndInfo, InfoWindowsReadInfoTxtFromTheCurrentDirectoryAndGoWithTheMainWindow)
{
    auto form = Open();
    QDir::setCurrent(dir.path());
    WriteFile(dir.filePath(QStringLiteral("Info.txt")).toStdString(), "Propagation: 100 W is 20 dBW \xC2\xB0\n");
    Probe(*form).Widgets().InfoBtn->click();
    QFile::remove(dir.filePath(QStringLiteral("Info.txt")));
    Probe(*form).Widgets().InfoBtn->click();
    Probe(*form).Widgets().InfoBtn->click();

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
    ASSERT_EQ(messages.shown.size(), 2u); // and says where it looked
    EXPECT_TRUE(form->isEnabled());       // modeless

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
        Probe(*form).Widgets().AboutBtn->click();
        EXPECT_EQ(shown, QString::fromLatin1(c.text));
    }
    EXPECT_EQ(form->findChildren<TAPropos*>().size(), 3);
    EXPECT_EQ(TAPropos::MemoryText(2147483648ull, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("2.097.152 Ko"));
    QLocale::setDefault(QLocale::c());
}

// The about box's texts are those of its layout file, the rights line
// among them; only the memory figure is the program's own.
TEST_F(HelpAndInfo, TheAboutBoxShowsTheTextsOfItsLayout)
{
    QDialog bare;
    Ui::TAPropos layout;
    layout.setupUi(&bare);
    EXPECT_EQ(layout.Label2->text(), QStringLiteral("\u00A9 2026 Talvik Software. Free to share."));
    TAPropos about(machine, nullptr);
    int compared = 0;
    for (const QLabel* designed : bare.findChildren<QLabel*>()) {
        if (designed->objectName() == QStringLiteral("PhysMem")) {
            continue;
        }
        SCOPED_TRACE(designed->objectName().toStdString());
        const auto* shown = about.findChild<QLabel*>(designed->objectName());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), designed->text());
        ++compared;
    }
    EXPECT_GE(compared, 3);
}

TEST_F(HelpAndInfo, F1OpensThePageOfTheControlUnderTheMouse)
{
    QDir::setCurrent(LayOut(QStringLiteral(".")));
    auto form = Open();
    form->show();
    ASSERT_TRUE(WaitUntilExposed(*form));
    form->activateWindow();
    const auto pressF1Over = [&](QWidget* control) {
        opener.opened.clear();
        QCursor::setPos(control->mapToGlobal(control->rect().center()));
        QTest::keyClick(form.get(), Qt::Key_F1);
        return opener.opened.size() == 1 ? opener.opened[0].fileName() : QStringLiteral("(none)");
    };
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().MAP), QStringLiteral("map.html")); // the home marker sits there
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().LBL), QStringLiteral("map.html"));
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(dir.path() + QStringLiteral("/html/map.html")));
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().MUFGrid->viewport()), QStringLiteral("table.html"));
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().DESTLat), QStringLiteral("remote.html"));
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().H2), QStringLiteral("strips.html"));
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().LabelPower), QStringLiteral("station.html"));
    EXPECT_EQ(pressF1Over(Probe(*form).Widgets().FLXSpin), QStringLiteral("index.html"));
}

// The desktop's association database, laid out in a temporary folder: the
// user's and the system's applications and mimeapps.list.
TEST(DesktopOpenerTest, ACHMViewerIsFoundInTheDesktopsAssociationDatabase)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const char* vars[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"};
    const char* dirs[] = {"home", "system", "config", "xdg"};
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (int i = 0; i < 4; ++i) {
        const char* old = std::getenv(vars[i]);
        saved.emplace_back(vars[i], old ? std::optional<std::string>(old) : std::nullopt);
        QDir(root.path()).mkpath(QString::fromLatin1(dirs[i]) + QStringLiteral("/applications"));
        setenv(vars[i], root.filePath(QString::fromLatin1(dirs[i])).toLocal8Bit().constData(), 1);
    }
    // The system's MIME database stays, so that application/x-chm is known
    // as an alias of the CHM type; its applications do not.
    QDir(root.path()).mkdir(QStringLiteral("mime-only"));
    QFile::link(QStringLiteral("/usr/share/mime"), root.filePath(QStringLiteral("mime-only/mime")));
    const QString dataDirs =
        root.filePath(QStringLiteral("system")) + QLatin1Char(':') + root.filePath(QStringLiteral("mime-only"));
    setenv("XDG_DATA_DIRS", dataDirs.toLocal8Bit().constData(), 1);
    const auto file = [&root](const char* name, const std::string& text) {
        WriteFile(root.filePath(QString::fromLatin1(name)).toStdString(), text);
    };
    const QString chm = QStringLiteral("application/vnd.ms-htmlhelp");
    const DesktopOpener opener;
    file("system/applications/vim.desktop", "[Desktop Entry]\nName=Vim\nMimeType=text/plain;\n");
    EXPECT_FALSE(opener.CanOpen(chm));
    EXPECT_TRUE(opener.CanOpen(QStringLiteral("text/plain")));

    // A viewer that names the type by its alias, hidden by the user, then not.
    file("system/applications/viewer.desktop",
         "[Desktop Entry]\nName=Viewer\nMimeType=text/x-foo;application/x-chm;\n");
    file("home/applications/viewer.desktop",
         "[Desktop Entry]\nName=Viewer\nHidden=true\nMimeType=application/x-chm;\n");
    EXPECT_FALSE(opener.CanOpen(chm));
    QFile::remove(root.filePath(QStringLiteral("home/applications/viewer.desktop")));
    EXPECT_TRUE(opener.CanOpen(chm));
    QFile::remove(root.filePath(QStringLiteral("system/applications/viewer.desktop")));
    EXPECT_FALSE(opener.CanOpen(chm));

    // A default set in mimeapps.list counts only when its entry exists.
    file("config/mimeapps.list", "[Default Applications]\napplication/vnd.ms-htmlhelp=gone.desktop;\n");
    EXPECT_FALSE(opener.CanOpen(chm));
    file("config/mimeapps.list", "[Removed Associations]\napplication/vnd.ms-htmlhelp=vim.desktop;\n"
                                 "[Added Associations]\napplication/vnd.ms-htmlhelp=vim.desktop;\n");
    EXPECT_TRUE(opener.CanOpen(chm));

    for (const auto& [name, value] : saved) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
}

} // namespace
} // namespace orvela::app
