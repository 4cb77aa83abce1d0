#include "coverage/coverage_inputs.h"

namespace orvela::area {

CoverageInputs::CoverageInputs(const RunInput& in)
    : In(in)
{
    const RunInput unset;
    In.RemoteLonDeg = unset.RemoteLonDeg;
    In.RemoteLatDeg = unset.RemoteLatDeg;
    In.UtcHour = unset.UtcHour;
    In.HighlightHour = unset.HighlightHour;
    In.RemoteLabel = unset.RemoteLabel;
    In.CaptionColor = unset.CaptionColor;
    In.Station.CallSign = unset.Station.CallSign;
    In.Station.Display = unset.Station.Display;
}

} // namespace orvela::area
