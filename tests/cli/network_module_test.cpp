// orvela-predict downloads through the network module, looked for beside the
// program and then in the installed place relative to it. A copy of the
// program in a tree of its own shows both: without the module, and with the
// module where an installation puts it.
#include "tests/cli/child_process.h"
#include "tests/support/http_test_server.h"
#include "tests/support/test_paths.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using orvela::child::Outcome;
using orvela::solar::testing::ClosedPort;
using orvela::solar::testing::HttpTestServer;
using orvela::solar::testing::Reply;
using orvela_test::NewYorkText;
using orvela_test::ParisText;

const std::string ModuleFile = fs::path(ORVELA_FETCH_MODULE_PATH).filename().string();

class ProgramElsewhere : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = scratch_.Path();
        fs::create_directories(root_ / ORVELA_INSTALL_BINDIR);
        program_ = root_ / ORVELA_INSTALL_BINDIR / "orvela-predict";
        fs::copy_file(ORVELA_PREDICT_PATH, program_);
    }

    // The products after the bulletin are asked at `service` when it fails.
    Outcome Run(const std::string& url, const std::string& service = "http://127.0.0.1:9")
    {
        return orvela::child::RunProgram(program_.c_str(),
                                         {"--home", ParisText, "--remote", NewYorkText, "--flux", "auto", "--flux-url",
                                          url, "--service-url", service, "--format", "json"});
    }

    orvela_test::ScratchFolder scratch_{"orvela-module"};
    fs::path root_;
    fs::path program_;
};

TEST_F(ProgramElsewhere, WithoutTheModuleTheDownloadFailsNamingWhereItLooked)
{
    const ClosedPort closed;
    const std::string origin = closed.Origin();
    const Outcome o = Run(origin + "/text/wwv.txt", origin);

    EXPECT_EQ(o.Status, 0) << o.Err;
    const std::string message = "Could not download Geophysical Alert Message wwv.txt from " + origin;
    const std::string besideTheProgram = (root_ / ORVELA_INSTALL_BINDIR / ModuleFile).string();
    const std::string installed = (root_ / ORVELA_FETCH_MODULE_DIR / ModuleFile).string();
    EXPECT_EQ(o.Err.rfind(message + ": the network module could not be loaded: " + besideTheProgram + ": ", 0), 0u)
        << o.Err;
    EXPECT_NE(o.Err.find("; " + installed + ": "), std::string::npos) << o.Err;
    // Then the products that follow the bulletin for today, which fail alike,
    // and the flux of 100.
    EXPECT_NE(o.Err.find("\n27-day outlook: could not download it from " + origin + ": the network module"),
              std::string::npos)
        << o.Err;
    const Json j = Json::parse(o.Out);
    EXPECT_EQ(j["solar"]["error"], message);
    EXPECT_EQ(j["flux"]["source"], "default");
    EXPECT_FALSE(j["solar"].contains("flux"));
    EXPECT_EQ(j["h2"][0], "Solar flux at 10.7cm : 100.0");
}

TEST_F(ProgramElsewhere, FindsTheModuleWhereItIsInstalled)
{
    fs::create_directories(root_ / ORVELA_FETCH_MODULE_DIR);
    fs::copy_file(ORVELA_FETCH_MODULE_PATH, root_ / ORVELA_FETCH_MODULE_DIR / ModuleFile);
    HttpTestServer server(
        Reply(200, ":Issued: 2026 Dec 10 0305 UTC\nSolar flux 143 and estimated planetary A-index 5.\n"));

    const Outcome o = Run(server.Url("/text/wwv.txt"));
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(o.Err, "");
    const Json j = Json::parse(o.Out);
    EXPECT_EQ(j["solar"]["flux"], 143);
    EXPECT_EQ(j["h2"][0], "Solar flux at 10.7cm : 143.0");
}

} // namespace
