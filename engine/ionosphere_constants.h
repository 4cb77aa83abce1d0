// The constants of the ionosphere stage: layer MUFs, absorption, path loss
// and the receiver, each with its unit and where it comes from.
#pragma once

#include "engine/model.h"

namespace orvela {

// Every one is used exactly as written here: the reference tables depend on
// each digit. The ionosphere's layers and the Earth are in model.h.

// Non-deviative absorption of a hop, L = 677.2 I sec(phi) / ((f + 1.42)^1.98
// + 10.2) dB: the semi-empirical absorption law of CCIR Report 252-2, with I
// the absorption index below and phi the angle of incidence at the E layer.
inline constexpr ld AbsorptionCoefficientDb = 677.2L; // dB, times MHz^1.98
inline constexpr ld GyroFrequencyMhz = 1.42L;         // MHz, the electron gyrofrequency where the wave is absorbed
inline constexpr ld AbsorptionExponent = 1.98L;       // of the frequency
inline constexpr ld AbsorptionOffset = 10.2L;         // MHz^1.98

// Absorption index of a hop midpoint, I = (1 + 0.0037 R) cos^1.3(chi'), at
// least 0.1, with R the sunspot number and chi' the sun's zenith angle
// scaled so that the night limit maps to 90 degrees (CCIR Report 252-2).
inline constexpr ld IndexPerSunspot = 0.0037L;  // per unit of sunspot number
inline constexpr ld IndexCosineExponent = 1.3L; // of the cosine
inline constexpr ld LeastAbsorptionIndex = 0.1L;

// The E layer's critical frequency, foE = 0.9 ((180 + 1.44 R) cos chi)^0.25
// MHz, the usual solar-control law of the E layer, never less than 0.005 R
// MHz, the model's night floor.
inline constexpr ld FoEFactorMhz = 0.9L;
inline constexpr ld FoEBase = 180;
inline constexpr ld FoEPerSunspot = 1.44L;
inline constexpr ld FoEExponent = 0.25L;
inline constexpr ld NightFoEPerSunspotMhz = 0.005L;

// A mode carries a frequency below 0.85 of its F-layer MUF, the optimum
// working frequency (the usual working factor of HF planning).
inline constexpr ld OptimumWorkingFactor = 0.85L;

// The level at the receiver, in dBm: the power in dBW plus 30, plus the
// antenna's gain, less the free-space loss 32.44 + 20 log10(d km f MHz) dB
// (ITU-R P.525) and the model's own 10 dB of system loss, less the
// absorption, less 3 dB for each ground reflection; an E-screened mode ranks
// 3 dB lower among the four.
inline constexpr ld DbwToDbm = 30;
inline constexpr ld FreeSpaceLossDb = 32.44L;
inline constexpr ld SystemLossDb = 10;
inline constexpr ld GroundReflectionLossDb = 3; // per hop
inline constexpr ld ScreenedRankDb = 3;

// Multipath: the other modes' levels summed as powers of 10^(S/5), the
// natural logarithm of 10 to six decimals, and the best mode within 3 dB of
// that sum (five times its common logarithm) is marked.
inline constexpr ld PowerSumScale = 0.2L; // 1/5
inline constexpr ld Ln10 = 2.302585L;
inline constexpr ld MultipathMarginDb = 3;

// The level the best mode of a band must beat, 1.00095095e-17 W (about
// -140 dBm): a band whose modes all stay below it shows no signal.
inline constexpr ld LevelFloorWatts = 1.00095095e-17L;
inline constexpr int DbPerDecade = 10;

// The receiver's sensitivity, -123 dBm (about 0.16 microvolt across 50
// ohms): the table's levels are in dB above it, and a mode below it is
// marked as too weak.
inline constexpr ld SensitivityDbm = -123;

// The sun this far from the zenith at a hop midpoint, 10.8 degrees below the
// horizon, leaves the hop at night: its absorption is that of the limit.
inline constexpr ld ZenithLimitDeg = 100.8L;
inline constexpr ld ZenithLimit = ZenithLimitDeg * DegToRad;

} // namespace orvela
