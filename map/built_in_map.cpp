#include "map/built_in_map.h"

#include "map/picture_io.h"

#include <string>

namespace orvela {

namespace {

std::span<const std::uint8_t> Found(const PictureFinder& find, std::string_view name)
{
    const std::span<const std::uint8_t> data = find(name);
    if (data.empty()) {
        throw PictureError("no picture named " + std::string(name));
    }
    return data;
}

} // namespace

BuiltInPictures DecodeBuiltInPictures(const PictureFinder& find)
{
    BuiltInPictures p;
    p.Day = DecodeNamedJpeg("MAP_DAY", find("MAP_DAY"));
    p.Night = DecodeNamedJpeg("MAP_NIGHT", find("MAP_NIGHT"));
    p.Sun = DecodeSunGlyph(Found(find, "SUN_BMP"), Found(find, "SUN_ALPHA"));
    return p;
}

Picture24 ComposeBuiltInMap(const UtcDateTime& moment, int width, const BuiltInPictures& pictures, bool drawSun)
{
    Picture24 map;
    ComposeMap(pictures.Day, pictures.Night, map, moment, drawSun, pictures.Sun.Glyph, pictures.Sun.Alpha, width);
    return map;
}

Picture24 ComposeBuiltInMap(const UtcDateTime& moment, int width)
{
    return ComposeBuiltInMap(moment, width, DecodeBuiltInPictures());
}

} // namespace orvela
