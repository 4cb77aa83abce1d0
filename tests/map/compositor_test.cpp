#include "map/compositor.h"
#include "map/picture_io.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <cmath>
#include <numbers>
#include <random>
#include <thread>

namespace orvela {
namespace {

Picture24 Uniform(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    Picture24 p = Picture24::Make(width, height);
    for (std::size_t i = 0; i < p.Bytes.size(); i += 3) {
        p.Bytes[i] = b;
        p.Bytes[i + 1] = g;
        p.Bytes[i + 2] = r;
    }
    return p;
}

Picture24 Noise(int width, int height, unsigned seed)
{
    Picture24 p = Picture24::Make(width, height);
    std::mt19937 random(seed);
    for (auto& byte : p.Bytes)
        byte = static_cast<std::uint8_t>(random());
    return p;
}

UtcDateTime At(int month, int day, int hour, int year = 2023)
{
    return UtcDateTime{year, month, day, hour, 0, 0};
}

const Picture24 NoGlyph;
const Picture8 NoMask;

TEST(SunModel, CommonYearDayNumbers)
{
    EXPECT_EQ(DayNumber(1, 1), 1);
    EXPECT_EQ(DayNumber(1, 7), 7);
    EXPECT_EQ(DayNumber(2, 29), 60);
    EXPECT_EQ(DayNumber(3, 1), 60);
    EXPECT_EQ(DayNumber(7, 8), 189);
    EXPECT_EQ(DayNumber(12, 31), 365);

    // The leap day has the declination of 1 March, and a leap year ends on
    // the declination of a common one.
    EXPECT_EQ(SunPosition(At(2, 29, 0, 2024)).Declination, SunPosition(At(3, 1, 0, 2024)).Declination);
    EXPECT_EQ(SunPosition(At(12, 31, 0, 2024)).Declination, SunPosition(At(12, 31, 0, 2023)).Declination);

    // Lowest on day 7, highest half a year later.
    const double tilt = 23.5 * std::numbers::pi / 180;
    EXPECT_NEAR(SunPosition(At(1, 7, 0)).Declination, -tilt, 1e-6);
    EXPECT_NEAR(SunPosition(At(7, 8, 0)).Declination, tilt, 1e-3);
}

TEST(SunModel, UtcMomentOfTimeT)
{
    const UtcDateTime m = ToUtcDateTime(951782400 + 12 * 3600 + 34 * 60 + 56); // 2000-02-29 12:34:56
    EXPECT_EQ(m.Year, 2000);
    EXPECT_EQ(m.Month, 2);
    EXPECT_EQ(m.Day, 29);
    EXPECT_EQ(m.Hour, 12);
    EXPECT_EQ(m.Minute, 34);
    EXPECT_EQ(m.Second, 56);
}

// The glyph is lit at its pixel (4, 4) only, which lands on the sub-solar
// pixel; over black pictures nothing else is lit.
TEST(ComposeMap, SunGlyphOnTheSubSolarPixel)
{
    struct Case {
        int month, day, hour, column, row;
    };
    const Case cases[] = {
        {1, 7, 0, 0, 161}, {1, 7, 6, 384, 161}, {1, 7, 12, 256, 161}, {1, 7, 18, 128, 161}, {7, 8, 12, 256, 95},
    };
    const Picture24 black = Picture24::Make(512, 256);
    Picture24 glyph = Picture24::Make(8, 8);
    Picture8 mask = Picture8::Make(8, 8);
    glyph.Row(4)[12] = glyph.Row(4)[13] = glyph.Row(4)[14] = 255;
    mask.Row(4)[4] = 255;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.month << "/" << c.day << " " << c.hour << "h");
        Picture24 map;
        ComposeMap(black, black, map, At(c.month, c.day, c.hour), true, glyph, mask, 512);
        ASSERT_EQ(map.Width, 512);
        ASSERT_EQ(map.Height, 256);
        int lit = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 512; ++x)
                if (map.Row(y)[3 * x] != 0) {
                    ++lit;
                    EXPECT_EQ(x, c.column);
                    EXPECT_EQ(y, c.row);
                }
        EXPECT_EQ(lit, 1);
    }
}

TEST(ComposeMap, DayNightAndPoles)
{
    const Picture24 day = Uniform(512, 256, 200, 150, 100);
    const Picture24 night = Uniform(512, 256, 10, 20, 30);
    auto pixel = [](const Picture24& p, int x, int y) {
        const std::uint8_t* b = p.Row(y) + 3 * x;
        return std::vector<int>{b[0], b[1], b[2]};
    };
    const std::vector<int> dayBytes{200, 150, 100};
    const std::vector<int> nightBytes{10, 20, 30};

    Picture24 map;
    ComposeMap(day, night, map, At(1, 7, 12), false, NoGlyph, NoMask, 512);
    EXPECT_EQ(pixel(map, 256, 161), dayBytes); // under the sun
    EXPECT_EQ(pixel(map, 0, 95), nightBytes);  // its antipode

    // Row 0 is the North Pole itself: dark all day in early January, lit all
    // day in early July.
    for (int hour : {0, 6, 12, 18}) {
        SCOPED_TRACE(hour);
        for (auto [month, d, expected] : {std::tuple{1, 7, nightBytes}, std::tuple{7, 8, dayBytes}}) {
            ComposeMap(day, night, map, At(month, d, hour), false, NoGlyph, NoMask, 512);
            for (int x = 0; x < 512; x += 37)
                EXPECT_EQ(pixel(map, x, 0), expected) << month << "/" << d << " column " << x;
        }
    }
}

TEST(ComposeMap, SizeOfTheResult)
{
    const Picture24 glyph = Uniform(8, 8, 255, 255, 255);
    const Picture8 mask = Picture8::Make(8, 8);
    struct Case {
        int dayW, dayH, nightW, nightH, width, outW, outH;
    };
    const Case cases[] = {
        {512, 256, 512, 256, 512, 512, 256},
        {512, 256, 512, 256, 1024, 1024, 512}, // stretched
        {512, 256, 512, 256, 300, 300, 150},
        {512, 256, 512, 256, 3, 3, 1},   // H = trunc(1.5)
        {512, 256, 512, 255, 512, 0, 0}, // heights differ: nothing composed
        {512, 256, 511, 256, 512, 0, 0}, // widths differ
        {0, 0, 0, 0, 512, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dayW << "x" << c.dayH << " / " << c.nightW << "x" << c.nightH << " to "
                                        << c.width);
        Picture24 map = Uniform(4, 4, 1, 2, 3); // a result of an earlier call
        ComposeMap(Noise(c.dayW, c.dayH, 1), Noise(c.nightW, c.nightH, 2), map, At(3, 21, 9), true, glyph, mask,
                   c.width);
        EXPECT_EQ(map.Width, c.outW);
        EXPECT_EQ(map.Height, c.outH);
        EXPECT_EQ(map.Bytes.size(), static_cast<std::size_t>(c.outW) * c.outH * 3);
    }
}

// Shades a single pixel whose weight parameter t = 1020 (c + 0.15) is given:
// on row 0 (the pole) with a zero column term the zenith cosine c is SinZLat.
std::vector<int> ShadePixel(long double t, std::vector<int> night, std::vector<int> day)
{
    Picture24 dayPicture = Uniform(1, 1, static_cast<std::uint8_t>(day[0]), static_cast<std::uint8_t>(day[1]),
                                   static_cast<std::uint8_t>(day[2]));
    Picture24 combined = Uniform(1, 1, static_cast<std::uint8_t>(night[0]), static_cast<std::uint8_t>(night[1]),
                                 static_cast<std::uint8_t>(night[2]));
    const long double c = t / 1020.0L - 0.15L;
    TMapCalcThread worker(false, 0, 0, dayPicture, combined, 1, 3, c,
                          std::make_shared<const TRealArray>(TRealArray{0.0}));
    worker.Wait();
    return {combined.Bytes[0], combined.Bytes[1], combined.Bytes[2]};
}

TEST(ShadeEarth, NightTwilightAndDayBytes)
{
    struct Case {
        long double t; // weight w = ceil(t)
        std::vector<int> night, day, expected;
    };
    const Case cases[] = {
        {-50, {10, 200, 7}, {200, 10, 99}, {10, 200, 7}},     // night: unchanged
        {0, {10, 200, 7}, {200, 10, 99}, {10, 200, 7}},       // c = -0.15 exactly: still night
        {0.5, {10, 200, 7}, {200, 10, 7}, {10, 199, 7}},      // w = 1: -190/256 floors to -1
        {99.5, {10, 200, 50}, {200, 10, 50}, {84, 125, 50}},  // w = 100: 10 + 74, 200 - 75
        {254.5, {0, 255, 100}, {255, 0, 101}, {254, 0, 100}}, // w = 255: 254.004 and -254.004 floored
        {255.5, {10, 200, 7}, {200, 10, 99}, {200, 10, 99}},  // w = 256: day
        {900, {10, 200, 7}, {200, 10, 99}, {200, 10, 99}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.t));
        EXPECT_EQ(ShadePixel(c.t, c.night, c.day), c.expected);
    }
}

// The weight formula as written, pixel by pixel in extended precision: the
// shading sorts most pixels in double precision first and must agree.
Picture24 ShadeByTheFormula(const Picture24& day, Picture24 combined, const SunPlace& sun)
{
    const int w = day.Width;
    const int h = day.Height;
    const double pi = std::numbers::pi;
    const long double sinZLat = std::sin(sun.Declination);
    for (int y = 0; y < h; ++y) {
        const double phi = pi / 2 - y * pi / h;
        const long double a = std::sin(static_cast<long double>(phi)) * sinZLat;
        const long double b = std::cos(static_cast<long double>(phi));
        for (int x = 0; x < w; ++x) {
            const double angle = x * 2 * pi / w;
            const double cosLong = std::cos(angle) * std::cos(sun.SunAngle) * std::cos(sun.Declination) +
                                   std::sin(angle) * std::sin(sun.SunAngle) * std::cos(sun.Declination);
            const long double weight = std::ceil(1020.0L * (b * cosLong + a + 0.15L));
            for (int i = 0; i < 3; ++i) {
                const int d = day.Row(y)[3 * x + i];
                std::uint8_t& n = combined.Row(y)[3 * x + i];
                if (weight >= 256)
                    n = static_cast<std::uint8_t>(d);
                else if (weight >= 1)
                    n = static_cast<std::uint8_t>(n + std::floor((d - n) * weight / 256));
            }
        }
    }
    return combined;
}

TEST(ShadeEarth, AgreesWithTheWeightFormula)
{
    const Picture24 day = Noise(512, 256, 7);
    const Picture24 night = Noise(512, 256, 8);
    for (auto [month, d] : {std::pair{1, 7}, std::pair{3, 21}, std::pair{7, 8}, std::pair{10, 30}})
        for (int hour = 0; hour < 24; hour += 5) {
            SCOPED_TRACE(testing::Message() << month << "/" << d << " " << hour << "h");
            const SunPlace sun = SunPosition(At(month, d, hour));
            Picture24 shaded = night;
            ShadeEarth(day, shaded, sun.SunAngle, sun.Declination);
            EXPECT_EQ(shaded, ShadeByTheFormula(day, night, sun));
        }
}

// What the two workers do together equals one worker over every row.
TEST(ShadeEarth, TwoWorkersMatchOneWorker)
{
    const Picture24 day = LoadJpegImage("MAP_DAY");
    const Picture24 night = LoadJpegImage("MAP_NIGHT");
    struct Case {
        Picture24 day, night;
        UtcDateTime moment;
    };
    const Case cases[] = {
        {day, night, At(1, 7, 12)},
        {day, night, At(3, 21, 5)},
        {day, night, At(9, 23, 20)},
        {Noise(37, 19, 3), Noise(37, 19, 4), At(6, 1, 17)}, // odd height: bands 0..9 and 10..18
        {Noise(5, 1, 5), Noise(5, 1, 6), At(6, 1, 17)},     // one row: the second band is empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.day.Width << "x" << c.day.Height << " " << c.moment.Month << "/"
                                        << c.moment.Day << " " << c.moment.Hour << "h");
        const SunPlace sun = SunPosition(c.moment);
        const int w = c.day.Width;
        const int h = c.day.Height;

        Picture24 twoWorkers = c.night;
        ShadeEarth(c.day, twoWorkers, sun.SunAngle, sun.Declination);

        auto cosLongs = std::make_shared<TRealArray>(static_cast<std::size_t>(w));
        for (int x = 0; x < w; ++x) {
            const double a = x * 2 * std::numbers::pi / w;
            (*cosLongs)[static_cast<std::size_t>(x)] =
                std::cos(a) * std::cos(sun.SunAngle) * std::cos(sun.Declination) +
                std::sin(a) * std::sin(sun.SunAngle) * std::cos(sun.Declination);
        }
        Picture24 oneWorker = c.night;
        TMapCalcThread all(false, 0, h - 1, c.day, oneWorker, h, 3 * w, std::sin(sun.Declination), cosLongs);
        all.Wait();

        EXPECT_NE(oneWorker, c.night); // something was shaded
        EXPECT_EQ(twoWorkers, oneWorker);
    }

    // ComposeMap without the glyph is exactly that shading.
    Picture24 composed;
    ComposeMap(day, night, composed, At(1, 7, 12), false, NoGlyph, NoMask, 512);
    Picture24 shaded = night;
    const SunPlace sun = SunPosition(At(1, 7, 12));
    ShadeEarth(day, shaded, sun.SunAngle, sun.Declination);
    EXPECT_EQ(composed, shaded);

    // A caller at idle priority has its workers run idle too; the picture is the same.
    Picture24 shadedIdle = night;
    int policy = -1;
    std::thread idleCaller([&] {
        const sched_param param{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
        sched_param now{};
        pthread_getschedparam(pthread_self(), &policy, &now);
        ShadeEarth(day, shadedIdle, sun.SunAngle, sun.Declination);
    });
    idleCaller.join();
    EXPECT_EQ(policy, SCHED_IDLE);
    EXPECT_EQ(shadedIdle, shaded);
}

// The glyph's blue bytes number its pixels 1..64, row by row; its mask is
// fully opaque. Over a black 16 x 12 map each lit pixel tells which glyph
// pixel landed there.
TEST(AddSunPicture, PlacementWrapAndClipping)
{
    Picture24 glyph = Picture24::Make(8, 8);
    Picture8 mask = Picture8::Make(8, 8);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            glyph.Row(r)[3 * c] = static_cast<std::uint8_t>(1 + c + 8 * r);
            mask.Row(r)[c] = 255;
        }
    struct Landing {
        int mapX, mapY, glyphX, glyphY; // 0 glyph coordinates: nothing there
    };
    struct Case {
        const char* name;
        int x, y, litPixels;
        std::vector<Landing> landings;
    };
    const Case cases[] = {
        {"inside", 8, 6, 64, {{4, 2, 0, 0}, {11, 9, 7, 7}, {3, 2, -1, -1}, {12, 9, -1, -1}}},
        {"across the left edge", 1, 6, 64, {{13, 2, 0, 0}, {15, 2, 2, 0}, {0, 2, 3, 0}, {4, 9, 7, 7}, {5, 6, -1, -1}}},
        {"across the right edge",
         14,
         6,
         64,
         {{10, 2, 0, 0}, {15, 2, 5, 0}, {0, 2, 6, 0}, {1, 9, 7, 7}, {2, 6, -1, -1}}},
        {"above the top", 8, 1, 40, {{4, 0, 0, 3}, {11, 4, 7, 7}}},
        {"below the bottom", 8, 10, 48, {{4, 6, 0, 0}, {11, 11, 7, 5}}},
        {"off the map", 8, -10, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture24 map = Picture24::Make(16, 12);
        AddSunPicture(c.x, c.y, glyph, mask, map);
        int lit = 0;
        for (std::size_t i = 0; i < map.Bytes.size(); i += 3)
            lit += map.Bytes[i] != 0;
        EXPECT_EQ(lit, c.litPixels);
        for (const Landing& l : c.landings) {
            const int expected = l.glyphX < 0 ? 0 : 1 + l.glyphX + 8 * l.glyphY;
            EXPECT_EQ(map.Row(l.mapY)[3 * l.mapX], expected) << "map pixel " << l.mapX << "," << l.mapY;
        }
    }
}

TEST(AddSunPicture, OpacityWeightedSaturatingSum)
{
    struct Case {
        int background, glyph, opacity, expected;
    };
    const Case cases[] = {
        {40, 255, 0, 40},                         // transparent: adds nothing
        {200, 255, 255, 255},                     // opaque white saturates
        {0, 255, 255, 255},   {10, 100, 128, 60}, // 10 + trunc(50.2)
        {0, 85, 147, 49},                         // 147 / 255 x 85 is exactly 49
        {250, 0, 255, 250},                       // black adds nothing, never darkens
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.background << " + " << c.glyph << " at " << c.opacity);
        Picture24 map = Uniform(8, 8, static_cast<std::uint8_t>(c.background), static_cast<std::uint8_t>(c.background),
                                static_cast<std::uint8_t>(c.background));
        Picture24 glyph = Uniform(8, 8, static_cast<std::uint8_t>(c.glyph), static_cast<std::uint8_t>(c.glyph),
                                  static_cast<std::uint8_t>(c.glyph));
        Picture8 mask = Picture8::Make(8, 8);
        std::fill(mask.Bytes.begin(), mask.Bytes.end(), static_cast<std::uint8_t>(c.opacity));
        AddSunPicture(4, 4, glyph, mask, map);
        for (std::uint8_t byte : map.Bytes)
            ASSERT_EQ(byte, c.expected);
    }
}

} // namespace
} // namespace orvela
