// The coverage window's picture of an hour: each grid point's cell blended
// over the day/night map pixel by pixel, in the colour of its class.
#pragma once

#include "coverage/area_coverage.h"

#include <cstddef>
#include <cstdint>

namespace orvela::area {

// Blends the cells of `utcHour` over a picture of the whole globe, in place:
// `width` x `height` pixels of 32 bits, 0xAARRGGBB, rows `stride` pixels
// apart. Each pixel takes the cell of the grid point nearest to its centre;
// a cell is blended in the colour of its class at CellAlpha, below the
// sensitivity at BelowAlpha with light diagonal lines six pixels apart, and
// a point without a path leaves its pixels untouched. The pixels blended
// become opaque. Nothing changes before the hour is known.
void BlendCells(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, const CoverageDaySummary& day,
                int utcHour);

} // namespace orvela::area
