#include "engine/geometry.h"

#include <cmath>

namespace orvela {

namespace {
// Below this a cosine of latitude or a sine of path length is taken as zero:
// the point is a pole, or the path has no direction.
constexpr ld Degenerate = 1e-15L;
// A path within this central angle (about 60 m) of zero or of a half turn
// has no direction either. Rounding leaves coincident and antipodal points
// up to about 1e-9 rad apart from those values, which is far above
// Degenerate and would give them an arbitrary bearing.
constexpr ld DegenerateArc = 1e-8L;
} // namespace

void SetHomePath(Workspace& ws, ld homeLat, ld homeLonWestRad, ld azimuth, ld deltaLon)
{
    ws.HomeLat = homeLat;
    ws.HomeLon = homeLonWestRad;
    ws.Azimuth = azimuth;
    ws.DeltaLon = deltaLon;
    sincosl(homeLat, &ws.SinHomeLat, &ws.CosHomeLat);
    ws.CosAzimuth = cosl(azimuth);
}

void SetSun(Workspace& ws, ld sunDecl, ld sunLonWestRad)
{
    // The declination is the same every hour of a run: its sine and cosine
    // are worked out when it changes.
    if (!ws.SunDeclTrigValid || sunDecl != ws.SunDecl) {
        sincosl(sunDecl, &ws.SinSunDecl, &ws.CosSunDecl);
        ws.SunDeclTrigValid = true;
    }
    ws.SunDecl = sunDecl;
    ws.SunLon = sunLonWestRad;
}

int Sign(ld xval)
{
    return xval < 0 ? -1 : 1;
}

ld FoldLongitude(ld deltaLon)
{
    if (deltaLon >= ShortPi) {
        deltaLon -= ShortTwoPi;
    }
    if (deltaLon <= -ShortPi) {
        deltaLon += ShortTwoPi;
    }
    return deltaLon;
}

ld ClampUnit(ld x)
{
    if (std::isnan(x)) {
        return 1;
    }
    if (x < -1) {
        return -1;
    }
    if (x > 1) {
        return 1;
    }
    return x;
}

ld BearingFromArc(ld sinFrom, ld cosFrom, ld fromLat, ld sinTo, ld d)
{
    const ld sinD = sinl(d);
    const ld den = cosFrom * sinD;
    if (fabsl(cosFrom) < Degenerate) {
        return fromLat > 0 ? Pi : 0; // every way from a pole leads south (north)
    }
    if (fabsl(sinD) < DegenerateArc || fabsl(den) < Degenerate) {
        return 0; // coincident or antipodal points: look north
    }
    return acosl(ClampUnit((sinTo - sinFrom * cosl(d)) / den));
}

ld ComputeBearing(ld tla, ld tlo, ld rla, ld rlo)
{
    const ld deltaLon = FoldLongitude(tlo - rlo);
    ld st, ct, sr, cr;
    sincosl(tla, &st, &ct);
    sincosl(rla, &sr, &cr);
    const ld d = acosl(ClampUnit(st * sr + ct * cr * cosl(deltaLon)));
    ld az = BearingFromArc(st, ct, tla, sr, d);
    if (deltaLon < 0) {
        az = ShortTwoPi - az;
    }
    return az;
}

PathPoint PathPointAt(const Workspace& ws, ld dst)
{
    ld sd, cd;
    sincosl(dst, &sd, &cd);
    const ld c = acosl(ClampUnit(cd * ws.SinHomeLat + sd * ws.CosHomeLat * ws.CosAzimuth));
    const ld lat = ShortHalfPi - c;
    PathPoint p;
    sincosl(lat, &p.SinLat, &p.CosLat);

    const ld den = ws.CosHomeLat * p.CosLat;
    ld dl;
    if (fabsl(ws.CosHomeLat) < Degenerate) {
        // Home at a pole: the path runs down the remote point's meridian.
        dl = fabsl(ws.DeltaLon);
    } else if (fabsl(p.CosLat) < Degenerate) {
        // The point is a pole; its longitude does not matter to the sun.
        dl = 0;
    } else {
        dl = acosl(ClampUnit((cd - p.SinLat * ws.SinHomeLat) / den));
    }
    if (ws.DeltaLon < 0) {
        dl = -dl;
    }
    p.LonWestRad = FoldLongitude(ws.HomeLon - dl);
    return p;
}

ld SunZenithAt(const Workspace& ws, const PathPoint& p)
{
    const ld h = ws.SunLon - p.LonWestRad;
    return acosl(ClampUnit(p.SinLat * ws.SinSunDecl + p.CosLat * ws.CosSunDecl * cosl(h)));
}

ld Zenith(const Workspace& ws, ld dst)
{
    return SunZenithAt(ws, PathPointAt(ws, dst));
}

ld TakeOffAngle(ld halfHop, ld ratio)
{
    ld s, c;
    sincosl(halfHop, &s, &c);
    return atanl((c - ratio) / s);
}

ld IncidenceAngle(ld beta, ld layerRadius)
{
    const ld x = EarthRadius * cosl(beta) / layerRadius;
    return atanl(x / sqrtl(1 - x * x));
}

} // namespace orvela
