// orvela-predict: one prediction run from the command line.
#include "command_line.h"
#include "geoalert.h"
#include "loadable_fetch.h"
#include "render.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <ctime>
#include <iostream>
#include <unistd.h>

namespace {

constexpr const char* Program = "orvela-predict";

orvela::cli::Now ReadClock()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    std::tm utc{};
    localtime_r(&t, &local);
    gmtime_r(&t, &utc);
    orvela::cli::Now now;
    now.LocalDate = orvela::CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    now.UtcHour = utc.tm_hour;
    return now;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvela;
    using namespace orvela::cli;

    const CommandLine cl = ParseCommandLine(argc, argv);
    if (cl.What == CommandLine::Action::Help) {
        return WriteOutput(Program, HelpText());
    }
    if (cl.What == CommandLine::Action::Refuse) {
        return ReportRefusal(Program, cl.Error);
    }

    RunInput in = MakeRunInput(cl.Req, ReadClock());
    std::optional<SolarReport> solar;
    if (cl.Req.FluxAuto) {
        // As the window does: the bulletin's flux, clamped to 1..500, or 100
        // with the program's message when the download fails. The network
        // module is loaded here, only for a run that downloads.
        SolarReport r;
        r.Url = cl.Req.FluxUrl.empty() ? solar::DefaultFluxUrl() : cl.Req.FluxUrl;
        const solar::GeoAlert alert = solar::GetSolarFluxOnDemand(r.Url);
        if (alert.Ok) {
            r.Ok = true;
            r.Issued = alert.Issued;
            r.Flux = alert.Flux;
            in.Flux = std::clamp<ld>(alert.Flux, 1, 500);
        } else {
            r.Error = solar::FailureMessage(r.Url);
            // The message, then why the download failed.
            std::cerr << r.Error << (alert.Problem.empty() ? "" : ": " + alert.Problem) << std::endl;
            in.Flux = 100;
        }
        r.FluxUsed = in.Flux;
        solar = r;
    }
    const SolarReport* report = solar ? &*solar : nullptr;
    Workspace ws;
    Prediction p;
    ComputeMUF(in, ws, p);

    std::string out;
    switch (cl.Req.Format) {
    case OutputFormat::Text:
        out = RenderText(p, isatty(STDOUT_FILENO) == 1, report);
        break;
    case OutputFormat::Csv:
        out = RenderCsv(p);
        break;
    case OutputFormat::Json:
        out = RenderJson(p, in, report);
        break;
    }
    return WriteOutput(Program, out);
}
