#include "cli/date_flux.h"

#include "engine/format.h"
#include "solar/geoalert.h"
#include "solar/product_cache.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace orvela::cli {

solar::ProductsSettings CommandLineProducts(const std::string& fluxUrl, const std::string& serviceUrl)
{
    solar::ProductsSettings s;
    s.BulletinUrl = fluxUrl.empty() ? solar::DefaultFluxUrl() : fluxUrl;
    s.ServiceUrl = serviceUrl.empty() ? solar::DefaultServiceUrl() : serviceUrl;
    s.Get = solar::ModuleTransport();
    s.CacheFolder = solar::DefaultCacheFolder();
    return s;
}

DateFluxPicker::DateFluxPicker(solar::ProductsSettings settings, BulletinSource bulletin, std::ostream& messages)
    : products_(settings)
    , bulletinSource_(std::move(bulletin))
    , bulletinUrl_(settings.BulletinUrl)
    , messages_(messages)
{
}

void DateFluxPicker::Say(const std::string& line)
{
    const std::lock_guard lock(sayLock_);
    if (said_.insert(line).second) {
        messages_ << line << std::endl;
    }
}

DateFlux DateFluxPicker::Pick(const CivilDate& date, const CivilDate& today)
{
    DateFlux r;
    r.Origin.Auto = true;
    if (date == today) {
        // The bulletin, fetched once and as before; its failure is told by
        // the bulletin's source. The products after it then have their say.
        std::call_once(bulletinOnce_, [this] {
            bulletin_ = bulletinSource_(bulletinUrl_);
            solar::GeoAlert alert;
            alert.Ok = bulletin_.Ok;
            alert.Flux = bulletin_.Flux;
            alert.Issued = bulletin_.Issued;
            alert.Problem = bulletin_.Error;
            products_.UseBulletin(alert);
        });
        r.Bulletin = &bulletin_;
        if (bulletin_.Ok) {
            r.Origin.Sfu = bulletin_.FluxUsed;
            r.Origin.Source = solar::FluxSource::Bulletin;
            r.Origin.Issued = solar::IssueDate(bulletin_.Issued);
            solar::FluxChoice choice;
            choice.Source = r.Origin.Source;
            choice.Issued = r.Origin.Issued;
            r.Origin.Described = solar::DescribeSource(choice);
            return r;
        }
    }
    const solar::FluxChoice choice = solar::FluxForDate(products_, date, today, DefaultFlux);
    // The bulletin's failure was told already, in its own words.
    const std::vector<std::string> told =
        r.Bulletin != nullptr ? products_.Get(solar::Product::Bulletin).Messages : std::vector<std::string>();
    for (const std::string& line : choice.Messages) {
        if (std::find(told.begin(), told.end(), line) == told.end()) {
            Say(line);
        }
    }
    r.Origin.Source = choice.Source;
    r.Origin.Issued = choice.Issued;
    r.Origin.Described = solar::DescribeSource(choice);
    if (choice.Source == solar::FluxSource::Default) {
        r.Origin.Sfu = DefaultFlux;
        char day[16];
        std::snprintf(day, sizeof day, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
        Say(std::string("No NOAA product gave a solar flux for ") + day + ": the flux is " +
            FormatFixed(DefaultFlux, 0));
    } else {
        // The products hold 50 to 600 sfu; the prediction takes 1 to 500.
        r.Origin.Sfu = std::clamp<ld>(choice.Sfu, 1, 500);
    }
    return r;
}

} // namespace orvela::cli
