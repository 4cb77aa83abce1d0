// orvela-area: the coverage of one band at one hour, from the home station
// to every point of a grid over the globe, as CSV, JSON or a PNG map.
#include "cli/area_command_line.h"
#include "common/atomic_file.h"
#include "common/civil_time.h"
#include "cli/map_command_line.h"
#include "coverage/area_coverage.h"
#include "coverage/empty_map.h"
#include "cli/area_picture.h"
#include "cli/date_flux.h"
#include "cli/flux_download.h"
#include "map/picture_io.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvela;

constexpr const char* Program = "orvela-area";

// A failure of the run, told to the user in one line.
using cli::Failure;

// Writes the text beside its final name, then renames it into place, so
// that a failure leaves neither a partial file nor the temporary one.
void WriteTextFile(const std::string& path, const std::string& text)
{
    if (const int error = WriteFileAtomically(path, text); error != 0) {
        throw Failure{path + ": " + std::strerror(error)};
    }
}

// The flux of the request, or for --flux auto the flux of the moment's date
// as orvela-predict picks it: 100 when no product answers, told on standard
// error.
cli::FluxOrigin RequestedFlux(const areacli::AreaRequest& req)
{
    if (!req.FluxAuto) {
        return cli::GivenFlux(req.Flux, req.FluxTyped);
    }
    const CivilDate today = LocalDateOf(std::time(nullptr));
    cli::DateFluxPicker picker(cli::CommandLineProducts(req.FluxUrl, req.ServiceUrl), cli::DownloadFlux, std::cerr);
    return picker.Pick({req.Moment.Year, req.Moment.Month, req.Moment.Day}, today).Origin;
}

// The JSON output's header: the home station, the moment asked, the band
// and the flux.
area::CoverageHeader HeaderOf(const areacli::AreaRequest& req, const cli::FluxOrigin& flux)
{
    area::CoverageHeader h;
    h.HomeLatDeg = req.Station.Latitude;
    h.HomeLonDeg = req.Station.Longitude;
    h.Utc = IsoMoment(req.Moment);
    h.BandMhz = req.Band.Mhz;
    h.FluxSfu = std::round(static_cast<double>(flux.Sfu) * 10) / 10;
    h.FluxSource = solar::FluxSourceName(flux.Source);
    h.FluxIssued = flux.Issued ? IsoDate(*flux.Issued) : std::string();
    return h;
}

// The CSV output's last line for a flux chosen for the date.
std::string FluxNote(const cli::FluxOrigin& flux)
{
    return flux.Auto ? "# " + cli::FluxStatusLine(flux) + "\n" : std::string();
}

// The PNG map's caption for the coverage at `moment`, with the reason when
// no point has a path.
area::MapCaption CaptionOf(const areacli::AreaRequest& req, const RunInput& in, const cli::FluxOrigin& flux,
                           const UtcDateTime& moment, const std::string& emptyReason)
{
    area::MapCaption caption;
    caption.Band = req.Band;
    caption.Date = DateOf(moment);
    caption.Hour = moment.Hour;
    caption.Minute = moment.Minute;
    caption.Flux = in.Flux;
    caption.HomeLatDeg = req.Station.Latitude;
    caption.HomeLonDeg = req.Station.Longitude;
    caption.PowerDbw = req.Station.Power;
    caption.GainTable = req.Station.GainTable;
    caption.LongPath = req.Station.Path;
    caption.FluxSource = flux.Auto ? flux.Described : std::string();
    caption.EmptyReason = emptyReason;
    return caption;
}

// --all-hours: the band's whole day, each point's path worked out once.
void RunAllHours(const areacli::AreaRequest& req, const RunInput& in, const cli::FluxOrigin& flux)
{
    const std::vector<area::Coverage> day = area::ComputeCoverageDay(in, 1, req.StepDeg, req.Threads);
    std::array<bool, HoursPerDay> empty{};
    for (int h = 0; h < HoursPerDay; ++h) {
        empty[static_cast<std::size_t>(h)] = !area::AnyPath(day[static_cast<std::size_t>(h)]);
    }
    const std::array<std::string, HoursPerDay> reasons = area::EmptyMapReasons(in, 1, req.StepDeg, req.Threads, empty);
    switch (req.Kind) {
    case areacli::OutputKind::Csv: WriteTextFile(req.Out, area::CoverageDayCsv(day, reasons) + FluxNote(flux)); break;
    case areacli::OutputKind::Json:
        WriteTextFile(req.Out, area::CoverageDayJson(HeaderOf(req, flux), day, reasons));
        break;
    case areacli::OutputKind::Png: {
        // All 24 pictures or none: a failure removes those already written.
        std::vector<std::string> written;
        try {
            for (int h = 0; h < HoursPerDay; ++h) {
                UtcDateTime moment = req.Moment;
                moment.Hour = h;
                moment.Minute = 0;
                moment.Second = 0;
                const std::string name = areacli::HourPictureName(req.Out, h);
                WritePng(area::DrawCoverageMap(day[static_cast<std::size_t>(h)], moment,
                                               CaptionOf(req, in, flux, moment, reasons[static_cast<std::size_t>(h)]),
                                               req.Width),
                         name);
                written.push_back(name);
            }
        } catch (...) {
            for (const std::string& name : written) {
                ::unlink(name.c_str());
            }
            throw;
        }
        break;
    }
    }
}

void Run(const areacli::AreaRequest& req)
{
    RunInput in = areacli::MakeAreaRunInput(req);
    const cli::FluxOrigin flux = RequestedFlux(req);
    in.Flux = flux.Sfu;
    if (req.AllHours) {
        RunAllHours(req, in, flux);
        return;
    }
    const area::Coverage coverage = area::ComputeCoverage(in, req.Moment.Hour, 1, req.StepDeg, req.Threads);
    const std::string reason = area::AnyPath(coverage)
                                   ? std::string()
                                   : area::EmptyMapReason(in, req.Moment.Hour, 1, req.StepDeg, req.Threads);
    switch (req.Kind) {
    case areacli::OutputKind::Csv: WriteTextFile(req.Out, area::CoverageCsv(coverage, reason) + FluxNote(flux)); break;
    case areacli::OutputKind::Json:
        WriteTextFile(req.Out, area::CoverageJson(HeaderOf(req, flux), coverage, reason));
        break;
    case areacli::OutputKind::Png:
        WritePng(area::DrawCoverageMap(coverage, req.Moment, CaptionOf(req, in, flux, req.Moment, reason), req.Width),
                 req.Out);
        break;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace orvela::areacli;

    const AreaCommandLine cl = ParseAreaCommandLine(argc, argv);
    if (const std::optional<int> status = cli::AnswerHelpOrRefusal(Program, cl, &AreaHelpText)) {
        return *status;
    }

    return orvela::mapcli::RunPictureProgram(
        Program, [&] { Run(cl.Req); }, "not enough memory for the map");
}
