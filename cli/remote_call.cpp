#include "cli/remote_call.h"

#include "country/call_lookup.h"
#include "country/country_file_location.h"

#include <iostream>

namespace orvela::cli {

CountryFileSource::CountryFileSource(std::string path)
    : path_(std::move(path))
{
}

const country::CountryFile* CountryFileSource::Get(std::string& problem)
{
    std::call_once(once_, [this] {
        result_ = country::ReadLocatedCountryFile(path_, country::SearchOfThisProcess());
        if (!result_.Warning.empty()) {
            std::cerr << result_.Warning << '\n';
        }
    });
    if (!result_.File) {
        problem = result_.Problem;
        return nullptr;
    }
    return &*result_.File;
}

std::optional<std::string> ResolveRemoteCall(Request& req, CountryFileSource& countryFile)
{
    if (req.RemoteCall.empty()) {
        return std::nullopt;
    }
    std::string problem;
    const country::CountryFile* file = countryFile.Get(problem);
    if (file == nullptr) {
        return "--remote-call: " + problem;
    }
    const country::CallLookup found = country::LookUpCall(*file, req.RemoteCall);
    if (!found.Found) {
        return "--remote-call: " + found.Problem;
    }
    const country::CallEntity& e = *found.Found;
    req.Remote.LatDeg = e.LatDeg;
    req.Remote.LonWestDeg = e.LonWestDeg;
    req.RemoteEntityFound = RemoteEntity{e.Name, e.PrimaryPrefix, e.CqZone, e.ItuZone, e.Continent};
    return std::nullopt;
}

} // namespace orvela::cli
