// The day's solar flux downloaded at start-up from a server on the
// loopback interface: the solar box filled, a failure reported, a download
// started with the splash, and what the download leaves behind.
#include "app/network_solar_flux.h"
#include "tests/app/window_fixture.h"
#include "tests/support/http_test_server.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;

class FluxDownload : public StationWindow {};

// The download itself, from a server on the loopback interface.
TEST_F(FluxDownload, DownloadedFluxFillsTheSolarBox)
{
    using namespace solar::testing;
    const std::string bulletin = ":Product: Geophysical Alert Message wwv.txt\n"
                                 ":Issued: 2026 Dec 10 0305 UTC\n"
                                 "Solar flux 620 and estimated planetary A-index 5.\n";
    // The server answers only after the event loop has gone round three
    // times since the request came in: one that stood still during the
    // download leaves the server waiting, and after ten seconds it answers
    // all the same, for the test to fail.
    std::mutex mutex;
    std::condition_variable ticked;
    int ticks = 0;
    bool ranDuringDownload = false;
    HttpTestServer server([&](const HttpRequest& r, HttpConnection& c) {
        {
            std::unique_lock lock(mutex);
            const int atRequest = ticks;
            ranDuringDownload = ticked.wait_for(lock, std::chrono::seconds(10), [&] { return ticks >= atRequest + 3; });
        }
        Reply(200, bulletin)(r, c);
    });
    NetworkSolarFlux source(server.Url("/text/wwv.txt"));
    QTimer paintingGoesOn;
    QObject::connect(&paintingGoesOn, &QTimer::timeout, [&] {
        {
            const std::lock_guard lock(mutex);
            ++ticks;
        }
        ticked.notify_all();
    });
    paintingGoesOn.start(10);

    auto form = Open(&source);
    {
        const std::lock_guard lock(mutex);
        EXPECT_TRUE(ranDuringDownload) << "the event loop stood still during the download";
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Probe(*form).Widgets().SolarBox->title(), QStringLiteral("2026 Dec 10 0305 UTC"));
    EXPECT_DOUBLE_EQ(Probe(*form).Widgets().FLXSpin->value(), 500.0); // 620 is beyond the flux's range
    EXPECT_EQ(Probe(*form).Widgets().H2->Text(0), QStringLiteral("Solar flux at 10.7cm : 500.0"));
    EXPECT_TRUE(
        Probe(*form).Widgets().SolarBox->toolTip().endsWith(QString::fromStdString(server.Url("/text/wwv.txt"))));
}

// A download that fails, from the start-up's source or from a server on
// the loopback interface, is reported with the service's address and why,
// and the flux is 100.
TEST_F(FluxDownload, AFailedDownloadIsReportedAndTheFluxIsOneHundred)
{
    using namespace solar::testing;
    struct Case {
        const char* name;
        std::optional<Handler> server; // none: the source fails at once
    };
    const Case cases[] = {
        {"no bulletin", std::nullopt},
        {"not found", Reply(404, "<html>Not Found</html>")},
        {"data outage",
         Reply(200, ":Issued: 2026 Jun 02 0305 UTC\nSolar flux ??? and estimated planetary A-index 5.\n")},
    };
    flux.result = SolarFlux{};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.shown.clear();
        std::optional<HttpTestServer> server;
        std::optional<NetworkSolarFlux> network;
        if (c.server) {
            server.emplace(*c.server);
            network.emplace(server->Url("/text/wwv.txt"));
        }
        const QString service =
            server ? QString::fromStdString(server->Origin()) : QStringLiteral("http://127.0.0.1:9");
        const QString file = server ? QString::fromStdString(server->Url("/text/wwv.txt"))
                                    : QStringLiteral("http://127.0.0.1:9/text/wwv.txt");
        auto form = Open(network ? &*network : nullptr);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].Icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].Caption, QStringLiteral("Error"));
        EXPECT_EQ(messages.shown[0].Text,
                  QStringLiteral("Could not download Geophysical Alert Message wwv.txt from ") + service);
        EXPECT_FALSE(messages.shown[0].Detail.isEmpty()); // and why
        Ui::TPROPForm& ui = Probe(*form).Widgets();
        EXPECT_DOUBLE_EQ(ui.FLXSpin->value(), 100.0);
        EXPECT_EQ(ui.SolarBox->title(), QStringLiteral("Flux error"));
        EXPECT_TRUE(ui.SolarBox->toolTip().endsWith(file)) << ui.SolarBox->toolTip().toStdString();
        EXPECT_EQ(Probe(*form).RunCount(), 1);
    }
}

// The download starts with the splash; start-up then takes its result.
TEST_F(FluxDownload, ADownloadStartedEarlyIsTakenByStartUp)
{
    using namespace solar::testing;
    std::atomic<bool> served{false};
    HttpTestServer server([&](const HttpRequest&, HttpConnection& c) {
        c.Send(Head(200) + "\r\n:Product: Geophysical Alert Message wwv.txt\n:Issued: 2026 Dec 10 0305 UTC\n"
                           "Solar flux 131 and estimated planetary A-index 5.\n");
        served = true;
    });
    NetworkSolarFlux network(server.Url("/text/wwv.txt"));
    network.Start();
    network.Start(); // a second start changes nothing
    auto form = Open(&network);
    EXPECT_TRUE(served);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_DOUBLE_EQ(Probe(*form).Widgets().FLXSpin->value(), 131.0);
    EXPECT_TRUE(messages.shown.empty());
}

// The eventfd descriptors the process holds now.
std::set<int> EventDescriptors()
{
    std::set<int> found;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(fd.path(), error) == "anon_inode:[eventfd]") {
            found.insert(std::stoi(fd.path().filename().string()));
        }
    }
    return found;
}

// Each call after the first downloads the bulletin again; the download's
// two descriptors (its end, and its cancel), opened as it is made, stay its
// own through every download and go with it. Only those are looked at: the
// process's other threads (the toolkit's, the network library's) open and
// close descriptors of their own meanwhile.
TEST_F(FluxDownload, EachLaterCallDownloadsAgainAndNoDescriptorStaysOpen)
{
    using namespace solar::testing;
    std::atomic<int> served{0};
    HttpTestServer server([&](const HttpRequest& r, HttpConnection& c) {
        const int flux = 130 + ++served;
        Reply(200, ":Issued: 2026 Dec 10 0305 UTC\nSolar flux " + std::to_string(flux) + " and A-index 5.\n")(r, c);
    });
    const std::set<int> before = EventDescriptors();
    std::set<int> own;
    {
        NetworkSolarFlux network(server.Url("/text/wwv.txt"));
        for (int fd : EventDescriptors()) {
            if (before.count(fd) == 0) {
                own.insert(fd);
            }
        }
        ASSERT_EQ(own.size(), 2u);
        network.Start();
        EXPECT_EQ(network.GetSolarFlux().Flux, 131);
        EXPECT_EQ(network.GetSolarFlux().Flux, 132);
        EXPECT_EQ(network.GetSolarFlux().Flux, 133);
        const std::set<int> during = EventDescriptors();
        for (int fd : own) {
            EXPECT_EQ(during.count(fd), 1u) << fd;
        }
    }
    const std::set<int> after = EventDescriptors();
    for (int fd : own) {
        EXPECT_EQ(after.count(fd), 0u) << "descriptor " << fd << " outlived the download";
    }
    EXPECT_EQ(server.Requests().size(), 3u);
}

// A program that ends while its download hangs (a signal during the
// splash) does not wait for the network: the download is cancelled as its
// source goes, long before its time-outs.
TEST_F(FluxDownload, ADownloadLeftHangingIsCancelledWhenItsSourceGoes)
{
    using namespace solar::testing;
    std::promise<void> stalling;
    std::optional<HttpTestServer> server(std::in_place, [&](const HttpRequest&, HttpConnection& c) {
        stalling.set_value();
        c.WaitForClose();
    });
    auto network =
        std::make_unique<NetworkSolarFlux>(server->Url("/text/wwv.txt"), solar::FetchOptions{600000, 600000});
    network->Start();
    ASSERT_EQ(stalling.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
    auto gone = std::async(std::launch::async, [&network] { network.reset(); });
    EXPECT_EQ(gone.wait_for(std::chrono::seconds(60)), std::future_status::ready)
        << "the source waited for its download";
    // Ends the stall, and with it a download that went on.
    server.reset();
}

} // namespace
} // namespace orvela::app
