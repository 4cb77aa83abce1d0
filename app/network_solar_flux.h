// The day's solar flux downloaded from NOAA's Geophysical Alert Message.
#pragma once

#include "common/wake_up.h"
#include "solar/geoalert.h"
#include "solar/transfer_cancel.h"
#include "app/platform.h"

#include <string>
#include <thread>

namespace orvela::app {

class NetworkSolarFlux : public SolarFluxSource {
public:
    explicit NetworkSolarFlux(std::string url = solar::DefaultFluxUrl(), solar::FetchOptions options = {});
    // Cancels a download still running, and waits for its thread, which
    // then ends at once.
    ~NetworkSolarFlux() override;
    NetworkSolarFlux(const NetworkSolarFlux&) = delete;
    NetworkSolarFlux& operator=(const NetworkSolarFlux&) = delete;

    // Starts the download on a worker thread and returns at once, so that it
    // runs while the splash window is up. Does nothing when one has started.
    void Start();

    // The downloaded bulletin: starts the download unless Start() did, then
    // waits for what is left of it. The event loop keeps running meanwhile
    // (without user input) so that the windows on screen go on painting.
    // When the program ends that loop (QCoreApplication::exit, from a
    // termination signal during start-up), the download is cancelled
    // rather than waited for: it fails at once, and so does every later
    // one. Each call after the first starts a new download.
    SolarFlux GetSolarFlux() override;
    QString ServiceAddress() const override;
    QString FileAddress() const override;
    QString Problem() const override { return QString::fromStdString(problem_); }

    // Why the last download failed, empty after a success.
    const std::string& LastProblem() const { return problem_; }

private:
    // Whether the worker has said it is done.
    bool Finished() const;

    std::string url_;
    solar::FetchOptions options_;
    std::string problem_;
    // Ends the worker's transfer when nobody waits for it any more.
    solar::TransferCancel cancel_;
    std::thread worker_;
    solar::GeoAlert alert_; // written by the worker, read once it is joined
    // Raised by the worker once when its download ends: the user interface
    // thread waits for it to become readable with a socket notifier, and
    // never touches the worker's result before joining it.
    WakeUp finished_;
};

} // namespace orvela::app
