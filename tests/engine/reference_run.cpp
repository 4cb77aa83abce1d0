#include "tests/engine/reference_run.h"

#include "engine/geometry.h"
#include "engine/ionosphere.h"
#include "engine/minimuf.h"
#include "engine/run_steps.h"

#include <cmath>
#include <string>

namespace orvela_test {

using namespace orvela;

void ReferenceRun(const RunInput& in, Workspace& ws, Prediction& out)
{
    const Settings& st = in.Station;
    VideTableau(out);

    ws.Flux = in.Flux;
    ws.SunSpots = FluxToSpots(ws.Flux);
    ws.Power = st.Power;
    ws.GainTable = st.GainTable;
    const ld minAngle = st.MinAngle * DegToRad;

    ws.HomeLat = st.Latitude * DegToRad;
    ws.HomeLon = st.Longitude * DegToRad;
    ws.RemoteLon = in.RemoteLonWestDeg * DegToRad;
    ws.RemoteLat = in.RemoteLatDeg * DegToRad;
    ws.DeltaLon = FoldLongitude(ws.HomeLon - ws.RemoteLon);

    const ld sH = sinl(ws.HomeLat), cH = cosl(ws.HomeLat);
    const ld sR = sinl(ws.RemoteLat), cR = cosl(ws.RemoteLat);
    ld pathAngle = acosl(ClampUnit(sH * sR + cH * cR * cosl(ws.DeltaLon)));
    ws.Azimuth = BearingFromArc(sH, cH, ws.HomeLat, sR, pathAngle);
    if (ws.DeltaLon < 0) {
        ws.Azimuth = ShortTwoPi - ws.Azimuth;
    }
    ws.BackAzimuth = BearingFromArc(sR, cR, ws.RemoteLat, sH, pathAngle);
    if (ws.DeltaLon >= 0) {
        ws.BackAzimuth = ShortTwoPi - ws.BackAzimuth;
    }
    if (st.Path) {
        pathAngle = ShortTwoPi - pathAngle;
        ws.Azimuth += ShortPi;
        if (ws.Azimuth >= ShortTwoPi) {
            ws.Azimuth -= ShortTwoPi;
        }
        ws.BackAzimuth += ShortPi;
        if (ws.BackAzimuth >= ShortTwoPi) {
            ws.BackAzimuth -= ShortTwoPi;
        }
    }
    SetHomePath(ws, ws.HomeLat, ws.HomeLon, ws.Azimuth, ws.DeltaLon);

    // The hop search is the run's own; what follows works the hours out
    // the plain way.
    const HopSearch hops = SearchHops(pathAngle, minAngle);
    const int baseHops = hops.BaseHops;
    const ld x = EarthRadius * cosl(hops.BaseElev) / FLayerRadius;
    const ld incidence = atanl(x / sqrtl(1 - x * x));

    out.Path.DistanceKm = pathAngle * EarthRadius;
    out.Path.AzimuthDeg = ws.Azimuth * RadToDeg;
    out.Path.BackAzimuthDeg = ws.BackAzimuth * RadToDeg;
    out.Path.BaseHops = baseHops;
    out.Path.BaseElevDeg = hops.DelayElev * RadToDeg;
    out.Path.DelayMs = hops.DelayMs;

    WriteHeaderStrips(in, ws, out.Path, out);

    LabelGrid(out, st);
    ws.NoiseLevel = 10 * log10l(1.00095095e-17L) + 30;
    const int localOffset = static_cast<int>(ws.RemoteLon * 24 / ShortTwoPi);
    const ld layerHeight = 350;

    for (int h = 0; h < 24; ++h) {
        out.At(h + 1, RowUtc).Text = std::to_string(h) + "h";
        int local = h - localOffset;
        if (local < 0) {
            local += 24;
        } else if (local > 23) {
            local -= 24;
        }
        out.At(h + 1, RowLocal).Text = std::to_string(local) + "h";

        const ld muf = MiniMuf(in.Month, in.Day, h, ws.HomeLat, ws.HomeLon, ws.RemoteLat, ws.RemoteLon, ws.SunSpots);
        const ld critFreq = muf * cosl(incidence);
        const ld sunDecl =
            23.5L * sinl(ShortTwoPi * ((in.Month - 1) * 365.25L / 12 + in.Day - 80) / 365.25L) * DegToRad;
        SetSun(ws, sunDecl, (15 * h - 180) * DegToRad);
        const ld midZenith = Zenith(ws, pathAngle / 2);
        for (int k = baseHops; k <= baseHops + 3; ++k) {
            const ld hh = pathAngle / (2 * k);
            ws.TakeOff[k] = atanl((cosl(hh) - EarthRadius / (EarthRadius + layerHeight)) / sinl(hh));
            ws.RayPath[k] =
                hh > 0 ? sinl(hh) * (2 * k) * (EarthRadius + layerHeight) / cosl(ws.TakeOff[k]) : 2 * k * layerHeight;
            Ion(ws, k, pathAngle, critFreq);
        }
        out.At(h + 1, RowMuf).Text = FormatFixed(ws.FMuf[baseHops], 1);
        out.At(h + 1, RowZen).Text = FormatFixed(90 - midZenith * RadToDeg, 1);

        ld level = ws.NoiseLevel;
        int bestBand = 0;
        for (int n = 1; n <= BandCount; ++n) {
            const int idx = Pathloss(ws, baseHops, BandFreq(n));
            if (st.Display != DisplayFormat::BestFrequency) {
                Dsx(out, ws, st.Display, h, n, idx);
            }
            if (idx > 0 && ws.SigLevel[idx] > level) {
                level = ws.SigLevel[idx];
                bestBand = n;
            }
        }
        if (st.Display == DisplayFormat::BestFrequency && bestBand > 0) {
            // The later bands have rewritten the levels and flags: evaluate
            // the best band again so that the cell shows its own result.
            const int idx = Pathloss(ws, baseHops, BandFreq(bestBand));
            out.At(h + 1, RowBestFreq).Text = std::to_string(2 * bestBand);
            Dsx(out, ws, DisplayFormat::BestFrequency, h, bestBand, idx);
        }
    }

    ColorGrid(out, in.UtcHour, in.CaptionColor);
}

} // namespace orvela_test
