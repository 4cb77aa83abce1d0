// Opening the network module: which file is taken, and what a program that
// cannot open one says.
#include "tests/solar/bulletins.h"
#include "tests/support/http_test_server.h"
#include "solar/loadable_fetch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvela::solar {
namespace {

using namespace testing;

const std::string Loading = "the network module could not be loaded: ";
const std::string Missing = "/nonexistent/orvela/liborvela-fetch.so";

struct Refusal {
    const char* name;
    std::string file;
    std::string why; // after "<file>: "
};

// A file that is no module of ours, or of another interface version, is
// refused with its path and the reason; the download fails without a request.
TEST(LoadableFetch, RefusesWhatIsNotTheModuleOfThisInterface)
{
    const std::vector<Refusal> cases = {
        {"Missing", Missing, "cannot open shared object file"},
        {"NotALibrary", ORVELA_SOLAR_FIXTURES "/2025-03-14.txt", "invalid ELF header"},
        {"WithoutTheDownload", ORVELA_STUB_MODULE_WITHOUT_FETCH, "undefined symbol: orvela_fetch_geoalert"},
        {"OtherVersion", ORVELA_STUB_MODULE_VERSION_2, "interface version 2, this program needs 1"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server(Reply(200, Bulletin()));
        LoadableFetch module({c.file});
        for (int call = 0; call < 2; ++call) {
            const GeoAlert alert = module.Get(server.Url("/text/wwv.txt"));
            EXPECT_FALSE(alert.Ok);
            EXPECT_EQ(alert.Problem.rfind(Loading + c.file + ": ", 0), 0u) << alert.Problem;
            EXPECT_NE(alert.Problem.find(c.why), std::string::npos) << alert.Problem;
            EXPECT_EQ(alert.Problem.find('\n'), std::string::npos);
        }
        EXPECT_TRUE(server.Requests().empty());
    }
}

// The files are tried in order: the first good one is used, and when none
// is, each one tried is named, in order.
TEST(LoadableFetch, TakesTheFirstFileThatLoads)
{
    HttpTestServer server(Reply(200, Bulletin("131")));
    const std::string url = server.Url("/text/wwv.txt");

    LoadableFetch found({Missing, ORVELA_STUB_MODULE_VERSION_2, ORVELA_FETCH_MODULE_PATH, Missing});
    EXPECT_EQ(found.Get(url), (GeoAlert{true, "2026 Dec 10 0305 UTC", 131, ""}));
    EXPECT_EQ(server.Requests().size(), 1u);

    LoadableFetch none({Missing, ORVELA_STUB_MODULE_WITHOUT_FETCH});
    const std::string problem = none.Get(url).Problem;
    const std::size_t first = problem.find(Missing + ": ");
    const std::size_t second = problem.find("; " ORVELA_STUB_MODULE_WITHOUT_FETCH ": ");
    EXPECT_EQ(first, Loading.size()) << problem;
    EXPECT_NE(second, std::string::npos) << problem;
    EXPECT_GT(second, first);

    LoadableFetch nowhere({});
    EXPECT_EQ(nowhere.Get(url).Problem.rfind(Loading, 0), 0u);
    EXPECT_EQ(server.Requests().size(), 1u);
}

} // namespace
} // namespace orvela::solar
