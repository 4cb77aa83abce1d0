#include "engine/ionosphere.h"

#include "engine/bands.h"
#include "engine/geometry.h"

#include <cmath>
#include <utility>
#include <vector>

namespace orvela {

const std::array<ld, 5> GainFreqs = {3.5L, 7.0L, 14.0L, 21.0L, 28.0L};

// Gain in dB; row r is the elevation 2r degrees, columns follow GainFreqs.
const GainTableData DipoleGain = {{
    {{-30.0L, -30.0L, -30.0L, -30.0L, -30.0L}}, // 0 degrees
    {{-19.6L, -19.6L, -16.4L, -16.4L, -16.4L}}, // 2 degrees
    {{-13.6L, -13.6L, -10.4L, -10.4L, -10.4L}}, // 4 degrees
    {{-10.1L, -10.1L, -7.0L, -7.0L, -7.0L}},    // 6 degrees
    {{-7.7L, -7.7L, -4.6L, -4.6L, -4.6L}},      // 8 degrees
    {{-5.8L, -5.8L, -2.8L, -2.8L, -2.8L}},      // 10 degrees
    {{-4.3L, -4.3L, -1.3L, -1.3L, -1.3L}},      // 12 degrees
    {{-3.0L, -3.0L, -0.1L, -0.1L, -0.1L}},      // 14 degrees
    {{-2.0L, -2.0L, 0.8L, 0.8L, 0.8L}},         // 16 degrees
    {{-1.0L, -1.0L, 1.7L, 1.7L, 1.7L}},         // 18 degrees
    {{-0.2L, -0.2L, 2.4L, 2.4L, 2.4L}},         // 20 degrees
    {{0.5L, 0.5L, 3.0L, 3.0L, 3.0L}},           // 22 degrees
    {{1.2L, 1.2L, 3.6L, 3.6L, 3.6L}},           // 24 degrees
    {{1.8L, 1.8L, 4.0L, 4.0L, 4.0L}},           // 26 degrees
    {{2.3L, 2.3L, 4.4L, 4.4L, 4.4L}},           // 28 degrees
    {{2.8L, 2.8L, 4.8L, 4.8L, 4.8L}},           // 30 degrees
    {{3.2L, 3.2L, 5.1L, 5.1L, 5.1L}},           // 32 degrees
    {{3.6L, 3.6L, 5.3L, 5.3L, 5.3L}},           // 34 degrees
    {{3.9L, 3.9L, 5.5L, 5.5L, 5.5L}},           // 36 degrees
    {{4.3L, 4.3L, 5.7L, 5.7L, 5.7L}},           // 38 degrees
    {{4.6L, 4.6L, 5.8L, 5.8L, 5.8L}},           // 40 degrees
    {{4.9L, 4.9L, 6.0L, 6.0L, 6.0L}},           // 42 degrees
    {{5.1L, 5.1L, 6.0L, 6.0L, 6.0L}},           // 44 degrees
    {{5.3L, 5.3L, 6.1L, 6.1L, 6.1L}},           // 46 degrees
    {{5.5L, 5.5L, 6.1L, 6.1L, 6.1L}},           // 48 degrees
    {{5.7L, 5.7L, 6.2L, 6.2L, 6.2L}},           // 50 degrees
    {{5.9L, 5.9L, 6.2L, 6.2L, 6.2L}},           // 52 degrees
    {{6.1L, 6.1L, 6.2L, 6.2L, 6.2L}},           // 54 degrees
    {{6.2L, 6.2L, 6.2L, 6.2L, 6.2L}},           // 56 degrees
    {{6.4L, 6.4L, 6.1L, 6.1L, 6.1L}},           // 58 degrees
    {{6.5L, 6.5L, 6.1L, 6.1L, 6.1L}},           // 60 degrees
    {{6.6L, 6.6L, 6.0L, 6.0L, 6.0L}},           // 62 degrees
    {{6.7L, 6.7L, 6.0L, 6.0L, 6.0L}},           // 64 degrees
    {{6.8L, 6.8L, 5.9L, 5.9L, 5.9L}},           // 66 degrees
    {{6.9L, 6.9L, 5.9L, 5.9L, 5.9L}},           // 68 degrees
    {{6.9L, 6.9L, 5.8L, 5.8L, 5.8L}},           // 70 degrees
    {{7.0L, 7.0L, 5.8L, 5.8L, 5.8L}},           // 72 degrees
    {{7.0L, 7.0L, 5.7L, 5.7L, 5.7L}},           // 74 degrees
    {{7.1L, 7.1L, 5.7L, 5.7L, 5.7L}},           // 76 degrees
    {{7.1L, 7.1L, 5.6L, 5.6L, 5.6L}},           // 78 degrees
    {{7.2L, 7.2L, 5.6L, 5.6L, 5.6L}},           // 80 degrees
    {{7.2L, 7.2L, 5.5L, 5.5L, 5.5L}},           // 82 degrees
    {{7.2L, 7.2L, 5.5L, 5.5L, 5.5L}},           // 84 degrees
    {{7.2L, 7.2L, 5.5L, 5.5L, 5.5L}},           // 86 degrees
    {{7.2L, 7.2L, 5.5L, 5.5L, 5.5L}},           // 88 degrees
    {{7.2L, 7.2L, 5.5L, 5.5L, 5.5L}},           // 90 degrees
}};

const GainTableData YagiGain = {{
    {{-30.0L, -30.0L, -30.0L, -30.0L, -30.0L}}, // 0 degrees
    {{-19.6L, -16.4L, -6.8L, -3.6L, -1.3L}},    // 2 degrees
    {{-13.6L, -10.4L, -1.0L, 2.1L, 4.1L}},      // 4 degrees
    {{-10.1L, -7.0L, 2.2L, 5.0L, 6.6L}},        // 6 degrees
    {{-7.7L, -4.6L, 4.3L, 6.6L, 7.6L}},         // 8 degrees
    {{-5.8L, -2.8L, 5.7L, 7.4L, 7.5L}},         // 10 degrees
    {{-4.3L, -1.3L, 6.6L, 7.6L, 6.4L}},         // 12 degrees
    {{-3.0L, -0.1L, 7.2L, 7.2L, 3.9L}},         // 14 degrees
    {{-2.0L, 0.8L, 7.5L, 6.2L, -0.8L}},         // 16 degrees
    {{-1.0L, 1.7L, 7.5L, 4.5L, -12.1L}},        // 18 degrees
    {{-0.2L, 2.4L, 7.2L, 1.9L, -4.3L}},         // 20 degrees
    {{0.5L, 3.0L, 6.7L, -2.5L, 1.7L}},          // 22 degrees
    {{1.2L, 3.6L, 6.0L, -10.4L, 4.5L}},         // 24 degrees
    {{1.8L, 4.0L, 4.9L, -8.2L, 5.8L}},          // 26 degrees
    {{2.3L, 4.4L, 3.6L, -1.9L, 6.1L}},          // 28 degrees
    {{2.8L, 4.8L, 1.8L, 1.4L, 5.6L}},           // 30 degrees
    {{3.2L, 5.1L, -0.4L, 3.3L, 4.3L}},          // 32 degrees
    {{3.6L, 5.3L, -3.4L, 4.5L, 2.0L}},          // 34 degrees
    {{3.9L, 5.5L, -7.5L, 5.0L, -1.7L}},         // 36 degrees
    {{4.3L, 5.7L, -11.5L, 5.1L, -7.7L}},        // 38 degrees
    {{4.6L, 5.8L, -9.9L, 4.9L, -8.8L}},         // 40 degrees
    {{4.9L, 6.0L, -6.3L, 4.2L, -3.4L}},         // 42 degrees
    {{5.1L, 6.0L, -3.6L, 3.3L, -0.2L}},         // 44 degrees
    {{5.3L, 6.1L, -1.8L, 1.9L, 1.6L}},          // 46 degrees
    {{5.5L, 6.1L, -0.5L, 0.2L, 2.6L}},          // 48 degrees
    {{5.7L, 6.2L, 0.3L, -2.0L, 2.9L}},          // 50 degrees
    {{5.9L, 6.2L, 0.9L, -4.7L, 2.8L}},          // 52 degrees
    {{6.1L, 6.2L, 1.2L, -7.9L, 2.3L}},          // 54 degrees
    {{6.2L, 6.2L, 1.4L, -10.8L, 1.4L}},         // 56 degrees
    {{6.4L, 6.1L, 1.4L, -10.9L, 0.1L}},         // 58 degrees
    {{6.5L, 6.1L, 1.3L, -9.0L, -1.4L}},         // 60 degrees
    {{6.6L, 6.0L, 1.1L, -7.2L, -3.3L}},         // 62 degrees
    {{6.7L, 6.0L, 0.7L, -5.8L, -5.5L}},         // 64 degrees
    {{6.8L, 5.9L, 0.3L, -4.9L, -8.1L}},         // 66 degrees
    {{6.9L, 5.9L, -0.2L, -4.4L, -10.7L}},       // 68 degrees
    {{6.9L, 5.8L, -0.8L, -4.2L, -12.8L}},       // 70 degrees
    {{7.0L, 5.8L, -1.4L, -4.1L, -13.5L}},       // 72 degrees
    {{7.0L, 5.7L, -2.1L, -4.3L, -13.2L}},       // 74 degrees
    {{7.1L, 5.7L, -2.8L, -4.5L, -12.6L}},       // 76 degrees
    {{7.1L, 5.6L, -3.6L, -5.0L, -12.1L}},       // 78 degrees
    {{7.2L, 5.6L, -4.4L, -5.5L, -11.9L}},       // 80 degrees
    {{7.2L, 5.5L, -5.3L, -6.2L, -11.9L}},       // 82 degrees
    {{7.2L, 5.5L, -6.2L, -6.9L, -12.2L}},       // 84 degrees
    {{7.2L, 5.5L, -7.1L, -7.7L, -12.8L}},       // 86 degrees
    {{7.2L, 5.5L, -8.1L, -8.6L, -13.5L}},       // 88 degrees
    {{7.2L, 5.5L, -9.0L, -9.5L, -14.4L}},       // 90 degrees
}};

namespace {

constexpr ld FLayerRatio = EarthRadius / FLayerRadius;

// Denominator of the absorption loss at a frequency; it depends on the
// frequency alone, so the table frequencies are worked out once.
ld AbsorptionDenominator(ld frq)
{
    return powl(frq + GyroFrequencyMhz, AbsorptionExponent) + AbsorptionOffset;
}

const std::array<ld, BandCount + 1> BandAbsorptionDenominator = [] {
    std::array<ld, BandCount + 1> t{};
    for (int n = 1; n <= BandCount; ++n) {
        t[n] = AbsorptionDenominator(2 * n);
    }
    return t;
}();

ld AbsorptionDenominatorAt(ld frq)
{
    const int n = static_cast<int>(frq / 2);
    if (n >= 1 && n <= BandCount && frq == 2 * n) {
        return BandAbsorptionDenominator[n];
    }
    // The amateur bands' rows too: the planner evaluates them for every
    // target and hour, and powl is most of a path's work.
    static const std::vector<std::pair<ld, ld>> amateur = [] {
        std::vector<std::pair<ld, ld>> t;
        for (const TableBand& band : BandsOf(BandSet::Amateur)) {
            t.emplace_back(band.Mhz, AbsorptionDenominator(band.Mhz));
        }
        return t;
    }();
    for (const auto& [mhz, denominator] : amateur) {
        if (frq == mhz) {
            return denominator;
        }
    }
    return AbsorptionDenominator(frq);
}

// Cosine of the E-layer incidence angle of mode k, remembered per take-off angle.
ld CosPhiEOf(Workspace& ws, int k)
{
    const ld beta = ws.TakeOff[k];
    if (!ws.CosPhiEValid[k] || ws.CosPhiEKey[k] != beta) {
        ws.CosPhiEKey[k] = beta;
        ws.CosPhiEValue[k] = cosl(IncidenceAngle(beta, ELayerRadius));
        ws.CosPhiEValid[k] = true;
    }
    return ws.CosPhiEValue[k];
}

} // namespace

void PrepareIonMode(const Workspace& ws, int h, ld d, IonMode& mode)
{
    const ld a = d / (2 * h);
    const ld beta = TakeOffAngle(a, FLayerRatio);
    mode.CosPhiE = cosl(IncidenceAngle(beta, ELayerRadius));
    mode.CosPhiF = cosl(IncidenceAngle(beta, FLayerRadius));
    mode.Count = 0;
    // Midpoints a, 3a, 5a, ... (2h - 1)a. Counted rather than compared with
    // d: the same h points for any path, and on a path of zero length all h
    // of them at home instead of none.
    for (ld x = a; mode.Count < h && mode.Count < MaxHops; x += 2 * a) {
        mode.Points[mode.Count++] = PathPointAt(ws, x);
    }
}

namespace {

// Absorption index of one hop midpoint whose sun is chi from the zenith
// (chi at most the night limit).
ld AbsorptionIndex(ld R, ld chi)
{
    ld c = cosl(chi * 90 / ZenithLimitDeg);
    if (c < 0) {
        c = 0;
    }
    ld I = (1 + IndexPerSunspot * R) * powl(c, IndexCosineExponent);
    if (I < LeastAbsorptionIndex) {
        I = LeastAbsorptionIndex;
    }
    return I;
}

} // namespace

void IonHour(Workspace& ws, int h, ld fcF, const IonMode& mode, bool withEMuf)
{
    const ld R = ws.SunSpots;
    ld emuf = 0;
    ld absIndex = 0;
    std::uint8_t flags = 0;
    ld nightIndex = -1; // every night hop absorbs alike: worked out once
    for (int i = 0; i < mode.Count; ++i) {
        const ld chi = SunZenithAt(ws, mode.Points[i]);
        if (withEMuf) {
            const ld cosChi = cosl(chi);
            ld foE = cosChi > 0 ? FoEFactorMhz * powl((FoEBase + FoEPerSunspot * R) * cosChi, FoEExponent) : 0;
            if (foE < NightFoEPerSunspotMhz * R) {
                foE = NightFoEPerSunspotMhz * R;
            }
            if (foE / mode.CosPhiE > emuf) {
                emuf = foE / mode.CosPhiE;
            }
        }
        if (chi <= ZenithLimit) {
            flags |= DayHop;
            absIndex += AbsorptionIndex(R, chi);
        } else {
            flags |= NightHop;
            if (nightIndex < 0) {
                nightIndex = AbsorptionIndex(R, ZenithLimit);
            }
            absIndex += nightIndex;
        }
    }
    ws.EMuf[h] = emuf;
    ws.FMuf[h] = fcF / mode.CosPhiF;
    ws.AbsIndex[h] = absIndex;
    ws.HopFlags[h] = flags;
}

void Ion(Workspace& ws, int h, ld d, ld fcF)
{
    IonMode mode;
    PrepareIonMode(ws, h, d, mode);
    IonHour(ws, h, fcF, mode);
}

int Pathloss(Workspace& ws, int hp, ld frq)
{
    ld best = ws.NoiseLevel;
    int bestHop = 0;
    bool evaluated[ModesPerHour] = {};
    for (int k = hp; k <= hp + 3; ++k) {
        ws.HopFlags[k] &= static_cast<std::uint8_t>(~(BelowSensitivity | BelowEMuf | Multipath));
        if (frq >= OptimumWorkingFactor * ws.FMuf[k]) {
            continue; // above the optimum working frequency: no signal
        }
        evaluated[k - hp] = true;
        ld S = Antgain(ws, frq, ws.TakeOff[k]) + ws.Power + DbwToDbm;
        S = S - (20 * log10l(ws.RayPath[k] * frq) + FreeSpaceLossDb + SystemLossDb);
        const ld L = AbsorptionCoefficientDb * ws.AbsIndex[k] / CosPhiEOf(ws, k) / AbsorptionDenominatorAt(frq);
        S = S - L;
        S = S - GroundReflectionLossDb * k;
        ws.SigLevel[k] = S;
        if (S < SensitivityDbm) {
            ws.HopFlags[k] |= BelowSensitivity;
        }
        if (ws.EMuf[k] > frq) {
            ws.HopFlags[k] |= BelowEMuf;
            S = S - ScreenedRankDb; // an E-screened mode ranks lower
        }
        if (S > best) {
            best = S;
            bestHop = k;
        }
    }
    if (bestHop == 0) {
        return 0;
    }
    ld P = 0;
    bool others = false;
    for (int k = hp; k <= hp + 3; ++k) {
        if (k != bestHop && evaluated[k - hp]) {
            P += expl(PowerSumScale * Ln10 * ws.SigLevel[k]);
            others = true;
        }
    }
    if (others && best < 5 * log10l(P) + MultipathMarginDb) {
        ws.HopFlags[bestHop] |= Multipath;
    }
    return bestHop;
}

StrongestMode StrongestModeAfterPathloss(const Workspace& ws, int hp, ld frq)
{
    // The same rules as Pathloss: a mode at or above its optimum working
    // frequency carries nothing, and an E-screened one ranks lower.
    StrongestMode best;
    for (int k = hp; k <= hp + 3; ++k) {
        if (frq >= OptimumWorkingFactor * ws.FMuf[k]) {
            continue;
        }
        const ld rank = (ws.HopFlags[k] & BelowEMuf) != 0 ? ws.SigLevel[k] - ScreenedRankDb : ws.SigLevel[k];
        if (!best.Open || rank > best.RankLevel) {
            best = StrongestMode{true, k, rank};
        }
    }
    return best;
}

ld Antgain(Workspace& ws, ld frq, ld bta)
{
    const Antenna gt = ws.GainTable;
    if (gt == Antenna::Isotropic) {
        return 0;
    }
    const bool known = gt == Antenna::Dipole || gt == Antenna::Yagi;
    if (known && ws.GainCurveFrom != gt) {
        ws.GainCurve = gt == Antenna::Dipole ? DipoleGain : YagiGain;
        ws.GainCurveFrom = gt;
    }
    // An antenna number the tables do not know takes the last table used.
    const GainTableData& G = gt == Antenna::Dipole ? DipoleGain : gt == Antenna::Yagi ? YagiGain : ws.GainCurve;

    ld e = bta * RadToDeg / 2;
    if (e >= 45) {
        e = 45;
    }
    if (!(e >= 0)) {
        e = 0; // below the horizon (or undefined): the 0 degree row
    }
    const int i = static_cast<int>(e);
    const ld f = e - i;
    auto V = [&](int c) {
        if (i >= 45) {
            return G[45][c];
        }
        return (1 - f) * G[i][c] + f * G[i + 1][c];
    };

    if (frq <= GainFreqs[0]) {
        return V(0);
    }
    if (frq > GainFreqs[4] || std::isnan(frq)) {
        return V(4);
    }
    int j = 1;
    while (frq > GainFreqs[j]) {
        ++j;
    }
    const ld t = (frq - GainFreqs[j - 1]) / (GainFreqs[j] - GainFreqs[j - 1]);
    return (1 - t) * V(j - 1) + t * V(j);
}

} // namespace orvela
