#include "engine/minimuf.h"

#include "engine/geometry.h"

#include <cmath>

namespace orvela {

ld FluxToSpots(ld flx)
{
    if (flx < 65) {
        return 0;
    }
    if (flx < 110) {
        const ld t = flx - 200.6L;
        return 108.36L - 0.005896L * (t * t);
    }
    if (flx < 213) {
        return 1.068L * (flx - 110) + 60;
    }
    const ld t = flx - 652.9L;
    return 384 - 0.0011059L * (t * t);
}

void PrepareMiniMuf(MiniMufPath& path, ld mo, ld dy, ld tla, ld tlo, ld rla, ld rlo)
{
    path.Points.clear();

    ld stla, ctla, srla, crla;
    sincosl(tla, &stla, &ctla);
    sincosl(rla, &srla, &crla);

    // Path length and control-point factor.
    const ld D = acosl(ClampUnit(stla * srla + ctla * crla * cosl(rlo - tlo)));
    ld K = 1.59L * D;
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

    // MINIMUF's own sun, one of three sun models in the program (see
    // docs/model.md): A is the day of the year as an angle, Dn the negated
    // declination.
    const ld A = 0.0172L * (30.4L * (mo - 1) + 10 + dy);
    const ld Dn = 0.409L * cosl(A);
    ld sDn, cDn;
    sincosl(Dn, &sDn, &cDn);

    ld Q = 2.5L * D / K;
    if (Q > ShortHalfPi) {
        Q = ShortHalfPi;
    }
    const ld sQ = sinl(Q);
    path.M9 = 1 + 2.5L * sQ * sqrtl(sQ);
    path.HemisphereFactor = 1 + 0.1L * (1 - Sign(tla) * Sign(rla));

    const ld equationOfTime = 0.13L * (sinl(A) + 1.2L * sinl(2 * A));
    const int lonSign = Sign(sinl(tlo - rlo));

    ld T = 1 / (2 * K);
    const ld last = 1 - 1 / (2 * K);
    ld step = fabsl(0.9999L - 1 / K);
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
        ld lonC = rlo + lonSign * acosl(q);
        if (lonC < 0) {
            lonC += ShortTwoPi;
        }
        if (lonC >= ShortTwoPi) {
            lonC -= ShortTwoPi;
        }

        ld Y = 3.82L * lonC + 12 + equationOfTime;
        if (Y >= 24) {
            Y -= 24;
        }
        const ld cz = cosl(latC + Dn);
        ld sLat, cLat;
        sincosl(latC, &sLat, &cLat);

        ControlPoint cp;
        cp.LatFactor = 1 - 0.1L * (1 + Sign(fabsl(sLat) - cLat));
        if (cz <= -0.26L) {
            cp.Dark = true;
            cp.Dl = 0;
        } else {
            const ld x = (sLat * sDn - 0.26L) / (cLat * cDn + 0.001L);
            // At |x| = 1 the quotient is infinite and the arc tangent gives
            // its limit, a quarter turn.
            cp.Dl = 12 - 7.639437L * atanl(x / sqrtl(fabsl(1 - x * x)));
            cp.Tr = Y - cp.Dl / 2;
            if (cp.Tr < 0) {
                cp.Tr += 24;
            }
            cp.Ts = Y + cp.Dl / 2;
            if (cp.Ts >= 24) {
                cp.Ts -= 24;
            }
            cp.Z = fabsl(cz);
            cp.X = 9.7L * powl(cp.Z, 9.6L);
            if (cp.X < 0.1L) {
                cp.X = 0.1L;
            }
            cp.M = ShortPi * cp.X / cp.Dl;
            cp.NightDecay = 1 + expl(-cp.Dl / cp.X);
        }
        cp.DayFactor = 1 - 0.1L * expl((cp.Dl - 24) / 3);
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
            h += 24;
        }
        return Z * M * cp.NightDecay * expl((Ts - h) / 2) / (1 + M * M);
    }
    ld h = ho;
    if (Tr - ho >= 0) {
        h += 24;
    }
    const ld theta = ShortPi * (h - Tr) / Dl;
    ld sT, cT;
    sincosl(theta, &sT, &cT);
    ld G = Z * (sT + M * (expl((Tr - h) / X) - cT)) / (1 + M * M);
    const ld Gn = Z * M * cp.NightDecay * expl((Dl - 24) / 2) / (1 + M * M);
    if (Gn > G) {
        G = Gn;
    }
    return G;
}

} // namespace

ld EvalMiniMuf(const MiniMufPath& path, ld ho, ld sunSpots)
{
    ld muf = 100;
    for (const ControlPoint& cp : path.Points) {
        const ld G = Ionisation(cp, ho);
        ld F = sqrtl(6 + 58 * sqrtl(G)) * path.M9 * (1 + sunSpots / 250);
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
