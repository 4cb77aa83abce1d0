// Downloading NOAA's flux products from a real HTTP server on 127.0.0.1:
// the same hostile servers as the bulletin's, against each product.
#include "solar/loadable_fetch.h"
#include "solar/solar_products.h"
#include "solar/transfer_cancel.h"
#include "tests/solar/proxy_environment.h"
#include "tests/solar/service_fakes.h"
#include "tests/support/http_test_server.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <ostream>

namespace orvela::solar {
namespace {

using namespace testing;

constexpr Product Products[] = {Product::Outlook, Product::DailyIndices, Product::PredictedCycle,
                                Product::ObservedCycle};
constexpr std::uint64_t TenMegabytes = 10ull << 20;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// Settings for the service at `origin`, no cache, short time-outs.
ProductsSettings At(const std::string& origin, Transport get = LinkedTransport())
{
    ProductsSettings s;
    s.BulletinUrl = origin + "/text/wwv.txt";
    s.ServiceUrl = origin + "/";
    s.Options = {2000, 5000};
    s.Get = std::move(get);
    s.Now = [] { return Noon(); };
    return s;
}

struct HostileCase {
    const char* name;
    // The server's routes for the product at `path`, its fixture `body`.
    std::function<std::map<std::string, Handler>(const std::string& path, const std::string& body)> routes;
    std::string problem; // part of the message; empty: the product is read
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<HostileCase> HostileCases()
{
    const std::string html = "<!DOCTYPE html><html><head><title>Service Unavailable</title></head>"
                             "<body><h1>Service Unavailable</h1></body></html>\n";
    auto chain = [](const std::string& path, const std::string& body, int hops) {
        std::map<std::string, Handler> routes{{"/moved", Reply(200, body)}};
        for (int i = 0; i < hops; ++i)
            routes[i == 0 ? path : "/r" + std::to_string(i)] =
                Redirect(i == hops - 1 ? "/moved" : "/r" + std::to_string(i + 1));
        return routes;
    };
    return {
        {"Plain",
         [](auto& path, auto& body) {
             return std::map<std::string, Handler>{{path, Reply(200, body)}};
         },
         ""},
        {"NotFound",
         [](auto& path, auto& body) {
             return std::map<std::string, Handler>{{path, Reply(404, body)}};
         },
         "could not download it from http://127.0.0.1:"},
        {"ServiceUnavailable",
         [html](auto& path, auto&) {
             return std::map<std::string, Handler>{{path, Reply(503, html)}};
         },
         "HTTP status 503"},
        {"HtmlPageWithStatus200",
         [html](auto& path, auto&) {
             return std::map<std::string, Handler>{{path, Reply(200, html, {{"Content-Type", "text/html"}})}};
         },
         "is not usable: an HTML page, not the product"},
        {"GzipEncoded",
         [](auto& path, auto& body) {
             return std::map<std::string, Handler>{{path, Gzipped(body)}};
         },
         ""},
        {"GzipFileWithoutEncoding",
         [](auto& path, auto& body) {
             return std::map<std::string, Handler>{
                 {path, Reply(200, Gzip(body), {{"Content-Type", "application/gzip"}})}};
         },
         "is not usable: gzip-compressed bytes, not text"},
        {"OneRedirect", [chain](auto& path, auto& body) { return chain(path, body, 1); }, ""},
        {"FiveRedirects", [chain](auto& path, auto& body) { return chain(path, body, 5); }, ""},
        {"SixRedirects", [chain](auto& path, auto& body) { return chain(path, body, 6); },
         "Maximum (5) redirects followed"},
        {"ConnectionCutMidBody",
         [](auto& path, auto& body) {
             return std::map<std::string, Handler>{{path, CutAfter(body.substr(0, body.size() / 2))}};
         },
         "transfer closed"},
        {"TenMegabytesOfNoise",
         [](auto& path, auto&) {
             static const std::string noise(64 * 1024, 'x');
             return std::map<std::string, Handler>{
                 {path, Stream(TenMegabytes, [](std::uint64_t) { return std::string_view(noise); })}};
         },
         "could not download it from http://127.0.0.1:"},
    };
}

class ProductDownload : public ::testing::TestWithParam<std::tuple<Product, HostileCase>> {
    ProxyEnvironment environment_;
};

TEST_P(ProductDownload, Reply)
{
    const auto& [product, c] = GetParam();
    const std::string path(ProductPath(product));
    HttpTestServer server(Routes(c.routes(path, ProductFixture(product))));
    SolarProducts products(At(server.Origin()));

    const ProductCopy& copy = products.Get(product);
    if (c.problem.empty()) {
        EXPECT_TRUE(copy.Ok()) << Joined(copy.Messages);
        EXPECT_EQ(copy.Messages, std::vector<std::string>());
        EXPECT_EQ(copy.FetchedAt, Noon());
        const auto requests = server.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0].Line, "GET " + path + " HTTP/1.1");
        EXPECT_EQ(requests[0].Header("user-agent"), "ORVELA");
    } else {
        EXPECT_FALSE(copy.Ok());
        ASSERT_EQ(copy.Messages.size(), 1u);
        EXPECT_EQ(copy.Messages[0].rfind(std::string(ProductName(product)) + ": ", 0), 0u) << copy.Messages[0];
        EXPECT_NE(copy.Messages[0].find(c.problem), std::string::npos) << copy.Messages[0];
    }
    if (std::string(c.name) == "TenMegabytesOfNoise") {
        EXPECT_NE(copy.Messages[0].find("the reply is larger than 4 MiB"), std::string::npos);
        EXPECT_LT(server.BytesSent(), TenMegabytes) << "the download went on to the end";
    }
}

INSTANTIATE_TEST_SUITE_P(Products, ProductDownload,
                         ::testing::Combine(::testing::ValuesIn(Products), ::testing::ValuesIn(HostileCases())),
                         [](const auto& info) {
                             std::string product(CacheFileName(std::get<0>(info.param)));
                             product = product.substr(0, product.find('.'));
                             for (char& ch : product)
                                 if (ch == '-')
                                     ch = '_';
                             return product + "_" + std::get<1>(info.param).name;
                         });

TEST(ProductDownloadRefused, ConnectionRefused)
{
    const ProxyEnvironment environment;
    const ClosedPort closed;
    SolarProducts products(At(closed.Origin()));
    for (const Product p : Products) {
        const ProductCopy& copy = products.Get(p);
        EXPECT_FALSE(copy.Ok());
        EXPECT_NE(Joined(copy.Messages).find("Failed to connect"), std::string::npos) << Joined(copy.Messages);
    }
}

// A server that stalls is left at once when the download is cancelled,
// long before the time-outs; the product says so and is not asked again.
TEST(ProductDownloadStalled, ACancelEndsIt)
{
    const ProxyEnvironment environment;
    for (const Product p : Products) {
        SCOPED_TRACE(ProductName(p));
        const std::string body = ProductFixture(p);
        std::promise<void> stalling;
        std::optional<HttpTestServer> server(std::in_place, [&](const HttpRequest&, HttpConnection& connection) {
            if (!connection.Send(Head(200, {{"Content-Length", std::to_string(body.size())}}) +
                                 body.substr(0, body.size() / 2)))
                return;
            stalling.set_value();
            connection.WaitForClose();
        });
        TransferCancel cancel;
        ProductsSettings settings = At(server->Origin());
        settings.Options = {600000, 600000};
        settings.Cancel = &cancel;
        SolarProducts products(std::move(settings));
        auto copy = std::async(std::launch::async, [&] { return products.Get(p); });
        ASSERT_EQ(stalling.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
        cancel.Cancel();
        ASSERT_EQ(copy.wait_for(std::chrono::seconds(60)), std::future_status::ready)
            << "the cancelled download went on";
        server.reset();
        const ProductCopy got = copy.get();
        EXPECT_FALSE(got.Ok());
        EXPECT_EQ(Joined(got.Messages), std::string(ProductName(p)) + ": could not download it from " +
                                            ServiceAddress(products.Url(p)) + ": the download was cancelled\n");
    }
}

// The command line downloads through the network module: the same rules.
TEST(ProductDownloadThroughTheModule, SameRules)
{
    const ProxyEnvironment environment;
    static LoadableFetch module({ORVELA_FETCH_MODULE_PATH});
    const Transport get = [](const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context,
                             const TransferCancel* cancel) {
        return module.Transfer(url, options, receive, context, cancel);
    };
    static const std::string noise(64 * 1024, 'x');
    HttpTestServer server(Routes({
        {"/text/27-day-outlook.txt", Reply(200, ProductFixture(Product::Outlook))},
        {"/text/daily-solar-indices.txt", Reply(404, "Not Found")},
        {"/json/solar-cycle/predicted-solar-cycle.json",
         Stream(TenMegabytes, [](std::uint64_t) { return std::string_view(noise); })},
    }));
    SolarProducts products(At(server.Origin(), get));

    EXPECT_TRUE(products.Get(Product::Outlook).Ok()) << Joined(products.Get(Product::Outlook).Messages);
    EXPECT_NE(Joined(products.Get(Product::DailyIndices).Messages).find("HTTP status 404"), std::string::npos);
    EXPECT_NE(Joined(products.Get(Product::PredictedCycle).Messages).find("the reply is larger than 4 MiB"),
              std::string::npos);
    EXPECT_LT(server.BytesSent(), 2 * TenMegabytes);

    // Cancelled beforehand: nothing is asked of the server.
    TransferCancel cancel;
    cancel.Cancel();
    ProductsSettings settings = At(server.Origin(), get);
    settings.Cancel = &cancel;
    SolarProducts cancelled(std::move(settings));
    const std::size_t before = server.Requests().size();
    EXPECT_NE(Joined(cancelled.Get(Product::Outlook).Messages).find("the download was cancelled"), std::string::npos);
    EXPECT_EQ(server.Requests().size(), before);
}

TEST(ServiceAddress, DefaultAndPaths)
{
    // The build's address, NOAA's unless the build was given another: a
    // service's address alone, with no path.
    const std::string service = DefaultServiceUrl();
    EXPECT_TRUE(service.rfind("https://", 0) == 0 || service.rfind("http://", 0) == 0) << service;
    EXPECT_EQ(ServiceAddress(service), service);
    ProductsSettings settings;
    settings.ServiceUrl = "https://mirror.example.org/noaa//";
    SolarProducts products(std::move(settings));
    EXPECT_EQ(products.Url(Product::Outlook), "https://mirror.example.org/noaa/text/27-day-outlook.txt");
    EXPECT_EQ(products.Url(Product::ObservedCycle),
              "https://mirror.example.org/noaa/json/solar-cycle/observed-solar-cycle-indices.json");
    EXPECT_EQ(products.Url(Product::Bulletin), DefaultFluxUrl());
}

} // namespace
} // namespace orvela::solar
