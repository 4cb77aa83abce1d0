// libFuzzer target for the readers of NOAA's flux products and of their
// cached copies: every input goes through all five. Any input is read
// without a crash, and gives either a product that keeps its promises (days
// and months in order, each once, every flux within range or missing) or
// one line saying why not; a product asked for a date answers within range
// or says why in one line; a cached copy read is written back the same.
#include "solar/product_cache.h"
#include "solar/products.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using namespace orvela::solar;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "products fuzz: %s\n", what);
        std::abort();
    }
}

void CheckProblem(bool read, const std::string& problem)
{
    Check(read == problem.empty(), "a refusal has a reason, a product none");
    Check(problem.find('\n') == std::string::npos, "the reason is one line");
}

void CheckFlux(const std::optional<double>& flux)
{
    Check(!flux || (*flux >= MinFlux && *flux <= MaxFlux), "a flux within range or missing");
}

void CheckAnswer(const FluxAnswer& a)
{
    CheckProblem(a.Sfu.has_value(), a.Problem);
    CheckFlux(a.Sfu);
}

// A date from two bytes of the input, within a few years of the product's.
Date Around(Date d, const std::uint8_t* data, std::size_t size)
{
    const int shift = size >= 2 ? (data[0] | data[1] << 8) % 2001 - 1000 : 0;
    return orvela::AddDays(d, shift);
}

template <class DayT>
void CheckDays(const std::vector<DayT>& days, const std::uint8_t* data, std::size_t size)
{
    Check(!days.empty(), "a product has a day");
    for (std::size_t i = 0; i < days.size(); ++i) {
        Check(orvela::IsCalendarDate(days[i].Day), "a day is a date");
        CheckFlux(days[i].Flux);
        Check(i == 0 || days[i - 1].Day < days[i].Day, "days in order, each once");
    }
    for (const Date d : {days.front().Day, days.back().Day, Around(days.front().Day, data, size)}) {
        const FluxAnswer a = FluxOnDay(days, d);
        CheckAnswer(a);
    }
}

void CheckCycle(const Parsed<MonthlyCycle>& parsed, const std::uint8_t* data, std::size_t size)
{
    CheckProblem(parsed.Value.has_value(), parsed.Problem);
    if (!parsed.Value)
        return;
    const std::vector<MonthlyFlux>& months = parsed.Value->Months;
    Check(!months.empty(), "a cycle has a month");
    for (std::size_t i = 0; i < months.size(); ++i) {
        Check(months[i].Of.ok(), "a month is one");
        CheckFlux(months[i].Flux);
        CheckFlux(months[i].High);
        CheckFlux(months[i].Low);
        Check(i == 0 || months[i - 1].Of < months[i].Of, "months in order, each once");
    }
    const Date first = orvela::CivilDateOf(months.front().Of / std::chrono::day(1));
    const Date last = orvela::CivilDateOf(std::chrono::year_month_day{months.back().Of / std::chrono::last});
    for (const Date d : {first, last, Around(first, data, size)})
        CheckAnswer(FluxOnDayOfMonths(*parsed.Value, d));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);

    const Parsed<Outlook> outlook = ParseOutlook(body);
    CheckProblem(outlook.Value.has_value(), outlook.Problem);
    if (outlook.Value) {
        Check(orvela::IsCalendarDate(outlook.Value->Issued), "the issue date is a date");
        CheckDays(outlook.Value->Days, data, size);
        for (const OutlookDay& d : outlook.Value->Days)
            Check(d.PlanetaryA >= 0 && d.PlanetaryA <= 999 && d.LargestKp >= 0 && d.LargestKp <= 9,
                  "A and Kp within their ranges");
    }

    const Parsed<DailyIndices> daily = ParseDailyIndices(body);
    CheckProblem(daily.Value.has_value(), daily.Problem);
    if (daily.Value) {
        Check(orvela::IsCalendarDate(daily.Value->Issued), "the issue date is a date");
        CheckDays(daily.Value->Days, data, size);
    }

    CheckCycle(ParsePredictedCycle(body), data, size);
    CheckCycle(ParseObservedCycle(body), data, size);

    const CacheRead cached = DecodeCachedCopy(body);
    CheckProblem(cached.Copy.has_value(), cached.Problem);
    if (cached.Copy) {
        const CacheRead again = DecodeCachedCopy(EncodeCachedCopy(*cached.Copy));
        Check(again.Copy && again.Copy->Url == cached.Copy->Url && again.Copy->FetchedAt == cached.Copy->FetchedAt &&
                  again.Copy->Body == cached.Copy->Body,
              "a cached copy read is written back the same");
    }
    return 0;
}
