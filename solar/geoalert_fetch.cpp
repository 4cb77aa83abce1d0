// Downloading the Geophysical Alert Message with libcurl linked in, parsing
// the body while it arrives.
#include "solar/geoalert.h"
#include "solar/http_get.h"

namespace orvela::solar {

namespace {

GeoAlert Download(const std::string& url, const FetchOptions& options, const TransferCancel* cancel)
{
    GeoAlertParser parser;
    const TransferResult transfer = HttpGet(
        url, options,
        [](void* context, const char* bytes, std::size_t size) {
            return static_cast<GeoAlertParser*>(context)->Feed(std::string_view(bytes, size));
        },
        &parser, cancel);
    // A failed or cancelled transfer fails the download even when what
    // arrived would parse; a transfer the parser ended gives the parser's
    // reason.
    if (transfer.End == TransferEnd::Failed || transfer.End == TransferEnd::Cancelled)
        return GeoAlert{false, "", 0, transfer.Problem};
    return parser.Finish();
}

} // namespace

GeoAlert GetSolarFlux(const std::string& url, const FetchOptions& options)
{
    return Download(url, options, nullptr);
}

GeoAlert GetSolarFlux(const std::string& url, const FetchOptions& options, const TransferCancel& cancel)
{
    return Download(url, options, &cancel);
}

} // namespace orvela::solar
