// The country file: reading the whole of Debian's cty.dat (hamradio-files,
// about 27,000 aliases), goal at most 20 ms, and looking a call sign up in
// it, goal at most 2 microseconds. Skipped where the package is not
// installed.
#include "country/call_lookup.h"
#include "country/country_file.h"
#include "country/country_file_location.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

using namespace orvela::country;

void BM_ReadCountryFile(benchmark::State& state)
{
    std::size_t aliases = 0;
    for (auto _ : state) {
        const CountryFileResult r = ReadCountryFile(PackageCountryFile);
        if (!r.File) {
            state.SkipWithError(r.Problem.c_str());
            return;
        }
        aliases = r.File->Aliases().size();
        benchmark::DoNotOptimize(r.File->Entities().data());
    }
    state.counters["aliases"] = static_cast<double>(aliases);
}
BENCHMARK(BM_ReadCountryFile)->Unit(benchmark::kMillisecond);

// One look-up, averaged over call signs of every kind: a plain call, an
// exact call, a suffix set aside, a prefix before and after the call, a
// new call area, and a call with no entity.
void BM_LookUpCall(benchmark::State& state)
{
    const CountryFileResult r = ReadCountryFile(PackageCountryFile);
    if (!r.File) {
        state.SkipWithError(r.Problem.c_str());
        return;
    }
    const std::string calls[] = {"JA1ABC",   "W1ABC/6", "VE3XYZ/2",  "DL/W1ABC",   "K1ABC/KH6",
                                 "F5ABC/P",  "4U1A",    "G4ABC/QRP", "VK9XY",      "UA0YAB",
                                 "W1ABC/MM", "Q1ABC",   "ja1abc/m",  "PY2ABC/QRP", "3D2RR"};
    std::size_t i = 0;
    for (auto _ : state) {
        const CallLookup found = LookUpCall(*r.File, calls[i]);
        benchmark::DoNotOptimize(found.Found);
        i = (i + 1) % std::size(calls);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_LookUpCall)->Unit(benchmark::kMicrosecond);

} // namespace
