// A stand-in for NOAA's service that answers from memory, and the fixed
// moment of the products' tests: Thursday 10 December 2026, 12:00 UTC.
#pragma once

#include "solar/solar_products.h"
#include "tests/solar/bulletins.h"

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace orvela::solar::testing {

inline constexpr std::string_view Service = "http://noaa.test";
inline const std::string BulletinUrl = "http://noaa.test/text/wwv.txt";

inline constexpr Date Today{2026, 12, 10};

inline std::chrono::sys_seconds Noon()
{
    return ToSysDays(Today) + std::chrono::hours(12);
}

inline Date Day(int y, int m, int d)
{
    return Date{y, m, d};
}

// The products' fixture of each product; the bulletin of Bulletin().
inline std::string ProductFixture(Product p)
{
    if (p == Product::Bulletin)
        return Bulletin();
    return Fixture("products/" + std::string(CacheFileName(p)));
}

// Answers each address from `Bodies` (a missing one with status 404, one in
// `Failures` with that transfer failure), handing the body on in parts of
// 700 bytes, and counts the requests. Thread-safe.
class FakeService {
public:
    FakeService()
    {
        for (const Product p : {Product::Bulletin, Product::Outlook, Product::DailyIndices, Product::PredictedCycle,
                                Product::ObservedCycle})
            Bodies[UrlOf(p)] = ProductFixture(p);
    }

    static std::string UrlOf(Product p)
    {
        return p == Product::Bulletin ? BulletinUrl : std::string(Service) + std::string(ProductPath(p));
    }

    Transport Get()
    {
        return [this](const std::string& url, const FetchOptions&, BodyReceiver receive, void* context,
                      const TransferCancel*) -> TransferResult {
            std::string body;
            {
                const std::lock_guard lock(mutex_);
                ++requests_[url];
                if (const auto f = Failures.find(url); f != Failures.end())
                    return {TransferEnd::Failed, f->second};
                const auto b = Bodies.find(url);
                if (b == Bodies.end())
                    return {TransferEnd::Failed, "HTTP status 404"};
                body = b->second;
            }
            for (std::size_t at = 0; at < body.size(); at += 700)
                if (!receive(context, body.data() + at, std::min<std::size_t>(700, body.size() - at)))
                    return {TransferEnd::Stopped, ""};
            return {};
        };
    }

    int Requests(Product p) const
    {
        const std::lock_guard lock(mutex_);
        const auto r = requests_.find(UrlOf(p));
        return r == requests_.end() ? 0 : r->second;
    }

    // Set before the first request.
    std::map<std::string, std::string> Bodies;
    std::map<std::string, std::string> Failures;

private:
    mutable std::mutex mutex_;
    std::map<std::string, int> requests_;
};

// Settings for products served by `service`, at Noon(), with a cache folder
// when one is given.
inline ProductsSettings FakeSettings(FakeService& service, std::string cacheFolder = "")
{
    ProductsSettings s;
    s.BulletinUrl = BulletinUrl;
    s.ServiceUrl = std::string(Service);
    s.Get = service.Get();
    s.CacheFolder = std::move(cacheFolder);
    s.Now = [] { return Noon(); };
    return s;
}

} // namespace orvela::solar::testing
