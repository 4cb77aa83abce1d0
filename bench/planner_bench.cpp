// The planner's whole table: every DXCC entity of Debian's cty.dat
// (hamradio-files; the tests' small country file where the package is not
// installed) from Paris, all nine amateur bands, the 24 hours of a December
// day, on every core. Goal: at most 150 ms on the 2-core development
// machine, so that the planner window follows a change at once.
#include "country/country_file.h"
#include "country/country_file_location.h"
#include "planner/plan.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace orvela;
using namespace orvela::planner;

country::CountryFileResult CountryFileForBench()
{
    country::CountryFileResult r = country::ReadCountryFile(country::PackageCountryFile);
    if (!r.File) {
        r = country::ReadCountryFile(std::string(ORVELA_COUNTRY_FIXTURES) + "/cty-small.dat");
    }
    return r;
}

PlanInputs Paris(const std::optional<TableBand>& band)
{
    PlanInputs in;
    in.HomeLatDeg = 48.85L;
    in.HomeLonWestDeg = -2.35L;
    in.GainTable = Antenna::Dipole;
    in.Flux = 120;
    in.Date = {2026, 12, 11};
    in.Band = band;
    return in;
}

void RunPlan(benchmark::State& state, const std::optional<TableBand>& band)
{
    const country::CountryFileResult file = CountryFileForBench();
    if (!file.File) {
        state.SkipWithError(file.Problem.c_str());
        return;
    }
    const std::vector<Target> targets = EntityTargets(*file.File);
    const PlanInputs in = Paris(band);
    for (auto _ : state) {
        const Plan plan = ComputePlan(in, targets, 0);
        benchmark::DoNotOptimize(plan.Rows.data());
    }
    state.counters["targets"] = static_cast<double>(targets.size());
}

void BM_PlanAllBands(benchmark::State& state)
{
    RunPlan(state, std::nullopt);
}
BENCHMARK(BM_PlanAllBands)->Unit(benchmark::kMillisecond)->UseRealTime();

// One band alone: the modes that cannot carry it are left out of each hour.
void BM_PlanOneBand(benchmark::State& state)
{
    RunPlan(state, AmateurBandNamed("20m"));
}
BENCHMARK(BM_PlanOneBand)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
