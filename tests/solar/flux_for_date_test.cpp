// The flux of a date: which product answers at each distance from today,
// what happens when it cannot, and that each product is fetched once.
#include "solar/flux_for_date.h"
#include "tests/solar/service_fakes.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace orvela::solar {
namespace {

using testing::Day;
using testing::FakeService;
using testing::FakeSettings;
using testing::Today;

constexpr double Fallback = 148;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST(ProductsFor, ByTheDistanceFromToday)
{
    using enum Product;
    struct Case {
        int days;
        std::vector<Product> products;
    };
    for (const Case& c : {Case{0, {Bulletin, Outlook, PredictedCycle}}, Case{1, {Outlook, PredictedCycle}},
                          Case{27, {Outlook, PredictedCycle}}, Case{28, {PredictedCycle}}, Case{4000, {PredictedCycle}},
                          Case{-1, {DailyIndices, ObservedCycle}}, Case{-30, {DailyIndices, ObservedCycle}},
                          Case{-31, {ObservedCycle}}, Case{-40000, {ObservedCycle}}}) {
        const Date day = AddDays(Today, c.days);
        EXPECT_EQ(ProductsFor(day, Today), c.products) << c.days << " days from today";
    }
}

// Every product served as its fixture; today is 10 December 2026.
TEST(FluxForDate, EachDistanceFromTodayHasItsProduct)
{
    using enum FluxSource;
    struct Case {
        const char* name;
        Date day;
        double sfu;
        FluxSource source;
        std::optional<Date> issued;
        std::string messages;
        std::vector<Product> notAsked;
    };
    const Case cases[] = {
        {"today", Today, 122, Bulletin, Day(2026, 12, 10), "", {Product::Outlook}},
        {"tomorrow", Day(2026, 12, 11), 135, Outlook, Day(2026, 12, 7), "", {Product::Bulletin}},
        {"the outlook's last day", Day(2027, 1, 2), 145, Outlook, Day(2026, 12, 7), "", {}},
        {"past the outlook's last day",
         Day(2027, 1, 3),
         127.1,
         Predicted,
         std::nullopt,
         "27-day outlook: no value for 2027-01-03: it covers 2026-12-07 to 2027-01-02\n",
         {}},
        {"27 days ahead",
         Day(2027, 1, 6),
         126.9,
         Predicted,
         std::nullopt,
         "27-day outlook: no value for 2027-01-06: it covers 2026-12-07 to 2027-01-02\n",
         {}},
        {"28 days ahead", Day(2027, 1, 7), 126.9, Predicted, std::nullopt, "", {Product::Outlook}},
        {"past the last predicted month",
         Day(2028, 1, 1),
         Fallback,
         Default,
         std::nullopt,
         "predicted solar cycle: no value for 2028-01: it ends with 2027-12\n",
         {}},
        {"yesterday", Day(2026, 12, 9), 140, ObservedDaily, Day(2026, 12, 10), "", {Product::ObservedCycle}},
        {"a day without a measure",
         Day(2026, 11, 21),
         126.2,
         ObservedMonthly,
         std::nullopt,
         "daily solar indices: no value for 2026-11-21: marked missing (-1)\n",
         {}},
        {"30 days ago", Day(2026, 11, 10), 130, ObservedDaily, Day(2026, 12, 10), "", {}},
        {"31 days ago", Day(2026, 11, 9), 126.7, ObservedMonthly, std::nullopt, "", {Product::DailyIndices}},
        {"before the flux was measured",
         Day(1749, 2, 10),
         Fallback,
         Default,
         std::nullopt,
         "observed solar cycle: no value for 1749-02: marked missing (-1)\n",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeService service;
        SolarProducts products(FakeSettings(service));
        const FluxChoice choice = FluxForDate(products, c.day, Today, Fallback);
        EXPECT_DOUBLE_EQ(choice.Sfu, c.sfu);
        EXPECT_EQ(FluxSourceName(choice.Source), std::string(FluxSourceName(c.source)));
        EXPECT_EQ(choice.Issued, c.issued);
        EXPECT_EQ(Joined(choice.Messages), c.messages);
        EXPECT_FALSE(choice.FromCache);
        for (const Product p : c.notAsked)
            EXPECT_EQ(service.Requests(p), 0) << ProductName(p);
    }
}

// A product that fails says why, and the next one that covers the date
// answers, or the fall-back stands.
TEST(FluxForDate, TheNextProductAnswersWhenOneFails)
{
    using enum FluxSource;
    struct Case {
        const char* name;
        Date day;
        std::map<Product, std::string> bodies;   // replacing the fixture
        std::map<Product, std::string> failures; // transfers that fail
        double sfu;
        FluxSource source;
        std::string messages;
    };
    const std::string html = "<html><body>Service Unavailable</body></html>\n";
    const Case cases[] = {
        {"the bulletin unreachable",
         Today,
         {},
         {{Product::Bulletin, "Failed to connect to noaa.test port 80"}},
         140,
         Outlook,
         "Geophysical Alert Message: could not download it from http://noaa.test: Failed to connect to noaa.test port "
         "80\n"},
        {"the bulletin's flux of 999",
         Today,
         {{Product::Bulletin, testing::Bulletin("999")}},
         {},
         140,
         Outlook,
         "Geophysical Alert Message: a flux of 999, outside 50 to 600 sfu\n"},
        {"the outlook an HTML page",
         Day(2026, 12, 11),
         {{Product::Outlook, html}},
         {},
         128,
         Predicted,
         "27-day outlook: the reply from http://noaa.test is not usable: an HTML page, not the product: "
         "\"<html><body>Service Unavailable</body></html>\\x0a\"\n"},
        {"the daily indices missing, the month not yet observed",
         Day(2026, 12, 9),
         {},
         {{Product::DailyIndices, "HTTP status 404"}},
         Fallback,
         Default,
         "daily solar indices: could not download it from http://noaa.test: HTTP status 404\n"
         "observed solar cycle: no value for 2026-12: it ends with 2026-11\n"},
        {"nothing for today",
         Today,
         {},
         {{Product::Bulletin, "timed out"}, {Product::Outlook, "timed out"}, {Product::PredictedCycle, "timed out"}},
         Fallback,
         Default,
         "Geophysical Alert Message: could not download it from http://noaa.test: timed out\n"
         "27-day outlook: could not download it from http://noaa.test: timed out\n"
         "predicted solar cycle: could not download it from http://noaa.test: timed out\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeService service;
        for (const auto& [p, body] : c.bodies)
            service.Bodies[FakeService::UrlOf(p)] = body;
        for (const auto& [p, why] : c.failures)
            service.Failures[FakeService::UrlOf(p)] = why;
        SolarProducts products(FakeSettings(service));
        const FluxChoice choice = FluxForDate(products, c.day, Today, Fallback);
        EXPECT_DOUBLE_EQ(choice.Sfu, c.sfu);
        EXPECT_EQ(FluxSourceName(choice.Source), std::string(FluxSourceName(c.source)));
        EXPECT_EQ(Joined(choice.Messages), c.messages);
    }
}

TEST(FluxForDate, EachProductIsFetchedOnceARun)
{
    FakeService service;
    SolarProducts products(FakeSettings(service));
    std::vector<Date> days;
    for (int d = -60; d <= 400; d += 3)
        days.push_back(AddDays(Today, d));
    days.push_back(Today);

    // From several threads at once, as a batch may ask.
    std::vector<std::thread> threads;
    std::vector<std::vector<FluxChoice>> choices(4);
    for (std::size_t t = 0; t < choices.size(); ++t)
        threads.emplace_back([&, t] {
            for (const Date d : days)
                choices[t].push_back(FluxForDate(products, d, Today, Fallback));
        });
    for (std::thread& t : threads)
        t.join();

    for (const Product p :
         {Product::Bulletin, Product::Outlook, Product::DailyIndices, Product::PredictedCycle, Product::ObservedCycle})
        EXPECT_EQ(service.Requests(p), 1) << ProductName(p);
    for (std::size_t t = 1; t < choices.size(); ++t)
        for (std::size_t i = 0; i < days.size(); ++i)
            EXPECT_EQ(choices[t][i].Sfu, choices[0][i].Sfu) << IsoDate(days[i]);
}

// The window's start-up bulletin answers today without a second download.
TEST(FluxForDate, TheBulletinAlreadyDownloaded)
{
    FakeService service;
    SolarProducts products(FakeSettings(service));
    products.UseBulletin(GeoAlert{true, "2026 Dec 10 0605 UTC", 131, ""});
    const FluxChoice choice = FluxForDate(products, Today, Today, Fallback);
    EXPECT_EQ(choice.Sfu, 131);
    EXPECT_EQ(choice.Source, FluxSource::Bulletin);
    EXPECT_EQ(choice.Issued, Day(2026, 12, 10));
    EXPECT_EQ(service.Requests(Product::Bulletin), 0);

    FakeService second;
    SolarProducts failed(FakeSettings(second));
    failed.UseBulletin(GeoAlert{false, "", 0, "HTTP status 503"});
    const FluxChoice instead = FluxForDate(failed, Today, Today, Fallback);
    EXPECT_EQ(instead.Source, FluxSource::Outlook);
    EXPECT_EQ(Joined(instead.Messages),
              "Could not download Geophysical Alert Message wwv.txt from http://noaa.test: HTTP status 503\n");
    EXPECT_EQ(second.Requests(Product::Bulletin), 0);
}

TEST(FluxSource, NamesAndDescriptions)
{
    using enum FluxSource;
    struct Case {
        FluxSource source;
        const char* name;
        std::optional<Date> issued;
        bool cached;
        std::string description;
    };
    for (const Case& c : {
             Case{Typed, "typed", {}, false, "typed"},
             Case{Bulletin, "bulletin", Day(2026, 12, 10), false, "NOAA Geophysical Alert Message issued 10 Dec 2026"},
             Case{Outlook, "outlook", Day(2026, 12, 7), false, "NOAA 27-day outlook issued 7 Dec 2026"},
             Case{Predicted, "predicted", {}, false, "NOAA predicted solar cycle"},
             Case{ObservedDaily, "observed-daily", Day(2026, 12, 10), true,
                  "NOAA daily solar indices issued 10 Dec 2026, cached copy 2 days old"},
             Case{ObservedMonthly, "observed-monthly", {}, false, "NOAA observed solar cycle"},
             Case{Default, "default", {}, false, "default"},
         }) {
        FluxChoice choice;
        choice.Source = c.source;
        choice.Issued = c.issued;
        choice.FromCache = c.cached;
        choice.Age = std::chrono::hours(50);
        EXPECT_STREQ(FluxSourceName(c.source), c.name);
        EXPECT_EQ(DescribeSource(choice), c.description);
    }
}

TEST(AgeText, MinutesHoursDays)
{
    using namespace std::chrono;
    struct Case {
        seconds age;
        const char* text;
    };
    for (const Case& c : {Case{seconds(59), "0 minutes"}, Case{minutes(1), "1 minute"}, Case{minutes(59), "59 minutes"},
                          Case{hours(1), "1 hour"}, Case{hours(47), "47 hours"}, Case{hours(48), "2 days"},
                          Case{days(400), "400 days"}})
        EXPECT_EQ(AgeText(c.age), c.text);
}

} // namespace
} // namespace orvela::solar
