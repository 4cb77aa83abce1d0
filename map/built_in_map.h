// The day/night map of the program's own pictures: the day and night
// pictures of the whole Earth compiled into every program, and the sun glyph
// at the size the main window draws it. The main window, the coverage
// window, orvela-map and orvela-area all compose it here.
#pragma once

#include "map/compositor.h"
#include "map/picture.h"
#include "map/picture_io.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace orvela {

// The decoded pictures a built-in map is composed from.
struct BuiltInPictures {
    Picture24 Day;
    Picture24 Night;
    SunGlyph Sun;
};

// Where the pictures' bytes are found by name, "MAP_DAY", "MAP_NIGHT",
// "SUN_BMP" and "SUN_ALPHA"; an empty span for a picture missing.
using PictureFinder = std::function<std::span<const std::uint8_t>(std::string_view name)>;

// Decodes the four pictures, by default those compiled into the program.
// Throws PictureError naming a picture missing or that cannot be decoded.
BuiltInPictures DecodeBuiltInPictures(const PictureFinder& find = MapResource);

// The map of the moment `width` pixels wide (as high as the pictures'
// proportions make it: half the width), the sun glyph over the sub-solar
// point unless `drawSun` is false. Empty when the day and night pictures
// differ in size.
Picture24 ComposeBuiltInMap(const UtcDateTime& moment, int width, const BuiltInPictures& pictures, bool drawSun = true);
// The same from the pictures compiled into the program; throws PictureError
// when they cannot be decoded.
Picture24 ComposeBuiltInMap(const UtcDateTime& moment, int width);

} // namespace orvela
