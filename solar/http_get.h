// One HTTP GET of the bulletin with libcurl, its body handed on as it
// arrives. The download linked into the window and the network module both
// rest on it, so that the two behave alike.
#pragma once

#include "solar/geoalert.h"
#include "solar/transfer_cancel.h"

#include <cstddef>
#include <string>

namespace orvela::solar {

enum class TransferEnd {
    Complete,  // the whole body of a 2xx reply was received
    Stopped,   // the receiver ended the transfer
    Failed,    // no 2xx reply, or the transfer failed
    Cancelled, // another thread cancelled it
};

struct TransferResult {
    TransferEnd End = TransferEnd::Complete;
    std::string Problem; // why it failed, one line; empty otherwise
};

// Gets each part of the body, decoded; false ends the transfer.
using BodyReceiver = bool (*)(void* context, const char* bytes, std::size_t size);

// The request of GetSolarFlux. Only the body of a 2xx reply reaches the
// receiver: an error status fails the transfer ("HTTP status 404"), whatever
// its body holds. A transfer given `cancel` ends as soon as it is cancelled.
// Thread-safe.
TransferResult HttpGet(const std::string& url, const FetchOptions& options, BodyReceiver receive, void* context,
                       const TransferCancel* cancel = nullptr);

} // namespace orvela::solar
