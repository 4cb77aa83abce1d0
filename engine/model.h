// The prediction engine's shared vocabulary: constants, settings in memory,
// and the prediction workspace. No window toolkit here.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace orvela {

using ld = long double;

// The tables are those of the x87 80-bit extended format (a 64-bit
// significand): with a narrower long double (AArch64's 113-bit quad, or
// plain double elsewhere) every rounding would differ and the forecast with it.
static_assert(std::numeric_limits<ld>::digits == 64,
              "Orvela's engine computes in the x87 80-bit extended format: long double must have a "
              "64-bit significand on this platform (x86 or x86-64 with GCC or Clang)");

// Two values of pi live side by side and are never merged: the twelve-decimal
// literal folds longitudes and turns bearings, the full-precision one converts
// degrees and feeds the arc functions.
inline constexpr ld ShortPi = 3.141592653589L;
inline constexpr ld ShortTwoPi = 6.283185307178L;
inline constexpr ld ShortHalfPi = 1.5707963267945L;
inline constexpr ld Pi = 3.141592653589793238462643383279502884L;
inline constexpr ld DegToRad = Pi / 180;
inline constexpr ld RadToDeg = 180 / Pi;

inline constexpr ld EarthRadius = 6371.2L;     // km
inline constexpr ld ELayerRadius = 6481.2L;    // 110 km layer
inline constexpr ld FLayerRadius = 6691.2L;    // 320 km layer
inline constexpr ld LightSpeed = 299792500.0L; // m/s
// A delay in ms from a length in km over the speed of light in m/s: 1000 m
// per km times 1000 ms per s.
inline constexpr ld MsPerKmOverMetresPerSecond = 1000000;

inline constexpr int MaxHops = 30;     // per-hop-count arrays hold 0..30
inline constexpr int ModesPerHour = 4; // BaseHops .. BaseHops + 3
inline constexpr int BandCount = 15;   // 2, 4, ... 30 MHz
inline constexpr int HoursPerDay = 24; // one table column per hour of Universal Time

// Bits of HopFlags.
enum HopFlag : std::uint8_t {
    DayHop = 1,
    NightHop = 2,
    BelowSensitivity = 4,
    BelowEMuf = 8,
    Multipath = 16,
};

// The transmitter power of a station that has none stored: 20 dBW, 100 W.
inline constexpr int DefaultPower = 20;
// The lowest take-off angle of a station that has none stored, degrees.
inline constexpr int DefaultMinAngle = 10;

// What the table's result cells show. The numbers are those the settings
// file stores; any other (a read that stopped before the format) shows no
// result at all.
enum class DisplayFormat : int { SignalLevel = 1, TakeOffAngle = 2, Delay = 3, BestFrequency = 4 };
// The antenna of both stations, whose gain table the paths take. The
// numbers are those the settings file stores.
enum class Antenna : int { Isotropic = 0, Dipole = 1, Yagi = 2 };

// The stored number of a display format or an antenna, and back.
constexpr int Number(DisplayFormat d)
{
    return static_cast<int>(d);
}
constexpr int Number(Antenna a)
{
    return static_cast<int>(a);
}

// The station and options as the program keeps them between runs.
struct Settings {
    std::string CallSign = "NoCall";
    ld Longitude = 0;         // degrees, positive west
    ld Latitude = 0;          // degrees, positive north
    int Power = DefaultPower; // dBW
    bool Path = false;        // long path
    DisplayFormat Display = DisplayFormat::SignalLevel;
    Antenna GainTable = Antenna::Isotropic;
    int MinAngle = DefaultMinAngle; // degrees
    friend bool operator==(const Settings&, const Settings&) = default;
};

using GainTableData = std::array<std::array<ld, 5>, 46>;

// One hop midpoint of a path: the parts of its position that the sun's
// zenith angle needs. They depend on the path only, not on the hour.
struct PathPoint {
    ld SinLat = 0;
    ld CosLat = 0;
    ld LonWestRad = 0; // west-positive, folded
};

// The prediction workspace: everything one run computes and the model
// functions share. Runs share nothing, so two workspaces can run side by side.
struct Workspace {
    ld Flux = 0;
    ld SunSpots = 0;
    ld HomeLat = 0, HomeLon = 0;
    ld RemoteLat = 0, RemoteLon = 0;
    ld DeltaLon = 0;
    ld Azimuth = 0, BackAzimuth = 0;
    ld SunDecl = 0;
    ld SunLon = 0;
    ld NoiseLevel = 0;

    std::array<ld, MaxHops + 1> TakeOff{};
    std::array<ld, MaxHops + 1> RayPath{};
    std::array<ld, MaxHops + 1> EMuf{};
    std::array<ld, MaxHops + 1> FMuf{};
    std::array<ld, MaxHops + 1> AbsIndex{};
    std::array<ld, MaxHops + 1> SigLevel{};
    std::array<std::uint8_t, MaxHops + 1> HopFlags{};

    // Options the loss model reads.
    int Power = 100;
    Antenna GainTable = Antenna::Isotropic;
    GainTableData GainCurve{};                  // working copy of the selected antenna table
    Antenna GainCurveFrom = Antenna::Isotropic; // which table GainCurve holds (isotropic: none yet)

    // Sines and cosines the zenith angle needs again and again; set by
    // SetHomePath and SetSun so that each is computed once per run.
    ld SinHomeLat = 0, CosHomeLat = 0, CosAzimuth = 0;
    ld SinSunDecl = 0, CosSunDecl = 0;
    bool SunDeclTrigValid = false;

    // Memo of the cosine of the E-layer incidence angle per mode, keyed by the
    // take-off angle it was computed from.
    std::array<ld, MaxHops + 1> CosPhiEKey{};
    std::array<ld, MaxHops + 1> CosPhiEValue{};
    std::array<bool, MaxHops + 1> CosPhiEValid{};
};

// Stores the path quantities the zenith angle reads, with their sines and cosines.
void SetHomePath(Workspace& ws, ld homeLat, ld homeLonWestRad, ld azimuth, ld deltaLon);
// Stores the sun's declination and sub-solar longitude.
void SetSun(Workspace& ws, ld sunDecl, ld sunLonWestRad);

} // namespace orvela
