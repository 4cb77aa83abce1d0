// --flux auto on the command line: the flux of the prediction's date from
// the NOAA product that covers it, served by a loopback server in the
// products' real layouts, with dates around the day the test runs.
#include "tests/cli/child_process.h"
#include "tests/support/http_test_server.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_files.h"
#include "solar/product_cache.h"
#include "solar/products.h"
#include "solar/solar_products.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using orvela::child::Outcome;
using orvela::solar::testing::ClosedPort;
using orvela::solar::testing::HttpTestServer;
using orvela::solar::testing::Reply;
using Json = nlohmann::json;
using Date = std::chrono::year_month_day;
using std::chrono::days;
using std::chrono::sys_days;

constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The local date, as the programs take today.
Date Today()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return Date{std::chrono::year(local.tm_year + 1900), std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
                std::chrono::day(static_cast<unsigned>(local.tm_mday))};
}

Date Plus(Date d, int n)
{
    return Date(sys_days(d) + days(n));
}

int Y(Date d)
{
    return static_cast<int>(d.year());
}
unsigned M(Date d)
{
    return static_cast<unsigned>(d.month());
}
unsigned D(Date d)
{
    return static_cast<unsigned>(d.day());
}

std::string Format(const char* format, auto... values)
{
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// The fixture's header lines, its issue line given the date `issued`.
std::string Header(const std::string& fixture, const std::string& issued)
{
    std::istringstream in(
        orvela_test::FileText(std::string(ORVELA_SOURCE_DIR) + "/tests/solar/fixtures/products/" + fixture));
    std::string out, line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] >= '0' && line[0] <= '9') {
            break;
        }
        out += line.rfind(":Issued:", 0) == 0 ? ":Issued: " + issued : line;
        out += '\n';
    }
    return out;
}

// The flux of each product's day: distinct, so that a wrong day shows.
double OutlookFlux(int fromToday)
{
    return 150 + fromToday;
}
double DailyFlux(int fromToday)
{
    return 100 - fromToday;
} // fromToday < 0
constexpr double PredictedFlux = 133; // every month: the same at any day
constexpr double ObservedFlux = 111;
constexpr int BulletinFlux = 142;

std::string OutlookText(Date today)
{
    const Date issued = Plus(today, -3);
    std::string t =
        Header("27-day-outlook.txt", Format("%d %s %02u 0124 UTC", Y(issued), Months[M(issued) - 1], D(issued)));
    for (int i = -3; i < 24; ++i) {
        const Date d = Plus(today, i);
        t += Format("%d %s %02u     %3.0f           8          3\n", Y(d), Months[M(d) - 1], D(d), OutlookFlux(i));
    }
    return t;
}

std::string DailyText(Date today)
{
    std::string t =
        Header("daily-solar-indices.txt", Format("0225 UT %02u %s %d", D(today), Months[M(today) - 1], Y(today)));
    for (int i = -30; i < 0; ++i) {
        const Date d = Plus(today, i);
        t += Format("%d %02u %02u  %3.0f    105      264      0    -999      *   9  0  0   3  0  0  0\n", Y(d), M(d),
                    D(d), DailyFlux(i));
    }
    return t;
}

// Months from `first` on, `count` of them, each with `key` at `flux`.
std::string CycleText(Date first, int count, const std::string& key, double flux)
{
    Json months = Json::array();
    std::chrono::year_month m = first.year() / first.month();
    for (int i = 0; i < count; ++i, m += std::chrono::months(1)) {
        months.push_back({{"time-tag", Format("%d-%02u", static_cast<int>(m.year()), static_cast<unsigned>(m.month()))},
                          {key, flux}});
    }
    return months.dump();
}

std::string BulletinText(Date today)
{
    return ":Product: Geophysical Alert Message wwv.txt\n:Issued: " +
           Format("%d %s %02u 0305 UTC", Y(today), Months[M(today) - 1], D(today)) + "\nSolar flux " +
           std::to_string(BulletinFlux) + " and estimated planetary A-index 5.\n";
}

std::map<std::string, orvela::solar::testing::Handler> Products(Date today)
{
    return {{"/text/wwv.txt", Reply(200, BulletinText(today))},
            {"/text/27-day-outlook.txt", Reply(200, OutlookText(today))},
            {"/text/daily-solar-indices.txt", Reply(200, DailyText(today))},
            {"/json/solar-cycle/predicted-solar-cycle.json",
             Reply(200, CycleText(Plus(today, -40), 40, "predicted_f10.7", PredictedFlux))},
            {"/json/solar-cycle/observed-solar-cycle-indices.json",
             Reply(200, CycleText(Plus(today, -1200), 38, "f10.7", ObservedFlux))}};
}

std::string Iso(Date d)
{
    return Format("%d-%02u-%02u", Y(d), M(d), D(d));
}

// Each run's cache in a folder of the test's own.
class DateFlux : public ::testing::Test {
protected:
    Outcome Predict(const std::string& serviceOrigin, Date date, std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"--home",        "48.85N,2.35E", "--remote",   "40.71N,74.01W",
                                         "--flux",        "auto",         "--flux-url", serviceOrigin + "/text/wwv.txt",
                                         "--service-url", serviceOrigin,  "--date",     Iso(date)};
        args.insert(args.end(), more.begin(), more.end());
        return orvela::child::RunProgram(ORVELA_PREDICT_PATH, args);
    }

    orvela_test::ScratchFolder cache_{"orvela-flux-cache"};
    orvela_test::ScopedEnv xdg_{"XDG_CACHE_HOME", cache_.Path().c_str()};
};

TEST_F(DateFlux, EachDateTakesTheProductThatCoversIt)
{
    const Date today = Today();
    HttpTestServer server(orvela::solar::testing::Routes(Products(today)));
    struct Case {
        int FromToday;
        double Sfu;
        const char* Source;
        std::optional<Date> Issued;
    };
    const Case cases[] = {
        {10, OutlookFlux(10), "outlook", Plus(today, -3)},
        {182, PredictedFlux, "predicted", std::nullopt},
        {-3, DailyFlux(-3), "observed-daily", today},
        {-730, ObservedFlux, "observed-monthly", std::nullopt},
        {0, BulletinFlux, "bulletin", today},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.FromToday);
        const Outcome o = Predict(server.Origin(), Plus(today, c.FromToday), {"--format", "json"});
        ASSERT_EQ(o.Status, 0) << o.Err;
        EXPECT_EQ(o.Err, "");
        const Json j = Json::parse(o.Out);
        const Json issued = c.Issued ? Json(Iso(*c.Issued)) : Json();
        EXPECT_EQ(j["flux"], (Json{{"sfu", c.Sfu}, {"source", c.Source}, {"issued", issued}}));
        EXPECT_EQ(j["h2"][0], Format("Solar flux at 10.7cm : %.1f", c.Sfu));
        EXPECT_EQ(j.contains("solar"), c.FromToday == 0); // the bulletin's own report, as before
    }
    // The text and CSV outputs name the source in a last line.
    const Outcome text = Predict(server.Origin(), Plus(today, 10));
    EXPECT_NE(text.Out.find(Format("\nSolar flux %.1f: NOAA 27-day outlook issued ", OutlookFlux(10))),
              std::string::npos)
        << text.Out;
    const Outcome csv = Predict(server.Origin(), Plus(today, -730), {"--format", "csv"});
    // The cycle was kept from the first run: it answers from the cache.
    EXPECT_NE(csv.Out.find("\n# Solar flux 111.0: NOAA observed solar cycle, cached copy 0 minutes old\n"),
              std::string::npos)
        << csv.Out;
}

// Offline, an old cached copy answers and says how old it is; with nothing
// cached either, the flux is 100 and the message says so.
TEST_F(DateFlux, OfflineTheCachedCopyAnswersElseOneHundred)
{
    const Date today = Today();
    const ClosedPort closed;
    const Date ahead = Plus(today, 10);

    const Outcome none = Predict(closed.Origin(), ahead, {"--format", "json"});
    ASSERT_EQ(none.Status, 0) << none.Err;
    EXPECT_NE(none.Err.find("27-day outlook: could not download it from " + closed.Origin()), std::string::npos)
        << none.Err;
    EXPECT_NE(none.Err.find("No NOAA product gave a solar flux for " + Iso(ahead) + ": the flux is 100\n"),
              std::string::npos)
        << none.Err;
    EXPECT_EQ(Json::parse(none.Out)["flux"], (Json{{"sfu", 100.0}, {"source", "default"}, {"issued", nullptr}}));

    const auto twoDaysAgo =
        std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()) - std::chrono::hours(49);
    const orvela::solar::ProductCache cache(cache_.Path().string() + "/orvela");
    ASSERT_EQ(cache.Write("27-day-outlook.txt",
                          {closed.Origin() + "/text/27-day-outlook.txt", twoDaysAgo, OutlookText(today)}),
              "");
    const Outcome cached = Predict(closed.Origin(), ahead);
    ASSERT_EQ(cached.Status, 0) << cached.Err;
    EXPECT_NE(cached.Err.find("27-day outlook: the copy fetched " + orvela::solar::UtcText(twoDaysAgo) +
                              " answers (2 days old)\n"),
              std::string::npos)
        << cached.Err;
    EXPECT_NE(cached.Out.find(Format(": NOAA 27-day outlook issued %u %s %d, cached copy 2 days old\n",
                                     D(Plus(today, -3)), Months[M(Plus(today, -3)) - 1], Y(Plus(today, -3)))),
              std::string::npos)
        << cached.Out;
    EXPECT_NE(cached.Out.find(Format("Solar flux at 10.7cm : %.1f", OutlookFlux(10))), std::string::npos);
}

// The lines of a batch share the products: each is fetched once, however
// many lines and threads ask for it.
TEST_F(DateFlux, ABatchFetchesEachProductOnce)
{
    const Date today = Today();
    HttpTestServer server(orvela::solar::testing::Routes(Products(today)));
    std::string lines;
    for (const int n : {10, 11, 0, -3, -4, 182, 200, -730, -800, 0, 12}) {
        lines += R"({"home": "JN18", "remote": "FN30", "flux": "auto", "date": ")" + Iso(Plus(today, n)) + "\"}\n";
    }
    const orvela_test::TempFile input(lines);
    const Outcome o = orvela::child::RunProgram(
        ORVELA_PREDICT_PATH, {"--batch", input.Path(), "--threads", "4", "--flux-url", server.Url("/text/wwv.txt"),
                              "--service-url", server.Origin(), "--format", "csv"});
    ASSERT_EQ(o.Status, 0) << o.Err;
    std::map<std::string, int> asked;
    for (const auto& request : server.Requests()) {
        ++asked[request.Target];
    }
    EXPECT_EQ(asked.size(), 5u);
    for (const auto& [target, count] : asked) {
        EXPECT_EQ(count, 1) << target;
    }
    EXPECT_NE(o.Out.find(Format("\n1,flux,%.1f,outlook,%s\n", OutlookFlux(10), Iso(Plus(today, -3)).c_str())),
              std::string::npos);
    EXPECT_NE(o.Out.find("\n6,flux,133.0,predicted,\n"), std::string::npos);
}

TEST(ServiceUrl, ABadAddressIsRefused)
{
    const std::vector<std::string> base = {"--home", "JN18", "--remote", "FN30", "--flux", "auto"};
    for (const char* bad : {"ftp://example.org", "http://", "https://a b"}) {
        std::vector<std::string> args = base;
        args.insert(args.end(), {"--service-url", bad});
        orvela::child::ExpectRefusal(orvela::child::RunProgram(ORVELA_PREDICT_PATH, args), "orvela-predict",
                                     "--service-url: expected an http:// or https:// address");
        orvela::child::ExpectRefusal(
            orvela::child::RunProgram(ORVELA_AREA_PATH, {"--home", "JN18", "--utc", "2026-06-21T12:00Z", "--band", "14",
                                                         "--flux", "auto", "--service-url", bad, "--out", "x.csv"}),
            "orvela-area", "--service-url: expected an http:// or https:// address");
    }
    orvela::child::ExpectRefusal(orvela::child::RunProgram(ORVELA_PREDICT_PATH, {"--home", "JN18", "--remote", "FN30",
                                                                                 "--service-url", "http://127.0.0.1"}),
                                 "orvela-predict", "--service-url is only used with --flux auto");
}

// orvela-area takes the flux of --utc's date and names its source: in the
// JSON's "flux", in a last line of the CSV.
TEST_F(DateFlux, OrvelaAreaTakesTheFluxOfItsDate)
{
    const Date today = Today();
    HttpTestServer server(orvela::solar::testing::Routes(Products(today)));
    const orvela_test::ScratchFolder out("orvela-area-flux");
    const Date ahead = Plus(today, 10);
    for (const char* name : {"a.json", "a.csv"}) {
        const std::string path = out.Path().string() + "/" + name;
        const Outcome o = orvela::child::RunProgram(
            ORVELA_AREA_PATH, {"--home", "JN18", "--utc", Iso(ahead) + "T12:00Z", "--band", "14", "--step", "30",
                               "--flux", "auto", "--service-url", server.Origin(), "--out", path});
        ASSERT_EQ(o.Status, 0) << o.Err;
        EXPECT_EQ(o.Err, "");
        const std::string written = orvela_test::FileText(path);
        if (std::string(name) == "a.json") {
            EXPECT_EQ(Json::parse(written)["flux"],
                      (Json{{"sfu", OutlookFlux(10)}, {"source", "outlook"}, {"issued", Iso(Plus(today, -3))}}));
        } else {
            EXPECT_NE(written.find(Format("\n# Solar flux %.1f: NOAA 27-day outlook issued ", OutlookFlux(10))),
                      std::string::npos);
        }
    }
}

} // namespace
