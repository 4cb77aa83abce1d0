// The built-in day/night map: its pictures found by name, and a picture
// missing or unreadable named in the error.
#include "map/built_in_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvela {
namespace {

TEST(BuiltInMap, NamesAPictureMissingOrUnreadable)
{
    const std::vector<std::uint8_t> garbage(64, 0x5A);
    for (const std::string name : {"MAP_DAY", "MAP_NIGHT", "SUN_BMP", "SUN_ALPHA"}) {
        for (const bool missing : {true, false}) {
            SCOPED_TRACE(name + (missing ? " missing" : " unreadable"));
            const PictureFinder find = [&](std::string_view n) {
                if (n != name) {
                    return MapResource(n);
                }
                return missing ? std::span<const std::uint8_t>() : std::span<const std::uint8_t>(garbage);
            };
            try {
                DecodeBuiltInPictures(find);
                ADD_FAILURE() << "no error";
            } catch (const PictureError& e) {
                if (name.starts_with("MAP") || missing) {
                    EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
                }
            }
        }
    }
    // All four found: the map of the width asked for, half as high.
    const Picture24 map = ComposeBuiltInMap({2026, 6, 21, 12, 0, 0}, 300);
    EXPECT_EQ(map.Width, 300);
    EXPECT_EQ(map.Height, 150);
}

} // namespace
} // namespace orvela
