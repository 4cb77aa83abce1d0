// The planner: for every target, the 24 UTC hours of the prediction date on
// one amateur band or on all of them, each cell in the classes the
// prediction table colours its cells with. A target's row is exactly what a
// prediction run towards it alone shows on that band.
#pragma once

#include "common/civil_time.h"
#include "engine/bands.h"
#include "engine/model.h"
#include "engine/prediction.h"
#include "planner/targets.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvela::planner {

// The level the table colours as usable (green) and from which the planner
// calls a band open: a mode whose signal is at or above the receiver's
// sensitivity. A red cell (below it) or an empty one (no mode) is closed.
inline constexpr TableCellClass OpenClass = TableCellClass::Usable;

// Everything a plan depends on; two equal inputs give the same plan for the
// same targets.
struct PlanInputs {
    ld HomeLatDeg = 0;        // positive north
    ld HomeLonWestDeg = 0;    // positive west
    int Power = DefaultPower; // dBW
    Antenna GainTable = Antenna::Isotropic;
    int MinAngle = DefaultMinAngle; // degrees
    ld Flux = DefaultFlux;          // sfu
    bool LongPath = false;
    CivilDate Date; // the prediction date
    // One band (an amateur band, or any frequency from 2 to 30 MHz), or none
    // for all the amateur bands of BandsOf(BandSet::Amateur).
    std::optional<TableBand> Band;
    friend bool operator==(const PlanInputs&, const PlanInputs&) = default;
};

// The bands a plan looks at: the one chosen, or all amateur bands,
// ascending.
std::vector<TableBand> PlanBands(const PlanInputs& in);
// "20 m", "7.1 MHz" or "all bands": the choice in words.
std::string BandChoiceText(const PlanInputs& in);

// The run towards one target at the plan's date and options (the table's
// bands are the plan's bands).
RunInput RunInputFor(const PlanInputs& in, const Target& target);

// One hour of a row. For one band, that band's cell. For all bands, the
// highest band open at that hour; when none is open, the highest band with
// a mode below the sensitivity (a red cell); else an empty cell.
struct PlanCell {
    TableCellClass Class = TableCellClass::Empty;
    int Band = -1;    // index into PlanBands(), -1 for an empty cell
    int LevelDb = 0;  // dB above the receiver's sensitivity; 0 for an empty cell
    std::string Text; // the table's cell text, "12j3 "; empty for an empty cell
    friend bool operator==(const PlanCell&, const PlanCell&) = default;
};

struct PlanRow {
    ld DistanceKm = 0; // along the path taken, the long one when asked
    ld BearingDeg = 0; // from home, 0 to 360, turned round for the long path
    std::array<PlanCell, HoursPerDay> Hours{};
    // Bit h set: band b (index into PlanBands()) is open at hour h.
    std::vector<std::uint32_t> OpenHours;
    // The open cell of the highest level over the day (the earliest of
    // equals), or -1 when nothing opens.
    int BestHour = -1;
    int BestLevelDb = 0;
    friend bool operator==(const PlanRow&, const PlanRow&) = default;
};

struct Plan {
    PlanInputs In;
    std::vector<TableBand> Bands; // PlanBands(In)
    std::vector<Target> Targets;
    std::vector<PlanRow> Rows; // one per target, in the same order; empty rows for unresolved targets
};

// Thrown by ComputePlan when it is given up.
struct CancelledPlan {};
// The whole plan over `threads` threads (0: one per core). Once `cancel`
// is set no further target is started, and CancelledPlan is thrown when the
// targets under way are done.
Plan ComputePlan(const PlanInputs& in, std::vector<Target> targets, unsigned threads = 0,
                 const std::atomic<bool>* cancel = nullptr);

// One row alone (what ComputePlan gives for this target); `ws` is scratch.
PlanRow ComputeRow(const PlanInputs& in, const std::vector<TableBand>& bands, const Target& target, Workspace& ws);

// Whether a row has an open cell at hour h (0..23).
bool OpenAt(const PlanRow& row, int utcHour);

// The hours of a mask (bit h: hour h) as ranges of whole hours, "06–09"
// being the hours 06, 07, 08 and 09, and a range that runs over midnight
// written once ("22–02"): "06–09, 14 UTC". "all day" for all 24, empty for
// none.
std::string HourRangesText(std::uint32_t hours);

// A row in one sentence for a tooltip and a screen reader:
// "Japan, JA, 9,710 km at 35°: 20 m open 06–09 UTC, best 10 dB at 07 UTC"
// "Japan, JA, 9,710 km at 35°: 20 m not open on 2026-12-11"
// "VK9X? not found: ..." for an unresolved entry.
std::string RowSentence(const Plan& plan, std::size_t row);

} // namespace orvela::planner
