#include "app/network_solar_flux.h"

#include <QEventLoop>
#include <QLoggingCategory>
#include <QSocketNotifier>

namespace orvela::app {

namespace {

// Off unless asked for, with QT_LOGGING_RULES="orvela.download.debug=true":
// a line on the standard error when start-up begins to wait for the
// download and when a download's thread is joined, with how it ended, for
// whoever drives the program from outside (the tests that end it with a
// signal while the download hangs).
Q_LOGGING_CATEGORY(lcDownload, "orvela.download", QtInfoMsg)

} // namespace

NetworkSolarFlux::NetworkSolarFlux(std::string url, solar::FetchOptions options)
    : url_(std::move(url))
    , options_(options)
{
}

NetworkSolarFlux::~NetworkSolarFlux()
{
    if (worker_.joinable()) {
        // Nobody takes the result any more: the program is ending.
        cancel_.Cancel();
        worker_.join();
        qCDebug(lcDownload, "ended: %s", alert_.Ok ? "the bulletin was read" : alert_.Problem.c_str());
    }
}

void NetworkSolarFlux::Start()
{
    if (worker_.joinable()) {
        return;
    }
    worker_ = std::thread([this] {
        alert_ = solar::GetSolarFlux(url_, options_, cancel_);
        // The worker's last act. The waiting side only learns that it may
        // join now; the result itself is handed over by the join.
        finished_.Raise();
    });
}

bool NetworkSolarFlux::Finished() const
{
    return finished_.Raised();
}

SolarFlux NetworkSolarFlux::GetSolarFlux()
{
    Start();
    // Without its eventfd the window cannot wait with its event loop
    // running: the join below then waits alone.
    if (finished_.Fd() >= 0 && !Finished()) {
        QEventLoop loop;
        // A notifier reports a readable descriptor for as long as it stays
        // readable: a download that ends between the test above and the
        // loop still ends the loop. Each wait has a notifier of its own, so
        // that no wake-up reaches an event loop that waits for nothing.
        QSocketNotifier notifier(finished_.Fd(), QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        qCDebug(lcDownload, "start-up waits for the download");
        // Returns at once too when the program is ending (a termination
        // signal during start-up), and from then on every event loop it
        // enters returns at once: the download is cancelled, so that the
        // join below does not wait for the network's time-outs.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!Finished()) {
            cancel_.Cancel();
        }
    }
    worker_.join();
    qCDebug(lcDownload, "ended: %s", alert_.Ok ? "the bulletin was read" : alert_.Problem.c_str());
    // Cleared for the next download.
    finished_.Clear();
    problem_ = alert_.Problem;
    return SolarFlux{alert_.Ok, alert_.Issued, alert_.Flux};
}

QString NetworkSolarFlux::ServiceAddress() const
{
    return QString::fromStdString(solar::ServiceAddress(url_));
}

QString NetworkSolarFlux::FileAddress() const
{
    return QString::fromStdString(url_);
}

} // namespace orvela::app
