// Cost of the flux of a date: reading each NOAA product, and the choice of
// product with the products at hand. A date change in the window re-runs
// the table within 8 ms when its product is cached; the library's share is
// the choice, from the copy the run already read (BM_FluxForDate) or, for
// the first date that needs a product, from the cache folder
// (BM_FluxForDateFromCacheFolder). The observed solar cycle, month by month
// since 1749, is the largest product by far.
#include "solar/flux_for_date.h"
#include "solar/product_cache.h"
#include "solar/products.h"
#include "solar/solar_products.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using namespace orvela::solar;

constexpr Date Today{2026, 12, 10};
const std::string Service = "https://services.swpc.noaa.gov";

std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(ORVELA_SOLAR_FIXTURES) + "/products/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One month of the observed cycle as NOAA writes it, on one line.
std::string ObservedMonth(int y, int m, double flux)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"time-tag\":\"%04d-%02d\",\"ssn\":%.1f,\"smoothed_ssn\":%.1f,\"observed_swpc_ssn\":%.1f,"
                  "\"smoothed_swpc_ssn\":%.1f,\"f10.7\":%.2f,\"smoothed_f10.7\":%.1f}",
                  y, m, 80.5, 81.2, 55.1, 56.3, flux, flux < 0 ? -1.0 : flux + 0.7);
    return text;
}

// The whole observed cycle, 1749-01 to 2026-11: no flux before 1947.
std::string FullObservedCycle()
{
    std::string json = "[";
    for (int y = 1749; y <= 2026; ++y)
        for (int m = 1; m <= 12 && !(y == 2026 && m == 12); ++m) {
            if (json.size() > 1)
                json += ",";
            json += ObservedMonth(y, m, y < 1947 ? -1.0 : 70.0 + (y * 12 + m) % 130);
        }
    return json + "]";
}

// A prediction of 13 years, as long as NOAA's, each month with its ranges.
std::string FullPredictedCycle()
{
    std::string json = "[\n";
    for (int i = 0; i < 13 * 12; ++i) {
        const int y = 2026 + (11 + i) / 12;
        const int m = (11 + i) % 12 + 1;
        const double f = 128.0 - 0.3 * i;
        char text[512];
        std::snprintf(text, sizeof text,
                      "%s{\"time-tag\": \"%04d-%02d\", \"predicted_ssn\": 90.1, \"high25_ssn\": 94.1, \"high_ssn\": "
                      "99.1, \"high75_ssn\": 104.1, \"low25_ssn\": 86.1, \"low_ssn\": 81.1, \"low75_ssn\": 76.1, "
                      "\"predicted_f10.7\": %.1f, \"high25_f10.7\": %.1f, \"high_f10.7\": %.1f, \"high75_f10.7\": "
                      "%.1f, \"low25_f10.7\": %.1f, \"low_f10.7\": %.1f, \"low75_f10.7\": %.1f}",
                      i == 0 ? "" : ",\n", y, m, f, f + 3, f + 7.5, f + 12, f - 3, f - 7.5, f - 12);
        json += text;
    }
    return json + "\n]\n";
}

const std::string& Body(Product p)
{
    static const std::string outlook = Fixture("27-day-outlook.txt");
    static const std::string daily = Fixture("daily-solar-indices.txt");
    static const std::string predicted = FullPredictedCycle();
    static const std::string observed = FullObservedCycle();
    switch (p) {
    case Product::Outlook: return outlook;
    case Product::DailyIndices: return daily;
    case Product::PredictedCycle: return predicted;
    default: return observed;
    }
}

template <class Parse>
void Reading(benchmark::State& state, Product p, Parse parse)
{
    const std::string& body = Body(p);
    for (auto _ : state) {
        auto parsed = parse(body);
        if (!parsed.Value)
            state.SkipWithError(parsed.Problem.c_str());
        benchmark::DoNotOptimize(parsed);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
    state.counters["bytes"] = static_cast<double>(body.size());
}

void BM_ParseOutlook(benchmark::State& state)
{
    Reading(state, Product::Outlook, [](std::string_view b) { return ParseOutlook(b); });
}
BENCHMARK(BM_ParseOutlook)->Unit(benchmark::kMicrosecond);

void BM_ParseDailyIndices(benchmark::State& state)
{
    Reading(state, Product::DailyIndices, [](std::string_view b) { return ParseDailyIndices(b); });
}
BENCHMARK(BM_ParseDailyIndices)->Unit(benchmark::kMicrosecond);

void BM_ParsePredictedCycle(benchmark::State& state)
{
    Reading(state, Product::PredictedCycle, [](std::string_view b) { return ParsePredictedCycle(b); });
}
BENCHMARK(BM_ParsePredictedCycle)->Unit(benchmark::kMicrosecond);

void BM_ParseObservedCycle(benchmark::State& state)
{
    Reading(state, Product::ObservedCycle, [](std::string_view b) { return ParseObservedCycle(b); });
}
BENCHMARK(BM_ParseObservedCycle)->Unit(benchmark::kMicrosecond);

// A cache folder holding every product, fetched an hour ago: fresh.
class CacheFolder {
public:
    CacheFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvela-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
        const ProductCache cache(path_);
        const auto fetched = Noon() - std::chrono::hours(1);
        for (const Product p :
             {Product::Outlook, Product::DailyIndices, Product::PredictedCycle, Product::ObservedCycle})
            cache.Write(CacheFileName(p), CachedCopy{Service + std::string(ProductPath(p)), fetched, Body(p)});
    }
    ~CacheFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

    static std::chrono::sys_seconds Noon() { return ToSysDays(Today) + std::chrono::hours(12); }

private:
    std::string path_;
};

// Without the network: a download fails at once (none is tried while the
// copies are fresh).
ProductsSettings Offline(const std::string& cacheFolder)
{
    ProductsSettings s;
    s.ServiceUrl = Service;
    s.CacheFolder = cacheFolder;
    s.Now = [] { return CacheFolder::Noon(); };
    s.Get = [](const std::string&, const FetchOptions&, BodyReceiver, void*, const TransferCancel*) {
        return TransferResult{TransferEnd::Failed, "offline"};
    };
    return s;
}

// The dates of each product: 10 days ahead (outlook), six months ahead
// (predicted), three days ago (daily indices), two years ago (observed).
Date DateOf(Product p)
{
    switch (p) {
    case Product::Outlook: return AddDays(Today, 10);
    case Product::PredictedCycle: return AddDays(Today, 182);
    case Product::DailyIndices: return AddDays(Today, -3);
    default: return AddDays(Today, -730);
    }
}

constexpr Product Measured[] = {Product::Outlook, Product::PredictedCycle, Product::DailyIndices,
                                Product::ObservedCycle};

// A date change once its product was read this run: the copy in memory.
void BM_FluxForDate(benchmark::State& state)
{
    const Product p = Measured[state.range(0)];
    const CacheFolder folder;
    SolarProducts products(Offline(folder.Path()));
    const Date day = DateOf(p);
    FluxForDate(products, day, Today, 100);
    for (auto _ : state) {
        const FluxChoice choice = FluxForDate(products, day, Today, 100);
        benchmark::DoNotOptimize(choice.Sfu);
    }
    state.SetLabel(std::string(ProductName(p)));
}
BENCHMARK(BM_FluxForDate)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The first date of the run that needs the product: its copy read from the
// cache folder, checked and parsed.
void BM_FluxForDateFromCacheFolder(benchmark::State& state)
{
    const Product p = Measured[state.range(0)];
    const CacheFolder folder;
    const Date day = DateOf(p);
    for (auto _ : state) {
        SolarProducts products(Offline(folder.Path()));
        const FluxChoice choice = FluxForDate(products, day, Today, 100);
        if (!choice.FromCache)
            state.SkipWithError("the cached copy did not answer");
        benchmark::DoNotOptimize(choice.Sfu);
    }
    state.SetLabel(std::string(ProductName(p)));
}
BENCHMARK(BM_FluxForDateFromCacheFolder)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

} // namespace
