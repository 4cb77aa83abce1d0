// orvela-predict: one prediction run from the command line.
#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/date_flux.h"
#include "cli/flux_download.h"
#include "cli/remote_call.h"
#include "cli/render.h"
#include "common/civil_time.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <unistd.h>

namespace {

constexpr const char* Program = "orvela-predict";

orvela::cli::Now ReadClock()
{
    const std::time_t t = std::time(nullptr);
    orvela::cli::Now now;
    now.LocalDate = orvela::LocalDateOf(t);
    now.UtcHour = orvela::ToUtcDateTime(t).Hour;
    return now;
}

// --batch: the file, or standard input for "-". A file that cannot be
// opened is refused before anything is written.
int RunBatchCommand(const orvela::cli::BatchRequest& batch)
{
    using namespace orvela::cli;
    std::ifstream file;
    std::istream* in = &std::cin;
    if (batch.File != "-") {
        std::error_code ec;
        if (std::filesystem::is_directory(batch.File, ec)) {
            return ReportRefusal(Program, "cannot read " + batch.File + ": it is a directory");
        }
        errno = 0;
        file.open(batch.File, std::ios::binary);
        if (!file) {
            const int e = errno;
            return ReportRefusal(Program,
                                 "cannot read " + batch.File + (e != 0 ? ": " + std::string(std::strerror(e)) : ""));
        }
        in = &file;
    }
    DateFluxPicker flux(CommandLineProducts(batch.FluxUrl, batch.ServiceUrl), DownloadFlux, std::cerr);
    const BatchResult r = RunBatch(*in, std::cout, batch, ReadClock(), flux);
    if (r.WriteFailed) {
        std::cerr << Program << ": cannot write the output" << std::endl;
        return 1;
    }
    if (r.ReadFailed) {
        return ReportRefusal(Program,
                             "cannot read " + (batch.File == "-" ? std::string("standard input") : batch.File));
    }
    return r.BadLine ? 2 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvela;
    using namespace orvela::cli;

    const CommandLine cl = ParseCommandLine(argc, argv);
    if (const std::optional<int> status = AnswerHelpOrRefusal(Program, cl, &HelpText)) {
        return *status;
    }

    if (cl.What == CommandLine::Action::Batch) {
        return RunBatchCommand(cl.Batch);
    }

    Request req = cl.Req;
    CountryFileSource countryFile(req.CountryFile);
    if (std::optional<std::string> why = ResolveRemoteCall(req, countryFile)) {
        return ReportRefusal(Program, *why);
    }
    const RemoteEntity* entity = req.RemoteEntityFound ? &*req.RemoteEntityFound : nullptr;

    const Now now = ReadClock();
    RunInput in = MakeRunInput(req, now);
    FluxOrigin flux = GivenFlux(in.Flux, req.FluxTyped);
    const SolarReport* report = nullptr;
    std::optional<DateFluxPicker> picker;
    if (req.FluxAuto) {
        // As the window does: the flux of the date from the product that
        // covers it, or 100 when none answers.
        picker.emplace(CommandLineProducts(req.FluxUrl, req.ServiceUrl), DownloadFlux, std::cerr);
        const DateFlux chosen = picker->Pick(in.LocalDate, now.LocalDate);
        flux = chosen.Origin;
        report = chosen.Bulletin;
        in.Flux = flux.Sfu;
    }
    Workspace ws;
    Prediction p;
    ComputeMUF(in, ws, p);
    const Reach reach = ReachOf(in, p);

    std::string out;
    switch (req.Format) {
    case OutputFormat::Text: out = RenderText(p, reach, isatty(STDOUT_FILENO) == 1, report, &flux, entity); break;
    case OutputFormat::Csv: out = RenderCsv(p, reach, &flux, entity); break;
    case OutputFormat::Json: out = RenderJson(p, in, reach, report, &flux, entity); break;
    }
    return WriteOutput(Program, out);
}
