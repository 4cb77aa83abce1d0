// Choosing the product that gives a date its flux.
#include "solar/flux_for_date.h"

#include <cstdio>
#include <utility>

namespace orvela::solar {

namespace {

// The daily solar indices hold the last 30 days, the outlook 27 days from
// its issue.
constexpr int OutlookDays = 27;
constexpr int DailyIndicesDays = 30;

FluxSource SourceOf(Product p)
{
    switch (p) {
    case Product::Bulletin: return FluxSource::Bulletin;
    case Product::Outlook: return FluxSource::Outlook;
    case Product::DailyIndices: return FluxSource::ObservedDaily;
    case Product::PredictedCycle: return FluxSource::Predicted;
    case Product::ObservedCycle: return FluxSource::ObservedMonthly;
    }
    return FluxSource::Default;
}

// What one product's copy gives for the day.
FluxAnswer Ask(const ProductCopy& copy, Date day)
{
    if (const auto* alert = std::get_if<GeoAlert>(&copy.Value)) {
        if (std::string problem = FluxProblem(alert->Flux); !problem.empty())
            return {{}, std::move(problem)};
        return {alert->Flux, ""};
    }
    if (const auto* outlook = std::get_if<Outlook>(&copy.Value))
        return FluxOnDay(outlook->Days, day);
    if (const auto* daily = std::get_if<DailyIndices>(&copy.Value))
        return FluxOnDay(daily->Days, day);
    if (const auto* cycle = std::get_if<MonthlyCycle>(&copy.Value))
        return FluxOnDayOfMonths(*cycle, day);
    return {};
}

// "8 Dec 2026".
std::string DayText(Date d)
{
    static constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[32];
    std::snprintf(text, sizeof text, "%d %s %d", d.Day, Months[d.Month - 1], d.Year);
    return text;
}

} // namespace

const char* FluxSourceName(FluxSource source)
{
    switch (source) {
    case FluxSource::Typed: return "typed";
    case FluxSource::Bulletin: return "bulletin";
    case FluxSource::Outlook: return "outlook";
    case FluxSource::Predicted: return "predicted";
    case FluxSource::ObservedDaily: return "observed-daily";
    case FluxSource::ObservedMonthly: return "observed-monthly";
    case FluxSource::Default: return "default";
    }
    return "default";
}

std::vector<Product> ProductsFor(Date day, Date today)
{
    const int ahead = DaysBetween(today, day);
    if (ahead == 0)
        return {Product::Bulletin, Product::Outlook, Product::PredictedCycle};
    if (ahead > 0 && ahead <= OutlookDays)
        return {Product::Outlook, Product::PredictedCycle};
    if (ahead > 0)
        return {Product::PredictedCycle};
    if (-ahead <= DailyIndicesDays)
        return {Product::DailyIndices, Product::ObservedCycle};
    return {Product::ObservedCycle};
}

FluxChoice FluxForDate(SolarProducts& products, Date day, Date today, double fallback)
{
    FluxChoice choice;
    choice.Sfu = fallback;
    if (!IsCalendarDate(day) || !IsCalendarDate(today)) {
        choice.Messages.push_back("no flux for a date that is not one of the calendar");
        return choice;
    }
    for (const Product p : ProductsFor(day, today)) {
        const ProductCopy& copy = products.Get(p);
        choice.Messages.insert(choice.Messages.end(), copy.Messages.begin(), copy.Messages.end());
        if (!copy.Ok())
            continue;
        const FluxAnswer answer = Ask(copy, day);
        if (!answer.Sfu) {
            choice.Messages.push_back(std::string(ProductName(p)) + ": " + answer.Problem);
            continue;
        }
        choice.Sfu = *answer.Sfu;
        choice.Source = SourceOf(p);
        choice.Issued = copy.Issued;
        choice.FetchedAt = copy.FetchedAt;
        choice.FromCache = copy.FromCache;
        choice.Age = copy.Age;
        return choice;
    }
    return choice;
}

std::string DescribeSource(const FluxChoice& choice)
{
    std::string text;
    switch (choice.Source) {
    case FluxSource::Typed: return "typed";
    case FluxSource::Default: return "default";
    case FluxSource::Bulletin: text = "NOAA Geophysical Alert Message"; break;
    case FluxSource::Outlook: text = "NOAA 27-day outlook"; break;
    case FluxSource::Predicted: text = "NOAA predicted solar cycle"; break;
    case FluxSource::ObservedDaily: text = "NOAA daily solar indices"; break;
    case FluxSource::ObservedMonthly: text = "NOAA observed solar cycle"; break;
    }
    if (choice.Issued)
        text += " issued " + DayText(*choice.Issued);
    if (choice.FromCache)
        text += ", cached copy " + AgeText(choice.Age) + " old";
    return text;
}

} // namespace orvela::solar
