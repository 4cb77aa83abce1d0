// libFuzzer target for a line of orvela-predict --batch: any line, as the
// batch reads it, gives the request of a prediction or a refusal, never a
// crash nor an exception; a request holds only what the command line would
// accept, and a refusal is one line that says why.
#include "cli/batch_line.h"
#include "station/call_sign.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using orvela::cli::CommandLine;
using orvela::cli::Request;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "batch line fuzz: %s\n", what);
        std::abort();
    }
}

bool Within(long double v, long double low, long double high)
{
    return std::isfinite(v) && v >= low && v <= high;
}

void CheckRequest(const Request& r)
{
    const orvela::Settings& s = r.Station;
    Check(Within(s.Latitude, -90, 90) && Within(s.Longitude, -180, 180), "the home position is on the globe");
    Check(Within(r.Remote.LatDeg, -90, 90) && Within(r.Remote.LonWestDeg, -180, 180),
          "the remote point is on the globe");
    Check(r.FluxAuto || Within(r.Flux, 1, 500), "the flux is 1 to 500");
    Check(s.Power >= 5 && s.Power <= 2500, "the power is 5 to 2500");
    Check(s.MinAngle >= 0 && s.MinAngle <= 90, "the minimum angle is 0 to 90");
    Check(Number(s.GainTable) >= 0 && Number(s.GainTable) <= 2, "the antenna is one of three");
    Check(Number(s.Display) >= 1 && Number(s.Display) <= 4, "the display is one of four");
    Check(!orvela::CallSignProblem(s.CallSign).has_value(), "the call sign is printable text");
    Check(!r.Date || (r.Date->Year >= 1 && r.Date->Year <= 9999 && r.Date->Month >= 1 && r.Date->Month <= 12 &&
                      r.Date->Day >= 1 && r.Date->Day <= 31),
          "the date is a day of the calendar");
    Check(r.FluxUrl.empty(), "a line does not give the bulletin's address");
    Check(r.Format == orvela::cli::OutputFormat::Text, "a line does not give the output format");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first line of the input, without its line end, as the batch reads
    // it.
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bytes = bytes.substr(0, bytes.find('\n'));
    if (!bytes.empty() && bytes.back() == '\r') {
        bytes.remove_suffix(1);
    }
    const std::string line(bytes);

    CommandLine cl;
    try {
        cl = orvela::cli::ReadBatchLine(line);
    } catch (...) {
        Check(false, "a line never throws");
    }
    if (cl.What == CommandLine::Action::Predict) {
        Check(cl.Error.empty(), "a request has no refusal");
        CheckRequest(cl.Req);
    } else {
        Check(cl.What == CommandLine::Action::Refuse, "a line gives a request or a refusal");
        Check(!cl.Error.empty(), "a refusal says why");
        Check(cl.Error.find_first_of("\r\n") == std::string::npos, "a refusal is one line");
    }

    // The same line, read again, gives the same answer.
    const CommandLine again = orvela::cli::ReadBatchLine(line);
    Check(again.What == cl.What && again.Error == cl.Error, "a line is read the same every time");
    return 0;
}
