// Cost of a coverage map: the 2-degree grid, 91 x 180 = 16,380 paths from
// one home station, for one band at one hour or at all 24, on every core.
// Computing only: nothing is written.
#include "coverage/area_coverage.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace orvela;

// The home station and options of BM_ComputeMUF, so that the two compare:
// 48.85 N 2.35 E, short path, dipole, flux 100, 10 December; 14 MHz at
// 12 UTC.
RunInput BenchmarkInput()
{
    RunInput in;
    in.Station.Latitude = 48.85L;
    in.Station.Longitude = -2.35L;
    in.Station.GainTable = Antenna::Dipole;
    in.Station.Display = DisplayFormat::SignalLevel;
    in.Flux = 100;
    in.Month = 12;
    in.Day = 10;
    in.UtcHour = 12;
    return in;
}

void BM_AreaMap(benchmark::State& state)
{
    const RunInput in = BenchmarkInput();
    const int band = 7;
    const int step = 2;
    std::size_t paths = 0;
    for (auto _ : state) {
        const area::Coverage c = area::ComputeCoverage(in, in.UtcHour, band, step, 0);
        paths = c.Results.size();
        benchmark::DoNotOptimize(c.Results.data());
    }
    state.counters["paths"] = static_cast<double>(paths);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * paths));
}
BENCHMARK(BM_AreaMap)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same grid and band at all 24 hours, each point's path worked out once
// for the day: 393,120 band-hours.
void BM_AreaDay(benchmark::State& state)
{
    const RunInput in = BenchmarkInput();
    const int band = 7;
    const int step = 2;
    std::size_t cells = 0;
    for (auto _ : state) {
        const std::vector<area::Coverage> day = area::ComputeCoverageDay(in, band, step, 0);
        cells = day.size() * day.front().Results.size();
        benchmark::DoNotOptimize(day.data());
    }
    state.counters["cells"] = static_cast<double>(cells);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * cells));
}
BENCHMARK(BM_AreaDay)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
