// The day's solar flux downloaded from NOAA's Geophysical Alert Message.
#pragma once

#include "geoalert.h"
#include "platform.h"

#include <string>

namespace orvela::app {

class NetworkSolarFlux : public SolarFluxSource {
public:
    explicit NetworkSolarFlux(std::string url = solar::DefaultFluxUrl(), solar::FetchOptions options = {});

    // Downloads the bulletin on a worker thread. The caller waits, as start-up
    // must, but the event loop keeps running (without user input) so that the
    // windows on screen go on painting.
    SolarFlux GetSolarFlux() override;
    QString ServiceAddress() const override;
    QString FileAddress() const override;

    // Why the last download failed, empty after a success.
    const std::string& LastProblem() const { return problem_; }

private:
    std::string url_;
    solar::FetchOptions options_;
    std::string problem_;
};

} // namespace orvela::app
