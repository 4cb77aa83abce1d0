// The products' downloads with libcurl linked in, as the window downloads.
#include "solar/http_get.h"
#include "solar/solar_products.h"

namespace orvela::solar {

Transport LinkedTransport()
{
    return [](const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context,
              const TransferCancel* cancel) { return HttpGet(url, options, receive, context, cancel); };
}

} // namespace orvela::solar
