#include "engine/geometry.h"
#include "engine/ionosphere.h"
#include "engine/minimuf.h"
#include "engine/prediction.h"
#include "engine/run_steps.h"

#include <algorithm>
#include <cmath>

namespace orvela {

namespace {

// The run's constants, each with its unit. The ionosphere stage's are in
// ionosphere_constants.h, the Earth's and the layers' in model.h.

// Take-off angles and ray paths of the four modes are worked out for a
// reflection 350 km up: the 320 km F layer plus 30 km.
constexpr ld LayerHeight = 350; // km
constexpr ld FLayerRatio = EarthRadius / FLayerRadius;
constexpr ld LayerRatio = EarthRadius / (EarthRadius + LayerHeight);

// The run's own sun, one of three sun models in the program (see
// docs/model.md): the declination is 23.5 sin(2 pi (n - 80) / 365.25)
// degrees on day n of a 365.25-day year of twelve equal months, with the
// March equinox on day 80. The sun stands over Greenwich at 12 UTC and its
// hour angle moves 15 degrees an hour, with no equation of time.
constexpr ld GreatestDeclinationDeg = 23.5L;
constexpr ld DaysPerYear = 365.25L;
constexpr int MonthsPerYear = 12;
constexpr int MarchEquinoxDay = 80;
constexpr int HourAngleDegPerHour = 15;
constexpr int MidnightHourAngleDeg = 180; // the sun over the antimeridian at 0 UTC

// A mode whose E-layer MUF, the sun overhead, stays this little below the
// band is still screened at it: the margin covers the rounding of powl.
constexpr ld ScreeningMargin = 1.001L;

ld RoundHalfEven(ld x)
{
    return nearbyintl(x); // the default rounding mode: to nearest, ties to even
}

std::string LatitudeText(ld lat)
{
    const ld deg = lat * RadToDeg;
    return lat > 0 ? FormatFixed(deg, 1) + "\u00B0N" : FormatFixed(-deg, 1) + "\u00B0S";
}

std::string LongitudeText(ld lon)
{
    const ld deg = lon * RadToDeg;
    return lon > 0 ? FormatFixed(deg, 1) + "\u00B0O" : FormatFixed(-deg, 1) + "\u00B0E";
}

// The state of the best band of an hour, kept as it was when that band was
// evaluated: later bands rewrite the workspace's levels and flags.
struct BestBand {
    int Band = 0;
    int Hops = 0;
    ld Level = 0;
    std::uint8_t Flags = 0;
};

} // namespace

HopSearch SearchHops(ld pathAngle, ld minAngle)
{
    // Hop search over the 320 km layer: the fewest hops whose take-off angle
    // reaches the minimum asked. The four modes BaseHops .. BaseHops + 3 must
    // fit the per-hop-count arrays, so the search stops at 27 hops; a mode
    // that still leaves below the minimum is then shown with its real,
    // lower, take-off angle.
    constexpr int hopBound = MaxHops - (ModesPerHour - 1);
    int baseHops = static_cast<int>(RoundHalfEven(pathAngle / (2 * acosl(FLayerRatio))));
    if (baseHops > hopBound) {
        baseHops = hopBound;
    }
    ld baseElev = 0;
    ld halfHop = 0;
    bool searched = false;
    while (baseElev < minAngle && baseHops < hopBound) {
        ++baseHops;
        halfHop = pathAngle / (2 * baseHops);
        baseElev = TakeOffAngle(halfHop, FLayerRatio);
        searched = true;
    }
    // A path shorter than half a hop with no minimum angle still takes one hop.
    if (baseHops < 1) {
        baseHops = 1;
    }
    // Without a search (minimum angle 0) the delay still follows the hops
    // flown: their half span and take-off angle.
    ld delayElev = baseElev;
    if (!searched) {
        halfHop = pathAngle / (2 * baseHops);
        delayElev = TakeOffAngle(halfHop, FLayerRatio);
    }
    // On a path of zero length (the remote point on the home station) the
    // hops go straight up and down: the sine of the half hop and the cosine
    // of its take-off angle both vanish, and the ray path is their limit,
    // twice the layer height per hop.
    const ld pathDelay =
        halfHop > 0
            ? 2 * baseHops * FLayerRadius * sinl(halfHop) / cosl(delayElev) / LightSpeed * MsPerKmOverMetresPerSecond
            : 2 * baseHops * (FLayerRadius - EarthRadius) / LightSpeed * MsPerKmOverMetresPerSecond;

    return HopSearch{baseHops, baseElev, delayElev, pathDelay};
}

void PreparePath(const RunInput& in, Workspace& ws, PathPlan& plan)
{
    const Settings& st = in.Station;
    ws.Flux = in.Flux;
    ws.SunSpots = FluxToSpots(ws.Flux);
    ws.Power = st.Power;
    ws.GainTable = st.GainTable;
    const ld minAngle = st.MinAngle * DegToRad;

    // Geometry of the path.
    const ld homeLat = st.Latitude * DegToRad;
    const ld homeLon = st.Longitude * DegToRad;
    ws.RemoteLon = in.RemoteLonDeg * DegToRad;
    ws.RemoteLat = in.RemoteLatDeg * DegToRad;
    const ld deltaLon = FoldLongitude(homeLon - ws.RemoteLon);
    ld sH, cH, sR, cR;
    sincosl(homeLat, &sH, &cH);
    sincosl(ws.RemoteLat, &sR, &cR);
    ld pathAngle = acosl(ClampUnit(sH * sR + cH * cR * cosl(deltaLon)));
    ld azimuth = BearingFromArc(sH, cH, homeLat, sR, pathAngle);
    if (deltaLon < 0) {
        azimuth = ShortTwoPi - azimuth;
    }
    ld backAzimuth = BearingFromArc(sR, cR, ws.RemoteLat, sH, pathAngle);
    if (deltaLon >= 0) {
        backAzimuth = ShortTwoPi - backAzimuth;
    }
    if (st.Path) {
        pathAngle = ShortTwoPi - pathAngle;
        azimuth += ShortPi;
        if (azimuth >= ShortTwoPi) {
            azimuth -= ShortTwoPi;
        }
        backAzimuth += ShortPi;
        if (backAzimuth >= ShortTwoPi) {
            backAzimuth -= ShortTwoPi;
        }
    }
    SetHomePath(ws, homeLat, homeLon, azimuth, deltaLon);
    ws.BackAzimuth = backAzimuth;

    const HopSearch hops = SearchHops(pathAngle, minAngle);
    const int baseHops = hops.BaseHops;
    const ld incidence = IncidenceAngle(hops.BaseElev, FLayerRadius);

    plan.PathAngle = pathAngle;
    plan.Azimuth = azimuth;
    plan.BackAzimuth = backAzimuth;
    plan.BaseHops = baseHops;
    plan.Summary.DistanceKm = pathAngle * EarthRadius;
    plan.Summary.AzimuthDeg = azimuth * RadToDeg;
    plan.Summary.BackAzimuthDeg = backAzimuth * RadToDeg;
    plan.Summary.BaseHops = baseHops;
    plan.Summary.BaseElevDeg = hops.DelayElev * RadToDeg;
    plan.Summary.DelayMs = hops.DelayMs;

    ws.NoiseLevel = DbPerDecade * log10l(LevelFloorWatts) + DbwToDbm;
    plan.LocalOffset = static_cast<int>(ws.RemoteLon * HoursPerDay / ShortTwoPi);

    // Everything of the hourly model that does not change with the hour:
    // the control points of the MUF model, the path midpoint, and each
    // mode's hop geometry and midpoints. Only the sun moves from hour to hour.
    PrepareMiniMuf(plan.Muf, in.Month, in.Day, ws.HomeLat, ws.HomeLon, ws.RemoteLat, ws.RemoteLon);
    plan.Midpoint = PathPointAt(ws, pathAngle / 2);
    plan.CosIncidence = cosl(incidence);
    for (int k = baseHops; k <= baseHops + 3; ++k) {
        const ld hh = pathAngle / (2 * k);
        ws.TakeOff[k] = TakeOffAngle(hh, LayerRatio);
        ws.RayPath[k] = hh > 0 ? sinl(hh) * (2 * k) * (EarthRadius + LayerHeight) / cosl(ws.TakeOff[k])
                               : 2 * k * LayerHeight; // straight up and down, as for the delay
        PrepareIonMode(ws, k, pathAngle, plan.Modes[k - baseHops]);
    }
    // The run's own sun: its declination for the date.
    plan.SunDecl =
        GreatestDeclinationDeg *
        sinl(ShortTwoPi * ((in.Month - 1) * DaysPerYear / MonthsPerYear + in.Day - MarchEquinoxDay) / DaysPerYear) *
        DegToRad;
}

void BeginHour(const PathPlan& plan, Workspace& ws, int h)
{
    const ld muf = EvalMiniMuf(plan.Muf, h, ws.SunSpots);
    const ld critFreq = muf * plan.CosIncidence;
    SetSun(ws, plan.SunDecl, (HourAngleDegPerHour * h - MidnightHourAngleDeg) * DegToRad);
    const int base = plan.BaseHops;
    for (int k = base; k <= base + 3; ++k) {
        IonHour(ws, k, critFreq, plan.Modes[k - base]);
        // No level yet this hour: a mode that Pathloss leaves unevaluated at
        // a band keeps this, never an earlier hour's level.
        ws.SigLevel[k] = 0;
    }
}

void BeginBandHour(const PathPlan& plan, Workspace& ws, int h, ld frq)
{
    const ld muf = EvalMiniMuf(plan.Muf, h, ws.SunSpots);
    const ld critFreq = muf * plan.CosIncidence;
    SetSun(ws, plan.SunDecl, (HourAngleDegPerHour * h - MidnightHourAngleDeg) * DegToRad);
    // The E layer's critical frequency at its highest, the sun overhead: a
    // mode whose E-layer MUF cannot reach frq even then is never screened
    // at frq, so its E-layer MUF need not be worked out.
    const ld R = ws.SunSpots;
    const ld foEMax =
        std::max(FoEFactorMhz * powl(FoEBase + FoEPerSunspot * R, FoEExponent), NightFoEPerSunspotMhz * R);
    const int base = plan.BaseHops;
    for (int k = base; k <= base + 3; ++k) {
        const IonMode& mode = plan.Modes[k - base];
        const ld fmuf = critFreq / mode.CosPhiF;
        if (frq >= OptimumWorkingFactor * fmuf) {
            // Above the mode's optimum working frequency: Pathloss passes it
            // by at this frequency, so its hop midpoints are not worked out.
            ws.EMuf[k] = 0;
            ws.FMuf[k] = fmuf;
            ws.AbsIndex[k] = 0;
            ws.HopFlags[k] = 0;
        } else {
            IonHour(ws, k, critFreq, mode, !(foEMax / mode.CosPhiE * ScreeningMargin < frq));
        }
        ws.SigLevel[k] = 0;
    }
}

void WriteHourColumn(const PathPlan& plan, Workspace& ws, DisplayFormat display, int h,
                     const std::vector<TableBand>& bands, Prediction& out)
{
    const int col = h + 1;
    out.At(col, RowUtc).Text = std::to_string(h) + "h";
    int local = h - plan.LocalOffset;
    if (local < 0) {
        local += HoursPerDay;
    } else if (local >= HoursPerDay) {
        local -= HoursPerDay;
    }
    out.At(col, RowLocal).Text = std::to_string(local) + "h";

    BeginHour(plan, ws, h);
    const int baseHops = plan.BaseHops;
    out.At(col, RowMuf).Text = FormatFixed(ws.FMuf[baseHops], 1);
    const ld midZenith = SunZenithAt(ws, plan.Midpoint);
    out.At(col, RowZen).Text = FormatFixed(90 - midZenith * RadToDeg, 1);

    // The best band of the hour starts afresh every hour.
    BestBand best;
    ld level = ws.NoiseLevel;
    const int rows = static_cast<int>(std::min<std::size_t>(bands.size(), BandCount));
    for (int n = 1; n <= rows; ++n) {
        const int idx = Pathloss(ws, baseHops, bands[static_cast<std::size_t>(n - 1)].Mhz);
        if (display != DisplayFormat::BestFrequency) {
            Dsx(out, ws, display, h, n, idx);
        }
        if (idx > 0 && ws.SigLevel[idx] > level) {
            level = ws.SigLevel[idx];
            best = BestBand{n, idx, ws.SigLevel[idx], ws.HopFlags[idx]};
        }
    }
    if (display == DisplayFormat::BestFrequency && best.Band > 0) {
        // The best band of the set in use: a fixed row by its whole MHz, an
        // amateur band by its name.
        const TableBand& band = bands[static_cast<std::size_t>(best.Band - 1)];
        out.At(col, RowBestFreq).Text = band.Name.empty() ? std::to_string(static_cast<int>(band.Mhz)) : band.Name;
        out.At(col, RowBestCell).Text = ResultCellText(best.Level - SensitivityDbm, best.Flags, best.Hops);
    }
}

void WriteHeaderStrips(const RunInput& in, const Workspace& ws, const PathSummary& path, Prediction& out)
{
    const Settings& st = in.Station;
    out.H2[0] = "Solar flux at 10.7cm : " + FormatFixed(ws.Flux, 1);
    out.H2[1] = "Sun spots : " + FormatFixed(ws.SunSpots, 1);
    out.H2[2] = "Date :" + FormatLongDate(in.LocalDate);
    out.H2[3] = "Power (dbW) : " + FormatFixed(st.Power, 0) + " dBW";
    out.H2[4] = ModelBanner;
    out.H1[0] = st.CallSign + " Lat " + LatitudeText(ws.HomeLat) + " Lon " + LongitudeText(ws.HomeLon) + " Azim " +
                FormatFixed(path.AzimuthDeg, 1);
    out.H1[1] = in.RemoteLabel + " Lat " + LatitudeText(ws.RemoteLat) + " Lon " + LongitudeText(ws.RemoteLon) +
                " Azim " + FormatFixed(path.BackAzimuthDeg, 1);
    out.H1[2] = "Distance (km) : " + FormatFixed(path.DistanceKm, 1) + " Km";
    out.H1[3] = "Delay : " + FormatFixed(path.DelayMs, 1) + " milliseconds";
}

void ComputeMUF(const RunInput& in, Workspace& ws, Prediction& out)
{
    const Settings& st = in.Station;
    VideTableau(out);

    PathPlan plan;
    PreparePath(in, ws, plan);
    out.Path = plan.Summary;

    WriteHeaderStrips(in, ws, plan.Summary, out);

    LabelGrid(out, st, in.Bands);
    for (int h = 0; h < HoursPerDay; ++h) {
        WriteHourColumn(plan, ws, st.Display, h, in.Bands, out);
    }
    ColorGrid(out, HighlightedHour(in), in.CaptionColor);
}

} // namespace orvela
