#include "system_services.h"

#include "picture_io.h"
#include "splash.h"
#include "tpropform.h"
#include "ui_tpropform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLoggingCategory>
#include <QUrl>

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
    case MessageIcon::Information:
        i = QMessageBox::Information;
        break;
    case MessageIcon::Warning:
        i = QMessageBox::Warning;
        break;
    case MessageIcon::Error:
        i = QMessageBox::Critical;
        break;
    case MessageIcon::None:
        break;
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

} // namespace orvela::app
