// The coverage drawn over the day/night map: each grid point a cell of the
// step's size coloured by its signal level, the home station, a legend and
// a caption. Drawn with Cairo.
#pragma once

#include "coverage/area_coverage.h"
#include "map/compositor.h"
#include "engine/bands.h"
#include "coverage/level_classes.h"
#include "map/picture.h"

#include <array>
#include <string>
#include <vector>

namespace orvela::area {

// What the caption says.
struct MapCaption {
    TableBand Band;
    UtcDateTime Moment;
    ld Flux = 0;
    ld HomeLatDeg = 0;
    ld HomeLonDeg = 0; // positive west
    int PowerDbw = 0;
    int GainTable = 0; // 0 isotropic, 1 dipole, 2 Yagi
    bool LongPath = false;
    std::string EmptyReason; // why no point has a path, when none has
};

// The caption's lines: band and moment; flux and home; power and antenna
// (and the long path when it is asked for); then the reason why no point
// has a path, when none has, broken between words into lines of at most
// CaptionNoteChars characters.
std::vector<std::string> CaptionLines(const MapCaption& caption);
inline constexpr std::size_t CaptionNoteChars = 80;

// The built-in day/night map shaded for the moment, composed 512 pixels wide
// and scaled smoothly to `width` (its height is half of it), with the
// coverage, the home station, the legend and the caption drawn over it.
// Throws PictureError when the built-in pictures cannot be read, and
// std::bad_alloc when the memory runs out. Cairo's and fontconfig's font
// caches are released before it returns: a program draws one such picture.
Picture24 DrawCoverageMap(const Coverage& c, const MapCaption& caption, int width);

} // namespace orvela::area
