// Whether a prediction run reached the receiver at all, and when it did not,
// why, in words for the operator: the window, orvela-predict and its batch
// say it alike.
#pragma once

#include "engine/prediction.h"

#include <string>

namespace orvela {

// True when some result cell of the table holds a text: a band row, or the
// best band's rows of the best-frequency display, at any hour. A run writes
// such a cell for every band and hour whose best mode beats the receiver's
// noise reference.
bool HasResultCell(const Prediction& p);

// Why run `in` leaves every result cell empty, in one or two sentences:
// "No mode reaches the receiver on this 30,318 km path: the long path is
// beyond the model at 20 dBW. It would take 87 dBW for a first cell: its
// strongest mode, 14 hops on 6 MHz at 17h UTC, stays 67 dB under the
// receiver's noise floor." The model is run again band by band to find the
// cause: a MUF too low for every row, or modes too weak, and then whether
// the take-off angle, the antenna or the power alone keeps them out (each
// set back to a new station's value), or the length of the path. Empty for
// a run whose modes reach the receiver.
std::string EmptyRunReason(const RunInput& in);

// What a run's table shows of the path: whether a cell reached the
// receiver, and if none did, the reason (EmptyRunReason).
struct Reach {
    bool Reaches = true;
    std::string Reason;
};
Reach ReachOf(const RunInput& in, const Prediction& p);

// The power, in whole dBW, at which a mode `shortDb` dB under the noise
// floor at `powerDbw` would first beat it: the level follows the power dB
// for dB.
int PowerToReach(int powerDbw, ld shortDb);
// True when the shortfall lies so near a whole number of dB that the
// rounding of the levels could put PowerToReach one dBW off: the model
// must then be asked.
bool PowerEdgeIsClose(ld shortDb);

// "1 hop", "14 hops".
std::string HopsText(int hops);

} // namespace orvela
