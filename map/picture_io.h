// Reading and writing the map's pictures: JPEG through libjpeg, BMP through
// stb_image, PNG through libpng, and the pictures compiled into the programs.
#pragma once

#include "map/picture.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvela {

class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes a baseline or progressive JPEG held in memory into 24-bit rows
// (blue, green, red). Throws PictureError when the data is not a JPEG, is
// corrupt or truncated.
Picture24 DecodeJpeg(std::span<const std::uint8_t> data);

// Reads a BMP held in memory: the 24-bit glyph, or the 8-bit mask whose
// grey level is the opacity. Throws PictureError.
Picture24 DecodeBmp24(std::span<const std::uint8_t> data);
Picture8 DecodeBmp8(std::span<const std::uint8_t> data);

// Nearest-neighbour reduction (or enlargement) to width x height: each target
// pixel takes one source pixel, no averaging.
Picture24 ResizeNearest(const Picture24& picture, int width, int height);
Picture8 ResizeNearest(const Picture8& picture, int width, int height);

// The width of the built-in day and night pictures, at which the maps are
// composed, and the side of the sun glyph on them, in pixels.
inline constexpr int BuiltInMapWidth = 512;
inline constexpr int SunGlyphSize = 8;

// The sun glyph and its opacity, read from their BMPs and reduced to
// SunGlyphSize x SunGlyphSize by dropping rows and columns. Throws
// PictureError.
SunGlyph DecodeSunGlyph(std::span<const std::uint8_t> glyphBmp, std::span<const std::uint8_t> alphaBmp);

// The pictures compiled into the program: "MAP_DAY", "MAP_NIGHT" (JPEG),
// "SUN_BMP", "SUN_ALPHA" (BMP). An empty span for any other name.
std::span<const std::uint8_t> MapResource(std::string_view name);

// Decodes the JPEG a program holds under a name ("MAP_DAY"), its bytes
// empty when it holds none; throws PictureError naming the picture.
Picture24 DecodeNamedJpeg(std::string_view mapName, std::span<const std::uint8_t> data);

// Decodes the compiled-in JPEG of that name ("MAP_DAY", "MAP_NIGHT");
// throws PictureError when it is missing or cannot be decoded.
Picture24 LoadJpegImage(std::string_view mapName);

// Writes the picture as an 8-bit RGB PNG. The file is written beside its
// final name and renamed into place, so a failure leaves nothing behind.
// Throws PictureError naming the file and the reason.
void WritePng(const Picture24& picture, const std::string& path);

} // namespace orvela
