#include "map/great_circle_track.h"

#include <array>
#include <cmath>
#include <numbers>

namespace orvela {

namespace {

using Vec = std::array<double, 3>;

constexpr double Rad = std::numbers::pi / 180;
// Under this much arc, in radians, two points count as one (0.01 degree).
constexpr double SamePoint = 0.01 * Rad;

Vec Unit(double latDeg, double lonEastDeg)
{
    const double lat = latDeg * Rad;
    const double lonEastRad = lonEastDeg * Rad;
    return {std::cos(lat) * std::cos(lonEastRad), std::cos(lat) * std::sin(lonEastRad), std::sin(lat)};
}

double Dot(const Vec& a, const Vec& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec Cross(const Vec& a, const Vec& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Norm(const Vec& a)
{
    return std::sqrt(Dot(a, a));
}

// The component of v at right angles to the unit vector a, made a unit
// vector; false when v has (almost) none.
bool Perpendicular(const Vec& a, const Vec& v, Vec& out)
{
    const double along = Dot(a, v);
    const Vec p{v[0] - along * a[0], v[1] - along * a[1], v[2] - along * a[2]};
    const double n = Norm(p);
    if (n < 1e-9) {
        return false;
    }
    out = {p[0] / n, p[1] / n, p[2] / n};
    return true;
}

struct LatLon {
    double LatDeg;     // degrees north
    double LonEastDeg; // degrees east, -180..180
};

// Breaks the lines where the circle crosses the map's side edges or passes
// over a pole.
class Tracer {
public:
    Tracer(double width, double height)
        : width_(width)
        , height_(height)
    {
    }

    void Add(LatLon p)
    {
        // A point on the 180th meridian takes the side the line comes from,
        // so that a line along it is not broken at every point.
        if (have_ && std::fabs(p.LonEastDeg) > 180 - 1e-9 && last_.LonEastDeg != 0) {
            p.LonEastDeg = std::copysign(180.0, last_.LonEastDeg);
        }
        if (!lines_.empty() && have_) {
            const double d = p.LonEastDeg - last_.LonEastDeg;
            if (std::fabs(d) > 180) {
                // Over the 180th meridian: the crossing's height by
                // interpolation along the unwrapped longitude.
                const bool eastward = d < 0; // from +180 side to -180 side
                const double unwrapped = p.LonEastDeg + (eastward ? 360 : -360);
                const double edge = eastward ? 180 : -180;
                const double span = unwrapped - last_.LonEastDeg;
                const double f = std::fabs(span) < 1e-12 ? 0 : (edge - last_.LonEastDeg) / span;
                const double lat = last_.LatDeg + f * (p.LatDeg - last_.LatDeg);
                lines_.back().push_back(Pixel({lat, edge}));
                lines_.push_back({Pixel({lat, -edge})});
            } else if (std::fabs(d) > 90 && std::fabs(p.LatDeg) > 60 && std::fabs(last_.LatDeg) > 60) {
                // Over a pole: up to the edge at one longitude, down from it
                // at the other. (A circle that only comes near the pole
                // sweeps along the edge: its longitude turns by less at
                // each step, and the line follows it.)
                const double pole = p.LatDeg > 0 ? 90 : -90;
                lines_.back().push_back(Pixel({pole, last_.LonEastDeg}));
                lines_.push_back({Pixel({pole, p.LonEastDeg})});
            }
        } else if (lines_.empty()) {
            lines_.emplace_back();
        }
        lines_.back().push_back(Pixel(p));
        last_ = p;
        have_ = true;
    }

    std::vector<TrackLine> Take() { return std::move(lines_); }

private:
    TrackPoint Pixel(const LatLon& p) const
    {
        return {(180 + p.LonEastDeg) / 360 * width_, (90 - p.LatDeg) / 180 * height_};
    }

    double width_;
    double height_;
    std::vector<TrackLine> lines_;
    LatLon last_{0, 0};
    bool have_ = false;
};

LatLon ToLatLon(const Vec& v)
{
    return {std::atan2(v[2], std::hypot(v[0], v[1])) / Rad, std::atan2(v[1], v[0]) / Rad};
}

// The points of the circle a cos t + u sin t for t from `from` to `to`
// radians.
std::vector<TrackLine> Trace(const Vec& a, const Vec& u, double from, double to, double stepRad, double width,
                             double height)
{
    Tracer tracer(width, height);
    const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(to - from) / stepRad)));
    for (int i = 0; i <= steps; ++i) {
        const double t = from + (to - from) * i / steps;
        const double c = std::cos(t);
        const double s = std::sin(t);
        tracer.Add(ToLatLon({a[0] * c + u[0] * s, a[1] * c + u[1] * s, a[2] * c + u[2] * s}));
    }
    return tracer.Take();
}

} // namespace

GreatCircleTracks GreatCircleTrack(double homeLatDeg, double homeLonWestDeg, double remoteLatDeg,
                                   double remoteLonWestDeg, double width, double height, double stepDeg)
{
    GreatCircleTracks tracks;
    if (!(std::isfinite(homeLatDeg) && std::isfinite(homeLonWestDeg) && std::isfinite(remoteLatDeg) &&
          std::isfinite(remoteLonWestDeg) && width > 0 && height > 0 && stepDeg > 0)) {
        return tracks;
    }
    const Vec a = Unit(homeLatDeg, -homeLonWestDeg);
    const Vec b = Unit(remoteLatDeg, -remoteLonWestDeg);
    const double arc = std::atan2(Norm(Cross(a, b)), Dot(a, b));
    if (arc < SamePoint) {
        return tracks;
    }
    // The direction of travel from home along the circle, toward the remote
    // point; for antipodes, toward the North Pole (or, from a pole, toward
    // Greenwich's meridian).
    Vec u;
    if (!Perpendicular(a, b, u) && !Perpendicular(a, {0, 0, 1}, u) && !Perpendicular(a, {1, 0, 0}, u)) {
        return tracks;
    }
    const double step = stepDeg * Rad;
    tracks.ShortPath = Trace(a, u, 0, arc, step, width, height);
    tracks.LongPath = Trace(a, u, 0, arc - 2 * std::numbers::pi, step, width, height);
    return tracks;
}

} // namespace orvela
