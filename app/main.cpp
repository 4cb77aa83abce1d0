// Orvela: program entry. Splash for two seconds, then the main window.
#include "settings_store.h"
#include "splash.h"
#include "system_services.h"
#include "tpropform.h"
#include "version.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int sig)
{
    const char c = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &c, 1);
}

// SIGTERM, SIGINT and SIGHUP close the main window normally, so that the
// remote point is saved also when the desktop session ends the program.
void CloseOnSignals(QWidget& window)
{
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char c;
        [[maybe_unused]] const ssize_t n = read(signalPipe[0], &c, 1);
        window.close();
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ORVELA v1.5b"));
    QApplication::setApplicationDisplayName(QStringLiteral("ORVELA v1.5b"));
    QApplication::setApplicationVersion(QStringLiteral(ORVELA_VERSION));

    const std::string buildStr = std::string("Build ") + ORVELA_VERSION;
    {
        orvela::app::TSplashForm splash(QString::fromStdString(buildStr));
        splash.ShowAndWait();
        splash.hide();
    }

    orvela::app::QtMessageBoxes messages;
    orvela::app::SystemClock clock;
    orvela::app::NoSolarFlux flux;
    orvela::app::NoStationSetup setup;
    orvela::app::DayMapPainter map;
    orvela::app::Services services;
    services.Messages = &messages;
    services.TimeSource = &clock;
    services.SettingsPath = orvela::DefaultSettingsPath();
    services.Flux = &flux;
    services.Setup = &setup;
    services.Map = &map;
    services.BuildStr = buildStr;

    orvela::app::TPROPForm window(services);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
    CloseOnSignals(window);
    window.show();
    return app.exec();
}
