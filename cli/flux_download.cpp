#include "cli/flux_download.h"

#include "solar/geoalert.h"
#include "solar/loadable_fetch.h"

#include <algorithm>
#include <iostream>

namespace orvela::cli {

SolarReport DownloadFlux(const std::string& url)
{
    SolarReport r;
    r.Url = url.empty() ? solar::DefaultFluxUrl() : url;
    // The network module is loaded here, only for a run that downloads.
    const solar::GeoAlert alert = solar::GetSolarFluxOnDemand(r.Url);
    if (alert.Ok) {
        r.Ok = true;
        r.Issued = alert.Issued;
        r.Flux = alert.Flux;
        r.FluxUsed = std::clamp<ld>(alert.Flux, 1, 500);
    } else {
        r.Error = solar::FailureMessage(r.Url);
        // The message, then why the download failed.
        std::cerr << r.Error << (alert.Problem.empty() ? "" : ": " + alert.Problem) << std::endl;
        r.FluxUsed = 100;
    }
    return r;
}

} // namespace orvela::cli
