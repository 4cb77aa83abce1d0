// Where the country file is found. Debian's package hamradio-files installs
// it as /usr/share/hamradio-files/cty.dat and brings a new one with each of
// its releases; the file itself is published anew every month or so
// (country-files.com). A cty.dat that the user puts in Orvela's folder
// under the data home takes precedence:
//   $XDG_DATA_HOME/orvela/cty.dat, or ~/.local/share/orvela/cty.dat when
//   XDG_DATA_HOME is unset, empty or not an absolute path (the XDG Base
//   Directory rule).
// The environment is handed in, so that nothing here reads it behind the
// caller's back.
#pragma once

#include "country/country_file.h"

#include <string>

namespace orvela::country {

inline constexpr const char* PackageCountryFile = "/usr/share/hamradio-files/cty.dat";

struct CountryFileSearch {
    std::string XdgDataHome; // the value of XDG_DATA_HOME, empty when unset
    std::string Home;        // the value of HOME, empty when unset
    std::string PackageFile = PackageCountryFile;
};

// The search with XDG_DATA_HOME and HOME of this process.
CountryFileSearch SearchOfThisProcess();

// The user's own country file, where it would be; empty when neither
// XDG_DATA_HOME nor HOME gives an absolute folder.
std::string UserCountryFile(const CountryFileSearch& search);

struct CountryFileLocation {
    std::string Path;    // the file to read; empty when none was found
    std::string Why;     // one line: why this one
    std::string Problem; // one line when none was found: where it was looked for and what to do
};

// The user's file when there is one, else the package's. A path that exists
// but is not a file (a folder, say) is passed over.
CountryFileLocation LocateCountryFile(const CountryFileSearch& search);

// The file `path` names, or else the one LocateCountryFile finds, read
// whole; when none is found, the refusal says where it was looked for. A
// user's own file that is refused (a download cut short, an edit gone
// wrong) does not leave the user without calls: the package's file is read
// instead, and Warning says why the user's was passed over.
CountryFileResult ReadLocatedCountryFile(const std::string& path, const CountryFileSearch& search);

} // namespace orvela::country
