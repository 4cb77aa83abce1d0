#include "app/system_services.h"

#include "country/country_file_location.h"
#include "map/picture_io.h"
#include "app/splash.h"
#include "app/tpropform.h"
#include "app/ui_tpropform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <sys/sysinfo.h>
#include <QMessageBox>

namespace orvela::app {

namespace {

// Off unless asked for, with QT_LOGGING_RULES="orvela.modal.debug=true": a
// line on the standard error as each modal dialog or message box opens, with
// its caption, for whoever drives the program from outside (the tests that
// end it with a signal while start-up waits for the user).
Q_LOGGING_CATEGORY(lcModal, "orvela.modal", QtInfoMsg)

// A box or dialog raised during start-up must not hide behind the splash
// window.
void HideSplash()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<TSplashForm*>(w) != nullptr) {
            w->hide();
        }
    }
}

} // namespace

void QtMessageBoxes::Show(QWidget* owner, MessageIcon icon, const QString& caption, const QString& text,
                          const QString& detail)
{
    QMessageBox::Icon i = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Information: i = QMessageBox::Information; break;
    case MessageIcon::Warning: i = QMessageBox::Warning; break;
    case MessageIcon::Error: i = QMessageBox::Critical; break;
    case MessageIcon::None: break;
    }
    HideSplash();
    QMessageBox box(i, caption, text, QMessageBox::Ok, owner);
    if (!detail.isEmpty()) {
        box.setDetailedText(detail);
    }
    qCDebug(lcModal).noquote() << "opens" << caption;
    box.exec();
}

int ModalDialogs::Exec(QDialog& dialog)
{
    HideSplash();
    qCDebug(lcModal).noquote() << "opens" << dialog.windowTitle();
    return dialog.exec();
}

void DesktopOpener::Open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

namespace {

// The desktop entry of that id in one of the applications folders, where
// "kde-foo.desktop" may also stand for kde/foo.desktop.
bool DesktopEntryExists(const QStringList& appDirs, const QString& id)
{
    QString nested = id;
    nested.replace(QLatin1Char('-'), QLatin1Char('/'));
    for (const QString& dir : appDirs) {
        if (QFileInfo::exists(dir + QLatin1Char('/') + id) || QFileInfo::exists(dir + QLatin1Char('/') + nested)) {
            return true;
        }
    }
    return false;
}

// The value of `key` in the [Desktop Entry] group of a desktop entry.
QString DesktopEntryValue(const QString& path, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    bool inEntry = false;
    const QString prefix = key + QLatin1Char('=');
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
        } else if (inEntry && line.startsWith(prefix)) {
            return line.mid(prefix.size());
        }
    }
    return {};
}

} // namespace

bool DesktopOpener::CanOpen(const QString& mimeType) const
{
    // The type under its own name and its aliases (application/x-chm).
    QStringList names{mimeType};
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (type.isValid()) {
        names << type.name() << type.aliases();
    }
    const auto named = [&names](const QString& list) {
        for (const QString& n : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (names.contains(n.trimmed())) {
                return true;
            }
        }
        return false;
    };
    const QStringList appDirs = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);

    // mimeapps.list: the default and added programs of a type, by desktop id.
    QStringList lists;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        lists << dir + QStringLiteral("/mimeapps.list");
    }
    for (const QString& dir : appDirs) {
        lists << dir + QStringLiteral("/mimeapps.list");
    }
    for (const QString& list : lists) {
        QFile file(list);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            continue;
        }
        QString group;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('['))) {
                group = line;
                continue;
            }
            if (group != QStringLiteral("[Default Applications]") && group != QStringLiteral("[Added Associations]")) {
                continue;
            }
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && names.contains(line.left(eq).trimmed())) {
                for (const QString& id : line.mid(eq + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                    if (DesktopEntryExists(appDirs, id.trimmed())) {
                        return true;
                    }
                }
            }
        }
    }

    // The desktop entries that say they open the type. An entry's id is its
    // path under the folder, with '-' for '/'; the user's folder comes first,
    // and the first entry of an id hides the others (Hidden=true removes it).
    QSet<QString> seen;
    for (const QString& dir : appDirs) {
        QDirIterator it(dir, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = QDir(dir).relativeFilePath(path);
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id)) {
                continue;
            }
            seen.insert(id);
            if (named(DesktopEntryValue(path, QStringLiteral("MimeType"))) &&
                DesktopEntryValue(path, QStringLiteral("Hidden")) != QStringLiteral("true")) {
                return true;
            }
        }
    }
    return false;
}

std::uint64_t SystemMachine::PhysicalMemory() const
{
    struct sysinfo info {};
    if (sysinfo(&info) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.totalram) * info.mem_unit;
}

QString DialogFileChooser::SaveFileName(QWidget* owner, const QString& caption, const QString& suggestion,
                                        const QString& filter)
{
    HideSplash();
    return QFileDialog::getSaveFileName(owner, caption, suggestion, filter);
}

std::time_t SystemClock::Now() const
{
    return std::time(nullptr);
}

std::span<const std::uint8_t> CompiledMapPictures::Find(const std::string& name) const
{
    return MapResource(name);
}

const country::CountryFile* LocatedCountryFile::Get(QString& problem)
{
    if (!read_) {
        read_ = country::ReadLocatedCountryFile({}, country::SearchOfThisProcess());
        if (!read_->Warning.empty()) {
            std::fprintf(stderr, "orvela: %s\n", read_->Warning.c_str());
        }
    }
    if (!read_->File) {
        problem = QString::fromStdString(read_->Problem);
        return nullptr;
    }
    return &*read_->File;
}

} // namespace orvela::app
