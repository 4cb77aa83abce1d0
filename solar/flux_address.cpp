// The bulletin's address and the words the program uses about it.
#include "solar/geoalert.h"

#ifndef ORVELA_FLUX_URL
#error "ORVELA_FLUX_URL must be defined by the build"
#endif

namespace orvela::solar {

const char* DefaultFluxUrl()
{
    return ORVELA_FLUX_URL;
}

std::string ServiceAddress(const std::string& url)
{
    const std::size_t scheme = url.find("://");
    if (scheme == std::string::npos)
        return url;
    const std::size_t hostStart = scheme + 3;
    std::size_t hostEnd = url.find_first_of("/?#", hostStart);
    if (hostEnd == std::string::npos)
        hostEnd = url.size();
    // Never show a user name or password written into the address.
    std::size_t from = hostStart;
    const std::size_t at = url.rfind('@', hostEnd);
    if (at != std::string::npos && at >= hostStart)
        from = at + 1;
    return url.substr(0, hostStart) + url.substr(from, hostEnd - from);
}

std::string FailureMessage(const std::string& url)
{
    return "Could not download Geophysical Alert Message wwv.txt from " + ServiceAddress(url);
}

} // namespace orvela::solar
