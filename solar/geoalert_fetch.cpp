// Downloading the Geophysical Alert Message with libcurl linked in, parsing
// the body while it arrives.
#include "solar/geoalert.h"
#include "solar/http_get.h"

namespace orvela::solar {

GeoAlert GetSolarFlux(const std::string& url, const FetchOptions& options)
{
    GeoAlertParser parser;
    const TransferResult transfer = HttpGet(
        url, options,
        [](void* context, const char* bytes, std::size_t size) {
            return static_cast<GeoAlertParser*>(context)->Feed(std::string_view(bytes, size));
        },
        &parser);
    // A failed transfer fails the download even when what arrived would
    // parse; a transfer the parser ended gives the parser's reason.
    if (transfer.End == TransferEnd::Failed)
        return GeoAlert{false, "", 0, transfer.Problem};
    return parser.Finish();
}

} // namespace orvela::solar
