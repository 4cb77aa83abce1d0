// The products' copies in the cache folder: a fresh one answers without the
// service, an old one answers only when the service fails and says its age,
// a damaged one is never used.
#include "solar/flux_for_date.h"
#include "solar/product_cache.h"
#include "tests/solar/service_fakes.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace orvela::solar {
namespace {

using namespace std::chrono_literals;
using orvela_test::FileText;
using orvela_test::Listing;
using orvela_test::ScratchFolder;
using testing::Day;
using testing::FakeService;
using testing::FakeSettings;
using testing::Noon;
using testing::ProductFixture;
using testing::Today;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The outlook of the week before, its flux on 10 December 111.
std::string OlderOutlook()
{
    std::string text = ProductFixture(Product::Outlook);
    const std::string day = "2026 Dec 10     140";
    return text.replace(text.find(day), day.size(), "2026 Dec 10     111");
}

class ProductCacheTest : public ::testing::Test {
protected:
    // The outlook kept as fetched `age` before noon on 10 December.
    void KeepOutlook(std::chrono::seconds age, std::string body = OlderOutlook(),
                     std::string url = FakeService::UrlOf(Product::Outlook))
    {
        ASSERT_EQ(
            ProductCache(folder.Path())
                .Write(CacheFileName(Product::Outlook), CachedCopy{std::move(url), Noon() - age, std::move(body)}),
            "");
    }
    std::string OutlookPath() const { return (folder.Path() / CacheFileName(Product::Outlook)).string(); }

    ScratchFolder folder{"orvela-cache"};
    FakeService service;
};

TEST_F(ProductCacheTest, KeepsWhatItWasGiven)
{
    const CachedCopy copy{"http://noaa.test/text/27-day-outlook.txt", Noon() - 5min, "2026 Dec 10     140\n"};
    const ProductCache cache(folder.Path() / "new" / "orvela");
    ASSERT_EQ(cache.Write("27-day-outlook.txt", copy), "");
    const CacheRead read = cache.Read("27-day-outlook.txt");
    ASSERT_TRUE(read.Copy) << read.Problem;
    EXPECT_EQ(read.Copy->Url, copy.Url);
    EXPECT_EQ(read.Copy->FetchedAt, copy.FetchedAt);
    EXPECT_EQ(read.Copy->Body, copy.Body);
    // Renamed into place: nothing else is left in the folder.
    EXPECT_EQ(Listing(cache.Folder()), std::set<std::string>{"27-day-outlook.txt"});
    EXPECT_EQ(FileText(cache.PathOf("27-day-outlook.txt")).rfind("ORVELA-CACHE 1 ", 0), 0u);

    // The fuzz target's seed is a copy as this code writes it.
    const CacheRead seed = DecodeCachedCopy(testing::Fixture("products/cached-27-day-outlook.txt"));
    ASSERT_TRUE(seed.Copy) << seed.Problem;
    EXPECT_EQ(seed.Copy->Body, ProductFixture(Product::Outlook));
    EXPECT_EQ(seed.Copy->FetchedAt, ToSysDays(Day(2026, 12, 7)) + 1h + 30min);

    const CacheRead none = cache.Read("observed-solar-cycle-indices.json");
    EXPECT_FALSE(none.Copy);
    EXPECT_EQ(none.Problem, "");
}

// A copy younger than the product's time answers, and nothing is downloaded.
TEST_F(ProductCacheTest, AFreshCopyAnswersWithoutTheService)
{
    KeepOutlook(2h);
    SolarProducts products(FakeSettings(service, folder.Path()));
    const FluxChoice choice = FluxForDate(products, Today, Day(2026, 12, 9), 100);
    EXPECT_EQ(choice.Sfu, 111);
    EXPECT_EQ(choice.Source, FluxSource::Outlook);
    EXPECT_TRUE(choice.FromCache);
    EXPECT_EQ(choice.Age, 2h);
    EXPECT_EQ(choice.FetchedAt, Noon() - 2h);
    EXPECT_EQ(Joined(choice.Messages), "");
    EXPECT_EQ(service.Requests(Product::Outlook), 0);
}

// An old copy, or one dated after now (a clock set back), makes way for a
// new download, which is kept in its place.
TEST_F(ProductCacheTest, AnOldCopyIsReplacedByTheService)
{
    for (const std::chrono::seconds age : {FreshFor(Product::Outlook), std::chrono::seconds(-1h)}) {
        SCOPED_TRACE(age.count());
        KeepOutlook(age);
        FakeService fresh;
        SolarProducts products(FakeSettings(fresh, folder.Path()));
        const FluxChoice choice = FluxForDate(products, Today, Day(2026, 12, 9), 100);
        EXPECT_EQ(choice.Sfu, 140);
        EXPECT_FALSE(choice.FromCache);
        EXPECT_EQ(Joined(choice.Messages), "");
        EXPECT_EQ(fresh.Requests(Product::Outlook), 1);

        const CacheRead kept = ProductCache(folder.Path()).Read(CacheFileName(Product::Outlook));
        ASSERT_TRUE(kept.Copy) << kept.Problem;
        EXPECT_EQ(kept.Copy->FetchedAt, Noon());
        EXPECT_EQ(kept.Copy->Body, ProductFixture(Product::Outlook));
    }
}

// Offline, the old copy answers and says how old it is.
TEST_F(ProductCacheTest, OfflineTheOldCopyAnswersWithItsAge)
{
    KeepOutlook(48h + 30min);
    service.Failures[FakeService::UrlOf(Product::Outlook)] = "Could not resolve host: noaa.test";
    SolarProducts products(FakeSettings(service, folder.Path()));
    const FluxChoice choice = FluxForDate(products, Today, Day(2026, 12, 9), 100);
    EXPECT_EQ(choice.Sfu, 111);
    EXPECT_EQ(choice.Source, FluxSource::Outlook);
    EXPECT_TRUE(choice.FromCache);
    EXPECT_EQ(choice.Age, 48h + 30min);
    EXPECT_EQ(Joined(choice.Messages),
              "27-day outlook: could not download it from http://noaa.test: Could not resolve host: noaa.test\n"
              "27-day outlook: the copy fetched 2026-12-08 11:30 UTC answers (2 days old)\n");
    EXPECT_EQ(DescribeSource(choice), "NOAA 27-day outlook issued 7 Dec 2026, cached copy 2 days old");
    // The copy is left as it was.
    EXPECT_EQ(ProductCache(folder.Path()).Read(CacheFileName(Product::Outlook)).Copy->FetchedAt, Noon() - 48h - 30min);
}

// A damaged copy is never used: with the service it is replaced, without it
// there is no outlook.
TEST_F(ProductCacheTest, ADamagedCopyIsIgnored)
{
    auto flipLastByte = [](std::string text) {
        text.back() ^= 1;
        return text;
    };
    struct Case {
        const char* name;
        std::function<std::string(const std::string& file)> damage;
        std::string problem;
    };
    const Case cases[] = {
        {"not a cached copy", [](const std::string&) { return std::string("2026 Dec 10     140\n"); },
         "its first line is not a cached copy's"},
        {"a broken first line",
         [](const std::string& f) { return "ORVELA-CACHE 1 yesterday" + f.substr(f.find('\n')); },
         "its first line is not a cached copy's"},
        {"cut short", [](const std::string& f) { return f.substr(0, f.size() - 10); }, "it holds "},
        {"a byte changed", flipLastByte, "its checksum differs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeepOutlook(1h);
        const std::string damaged = c.damage(FileText(OutlookPath()));
        std::ofstream(OutlookPath(), std::ios::binary | std::ios::trunc) << damaged;
        const std::string message =
            "27-day outlook: the cached copy " + OutlookPath() + " is damaged and was ignored: ";

        FakeService offline;
        offline.Failures[FakeService::UrlOf(Product::Outlook)] = "timed out";
        SolarProducts without(FakeSettings(offline, folder.Path()));
        const ProductCopy& none = without.Get(Product::Outlook);
        EXPECT_FALSE(none.Ok());
        ASSERT_EQ(none.Messages.size(), 2u);
        EXPECT_EQ(none.Messages[0].rfind(message, 0), 0u) << none.Messages[0];
        EXPECT_NE(none.Messages[0].find(c.problem, message.size()), std::string::npos) << none.Messages[0];

        FakeService online;
        SolarProducts with(FakeSettings(online, folder.Path()));
        const ProductCopy& copy = with.Get(Product::Outlook);
        EXPECT_TRUE(copy.Ok());
        EXPECT_FALSE(copy.FromCache);
        ASSERT_EQ(copy.Messages.size(), 1u);
        EXPECT_EQ(copy.Messages[0].rfind(message, 0), 0u) << copy.Messages[0];
        EXPECT_NE(copy.Messages[0].find(c.problem, message.size()), std::string::npos) << copy.Messages[0];
        EXPECT_TRUE(ProductCache(folder.Path()).Read(CacheFileName(Product::Outlook)).Copy) << "replaced";
    }

    // A sound copy of something that is not the outlook.
    KeepOutlook(1h, "<html><body>Service Unavailable</body></html>\n");
    service.Failures[FakeService::UrlOf(Product::Outlook)] = "timed out";
    SolarProducts products(FakeSettings(service, folder.Path()));
    const ProductCopy& none = products.Get(Product::Outlook);
    EXPECT_FALSE(none.Ok());
    EXPECT_EQ(Joined(none.Messages), "27-day outlook: the cached copy " + OutlookPath() +
                                         " is damaged and was ignored: an HTML page, not the product: "
                                         "\"<html><body>Service Unavailable</body></html>\\x0a\"\n"
                                         "27-day outlook: could not download it from http://noaa.test: timed out\n");
}

// What stands where the copy should is refused before a byte is read: a
// named pipe without a writer (the reader does not wait for one), a folder,
// and a file larger than any product with a head, with its size. One byte
// less is read, and then judged by its content.
TEST_F(ProductCacheTest, WhatIsNoFileOrTooLargeIsRefusedUnread)
{
    const ProductCache cache(folder.Path().string());
    const std::string_view name = CacheFileName(Product::Outlook);
    const std::size_t limit = MaxProductBytes + 4096;
    const struct {
        const char* name;
        std::function<void(const std::string& path)> make;
        std::string problem;
    } cases[] = {
        {"a named pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "it is not a file but a named pipe"},
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); },
         "it is not a file but a folder"},
        {"too large",
         [&](const std::string& p) {
             std::ofstream(p, std::ios::binary).put('x');
             std::filesystem::resize_file(p, limit + 1);
         },
         "it is larger than any product (" + std::to_string(limit + 1) + " bytes)"},
        {"at the limit",
         [&](const std::string& p) {
             std::ofstream(p, std::ios::binary).put('x');
             std::filesystem::resize_file(p, limit);
         },
         "its first line is not a cached copy's"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(OutlookPath());
        c.make(OutlookPath());
        const CacheRead read = cache.Read(name);
        EXPECT_FALSE(read.Copy);
        EXPECT_EQ(read.Problem, c.problem);
    }
}

// A copy from another address (a mirror, a test server) is not this one's.
TEST_F(ProductCacheTest, ACopyOfAnotherAddressIsNotUsed)
{
    KeepOutlook(1h, OlderOutlook(), "http://mirror.test/text/27-day-outlook.txt");
    SolarProducts products(FakeSettings(service, folder.Path()));
    EXPECT_EQ(FluxForDate(products, Today, Day(2026, 12, 9), 100).Sfu, 140);
    EXPECT_EQ(service.Requests(Product::Outlook), 1);
}

TEST_F(ProductCacheTest, ACopyThatCannotBeKeptIsSaid)
{
    const std::filesystem::path blocked = folder.Path() / "a-file";
    std::ofstream(blocked) << "not a folder\n";
    SolarProducts products(FakeSettings(service, blocked / "orvela"));
    const ProductCopy& copy = products.Get(Product::Outlook);
    EXPECT_TRUE(copy.Ok());
    ASSERT_EQ(copy.Messages.size(), 1u);
    EXPECT_EQ(copy.Messages[0].rfind("27-day outlook: could not keep a copy: cannot make the folder " +
                                         (blocked / "orvela").string() + ": ",
                                     0),
              0u)
        << copy.Messages[0];
}

// Sets an environment variable for the life of the object, or unsets it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DefaultCacheFolder, FollowsXdg)
{
    struct Case {
        const char* xdg;
        const char* home;
        std::string folder;
    };
    for (const Case& c :
         {Case{"/var/cache/me/", "/home/me", "/var/cache/me/orvela"},
          Case{"relative/cache", "/home/me", "/home/me/.cache/orvela"}, Case{"", "/home/me/", "/home/me/.cache/orvela"},
          Case{nullptr, "/home/me", "/home/me/.cache/orvela"}}) {
        const ScopedVariable xdg("XDG_CACHE_HOME", c.xdg);
        const ScopedVariable home("HOME", c.home);
        EXPECT_EQ(DefaultCacheFolder(), c.folder) << (c.xdg ? c.xdg : "(unset)");
    }
}

} // namespace
} // namespace orvela::solar
