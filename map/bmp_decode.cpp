// The sun glyph and its mask are BMPs, read by stb_image. Its reader is
// compiled here, private to this file and limited to BMP, so that no other
// kind of file passes for a glyph.
#include "map/picture_io.h"

#include <cstring>
#include <limits>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wold-style-cast"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace orvela {

namespace {

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};
using StbPixels = std::unique_ptr<stbi_uc, StbFree>;

// Decodes with the given number of bytes per pixel; stb_image converts a
// palette or another depth to it (a grey palette to its grey level).
StbPixels Load(std::span<const std::uint8_t> data, int channels, int& width, int& height, const char* what)
{
    if (data.empty())
        throw PictureError(std::string(what) + ": no data");
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw PictureError(std::string(what) + ": too large");
    // stb_image reads past the end of the data as zeros, so a cut file would
    // pass as a picture with a black part. The file header declares the
    // whole file's size (bytes 2..5, little-endian; 0 when the writer left
    // it unset).
    if (data.size() >= 6 && data[0] == 'B' && data[1] == 'M') {
        const std::uint32_t declared = data[2] | (data[3] << 8) | (data[4] << 16) | (std::uint32_t{data[5]} << 24);
        if (declared > data.size())
            throw PictureError(std::string(what) + ": truncated");
    }
    int inFile = 0;
    StbPixels pixels(
        stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &width, &height, &inFile, channels));
    if (!pixels)
        throw PictureError(std::string(what) + ": " + stbi_failure_reason());
    return pixels;
}

} // namespace

Picture24 DecodeBmp24(std::span<const std::uint8_t> data)
{
    int width = 0;
    int height = 0;
    const StbPixels rgb = Load(data, 3, width, height, "BMP glyph");
    Picture24 p = Picture24::Make(width, height);
    const stbi_uc* src = rgb.get();
    std::uint8_t* dst = p.Bytes.data();
    // stb_image gives red, green, blue, top row first; the map keeps blue first.
    for (std::size_t i = 0; i < p.Bytes.size(); i += 3) {
        dst[i] = src[i + 2];
        dst[i + 1] = src[i + 1];
        dst[i + 2] = src[i];
    }
    return p;
}

Picture8 DecodeBmp8(std::span<const std::uint8_t> data)
{
    int width = 0;
    int height = 0;
    const StbPixels grey = Load(data, 1, width, height, "BMP mask");
    Picture8 p = Picture8::Make(width, height);
    std::memcpy(p.Bytes.data(), grey.get(), p.Bytes.size());
    return p;
}

} // namespace orvela
