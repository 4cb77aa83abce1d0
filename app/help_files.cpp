#include "app/help_files.h"

#include "app/context_help.h"
#include "app/help_window.h"
#include "app/info_window.h"
#include "app/platform.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace orvela::app {

namespace {

constexpr const char* ChmType = "application/vnd.ms-htmlhelp";

// The first of the folders that holds `name`, a file or a folder; empty
// when none does.
QString FindIn(const QStringList& folders, const QString& name)
{
    for (const QString& folder : folders) {
        if (QFileInfo::exists(QDir(folder).filePath(name))) {
            return folder;
        }
    }
    return {};
}

QString FolderList(const QStringList& folders)
{
    QStringList lines;
    for (const QString& f : folders) {
        lines << QStringLiteral("  ") + QDir::toNativeSeparators(f);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

HelpFiles::HelpFiles(QWidget& window, const Services& services)
    : window_(window)
    , services_(services)
{
}

QStringList HelpFiles::DataFolders(const QString& first) const
{
    QStringList folders{first};
    if (!services_.DataDir.isEmpty()) {
        const QString data = QDir::cleanPath(QDir(services_.DataDir).absolutePath());
        if (QDir::cleanPath(QDir(first).absolutePath()) != data) {
            folders << data;
        }
    }
    return folders;
}

void HelpFiles::ShowContents()
{
    Show(QStringLiteral("index.html"), true);
}

void HelpFiles::ShowPage(const QString& page)
{
    Show(page, false);
}

void HelpFiles::InstallContextHelp(QWidget& window)
{
    app::InstallContextHelp(&window, [this](const QString& page) { ShowPage(page); });
}

void HelpFiles::Show(const QString& page, bool whole)
{
    const QStringList folders = DataFolders(startDir_);
    // A CHM viewer cannot be sent to a page through the desktop: a page
    // alone goes to its program for HTML.
    if (services_.Opener->CanOpen(QString::fromLatin1(ChmType))) {
        const QString name = whole ? QStringLiteral("ORVELA.CHM") : QStringLiteral("html/") + page;
        if (whole || services_.Opener->CanOpen(QStringLiteral("text/html"))) {
            const QString folder = FindIn(folders, name);
            if (!folder.isEmpty()) {
                services_.Opener->Open(QUrl::fromLocalFile(QDir(folder).filePath(name)));
                return;
            }
        }
    }
    const QString folder = FindIn(folders, QStringLiteral("html/index.html"));
    if (folder.isEmpty()) {
        services_.Messages->Show(&window_, MessageIcon::Warning, QStringLiteral("Help"),
                                 QStringLiteral("Could not find the help (ORVELA.CHM or html/index.html). "
                                                "Looked in:\n") +
                                     FolderList(folders));
        return;
    }
    const QString html = QDir(folder).filePath(QStringLiteral("html"));
    // One help window, made again only when its pages have moved.
    if (helpWindow_ != nullptr && helpWindow_->Folder() != html) {
        helpWindow_->deleteLater();
        helpWindow_ = nullptr;
    }
    // Help asked for in a modal dialog (F1 in the setup dialog) belongs to
    // that dialog while it is open, since a modal dialog leaves every other
    // window deaf to the mouse and the keyboard; the dialog closed, it comes
    // back to the main window, still open where the reader left it.
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    QWidget* owner = dialog != nullptr ? static_cast<QWidget*>(dialog) : &window_;
    if (helpWindow_ == nullptr) {
        helpWindow_ = new THelpForm(html, &window_);
    }
    if (helpWindow_->parentWidget() != owner) {
        helpWindow_->SetOwner(owner);
        if (dialog != nullptr) {
            QObject::connect(dialog, &QDialog::finished, helpWindow_, [this, dialog] {
                if (helpWindow_ != nullptr && helpWindow_->parentWidget() == dialog) {
                    helpWindow_->SetOwner(&window_);
                }
            });
        }
    }
    helpWindow_->ShowPage(page);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void HelpFiles::ShowInfo()
{
    // Each opening makes a further window, kept until the main window goes.
    auto* info = new TInfoForm(&window_);
    info->show();
    // Info.txt is read from the current directory, else from the data folder.
    const QStringList folders = DataFolders(QDir::currentPath());
    const QString folder = FindIn(folders, QStringLiteral("Info.txt"));
    if (!info->LoadText(QDir(folder.isEmpty() ? folders.front() : folder).filePath(QStringLiteral("Info.txt")))) {
        services_.Messages->Show(&window_, MessageIcon::Warning, QStringLiteral("Infos"),
                                 QStringLiteral("Could not read the information text (Info.txt). Looked in:\n") +
                                     FolderList(folders));
    }
}

} // namespace orvela::app
