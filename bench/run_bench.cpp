// Cost of one complete prediction run, all 24 hours.
#include "engine/prediction.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvela;

RunInput Input(ld homeLat, ld homeLonW, ld remoteLat, ld remoteLonW, bool longPath)
{
    RunInput in;
    in.Station.Latitude = homeLat;
    in.Station.Longitude = homeLonW;
    in.Station.Path = longPath;
    in.Station.GainTable = Antenna::Dipole;
    in.Station.Display = DisplayFormat::SignalLevel;
    in.Flux = 100;
    in.RemoteLatDeg = remoteLat;
    in.RemoteLonDeg = remoteLonW;
    in.Month = 12;
    in.Day = 10;
    return in;
}

// Each run starts from a fresh workspace, so nothing remembered from an
// earlier run makes it cheaper; the table is reused as on screen.
void RunAllHours(benchmark::State& state, const RunInput& in)
{
    Prediction p;
    for (auto _ : state) {
        Workspace ws;
        ComputeMUF(in, ws, p);
        benchmark::DoNotOptimize(p.Cells[0][1].Text.data());
        benchmark::ClobberMemory();
    }
}

// 48.85 N 2.35 E to 40 N 74 W, short path.
void BM_ComputeMUF(benchmark::State& state)
{
    RunAllHours(state, Input(48.85L, -2.35L, 40, 74, false));
}
BENCHMARK(BM_ComputeMUF);

// 51.5 N 0.12 W to 34 S 151 E, long path.
void BM_ComputeMUF_LongPath(benchmark::State& state)
{
    RunAllHours(state, Input(51.5L, 0.12L, -34, -151, true));
}
BENCHMARK(BM_ComputeMUF_LongPath);

} // namespace

BENCHMARK_MAIN();
