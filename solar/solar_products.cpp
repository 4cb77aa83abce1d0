// Fetching, caching and reading NOAA's flux products once a run.
#include "solar/solar_products.h"
#include "solar/product_cache.h"

#include <cstdio>
#include <exception>

#ifndef ORVELA_SERVICE_URL
#error "ORVELA_SERVICE_URL must be defined by the build"
#endif

namespace orvela::solar {

namespace {

using std::chrono::seconds;
using std::chrono::sys_seconds;

struct ProductFacts {
    std::string_view Name;
    std::string_view Path;
    std::string_view FileName;
    seconds FreshFor;
};

// NOAA rewrites the bulletin every three hours, the daily indices a few
// times a day, the outlook once a week and the solar cycles once a month.
constexpr ProductFacts Facts[ProductCount] = {
    {"Geophysical Alert Message", "", "wwv.txt", std::chrono::hours(3)},
    {"27-day outlook", "/text/27-day-outlook.txt", "27-day-outlook.txt", std::chrono::hours(12)},
    {"daily solar indices", "/text/daily-solar-indices.txt", "daily-solar-indices.txt", std::chrono::hours(3)},
    {"predicted solar cycle", "/json/solar-cycle/predicted-solar-cycle.json", "predicted-solar-cycle.json",
     std::chrono::hours(24)},
    {"observed solar cycle", "/json/solar-cycle/observed-solar-cycle-indices.json", "observed-solar-cycle-indices.json",
     std::chrono::hours(24)},
};

const ProductFacts& FactsOf(Product p)
{
    return Facts[static_cast<std::size_t>(p)];
}

} // namespace

std::string UtcText(sys_seconds t)
{
    const auto day = std::chrono::floor<std::chrono::days>(t);
    const std::chrono::hh_mm_ss time(t - day);
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d UTC", static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()));
    return IsoDate(CivilDateOf(day)) + text;
}

std::string AgeText(seconds age)
{
    const long long s = age.count();
    auto count = [](long long n, const char* unit) { return std::to_string(n) + " " + unit + (n == 1 ? "" : "s"); };
    if (s < 3600)
        return count(s / 60, "minute");
    if (s < 2 * 86400)
        return count(s / 3600, "hour");
    return count(s / 86400, "day");
}

namespace {

// The body of one download, kept up to MaxProductBytes.
struct Body {
    std::string Bytes;
    std::string Problem; // why the receiver ended the transfer
};

bool Receive(void* context, const char* bytes, std::size_t size)
{
    auto& body = *static_cast<Body*>(context);
    if (size > MaxProductBytes - body.Bytes.size()) {
        body.Problem = "the reply is larger than " + std::to_string(MaxProductBytes >> 20) + " MiB";
        return false;
    }
    try {
        body.Bytes.append(bytes, size);
    } catch (const std::exception& e) {
        body.Problem = e.what();
        return false;
    }
    return true;
}

// The product read from bytes into copy.Value, or why not.
std::string Read(Product p, const std::string& bytes, ProductCopy& copy)
{
    auto take = [&copy](auto parsed) {
        if (!parsed.Value)
            return parsed.Problem;
        copy.Issued = parsed.Value->Issued;
        copy.Value = std::move(*parsed.Value);
        return std::string();
    };
    switch (p) {
    case Product::Bulletin: {
        if (bytes.size() > MaxProductBytes)
            return "the reply is larger than " + std::to_string(MaxProductBytes >> 20) + " MiB";
        GeoAlert alert = ParseGeoAlert(bytes);
        if (!alert.Ok)
            return alert.Problem;
        copy.Issued = IssueDate(alert.Issued);
        copy.Value = std::move(alert);
        return "";
    }
    case Product::Outlook: return take(ParseOutlook(bytes));
    case Product::DailyIndices: return take(ParseDailyIndices(bytes));
    case Product::PredictedCycle:
    case Product::ObservedCycle: {
        Parsed<MonthlyCycle> cycle =
            p == Product::PredictedCycle ? ParsePredictedCycle(bytes) : ParseObservedCycle(bytes);
        if (!cycle.Value)
            return cycle.Problem;
        copy.Value = std::move(*cycle.Value);
        return "";
    }
    }
    return "unknown product";
}

} // namespace

std::string_view ProductName(Product p)
{
    return FactsOf(p).Name;
}

std::string_view ProductPath(Product p)
{
    return FactsOf(p).Path;
}

std::string_view CacheFileName(Product p)
{
    return FactsOf(p).FileName;
}

seconds FreshFor(Product p)
{
    return FactsOf(p).FreshFor;
}

const char* DefaultServiceUrl()
{
    return ORVELA_SERVICE_URL;
}

SolarProducts::SolarProducts(ProductsSettings settings)
    : settings_(std::move(settings))
{
    while (!settings_.ServiceUrl.empty() && settings_.ServiceUrl.back() == '/')
        settings_.ServiceUrl.pop_back();
}

std::string SolarProducts::Url(Product p) const
{
    if (p == Product::Bulletin)
        return settings_.BulletinUrl;
    return settings_.ServiceUrl + std::string(ProductPath(p));
}

sys_seconds SolarProducts::Now() const
{
    if (settings_.Now)
        return settings_.Now();
    return std::chrono::floor<seconds>(std::chrono::system_clock::now());
}

const ProductCopy& SolarProducts::Get(Product p)
{
    Slot& slot = slots_[static_cast<std::size_t>(p)];
    const std::lock_guard lock(slot.Lock);
    if (!slot.Done) {
        slot.Copy = Look(p);
        slot.Done = true;
    }
    return slot.Copy;
}

void SolarProducts::UseBulletin(const GeoAlert& alert)
{
    Slot& slot = slots_[static_cast<std::size_t>(Product::Bulletin)];
    const std::lock_guard lock(slot.Lock);
    if (slot.Done)
        return;
    slot.Copy = {};
    slot.Copy.FetchedAt = Now();
    if (alert.Ok) {
        slot.Copy.Issued = IssueDate(alert.Issued);
        slot.Copy.Value = alert;
    } else {
        slot.Copy.Messages.push_back(FailureMessage(settings_.BulletinUrl) + ": " + alert.Problem);
    }
    slot.Done = true;
}

ProductCopy SolarProducts::Look(Product p)
{
    const std::string name(ProductName(p));
    const std::string url = Url(p);
    const std::string service = ServiceAddress(url);
    const sys_seconds now = Now();
    ProductCopy copy;
    auto say = [&copy, &name](const std::string& line) { copy.Messages.push_back(name + ": " + line); };

    // The cached copy, when it is of this address and reads as the product.
    std::optional<ProductCache> cache;
    if (!settings_.CacheFolder.empty())
        cache.emplace(settings_.CacheFolder);
    ProductCopy cached;
    bool haveCached = false;
    if (cache) {
        const CacheRead read = cache->Read(CacheFileName(p));
        const std::string path = cache->PathOf(CacheFileName(p));
        if (!read.Problem.empty()) {
            say("the cached copy " + path + " is damaged and was ignored: " + read.Problem);
        } else if (read.Copy && read.Copy->Url == url) {
            if (const std::string problem = Read(p, read.Copy->Body, cached); !problem.empty()) {
                say("the cached copy " + path + " is damaged and was ignored: " + problem);
            } else {
                haveCached = true;
                cached.FetchedAt = read.Copy->FetchedAt;
                cached.FromCache = true;
                cached.Age = std::max(seconds(0), now - read.Copy->FetchedAt);
            }
        }
    }
    // A copy from the future (a clock set back) is not fresh.
    if (haveCached && cached.FetchedAt <= now && now - cached.FetchedAt < FreshFor(p)) {
        cached.Messages = std::move(copy.Messages);
        return cached;
    }

    // The service.
    Body body;
    const TransferResult transfer = settings_.Get
                                        ? settings_.Get(url, settings_.Options, &Receive, &body, settings_.Cancel)
                                        : TransferResult{TransferEnd::Failed, "no way to download"};
    std::string problem;
    if (transfer.End == TransferEnd::Failed || transfer.End == TransferEnd::Cancelled)
        problem = transfer.Problem;
    else if (transfer.End == TransferEnd::Stopped)
        problem = body.Problem.empty() ? "the download stopped" : body.Problem;
    if (!problem.empty()) {
        say("could not download it from " + service + ": " + problem);
    } else if (const std::string unreadable = Read(p, body.Bytes, copy); !unreadable.empty()) {
        say("the reply from " + service + " is not usable: " + unreadable);
    } else {
        copy.FetchedAt = now;
        if (cache) {
            if (const std::string kept = cache->Write(CacheFileName(p), CachedCopy{url, now, body.Bytes});
                !kept.empty())
                say("could not keep a copy: " + kept);
        }
        return copy;
    }

    if (haveCached) {
        say("the copy fetched " + UtcText(cached.FetchedAt) + " answers (" + AgeText(cached.Age) + " old)");
        cached.Messages = std::move(copy.Messages);
        return cached;
    }
    return copy;
}

} // namespace orvela::solar
