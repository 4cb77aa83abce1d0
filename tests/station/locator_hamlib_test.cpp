// An independent check of the locator arithmetic: hamlib's
// locator2longlat, which returns the centre of the sub-square in decimal
// degrees, longitude positive east and latitude positive north, as
// LocatorCentre counts them.
#include "station/locator.h"

#include <hamlib/rotator.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace orvela {
namespace {

constexpr double OneSecond = 1.0 / 3600;

TEST(LocatorCentre, AgreesWithHamlibWithinOneSecondOfArc)
{
    rig_set_debug(RIG_DEBUG_NONE); // it traces every call otherwise

    double largest = 0;
    std::string worst;
    long compared = 0;
    const auto compare = [&](const std::string& locator) {
        double lonEastDeg = 0;
        double lat = 0;
        ASSERT_EQ(locator2longlat(&lonEastDeg, &lat, locator.c_str()), RIG_OK) << locator;
        for (const auto& [ours, theirs] :
             {std::pair{LocatorCentre(locator, "Lon"), lonEastDeg}, std::pair{LocatorCentre(locator, "Lat"), lat}}) {
            const double d = std::fabs(static_cast<double>(ours) - theirs);
            if (d > largest) {
                largest = d;
                worst = locator;
            }
        }
        ++compared;
    };

    // Every field and square; in each, the sub-squares A, L, M and X in both
    // places (the first, the last before and after the longitude's carry
    // into the next degree, and the last), and one more that strides over
    // all 24 letters from square to square.
    const std::string sampled = "ALMX";
    int stride = 0;
    for (char f1 = 'A'; f1 <= 'R'; ++f1) {
        for (char f2 = 'A'; f2 <= 'R'; ++f2) {
            for (char d1 = '0'; d1 <= '9'; ++d1) {
                for (char d2 = '0'; d2 <= '9'; ++d2) {
                    const std::string square{f1, f2, d1, d2};
                    for (const char s1 : sampled) {
                        for (const char s2 : sampled) {
                            compare(square + s1 + s2);
                        }
                    }
                    compare(square + static_cast<char>('A' + stride % 24) + static_cast<char>('A' + stride * 7 % 24));
                    ++stride;
                    if (testing::Test::HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, 18L * 18 * 10 * 10 * 17);
    EXPECT_LE(largest, OneSecond) << "at " << worst;
    std::printf("Largest difference from hamlib: %.3g degrees, at %s\n", largest, worst.c_str());
}

} // namespace
} // namespace orvela
