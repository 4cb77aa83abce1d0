// Orvela: program entry. Splash for two seconds, then the main window.
#include "app/close_on_signals.h"
#include "app/network_solar_flux.h"
#include "station/settings_store.h"
#include "app/splash.h"
#include "app/system_services.h"
#include "solar/product_cache.h"
#include "app/tpropform.h"
#include "app/version.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The application's title. The window's caption names the program itself:
    // a display name here would be appended to every caption.
    QApplication::setApplicationName(QString::fromLatin1(orvela::app::TPROPForm::ApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(ORVELA_VERSION));
    // Lets the desktop tie the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.orvela.Orvela"));

    // A termination signal ends the program normally from here on: during
    // the splash and the start-up sequence it abandons the start-up (an open
    // dialog or message box returns as cancelled, and nothing is written);
    // once the window is up it closes the window. Declared before the
    // download, so that it still catches signals while the download's
    // worker is being joined on the way out.
    orvela::app::TerminationSignals terminationSignals;

    const std::string buildStr = std::string("Build ") + ORVELA_VERSION;
    // The solar flux download runs while the splash is up; start-up then
    // waits only for what is left of it. The splash stays up, painted, until
    // the main window is ready.
    orvela::app::NetworkSolarFlux flux;
    flux.Start();
    auto splash = std::make_unique<orvela::app::TSplashForm>(QString::fromStdString(buildStr));
    splash->ShowAndWait();
    if (terminationSignals.StartUpAbandoned()) {
        return 0;
    }

    orvela::app::QtMessageBoxes messages;
    orvela::app::SystemClock clock;
    orvela::app::ModalDialogs dialogs;
    orvela::app::DesktopOpener opener;
    orvela::app::SystemMachine machine;
    orvela::app::DialogFileChooser files;
    orvela::app::CompiledMapPictures pictures;
    orvela::app::LocatedCountryFile countries;
    orvela::app::Services services;
    services.Messages = &messages;
    services.TimeSource = &clock;
    services.SettingsFile = orvela::DefaultSettingsFile();
    services.Flux = &flux;
    services.Dialogs = &dialogs;
    services.Opener = &opener;
    services.Machine = &machine;
    services.Files = &files;
    services.Pictures = &pictures;
    services.Countries = &countries;
    services.BuildStr = buildStr;
    // The data folder beside the program's own: share/orvela next to bin/,
    // as installed, and as the build tree lays it out beside app/.
    services.DataDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/orvela");
    services.StartUpAbandoned = [&terminationSignals] { return terminationSignals.StartUpAbandoned(); };
    // The other flux products: from the service this program was built
    // with, by the same download as the bulletin's, kept in the user's cache.
    orvela::solar::ProductsSettings products;
    products.Get = orvela::solar::LinkedTransport();
    products.CacheFolder = orvela::solar::DefaultCacheFolder();
    services.FluxProducts = std::move(products);

    orvela::app::TPROPForm window(services);
    // A window whose start-up was abandoned is never shown, and never
    // closed: its close handler, which saves the remote point, does not run.
    if (terminationSignals.StartUpAbandoned()) {
        return 0;
    }
    terminationSignals.CloseOnSignal(window);
    splash.reset();
    window.show();
    return app.exec();
}
