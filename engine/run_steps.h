// The two steps of a prediction run: the path, worked out once, and an hour,
// which any number of times, in any order, gives the same column. The full
// run and the single hour are both made of these.
#pragma once

#include "engine/ionosphere.h"
#include "engine/minimuf.h"
#include "engine/prediction.h"

#include <array>

namespace orvela {

// What a run works out once per path, before any hour: the geometry, the
// hop search, and the parts of the hourly model that the sun does not move
// (the control points of the MUF model, the path midpoint, each mode's hop
// midpoints and incidence angles).
struct PathPlan {
    PathSummary Summary;
    ld PathAngle = 0; // central angle, the long path's when it is taken
    ld Azimuth = 0, BackAzimuth = 0;
    int BaseHops = 1;
    ld CosIncidence = 1; // of the base mode at the 320 km layer
    ld SunDecl = 0;      // the prediction date's declination, every hour the same
    int LocalOffset = 0; // whole hours the remote point's clock runs behind UTC
    MiniMufPath Muf;
    PathPoint Midpoint;
    std::array<IonMode, ModesPerHour> Modes{};
};

// The modes a path is flown in: the fewest hops over the 320 km layer whose
// take-off angle reaches minAngle (radians), at most 27 so that the four
// modes fit the per-hop-count arrays, and at least one.
struct HopSearch {
    int BaseHops = 1;
    ld BaseElev = 0;  // the take-off angle the search ended on (0 without a search)
    ld DelayElev = 0; // the take-off angle of the hops flown
    ld DelayMs = 0;   // the path delay over those hops
};
HopSearch SearchHops(ld pathAngle, ld minAngle);

// Stores the run's inputs and the path in the workspace (flux, sunspots,
// power, antenna, positions, bearings, the noise reference, the take-off
// angles and ray paths of the four modes) and fills `plan`.
void PreparePath(const RunInput& in, Workspace& ws, PathPlan& plan);

// Starts hour h (0..23): the path's MUF, the sun, and Ion for the four
// modes. Every per-hour entry of the four modes is written anew (the levels
// are cleared until Pathloss evaluates them), so what follows depends on
// the plan and the hour alone, never on an hour computed before.
void BeginHour(const PathPlan& plan, Workspace& ws, int h);

// BeginHour for one frequency alone: a mode that Pathloss passes by at
// `frq` (at or above 0.85 times its F-layer MUF) gets its MUF but not the
// work over its hop midpoints; its E-layer MUF, absorption and flags are
// zero. Pathloss(ws, plan.BaseHops, frq) then gives what it gives after
// BeginHour, bit for bit.
void BeginBandHour(const PathPlan& plan, Workspace& ws, int h, ld frq);

// Hour h from its start: the texts of column h + 1 in the given display
// format, that is the rows of `bands` (or the best band and its cell), the
// UTC and local hours, the MUF and the sun's elevation at the midpoint.
// Writes only what a run writes into a cleared column; the caller clears it.
void WriteHourColumn(const PathPlan& plan, Workspace& ws, DisplayFormat display, int h,
                     const std::vector<TableBand>& bands, Prediction& out);

// The two header strips: flux, sunspots, date, power and the model above;
// the two stations with their bearings, the distance and the delay below.
void WriteHeaderStrips(const RunInput& in, const Workspace& ws, const PathSummary& path, Prediction& out);

} // namespace orvela
