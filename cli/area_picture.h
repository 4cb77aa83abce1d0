// The coverage drawn over the day/night map: each grid point a cell of the
// step's size coloured by its signal level, the home station, a legend and
// a caption. Drawn with Cairo.
#pragma once

#include "coverage/area_coverage.h"
#include "coverage/map_caption.h"
#include "map/compositor.h"
#include "engine/bands.h"
#include "coverage/level_classes.h"
#include "map/picture.h"

#include <array>
#include <string>
#include <vector>

namespace orvela::area {

// The built-in day/night map shaded for the moment, composed 512 pixels wide
// and scaled smoothly to `width` (its height is half of it), with the
// coverage, the home station, the legend and the caption (CaptionLines)
// drawn over it.
// Throws PictureError when the built-in pictures cannot be read, and
// std::bad_alloc when the memory runs out. Cairo's and fontconfig's font
// caches are released before it returns: a program draws one such picture.
Picture24 DrawCoverageMap(const Coverage& c, const UtcDateTime& moment, const MapCaption& caption, int width);

} // namespace orvela::area
