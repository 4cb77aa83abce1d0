// Radio paths and geometry that several tests share: stations whose path
// summaries are known, a run input with the options most tests keep, and
// bearings on a sphere worked out independently of the engine, in double
// precision with east-positive longitudes.
#pragma once

#include "engine/prediction.h"

#include <cmath>

namespace orvela_test {

using orvela::ld;

constexpr double PiD = 3.14159265358979323846;
constexpr double D2R = PiD / 180; // degrees to radians

// Paris, the home station of most tests, and New York as a whole-degree
// remote point: degrees, north and WEST positive.
struct Place {
    ld Lat;
    ld LonWestDeg;
};
inline constexpr Place Paris{48.85L, -2.35L};
inline constexpr Place NewYork{40, 74};
// The same two places as the command line takes them, New York to two
// decimals.
inline constexpr const char* ParisText = "48.85N,2.35E";
inline constexpr const char* NewYorkText = "40.71N,74.01W";

// Initial great-circle bearing by the arc-tangent form, radians from 0 to
// 2 pi, for latitudes and east-positive longitudes in radians.
inline double SphereBearing(double lat1, double lonEastRad1, double lat2, double lonEastRad2)
{
    const double dl = lonEastRad2 - lonEastRad1;
    double b = std::atan2(std::sin(dl) * std::cos(lat2),
                          std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dl));
    if (b < 0) {
        b += 2 * PiD;
    }
    return b;
}

// Difference of two bearings in radians, with 0 and 2 pi taken as the same
// direction.
inline double BearingGap(double a, double b)
{
    return std::fabs(std::remainder(a - b, 2 * PiD));
}

// A run from home to remote (degrees, north and WEST positive) on
// 10 December, its date line showing 05 December 2026: flux 100, dipole,
// signal level format, minimum angle 10 degrees, short path.
inline orvela::RunInput PathInput(ld homeLat, ld homeLonWestDeg, ld remoteLat, ld remoteLonWestDeg)
{
    orvela::RunInput in;
    in.Station.Latitude = homeLat;
    in.Station.Longitude = homeLonWestDeg;
    in.Station.GainTable = orvela::Antenna::Dipole;
    in.Station.Display = orvela::DisplayFormat::SignalLevel;
    in.Station.MinAngle = 10;
    in.RemoteLatDeg = remoteLat;
    in.RemoteLonWestDeg = remoteLonWestDeg;
    in.Month = 12;
    in.Day = 10;
    in.LocalDate = {2026, 12, 5};
    return in;
}

inline orvela::RunInput PathInput(const Place& home, const Place& remote)
{
    return PathInput(home.Lat, home.LonWestDeg, remote.Lat, remote.LonWestDeg);
}

// One run in a fresh workspace.
inline orvela::Prediction Predict(const orvela::RunInput& in)
{
    orvela::Workspace ws;
    orvela::Prediction p;
    orvela::ComputeMUF(in, ws, p);
    return p;
}

} // namespace orvela_test
