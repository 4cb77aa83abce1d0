#include "engine/minimuf.h"

#include "engine/geometry.h"

#include <cmath>

namespace orvela {

namespace {

// The constants of MINIMUF 3.5 (R. B. Rose, "MINIMUF: a simplified
// MUF-prediction program for microcomputers", QST, December 1982), each with
// its unit. Every one is used exactly as written: the reference tables
// depend on each digit.

// Sunspot number R for the 10.7 cm flux: none below 65 sfu, then a
// parabola, a line and a parabola. The pieces do not meet exactly at 110
// and 213 sfu, and the small steps there are kept.
struct SpotsParabola {
    ld PeakSpots;    // R at the vertex
    ld SpotsPerSfu2; // curvature, per sfu squared
    ld VertexSfu;    // flux at the vertex
};
constexpr ld LeastFluxSfu = 65;
constexpr ld LineFromSfu = 110;
constexpr ld UpperParabolaFromSfu = 213;
constexpr SpotsParabola LowerParabola = {108.36L, 0.005896L, 200.6L};
constexpr ld LineSpotsPerSfu = 1.068L;
constexpr ld LineSpotsAtStart = 60;
constexpr SpotsParabola UpperParabola = {384, 0.0011059L, 652.9L};

// Control points: one per 1/1.59 rad of path, about 4,000 km. The step
// between them is |0.9999 - 1/K| of the path.
constexpr ld ControlPointsPerRadian = 1.59L;
constexpr ld StepBase = 0.9999L;

// The path factor M9 = 1 + 2.5 sin Q sqrt(sin Q), with Q = 2.5 D / K at
// most a quarter turn: the MUF of a long hop over that of a vertical one.
constexpr ld PathAngleScale = 2.5L;
constexpr ld PathFactorGain = 2.5L;

// MINIMUF's own sun, one of three sun models in the program (see
// docs/model.md). The season angle A = 0.0172 (30.4 (mo - 1) + 10 + dy)
// counts from the December solstice, 10 days before the year begins, in
// months of 30.4 days; the negated declination is 0.409 cos A.
constexpr ld SeasonRadiansPerDay = 0.0172L; // rad/day, about 2 pi / 365
constexpr ld DaysPerMonth = 30.4L;
constexpr ld SolsticeToYearStartDays = 10;
constexpr ld ObliquityRad = 0.409L; // 23.4 degrees, the greatest declination

// Local noon in UTC, Y = 3.82 L + 12 + 0.13 (sin A + 1.2 sin 2A) hours, L the
// control point's longitude (radians, positive west):
// the sun's hour angle moves 24 hours per turn of longitude (3.82 is about
// 24 / 2 pi), and the equation of time has a yearly and a half-yearly term.
constexpr ld HoursPerRadian = 3.82L;
constexpr ld EquationOfTimeHours = 0.13L;
constexpr ld HalfYearlyTermRatio = 1.2L;

constexpr ld HalfDayHours = 12;

// The ionospheric day lasts while the sun is less than 15 degrees below the
// horizon: cos 105 degrees = -0.26. Its length is
// Dl = 12 - 7.639437 atan(x / sqrt|1 - x^2|) hours, 7.639437 being 24 / pi
// to seven digits; 0.001 keeps x finite at the poles.
constexpr ld TwilightCosine = 0.26L;
constexpr ld HoursPerRadianOfArc = 7.639437L;
constexpr ld PolarGuard = 0.001L;

// The ionisation's time constant X = 9.7 Z^9.6 hours, at least 0.1 hour,
// with Z the cosine of the sun's zenith angle at noon. At night the
// ionisation decays as e^(-t/2), t in hours.
constexpr ld TimeConstantHours = 9.7L;
constexpr ld TimeConstantExponent = 9.6L;
constexpr ld LeastTimeConstantHours = 0.1L;
constexpr ld NightDecayHours = 2;

// A control point's frequency, sqrt(6 + 58 sqrt G) M9 (1 + R / 250) MHz,
// then three corrections of 10% each: a short ionospheric day, e^((Dl -
// 24) / 3), a path across the equator, and a control point at or beyond
// 45 degrees of latitude.
constexpr ld NightFrequencySquaredMhz2 = 6;
constexpr ld IonisationFrequencySquaredMhz2 = 58;
constexpr ld SunspotScale = 250;
constexpr ld CorrectionStep = 0.1L;
constexpr ld ShortDayHours = 3;

// The MUF of a path when no control point gives less.
constexpr ld MufCeilingMhz = 100;

ld SpotsOn(const SpotsParabola& p, ld flx)
{
    const ld t = flx - p.VertexSfu;
    return p.PeakSpots - p.SpotsPerSfu2 * (t * t);
}

} // namespace

ld FluxToSpots(ld flx)
{
    if (flx < LeastFluxSfu) {
        return 0;
    }
    if (flx < LineFromSfu) {
        return SpotsOn(LowerParabola, flx);
    }
    if (flx < UpperParabolaFromSfu) {
        return LineSpotsPerSfu * (flx - LineFromSfu) + LineSpotsAtStart;
    }
    return SpotsOn(UpperParabola, flx);
}

void PrepareMiniMuf(MiniMufPath& path, ld mo, ld dy, ld tla, ld tlo, ld rla, ld rlo)
{
    path.Points.clear();

    ld stla, ctla, srla, crla;
    sincosl(tla, &stla, &ctla);
    sincosl(rla, &srla, &crla);

    // Path length and control-point factor.
    const ld D = acosl(ClampUnit(stla * srla + ctla * crla * cosl(rlo - tlo)));
    ld K = ControlPointsPerRadian * D;
    if (K < 1) {
        K = 1;
    }

    // Cosine of the bearing from the second station towards the first.
    // Coincident stations have none; every control point is then the station
    // itself and the bearing is multiplied by sin 0, so any finite value does.
    ld cB = (stla - srla * cosl(D)) / (crla * sinl(D));
    if (!std::isfinite(cB)) {
        cB = 0;
    }

    // A is the season as an angle, Dn the negated declination.
    const ld A = SeasonRadiansPerDay * (DaysPerMonth * (mo - 1) + SolsticeToYearStartDays + dy);
    const ld Dn = ObliquityRad * cosl(A);
    ld sDn, cDn;
    sincosl(Dn, &sDn, &cDn);

    ld Q = PathAngleScale * D / K;
    if (Q > ShortHalfPi) {
        Q = ShortHalfPi;
    }
    const ld sQ = sinl(Q);
    path.M9 = 1 + PathFactorGain * sQ * sqrtl(sQ);
    path.HemisphereFactor = 1 + CorrectionStep * (1 - Sign(tla) * Sign(rla));

    const ld equationOfTime = EquationOfTimeHours * (sinl(A) + HalfYearlyTermRatio * sinl(2 * A));
    const int deltaLonSign = Sign(sinl(tlo - rlo));

    ld T = 1 / (2 * K);
    const ld last = 1 - 1 / (2 * K);
    ld step = fabsl(StepBase - 1 / K);
    const ld span = last - T;
    if (span > 0 && step * MaxControlPoints < span) {
        step = span / MaxControlPoints;
    }

    while (T <= last) {
        const ld P = D * T;
        ld sP, cP;
        sincosl(P, &sP, &cP);
        const ld s = ClampUnit(srla * cP + crla * sP * cB);
        const ld latC = ShortHalfPi - acosl(s);
        const ld q = ClampUnit((cP - s * srla) / (sqrtl(1 - s * s) * crla));
        ld controlLonWestRad = rlo + deltaLonSign * acosl(q);
        if (controlLonWestRad < 0) {
            controlLonWestRad += ShortTwoPi;
        }
        if (controlLonWestRad >= ShortTwoPi) {
            controlLonWestRad -= ShortTwoPi;
        }

        ld Y = HoursPerRadian * controlLonWestRad + HalfDayHours + equationOfTime;
        if (Y >= HoursPerDay) {
            Y -= HoursPerDay;
        }
        const ld cz = cosl(latC + Dn);
        ld sLat, cLat;
        sincosl(latC, &sLat, &cLat);

        ControlPoint cp;
        cp.LatFactor = 1 - CorrectionStep * (1 + Sign(fabsl(sLat) - cLat));
        if (cz <= -TwilightCosine) {
            cp.Dark = true;
            cp.Dl = 0;
        } else {
            const ld x = (sLat * sDn - TwilightCosine) / (cLat * cDn + PolarGuard);
            // At |x| = 1 the quotient is infinite and the arc tangent gives
            // its limit, a quarter turn.
            cp.Dl = HalfDayHours - HoursPerRadianOfArc * atanl(x / sqrtl(fabsl(1 - x * x)));
            cp.Tr = Y - cp.Dl / 2;
            if (cp.Tr < 0) {
                cp.Tr += HoursPerDay;
            }
            cp.Ts = Y + cp.Dl / 2;
            if (cp.Ts >= HoursPerDay) {
                cp.Ts -= HoursPerDay;
            }
            cp.Z = fabsl(cz);
            cp.X = TimeConstantHours * powl(cp.Z, TimeConstantExponent);
            if (cp.X < LeastTimeConstantHours) {
                cp.X = LeastTimeConstantHours;
            }
            cp.M = ShortPi * cp.X / cp.Dl;
            cp.NightDecay = 1 + expl(-cp.Dl / cp.X);
        }
        cp.DayFactor = 1 - CorrectionStep * expl((cp.Dl - HoursPerDay) / ShortDayHours);
        path.Points.push_back(cp);
        T += step;
    }
}

namespace {

ld Ionisation(const ControlPoint& cp, ld ho)
{
    if (cp.Dark) {
        return 0;
    }
    const ld Tr = cp.Tr, Ts = cp.Ts, Dl = cp.Dl, X = cp.X, M = cp.M, Z = cp.Z;
    bool night;
    if (Tr > Ts && (ho - Ts) * (Tr - ho) > 0) {
        night = true;
    } else if (Tr > Ts) {
        night = false;
    } else {
        night = !((ho - Tr) * (Ts - ho) > 0);
    }
    if (night) {
        ld h = ho;
        if (Ts - ho >= 0) {
            h += HoursPerDay;
        }
        return Z * M * cp.NightDecay * expl((Ts - h) / NightDecayHours) / (1 + M * M);
    }
    ld h = ho;
    if (Tr - ho >= 0) {
        h += HoursPerDay;
    }
    const ld theta = ShortPi * (h - Tr) / Dl;
    ld sT, cT;
    sincosl(theta, &sT, &cT);
    ld G = Z * (sT + M * (expl((Tr - h) / X) - cT)) / (1 + M * M);
    const ld Gn = Z * M * cp.NightDecay * expl((Dl - HoursPerDay) / NightDecayHours) / (1 + M * M);
    if (Gn > G) {
        G = Gn;
    }
    return G;
}

} // namespace

ld EvalMiniMuf(const MiniMufPath& path, ld ho, ld sunSpots)
{
    ld muf = MufCeilingMhz;
    for (const ControlPoint& cp : path.Points) {
        const ld G = Ionisation(cp, ho);
        ld F = sqrtl(NightFrequencySquaredMhz2 + IonisationFrequencySquaredMhz2 * sqrtl(G)) * path.M9 *
               (1 + sunSpots / SunspotScale);
        F = F * cp.DayFactor;
        F = F * path.HemisphereFactor;
        F = F * cp.LatFactor;
        if (F < muf) {
            muf = F;
        }
    }
    return muf;
}

ld MiniMuf(ld mo, ld dy, ld ho, ld tla, ld tlo, ld rla, ld rlo, ld sunSpots)
{
    MiniMufPath path;
    PrepareMiniMuf(path, mo, dy, tla, tlo, rla, rlo);
    return EvalMiniMuf(path, ho, sunSpots);
}

} // namespace orvela
