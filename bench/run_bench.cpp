// Cost of one complete prediction run, all 24 hours, and of the reason a
// run that fills no cell gives.
#include "engine/prediction.h"
#include "engine/reach.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvela;

RunInput Input(ld homeLat, ld homeLonWestDeg, ld remoteLat, ld remoteLonWestDeg, bool longPath)
{
    RunInput in;
    in.Station.Latitude = homeLat;
    in.Station.Longitude = homeLonWestDeg;
    in.Station.Path = longPath;
    in.Station.GainTable = Antenna::Dipole;
    in.Station.Display = DisplayFormat::SignalLevel;
    in.Flux = 100;
    in.RemoteLatDeg = remoteLat;
    in.RemoteLonWestDeg = remoteLonWestDeg;
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

// The reason of a run that fills no cell, worked out after the run itself:
// the model examined again, and once or more with a setting changed. Goal:
// under 16 ms, a frame of the window, so that an empty table still answers
// at once.
void EmptyRunReason(benchmark::State& state, const RunInput& in)
{
    Prediction p;
    Workspace ws;
    ComputeMUF(in, ws, p);
    for (auto _ : state) {
        const Reach reach = ReachOf(in, p);
        benchmark::DoNotOptimize(reach.Reason.data());
    }
}

// 48.85 N 2.35 E to 35.68 N 139.69 E, the long path, isotropic: the path
// alone is to blame, and the power it would take is checked.
void BM_EmptyRunReason_LongPath(benchmark::State& state)
{
    RunInput in = Input(48.85L, -2.35L, 35.68L, -139.69L, true);
    in.Station.GainTable = Antenna::Isotropic;
    EmptyRunReason(state, in);
}
BENCHMARK(BM_EmptyRunReason_LongPath);

// 48.85 N 2.35 E to 80 S 170 E at 10 dBW, 20 degrees and a dipole: each
// setting tried alone, then all together.
void BM_EmptyRunReason_EverySetting(benchmark::State& state)
{
    RunInput in = Input(48.85L, -2.35L, -80, -170, false);
    in.Station.Power = 10;
    in.Station.MinAngle = 20;
    EmptyRunReason(state, in);
}
BENCHMARK(BM_EmptyRunReason_EverySetting);

} // namespace

BENCHMARK_MAIN();
