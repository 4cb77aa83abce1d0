// Cost of the day/night map: one composition of the real 512 x 256 pictures,
// and the whole refresh of the map view with the decoding of its pictures.
#include "map/compositor.h"
#include "map/picture_io.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvela;

// A December noon: the terminator crosses both hemispheres at a slant and
// the glyph sits inside the map.
const UtcDateTime Moment{2023, 12, 10, 12, 0, 0};

// The workers do the shading, so wall-clock time is what counts.
void BM_ComposeMap(benchmark::State& state)
{
    const Picture24 day = LoadJpegImage("MAP_DAY");
    const Picture24 night = LoadJpegImage("MAP_NIGHT");
    const Picture24 sun = ResizeNearest(DecodeBmp24(MapResource("SUN_BMP")), 8, 8);
    const Picture8 alpha = ResizeNearest(DecodeBmp8(MapResource("SUN_ALPHA")), 8, 8);
    for (auto _ : state) {
        Picture24 map;
        ComposeMap(day, night, map, Moment, true, sun, alpha, 512);
        benchmark::DoNotOptimize(map.Bytes.data());
    }
}
BENCHMARK(BM_ComposeMap)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Decoding of the four pictures, the 8 x 8 reduction of the glyph and its
// mask, and the composition.
void BM_UpdateMap(benchmark::State& state)
{
    for (auto _ : state) {
        const Picture24 day = LoadJpegImage("MAP_DAY");
        const Picture24 night = LoadJpegImage("MAP_NIGHT");
        const Picture24 sun = ResizeNearest(DecodeBmp24(MapResource("SUN_BMP")), 8, 8);
        const Picture8 alpha = ResizeNearest(DecodeBmp8(MapResource("SUN_ALPHA")), 8, 8);
        Picture24 map;
        ComposeMap(day, night, map, Moment, true, sun, alpha, 512);
        benchmark::DoNotOptimize(map.Bytes.data());
    }
}
BENCHMARK(BM_UpdateMap)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
