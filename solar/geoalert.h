// The day's 10.7 cm solar flux from NOAA's Geophysical Alert Message
// (wwv.txt), the plain-text bulletin of the Space Weather Prediction Center.
//
// The bulletin is read in pieces of 1024 bytes, cut from the body in order.
// Every piece must hold "Solar flux" followed by the flux as a whole number;
// the issue date and time follow the word "Issued". A reply that breaks this
// rule, an HTTP status outside 2xx or any transfer error is a failure: the
// caller then says "Could not download ..." (FailureMessage) and carries on
// with a flux of 100.
//
// The parser needs no network library; GetSolarFlux adds the download.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvela::solar {

struct GeoAlert {
    bool Ok = false;
    std::string Issued;  // issue date and time, trimmed (chars <= 32 removed at both ends); empty on failure
    int Flux = 0;        // whole sfu as written in the bulletin; 0 on failure
    std::string Problem; // why it failed, one line for logs and tests; empty on success

    friend bool operator==(const GeoAlert&, const GeoAlert&) = default;
};

// Incremental parser: feed the body as it arrives; it cuts the 1024-byte
// pieces itself, so the result does not depend on how the bytes were
// delivered. One parser reads one reply.
//
// Per piece (its text ends at the first NUL byte):
//   - the first "Issued" starts an issue candidate, the 22 characters after
//     the word and one more character; the issue text becomes the trimmed
//     candidate on every piece, so a piece without "Issued" keeps the last
//     one;
//   - the first "Solar flux" must be there, and the 4 characters after it,
//     trimmed, must be a whole decimal number (optional sign); the flux of
//     the last piece wins.
// An empty body is a failure too.
class GeoAlertParser {
public:
    static constexpr std::size_t PieceSize = 1024;

    GeoAlertParser();

    // False once the reply is known to fail (a piece without "Solar flux",
    // or a flux that is not a whole number): stop reading. Later calls are
    // ignored and return false.
    bool Feed(std::string_view bytes);

    // Processes the last, shorter piece and gives the result.
    GeoAlert Finish();

private:
    bool Piece(std::string_view piece);
    bool Fail(std::string problem);

    std::string pending_;        // start of the current piece, shorter than PieceSize
    std::uint64_t consumed_ = 0; // bytes of the body in the pieces already processed
    std::string issued_;
    int flux_ = 0;
    bool failed_ = false;
    std::string problem_;
};

// The whole body at once: the same result as Feed in any cutting + Finish.
GeoAlert ParseGeoAlert(std::string_view body);

struct FetchOptions {
    long ConnectTimeoutMs = 10000;
    long TotalTimeoutMs = 20000;
};

// Downloads the bulletin at url and parses it while it arrives. A plain GET
// with user agent "ORVELA"; proxies from http_proxy, https_proxy and
// no_proxy; at most 5 redirects, to http and https only; gzip accepted;
// TLS certificates checked against the system store. Reading stops at the
// first piece that fails, so a huge or endless reply costs no memory.
// Thread-safe; blocks until the reply is read or a time-out ends it.
GeoAlert GetSolarFlux(const std::string& url, const FetchOptions& options = {});

class TransferCancel;

// The same, ended at once when `cancel` is cancelled (before or during the
// download): a failure whose Problem says it was cancelled.
GeoAlert GetSolarFlux(const std::string& url, const FetchOptions& options, const TransferCancel& cancel);

// scheme://host[:port] of url: "https://services.swpc.noaa.gov".
std::string ServiceAddress(const std::string& url);

// "Could not download Geophysical Alert Message wwv.txt from " + ServiceAddress(url).
std::string FailureMessage(const std::string& url);

// The bulletin's address this program was built with (ORVELA_FLUX_URL).
const char* DefaultFluxUrl();

} // namespace orvela::solar
