// A prediction run made the plain way, for comparison with ComputeMUF.
#pragma once

#include "engine/prediction.h"

namespace orvela_test {

// One run of all 24 hours built from the public model functions alone, in
// the order a run takes them in: MiniMuf and the midpoint Zenith every hour, Ion for
// every hour and hop count, Pathloss for every band, then Dsx. Nothing is
// carried from one hour to the next. The texts must match ComputeMUF's. The
// header strips are written by the run's own writer from this run's numbers.
void ReferenceRun(const orvela::RunInput& in, orvela::Workspace& ws, orvela::Prediction& out);

} // namespace orvela_test
