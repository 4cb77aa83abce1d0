// Which country file is read: the user's under the data home before the
// package's, with the reason, or a message that says where to put one.
#include "country/country_file_location.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace orvela::country;
namespace fs = std::filesystem;

void Touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA;\n";
}

TEST(CountryFileLocation, TheUsersFileUnderTheDataHomeComesBeforeThePackages)
{
    const orvela_test::ScratchFolder scratch("orvela-country-location");
    const fs::path root = scratch.Path();
    const std::string package = (root / "usr/share/hamradio-files/cty.dat").string();
    Touch(package);
    Touch(root / "xdg/orvela/cty.dat");
    Touch(root / "home/.local/share/orvela/cty.dat");
    fs::create_directories(root / "folder-home/.local/share/orvela/cty.dat");
    const std::string xdg = (root / "xdg").string();
    const std::string home = (root / "home").string();
    const std::string empty = (root / "empty").string();

    const struct {
        const char* what;
        std::string xdgDataHome;
        std::string home;
        std::string chosen;
        std::string why;
    } cases[] = {
        {"XDG_DATA_HOME's", xdg, empty, xdg + "/orvela/cty.dat", "the user's own country file, which takes precedence"},
        {"XDG_DATA_HOME's before HOME's", xdg, home, xdg + "/orvela/cty.dat", "the user's own"},
        {"HOME's without XDG_DATA_HOME", "", home, home + "/.local/share/orvela/cty.dat", "the user's own"},
        {"HOME's when XDG_DATA_HOME is relative", "xdg", home, home + "/.local/share/orvela/cty.dat", "the user's own"},
        {"the package's when the user has none", empty, home, package,
         "the country file of the package hamradio-files: there is no " + empty + "/orvela/cty.dat"},
        {"the package's when the user's is a folder", "", (root / "folder-home").string(), package, "package"},
        {"the package's without a home", "", "", package, "the country file of the package hamradio-files"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CountryFileSearch search;
        search.XdgDataHome = c.xdgDataHome;
        search.Home = c.home;
        search.PackageFile = package;
        const CountryFileLocation found = LocateCountryFile(search);
        EXPECT_EQ(found.Path, c.chosen);
        EXPECT_NE(found.Why.find(c.why), std::string::npos) << found.Why;
        EXPECT_EQ(found.Problem, "");
    }
}

// A user's file that is refused gives way to the package's, with a warning
// naming it; a refused file named by the user, or a refused package file,
// stays refused.
TEST(CountryFileLocation, ARefusedUserFileGivesWayToThePackages)
{
    const orvela_test::ScratchFolder scratch("orvela-country-refused");
    const fs::path root = scratch.Path();
    const std::string package = (root / "package/cty.dat").string();
    Touch(package);
    const fs::path user = root / "xdg/orvela/cty.dat";
    fs::create_directories(user.parent_path());
    std::ofstream(user) << "Japan: 25: 45: AS: 36.40: -138.38: -9.0: JA:\n    JA\n"; // no ';'
    CountryFileSearch search;
    search.XdgDataHome = (root / "xdg").string();
    search.PackageFile = package;

    const CountryFileResult read = ReadLocatedCountryFile({}, search);
    ASSERT_TRUE(read.File.has_value()) << read.Problem;
    EXPECT_NE(read.Warning.find(user.string() + " is refused: line 2"), std::string::npos) << read.Warning;
    EXPECT_NE(read.Warning.find("hamradio-files is read instead"), std::string::npos);

    const CountryFileResult named = ReadLocatedCountryFile(user.string(), search);
    EXPECT_FALSE(named.File.has_value());
    EXPECT_EQ(named.Warning, "");

    std::ofstream(package) << "not a country file\n";
    const CountryFileResult both = ReadLocatedCountryFile({}, search);
    EXPECT_FALSE(both.File.has_value());
    EXPECT_NE(both.Problem.find(user.string() + " is refused: line 2"), std::string::npos) << both.Problem;
}

TEST(CountryFileLocation, SaysWhereToPutAFileWhenThereIsNone)
{
    const orvela_test::ScratchFolder scratch("orvela-country-location");
    const std::string home = scratch.Path().string();
    CountryFileSearch search;
    search.Home = home;
    search.PackageFile = home + "/no-package/cty.dat";
    const CountryFileLocation none = LocateCountryFile(search);
    EXPECT_EQ(none.Path, "");
    EXPECT_EQ(none.Problem, "No country file cty.dat: neither " + home + "/.local/share/orvela/cty.dat nor " + home +
                                "/no-package/cty.dat exists. Install the Debian package hamradio-files, or put a "
                                "cty.dat from country-files.com in " +
                                home + "/.local/share/orvela/");

    search.Home = "";
    EXPECT_EQ(LocateCountryFile(search).Problem, "No country file cty.dat: " + home +
                                                     "/no-package/cty.dat does not exist. Install the Debian package "
                                                     "hamradio-files.");
    EXPECT_EQ(CountryFileSearch().PackageFile, "/usr/share/hamradio-files/cty.dat");
}

} // namespace
