// --flux auto on the command line: the 10.7 cm flux that belongs to the
// prediction's date, from the NOAA product that covers it (FluxForDate, the
// choice the window makes), and where it came from for the outputs. Today's
// flux is the Geophysical Alert Message's, fetched as before; the other
// products are fetched from the service's base address and kept in the
// user's cache folder. One picker serves a whole batch: each product is
// fetched at most once, and each message goes to standard error once.
#pragma once

#include "cli/render.h"
#include "engine/model.h"
#include "solar/flux_for_date.h"
#include "solar/solar_products.h"

#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace orvela::cli {

// The bulletin's report for its address (DownloadFlux in the programs).
using BulletinSource = std::function<SolarReport(const std::string& url)>;

// The products of a command-line run: the bulletin at `fluxUrl` (empty: the
// build's address), the others under `serviceUrl` (empty: the build's base
// address), downloaded through the network module and kept in the user's
// cache folder.
solar::ProductsSettings CommandLineProducts(const std::string& fluxUrl, const std::string& serviceUrl);

// What --flux auto gives a date.
struct DateFlux {
    FluxOrigin Origin;
    const SolarReport* Bulletin = nullptr; // the bulletin's report, for today's date
};

class DateFluxPicker {
public:
    // Messages go to `messages` (standard error), one line each.
    DateFluxPicker(solar::ProductsSettings settings, BulletinSource bulletin, std::ostream& messages);

    // The flux of `date`, `today` being the local date. Today's is the
    // bulletin's (clamped to 1..500 as the window does); when it fails, or
    // for any other date, the products that cover the date are asked in
    // their order and the first that gives a flux answers; when none does,
    // DefaultFlux stands, with a message saying so. Thread-safe.
    DateFlux Pick(const CivilDate& date, const CivilDate& today);

private:
    void Say(const std::string& line);

    solar::SolarProducts products_;
    BulletinSource bulletinSource_;
    std::string bulletinUrl_;
    std::once_flag bulletinOnce_;
    SolarReport bulletin_;
    std::mutex sayLock_;
    std::set<std::string> said_;
    std::ostream& messages_;
};

} // namespace orvela::cli
