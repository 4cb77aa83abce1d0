#include "network_solar_flux.h"

#include <QEventLoop>
#include <QMetaObject>

#include <thread>

namespace orvela::app {

NetworkSolarFlux::NetworkSolarFlux(std::string url, solar::FetchOptions options)
    : url_(std::move(url))
    , options_(options)
{
}

NetworkSolarFlux::~NetworkSolarFlux()
{
    if (worker_.joinable()) {
        worker_.join();
    }
}

void NetworkSolarFlux::Start()
{
    if (worker_.joinable()) {
        return;
    }
    done_ = false;
    const int download = ++download_;
    worker_ = std::thread([this, download] {
        alert_ = solar::GetSolarFlux(url_, options_);
        done_ = true;
        // Wakes a waiting GetSolarFlux on the user interface thread; nothing
        // happens when nobody waits any more.
        QMetaObject::invokeMethod(
            &notifier_, [this, download] { emit notifier_.Finished(download); }, Qt::QueuedConnection);
    });
}

SolarFlux NetworkSolarFlux::GetSolarFlux()
{
    Start();
    if (!done_) {
        QEventLoop loop;
        const int download = download_;
        QObject::connect(&notifier_, &DownloadNotifier::Finished, &loop, [&loop, download](int which) {
            if (which == download) {
                loop.quit();
            }
        });
        // The worker may have ended between the test above and the
        // connection; its wake-up is then still queued and ends the loop.
        if (!done_) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
    }
    worker_.join();
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
