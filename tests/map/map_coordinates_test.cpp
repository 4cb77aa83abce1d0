#include "map/map_coordinates.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(MapCoordinates, PixelsToWholeDegrees)
{
    struct Case {
        int x, y, lonWestDeg, lat;
    };
    const Case cases[] = {
        {0, 0, 180, 90},                            // top-left: 180 W, 90 N
        {256, 128, 0, 0},                           // Greenwich on the equator
        {511, 256, -179, -90},                      // bottom-right: 179 E, 90 S
        {400, 200, -101, -50}, {600, 128, -241, 0}, // beyond the map while the mouse is captured: no clamping
        {255, 127, 0, 0},                           // truncation toward zero, not down
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(PixelToLongitude(c.x), c.lonWestDeg);
        EXPECT_EQ(PixelToLatitude(c.y), c.lat);
    }
}

TEST(MapCoordinates, MarkerCorners)
{
    EXPECT_EQ(MarkerLeft(90), 128); // 90 W
    EXPECT_EQ(MarkerTop(45), 64);
    EXPECT_EQ(MarkerLeft(0), 256);
    EXPECT_EQ(MarkerTop(-45), 192);
    EXPECT_EQ(MarkerLeft(-180), 512);
    // Halves go to the even pixel: a pixel is 0.703125 degrees.
    EXPECT_EQ(MarkerLeft(0.5 * 0.703125), 256);
    EXPECT_EQ(MarkerLeft(1.5 * 0.703125), 254);
}

} // namespace
} // namespace orvela
