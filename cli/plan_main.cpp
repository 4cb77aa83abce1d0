// orvela-plan: who can be worked, on which band, when: every DXCC entity, or
// the call signs, prefixes and locators given, against the 24 UTC hours of a
// date, as a chart, CSV or JSON.
#include "cli/date_flux.h"
#include "cli/flux_download.h"
#include "cli/plan_command_line.h"
#include "common/civil_time.h"
#include "common/whole_file.h"
#include "country/country_file.h"
#include "country/country_file_location.h"
#include "planner/plan_export.h"

#include <ctime>
#include <iostream>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace {

using namespace orvela;

constexpr const char* Program = "orvela-plan";

// A run that cannot go on, told to the user in one line.
struct Failure {
    std::string Why;
};

// The country file asked for, or the one found on the machine. Without one,
// a plan of every entity cannot be made; entries then resolve only as
// locators, and each call sign says why it did not.
std::optional<country::CountryFile> CountryFileOf(const plancli::PlanRequest& req)
{
    const country::CountryFileSearch search = country::SearchOfThisProcess();
    if (req.CountryFile.empty()) {
        const country::CountryFileLocation where = country::LocateCountryFile(search);
        if (where.Path.empty()) {
            if (req.Targets == "dxcc") {
                throw Failure{where.Problem};
            }
            return std::nullopt;
        }
    }
    country::CountryFileResult read = country::ReadLocatedCountryFile(req.CountryFile, search);
    if (!read.File) {
        throw Failure{read.Problem};
    }
    if (!read.Warning.empty()) {
        std::cerr << read.Warning << '\n';
    }
    return std::move(read.File);
}

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<planner::Target> TargetsOf(const plancli::PlanRequest& req, const country::CountryFile* file)
{
    if (req.Targets == "dxcc") {
        return planner::EntityTargets(*file);
    }
    std::string list = req.Targets;
    if (IsRegularFile(req.Targets)) {
        const WholeFile read = ReadWholeFile(req.Targets, country::MaxFileBytes);
        if (read.TooLarge) {
            throw Failure{req.Targets + ": too large for a list of targets"};
        }
        if (read.Error != 0) {
            throw Failure{req.Targets + ": " + read.Problem()};
        }
        list = read.Bytes;
    }
    const std::vector<std::string> entries = planner::SplitEntries(list);
    if (entries.empty()) {
        throw Failure{"--targets gives no call sign, prefix or locator"};
    }
    return planner::EntryTargets(file, entries);
}

std::string Run(const plancli::PlanRequest& req)
{
    const std::optional<country::CountryFile> file = CountryFileOf(req);
    std::vector<planner::Target> targets = TargetsOf(req, file ? &*file : nullptr);

    const std::time_t now = std::time(nullptr);
    planner::PlanInputs in;
    in.HomeLatDeg = req.Station.Latitude;
    in.HomeLonWestDeg = req.Station.Longitude;
    in.Power = req.Station.Power;
    in.GainTable = req.Station.GainTable;
    in.MinAngle = req.Station.MinAngle;
    in.LongPath = req.Station.Path;
    in.Date = req.Date.value_or(LocalDateOf(now));
    in.Band = req.Band;
    if (req.FluxAuto) {
        // The flux of the prediction's date, as orvela-predict picks it.
        cli::DateFluxPicker picker(cli::CommandLineProducts(req.FluxUrl, req.ServiceUrl), cli::DownloadFlux, std::cerr);
        in.Flux = picker.Pick(in.Date, LocalDateOf(now)).Origin.Sfu;
    } else {
        in.Flux = req.Flux;
    }

    const planner::Plan plan = planner::ComputePlan(in, std::move(targets), req.Threads);
    planner::RowFilter filter;
    filter.Search = req.Search;
    filter.OpenAtHour = req.OpenNow ? std::optional<int>(ToUtcDateTime(now).Hour) : req.OpenAtHour;
    const std::vector<std::size_t> rows = planner::VisibleRows(plan, req.Sort, filter);
    const planner::PlanCaption caption{
        req.Station.CallSign == StoredDefaults().Station.CallSign ? std::string() : req.Station.CallSign};
    switch (req.Format) {
    case plancli::OutputFormat::Text: return planner::PlanChart(plan, rows, caption);
    case plancli::OutputFormat::Csv: return planner::PlanCsv(plan, rows, caption);
    case plancli::OutputFormat::Json: return planner::PlanJson(plan, rows, caption);
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvela::plancli;

    const PlanCommandLine cl = ParsePlanCommandLine(argc, argv);
    if (const std::optional<int> status = orvela::cli::AnswerHelpOrRefusal(Program, cl, &PlanHelpText)) {
        return *status;
    }
    try {
        return orvela::cli::WriteOutput(Program, Run(cl.Req));
    } catch (const Failure& f) {
        return orvela::cli::ReportRefusal(Program, f.Why);
    } catch (const std::bad_alloc&) {
        return orvela::cli::ReportRefusal(Program, "not enough memory for the plan");
    }
}
