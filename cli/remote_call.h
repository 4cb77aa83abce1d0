// The remote point of a prediction given as a call sign or a prefix
// (--remote-call, the batch key "remote_call"): its DXCC entity looked up in
// the contest country file, and the position the file gives it.
#pragma once

#include "cli/command_line.h"
#include "country/country_file.h"

#include <mutex>
#include <optional>
#include <string>

namespace orvela::cli {

// The country file, read the first time a prediction asks for it: the one
// named by --country-file, or else the user's under the data home or the
// package's. Many threads of a batch may ask at once; one reads.
class CountryFileSource {
public:
    // `path` empty: look for it as the window does.
    explicit CountryFileSource(std::string path = {});

    // The file, or null with the reason in `problem`.
    const country::CountryFile* Get(std::string& problem);

private:
    std::string path_;
    std::once_flag once_;
    country::CountryFileResult result_;
};

// For a request whose remote point is a call sign or a prefix: the entity's
// position (or the matching alias's own, as the file gives it, not cut to
// whole degrees) as the remote point, and the entity named in
// `req.RemoteEntityFound`. Nothing for a request with a position. The
// refusal is one line: no country file, or no entity for the call.
std::optional<std::string> ResolveRemoteCall(Request& req, CountryFileSource& countryFile);

} // namespace orvela::cli
