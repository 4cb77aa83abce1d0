// The day/night world map: a day and a night picture of the whole Earth,
// blended pixel by pixel by the sun's elevation, with a soft twilight band
// and a small sun glyph over the sub-solar point.
//
// Projection: equirectangular, column 0 at 180 degrees West, row 0 at 90
// degrees North.
#pragma once

#include "common/civil_time.h"
#include "map/picture.h"

#include <ctime>
#include <memory>
#include <thread>
#include <vector>

namespace orvela {

// The sun model of the map, separate from the prediction engine's.
// Day of the year counted on a common year: February always has 28 days.
int DayNumber(int month, int day);
// (DayNumber - 7) * 2 pi / 365 + pi, radians.
double SeasonAngle(int month, int day);

struct SunPlace {
    double SunAngle = 0;    // map angle of the sub-solar meridian, radians east of the left edge
    double Declination = 0; // radians, north positive
};
SunPlace SunPosition(const UtcDateTime& moment);

using TRealArray = std::vector<double>;

// One of the two workers that shade the map: it blends the day picture into
// rows TopLine..BottomLine of the combined picture. It starts running when
// created, at idle priority when RunIdle is set; Wait() joins it.
class TMapCalcThread {
public:
    TMapCalcThread(bool runIdle, int topLine, int bottomLine, const Picture24& earthDay, Picture24& earthCombined,
                   int height, int width3, long double sinZLat, std::shared_ptr<const TRealArray> cosLongs);
    ~TMapCalcThread();
    TMapCalcThread(const TMapCalcThread&) = delete;
    TMapCalcThread& operator=(const TMapCalcThread&) = delete;

    void Wait();
    // Shades the band on the calling thread (what the worker runs).
    void Execute();

private:
    int TopLine;
    int BottomLine;
    const Picture24& EarthDay;
    Picture24& EarthCombined;
    int Height;
    int Width3;
    long double SinZLat;
    std::shared_ptr<const TRealArray> CosLongs;
    std::thread thread_;
};

// Blends earthDay into earthCombined (which holds the night picture of the
// same size) for the sun at sunAngle and declination, on two workers.
void ShadeEarth(const Picture24& earthDay, Picture24& earthCombined, double sunAngle, double declination);

// Adds the glyph, weighted by its opacity mask, centred on pixel (x, y):
// additive, saturating at 255. Columns wrap around the map's edges; rows
// beyond the top or bottom are dropped.
void AddSunPicture(int x, int y, const Picture24& sun, const Picture8& sunAlpha, Picture24& earthCombined);

// Composes the map for a moment: earthCombined receives a width x H picture
// (H from the day picture's proportions), or stays empty when the day and
// night pictures differ in size.
void ComposeMap(const Picture24& day, const Picture24& night, Picture24& earthCombined, const UtcDateTime& moment,
                bool drawSun, const Picture24& sun, const Picture8& sunAlpha, int width);

} // namespace orvela
