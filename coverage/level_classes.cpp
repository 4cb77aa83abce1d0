#include "coverage/level_classes.h"

#include <algorithm>

namespace orvela::area {

namespace {

const std::array<ClassLook, static_cast<int>(LevelClass::Count)> Looks{{
    {0xB4B4B4, "below sensitivity"},
    {0xB44BE0, "0 to 19 dB"},
    {0x19C3C8, "20 to 39 dB"},
    {0x5FD93A, "40 to 59 dB"},
    {0xF5D31F, "60 to 79 dB"},
    {0xF0482A, "80 dB and more"},
}};

LevelClass ClassOfLevel(bool below, int levelDb)
{
    if (below) {
        return LevelClass::Below;
    }
    // Bands of 20 dB: the levels of one map span about a hundred, whatever
    // the power.
    const int band = std::clamp(levelDb / 20, 0, 4);
    return static_cast<LevelClass>(static_cast<int>(LevelClass::Weak) + band);
}

} // namespace

LevelClass ClassOf(const BandResult& r)
{
    return ClassOfLevel(BelowSensitivity(r), r.LevelDb);
}

LevelClass ClassOf(const CellSummary& c)
{
    return ClassOfLevel(c.Below, c.LevelDb);
}

const std::array<ClassLook, static_cast<int>(LevelClass::Count)>& ClassLooks()
{
    return Looks;
}

} // namespace orvela::area
