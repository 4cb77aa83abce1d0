// NOAA's flux products as one run needs them: each downloaded at most once,
// from the service's base address, kept in the user's cache folder, and
// read from the cache when the network fails or the copy is fresh enough.
#pragma once

#include "solar/geoalert.h"
#include "solar/http_get.h"
#include "solar/products.h"

#include <array>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvela::solar {

enum class Product {
    Bulletin,       // the Geophysical Alert Message, at its own address
    Outlook,        // /text/27-day-outlook.txt
    DailyIndices,   // /text/daily-solar-indices.txt
    PredictedCycle, // /json/solar-cycle/predicted-solar-cycle.json
    ObservedCycle,  // /json/solar-cycle/observed-solar-cycle-indices.json
};
inline constexpr std::size_t ProductCount = 5;

// "27-day outlook", as messages name it.
std::string_view ProductName(Product product);
// The path under the service's address; empty for the bulletin, whose
// address is whole.
std::string_view ProductPath(Product product);
// The name of its copy in the cache folder.
std::string_view CacheFileName(Product product);
// How long a cached copy is used without asking the service again: about as
// long as NOAA leaves the product unchanged.
std::chrono::seconds FreshFor(Product product);

// The service's base address this program was built with
// (ORVELA_SERVICE_URL): "https://services.swpc.noaa.gov".
const char* DefaultServiceUrl();

// "2026-12-08 08:00 UTC".
std::string UtcText(std::chrono::sys_seconds time);
// An age in whole minutes under an hour, hours under two days, else days:
// "40 minutes", "1 hour", "3 days".
std::string AgeText(std::chrono::seconds age);

// One HTTP GET, its body handed on as it arrives (HttpGet's contract).
using Transport = std::function<TransferResult(const std::string& url, const FetchOptions& options,
                                               BodyReceiver receive, void* context, const TransferCancel* cancel)>;

// libcurl linked in, as the window downloads (orvela_solar_download).
Transport LinkedTransport();
// Through the network module opened on first use, as the command line
// downloads. The module cannot be woken: a cancel ends the transfer at its
// next part of the body, and a stalled server at the time-outs.
Transport ModuleTransport();

// What one product gave this run.
struct ProductCopy {
    // The product read, in the type of its product: GeoAlert, Outlook,
    // DailyIndices or MonthlyCycle; nothing when neither the service nor the
    // cache gave a usable copy.
    std::variant<std::monostate, GeoAlert, Outlook, DailyIndices, MonthlyCycle> Value;
    std::optional<Date> Issued; // the product's issue date, where it has one
    std::chrono::sys_seconds FetchedAt{};
    bool FromCache = false;
    std::chrono::seconds Age{0}; // of the copy, when it was taken
    // One line each, naming the product: why the download failed, a damaged
    // cached copy ignored, the old copy that answers instead, a copy that
    // could not be kept.
    std::vector<std::string> Messages;

    bool Ok() const { return Value.index() != 0; }
};

struct ProductsSettings {
    std::string BulletinUrl = DefaultFluxUrl();
    std::string ServiceUrl = DefaultServiceUrl();
    FetchOptions Options;
    Transport Get;           // required
    std::string CacheFolder; // empty: no cache
    // The time the copies are fetched and aged by; the system's clock when
    // not given.
    std::function<std::chrono::sys_seconds()> Now;
    const TransferCancel* Cancel = nullptr; // ends every download under way and to come
};

// Each product is looked for on its first request and kept for the life of
// the object: a cached copy younger than FreshFor answers at once; otherwise
// the service is asked, and a good reply is kept in the cache; when the
// service fails, the cached copy answers, however old, and says so.
// Thread-safe: a product asked from several threads at once is fetched
// once, the others wait for it; different products are fetched side by
// side.
class SolarProducts {
public:
    explicit SolarProducts(ProductsSettings settings);
    SolarProducts(const SolarProducts&) = delete;
    SolarProducts& operator=(const SolarProducts&) = delete;

    const ProductCopy& Get(Product product);

    // The bulletin a caller already downloaded (the window's start-up), so
    // that it is not fetched again; ignored once the bulletin was looked
    // for.
    void UseBulletin(const GeoAlert& alert);

    std::string Url(Product product) const;

private:
    struct Slot {
        std::mutex Lock;
        bool Done = false;
        ProductCopy Copy;
    };

    ProductCopy Look(Product product);
    std::chrono::sys_seconds Now() const;

    ProductsSettings settings_;
    std::array<Slot, ProductCount> slots_;
};

} // namespace orvela::solar
