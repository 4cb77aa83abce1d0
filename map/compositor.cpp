#include "map/compositor.h"

#include "map/picture_io.h"
#include "common/thread_priority.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace orvela {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2.0 * std::numbers::pi;

// The map's own sun, one of three sun models in the program (see
// docs/model.md). Its year has 365 days of the common year's months, leap
// days ignored; the declination is asin(sin 23.5 degrees cos(season angle)),
// with the season angle (n - 7) 2 pi / 365 + pi on day n, so that the sun
// stands furthest south on day 7. The sub-solar meridian turns once a day
// from the right edge at 00:00 UTC.
constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr double DaysPerYear = 365.0;
constexpr int SouthernmostSunDay = 7;
constexpr double SinObliquity = 0.3987491; // sin 23.5 degrees
constexpr int SecondsPerHour = 3600;
constexpr int SecondsPerMinute = 60;
constexpr double SecondsPerDay = 86400.0;

// Twilight: a pixel takes t = 1020 (c + 0.15) 256ths of the day picture, c
// being the sine of the sun's elevation there, so night is full with the
// sun more than asin 0.15 (8.6 degrees) below the horizon and day full from
// asin 0.1 (5.7 degrees) above it: 255 steps over 0.25 of the sine. The
// extended-precision constants decide; their double twins only sort.
constexpr long double TwilightStepsPerSine = 1020.0L;
constexpr long double TwilightDepthSine = 0.15L;
constexpr long double FullDayWeight = 255.0L;
constexpr double TwilightStepsPerSineFast = 1020.0;
constexpr double TwilightDepthSineFast = 0.15;
constexpr double FullDayWeightFast = 255.0;

// Bound on the gap between the weight parameter t = 1020 (c + 0.15) computed
// in double and in extended precision: below 1e-12 for values of t up to
// about 1200, so a margin of 1e-6 leaves no doubt on which side of a
// threshold or an integer t lies.
constexpr double SortMargin = 1e-6;

// The day share of a twilight pixel: n + floor((d - n) * w / 256) for each
// byte. The right shift of a negative value floors toward minus infinity, so
// the result stays between the night and the day byte.
inline void Blend(int w, const std::uint8_t* day, std::uint8_t* out)
{
    for (int i = 0; i < 3; ++i) {
        const int n = out[i];
        out[i] = static_cast<std::uint8_t>(n + (((day[i] - n) * w) >> 8));
    }
}

// The weight w = ceil(t) from t in extended precision. ceil(t) <= 0 exactly
// when t <= 0, and ceil(t) >= 256 exactly when t > 255.
inline void ShadePixelExactly(long double c, const std::uint8_t* day, std::uint8_t* out)
{
    const long double t = TwilightStepsPerSine * (c + TwilightDepthSine);
    if (t <= 0.0L)
        return; // night: no write
    if (t > FullDayWeight)
        std::memcpy(out, day, 3);
    else
        Blend(static_cast<int>(std::ceil(t)), day, out);
}

} // namespace

int DayNumber(int month, int day)
{
    // A month outside 1..12 counts as the nearest valid one rather than
    // reading beyond the table.
    const int m = std::clamp(month, 1, 12);
    int n = day;
    for (int i = 0; i < m - 1; ++i)
        n += MonthDays[i];
    return n;
}

double SeasonAngle(int month, int day)
{
    return (DayNumber(month, day) - SouthernmostSunDay) * TwoPi / DaysPerYear + Pi;
}

SunPlace SunPosition(const UtcDateTime& moment)
{
    SunPlace s;
    // The declination swings between -23.5 degrees on day 7 and +23.5
    // degrees half a year later.
    s.Declination = std::asin(SinObliquity * std::cos(SeasonAngle(moment.Month, moment.Day)));
    const int seconds = moment.Hour * SecondsPerHour + moment.Minute * SecondsPerMinute + moment.Second;
    const double f = seconds / SecondsPerDay;
    // The sub-solar meridian moves westward across the map as the day goes on:
    // at the right edge at 00:00 UTC, at Greenwich at 12:00.
    s.SunAngle = TwoPi - f * TwoPi;
    return s;
}

TMapCalcThread::TMapCalcThread(bool runIdle, int topLine, int bottomLine, const Picture24& earthDay,
                               Picture24& earthCombined, int height, int width3, long double sinZLat,
                               std::shared_ptr<const TRealArray> cosLongs)
    : TopLine(topLine)
    , BottomLine(bottomLine)
    , EarthDay(earthDay)
    , EarthCombined(earthCombined)
    , Height(height)
    , Width3(width3)
    , SinZLat(sinZLat)
    , CosLongs(std::move(cosLongs))
    ,
    // Declared last: the worker starts only once every field above is stored.
    thread_([this, runIdle] {
        if (runIdle)
            LowerThisThread(WorkerPriority::Idle);
        Execute();
    })
{
}

TMapCalcThread::~TMapCalcThread()
{
    Wait();
}

void TMapCalcThread::Wait()
{
    if (thread_.joinable())
        thread_.join();
}

void TMapCalcThread::Execute()
{
    const double* cosLongs = CosLongs->data();
    const int pixels = Width3 / 3;
    for (int y = TopLine; y <= BottomLine; ++y) {
        // Row y stands for the latitude of its top edge: row 0 is the pole.
        const double phi = Pi / 2 - y * Pi / Height;
        const long double a = std::sin(static_cast<long double>(phi)) * SinZLat;
        const long double b = std::cos(static_cast<long double>(phi));
        // The same terms in double precision sort the pixels that lie clearly
        // in the night or in the day at a fraction of the cost; only those
        // near or inside the twilight band take the extended-precision weight.
        const double aFast = static_cast<double>(a) + TwilightDepthSineFast;
        const double bFast = static_cast<double>(b);
        const std::uint8_t* day = EarthDay.Row(y);
        std::uint8_t* out = EarthCombined.Row(y);
        int dayRun = -1; // first column of a run of day pixels not yet copied
        for (int x = 0; x < pixels; ++x) {
            const double fast = TwilightStepsPerSineFast * (bFast * cosLongs[x] + aFast);
            if (fast > FullDayWeightFast + SortMargin) {
                if (dayRun < 0)
                    dayRun = x;
                continue;
            }
            if (dayRun >= 0) {
                std::memcpy(out + 3 * dayRun, day + 3 * dayRun, 3 * static_cast<std::size_t>(x - dayRun));
                dayRun = -1;
            }
            if (fast < -SortMargin)
                continue; // night: the night picture stays as it is
            // Twilight. Its weight is the ceiling of t; the double value
            // gives it unless t may lie on the other side of an integer.
            int w = static_cast<int>(fast);
            if (w < fast)
                ++w;
            if (w - fast > SortMargin && fast - (w - 1) > SortMargin && w >= 1 && w <= 255)
                Blend(w, day + 3 * x, out + 3 * x);
            else
                ShadePixelExactly(b * cosLongs[x] + a, day + 3 * x, out + 3 * x);
        }
        if (dayRun >= 0)
            std::memcpy(out + 3 * dayRun, day + 3 * dayRun, 3 * static_cast<std::size_t>(pixels - dayRun));
    }
}

void ShadeEarth(const Picture24& earthDay, Picture24& earthCombined, double sunAngle, double declination)
{
    const int h = earthCombined.Height;
    const int w = earthCombined.Width;
    if (earthCombined.Empty() || earthDay.Width != w || earthDay.Height != h)
        return;

    const double sinDecl = std::sin(declination);
    const double cosDecl = std::cos(declination);
    const double sinSun = std::sin(sunAngle);
    const double cosSun = std::cos(sunAngle);

    // cos(declination) * cos(a - sunAngle) for the map angle a of each
    // column, once per column, so that the workers do one multiply-add per
    // pixel.
    auto cosLongs = std::make_shared<TRealArray>(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const double a = x * TwoPi / w;
        (*cosLongs)[static_cast<std::size_t>(x)] = std::cos(a) * cosSun * cosDecl + std::sin(a) * sinSun * cosDecl;
    }
    const std::shared_ptr<const TRealArray> shared = std::move(cosLongs);

    const bool runIdle = ThisThreadRunsIdle();
    const long double sinZLat = sinDecl;
    // Two fixed halves of the rows, whatever the processor count; their rows
    // are disjoint, so the workers take no lock.
    TMapCalcThread upper(runIdle, 0, h / 2, earthDay, earthCombined, h, 3 * w, sinZLat, shared);
    TMapCalcThread lower(runIdle, h / 2 + 1, h - 1, earthDay, earthCombined, h, 3 * w, sinZLat, shared);
    upper.Wait();
    lower.Wait();
}

void AddSunPicture(int x, int y, const Picture24& sun, const Picture8& sunAlpha, Picture24& earthCombined)
{
    const int w = sun.Width;
    const int h = sun.Height;
    const int mapWidth = earthCombined.Width;
    if (sun.Empty() || earthCombined.Empty() || sunAlpha.Width < w || sunAlpha.Height < h)
        return;
    const int left = x - w / 2;
    for (int r = 0; r < h; ++r) {
        const int ty = y - h / 2 + r;
        if (ty < 0 || ty >= earthCombined.Height)
            continue; // beyond the top or the bottom of the map
        const std::uint8_t* glyph = sun.Row(r);
        const std::uint8_t* mask = sunAlpha.Row(r);
        std::uint8_t* row = earthCombined.Row(ty);
        for (int px = 0; px < w; ++px) {
            // The map is a cylinder: a glyph across the left or right edge
            // goes on at the opposite edge of the same row.
            int tx = (left + px) % mapWidth;
            if (tx < 0)
                tx += mapWidth;
            const long double opacity = mask[px] / 255.0L;
            for (int i = 0; i < 3; ++i) {
                // Opacity-weighted and additive: it brightens, saturates at
                // white, and never darkens.
                const int k = static_cast<int>(opacity * glyph[3 * px + i]);
                std::uint8_t& target = row[3 * tx + i];
                target = static_cast<std::uint8_t>(std::min(255, target + k));
            }
        }
    }
}

void ComposeMap(const Picture24& day, const Picture24& night, Picture24& earthCombined, const UtcDateTime& moment,
                bool drawSun, const Picture24& sun, const Picture8& sunAlpha, int width)
{
    earthCombined = Picture24{};
    if (day.Width != night.Width || day.Height != night.Height)
        return;
    if (day.Empty() || width <= 0)
        return;
    const int height = static_cast<int>(static_cast<double>(width) / day.Width * day.Height);
    if (height <= 0)
        return;

    // The day picture is only read: used as it is when it already has the
    // map's size.
    Picture24 stretchedDay;
    const Picture24* earthDay = &day;
    if (day.Width != width || day.Height != height) {
        stretchedDay = ResizeNearest(day, width, height);
        earthDay = &stretchedDay;
    }
    earthCombined = (night.Width == width && night.Height == height) ? night : ResizeNearest(night, width, height);

    const SunPlace sunPlace = SunPosition(moment);
    int u = static_cast<int>(width * (sunPlace.SunAngle / TwoPi));
    if (u >= width)
        u -= width;
    const int v = height / 2 - static_cast<int>(height * sunPlace.Declination / Pi);

    ShadeEarth(*earthDay, earthCombined, sunPlace.SunAngle, sunPlace.Declination);
    if (drawSun)
        AddSunPicture(u, v, sun, sunAlpha, earthCombined);
}

} // namespace orvela
