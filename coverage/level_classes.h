// The colour scale of a coverage map, shared by the pictures orvela-area
// draws and the coverage window: classes of 20 dB above the receiver's
// sensitivity, a hatched grey below it, no colour where there is no path.
#pragma once

#include "coverage/area_coverage.h"

#include <array>
#include <cstdint>

namespace orvela::area {

enum class LevelClass { Below, Weak, Fair, Good, Strong, VeryStrong, Count };

// The class of a path's level. Not for a point without a path.
LevelClass ClassOf(const BandResult& r);
LevelClass ClassOf(const CellSummary& c);

// The classes' colours, 0xRRGGBB, and their legend texts.
struct ClassLook {
    std::uint32_t Colour;
    const char* Label;
};
const std::array<ClassLook, static_cast<int>(LevelClass::Count)>& ClassLooks();

// How a cell lies over the map: its colour's opacity, so that the map stays
// readable under it; the class below the sensitivity lighter still, with
// light diagonal lines over it.
inline constexpr double CellAlpha = 0.55;
inline constexpr double BelowAlpha = 0.30;
inline constexpr std::uint32_t HatchColour = 0xFFFFFF;
inline constexpr double HatchAlpha = 0.6;
// The legend's title and its last line.
inline constexpr const char* LegendTitle = "Signal above the receiver's sensitivity";
inline constexpr const char* LegendNoPath = "no colour: no path";

} // namespace orvela::area
