#include "country/country_file_location.h"

#include <cstdlib>
#include <sys/stat.h>

namespace orvela::country {

namespace {

std::string Variable(const char* name)
{
    const char* v = std::getenv(name);
    return v == nullptr ? std::string() : std::string(v);
}

bool IsFile(const std::string& path)
{
    struct stat about {};
    return !path.empty() && ::stat(path.c_str(), &about) == 0 && S_ISREG(about.st_mode);
}

} // namespace

CountryFileSearch SearchOfThisProcess()
{
    CountryFileSearch s;
    s.XdgDataHome = Variable("XDG_DATA_HOME");
    s.Home = Variable("HOME");
    return s;
}

std::string UserCountryFile(const CountryFileSearch& search)
{
    if (search.XdgDataHome.starts_with('/')) {
        return search.XdgDataHome + "/orvela/cty.dat";
    }
    if (search.Home.starts_with('/')) {
        return search.Home + "/.local/share/orvela/cty.dat";
    }
    return {};
}

CountryFileLocation LocateCountryFile(const CountryFileSearch& search)
{
    CountryFileLocation found;
    const std::string user = UserCountryFile(search);
    if (IsFile(user)) {
        found.Path = user;
        found.Why = "the user's own country file, which takes precedence over the one of the package hamradio-files";
        return found;
    }
    if (IsFile(search.PackageFile)) {
        found.Path = search.PackageFile;
        found.Why = user.empty() ? "the country file of the package hamradio-files"
                                 : "the country file of the package hamradio-files: there is no " + user;
        return found;
    }
    if (user.empty()) {
        found.Problem = "No country file cty.dat: " + search.PackageFile +
                        " does not exist. Install the Debian package hamradio-files.";
    } else {
        const std::string folder = user.substr(0, user.rfind('/') + 1);
        found.Problem = "No country file cty.dat: neither " + user + " nor " + search.PackageFile +
                        " exists. Install the Debian package hamradio-files, or put a cty.dat from "
                        "country-files.com in " +
                        folder;
    }
    return found;
}

CountryFileResult ReadLocatedCountryFile(const std::string& path, const CountryFileSearch& search)
{
    if (!path.empty()) {
        return ReadCountryFile(path);
    }
    const CountryFileLocation where = LocateCountryFile(search);
    if (where.Path.empty()) {
        CountryFileResult none;
        none.Problem = where.Problem;
        return none;
    }
    CountryFileResult read = ReadCountryFile(where.Path);
    if (read.File || where.Path != UserCountryFile(search) || !IsFile(search.PackageFile)) {
        return read;
    }
    CountryFileResult package = ReadCountryFile(search.PackageFile);
    if (!package.File) {
        return read;
    }
    package.Warning = read.Problem + "; the country file of the package hamradio-files is read instead.";
    return package;
}

} // namespace orvela::country
