// Ionospheric model of one mode: layer MUFs, absorption, path loss, antenna gain.
#pragma once

#include "engine/ionosphere_constants.h"
#include "engine/model.h"

#include <array>

namespace orvela {

extern const std::array<ld, 5> GainFreqs;
extern const GainTableData DipoleGain;
extern const GainTableData YagiGain;

// The part of a k-hop mode that depends on the path only: its incidence
// angles and hop midpoints. The hours then only move the sun.
struct IonMode {
    ld CosPhiE = 1; // incidence at the E layer (110 km)
    ld CosPhiF = 1; // incidence at the F layer (320 km)
    int Count = 0;  // number of hop midpoints
    std::array<PathPoint, MaxHops> Points{};
};

void PrepareIonMode(const Workspace& ws, int h, ld d, IonMode& mode);
// Ion for a prepared mode at the workspace's sun.
// Without withEMuf the E-layer MUF is not worked out and left at zero: for
// a caller that knows it stays below the one frequency it asks about.
void IonHour(Workspace& ws, int h, ld fcF, const IonMode& mode, bool withEMuf = true);
// "Ion", the ionosphere stage of the model: E and F layer MUF, absorption
// index and day/night flags of the h-hop mode over the path of central angle
// d, for the F-layer critical frequency fcF.
void Ion(Workspace& ws, int h, ld d, ld fcF);

// Signal levels of the modes hp .. hp + 3 at frequency frq; returns the hop
// count of the best mode, or 0 when none qualifies.
int Pathloss(Workspace& ws, int hp, ld frq);

// The strongest of the modes hp .. hp + 3 at frequency frq as the last
// Pathloss at frq left them, whether or not it beat the receiver's noise
// reference: only the modes that carry frq (below their optimum working
// frequency) count, each at the level Pathloss ranks it by (an E-screened
// mode lower). Open is false when none carries it.
struct StrongestMode {
    bool Open = false;
    int Hops = 0;
    ld RankLevel = 0; // dBm
};
StrongestMode StrongestModeAfterPathloss(const Workspace& ws, int hp, ld frq);

// "Antgain", the antenna stage: gain in dB of the selected antenna at
// frequency frq (MHz) and elevation bta (radians).
ld Antgain(Workspace& ws, ld frq, ld bta);

} // namespace orvela
