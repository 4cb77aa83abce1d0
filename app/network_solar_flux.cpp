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

SolarFlux NetworkSolarFlux::GetSolarFlux()
{
    solar::GeoAlert alert;
    QEventLoop loop;
    std::thread worker([&] {
        alert = solar::GetSolarFlux(url_, options_);
        // Ends the wait from the user interface thread, also when the
        // download was over before the wait began.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    problem_ = alert.Problem;
    return SolarFlux{alert.Ok, alert.Issued, alert.Flux};
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
