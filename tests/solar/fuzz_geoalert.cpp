// libFuzzer target for the Geophysical Alert Message parser: any body parses
// without a crash, gives a result that keeps its promises, and gives the
// same result however the body is cut into parts on its way in.
#include "solar/geoalert.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

using orvela::solar::GeoAlert;
using orvela::solar::GeoAlertParser;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "geoalert fuzz: %s\n", what);
        std::abort();
    }
}

bool Blank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const GeoAlert whole = orvela::solar::ParseGeoAlert(body);

    Check(whole.Ok == whole.Problem.empty(), "a failure has a reason, a success none");
    Check(whole.Problem.find('\n') == std::string::npos, "the reason is one line");
    Check(whole.Issued.size() <= 22, "the issue text fits its window");
    Check(whole.Issued.empty() || (!Blank(whole.Issued.front()) && !Blank(whole.Issued.back())),
          "the issue text is trimmed");
    Check(whole.Ok || (whole.Issued.empty() && whole.Flux == 0), "a failure carries no values");
    Check(whole.Flux > -1000 && whole.Flux < 10000, "the flux has at most four characters");

    // Part sizes from the body's own bytes, from 0 to 2100, crossing pieces.
    GeoAlertParser parser;
    std::size_t at = 0;
    for (std::size_t i = 0; at < size; ++i) {
        const std::size_t n = (data[i % size] * 37u + data[(i * 7 + 3) % size] * 11u + i) % 2101u;
        const std::size_t take = n < size - at ? n : size - at;
        parser.Feed(body.substr(at, take));
        at += take;
    }
    Check(parser.Finish() == whole, "the result does not depend on the cutting");
    return 0;
}
