// The rows of the prediction table: the fixed frequencies 2 to 30 MHz, or
// one row per amateur band, and the S-meter reading of a signal level.
#pragma once

#include "engine/model.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela {

// One row of the table: its frequency, and an amateur band's name ("40 m");
// a fixed row has no name.
struct TableBand {
    ld Mhz = 0;
    std::string Name;
    friend bool operator==(const TableBand&, const TableBand&) = default;
};

enum class BandSet { Fixed, Amateur };

// Ascending frequency.
// - Fixed: 2, 4, ... 30 MHz, the table's standard fifteen rows.
// - Amateur: one row per HF amateur band from 80 m to 10 m, each at its lower
//   edge plus a typical operating offset, between the CW and digital end
//   and the phone segment, where the band is busiest: 80 m 3.6, 60 m 5.36
//   (inside the 5.3515-5.3665 MHz allocation), 40 m 7.1, 30 m 10.1, 20 m
//   14.1, 17 m 18.1, 15 m 21.2, 12 m 24.9, 10 m 28.5 MHz. The two narrow
//   bands, 30 m (50 kHz) and 12 m (100 kHz), are taken at a tenth of a MHz,
//   so that every label fits the table's label column; the few tens of kHz
//   are far below what the model resolves. 160 m (1.8 MHz) is left out: it
//   lies below the 2 MHz the sky-wave model is fitted for, and its
//   propagation is ruled by the ground wave and by D-layer absorption,
//   which the model does not describe.
const std::vector<TableBand>& BandsOf(BandSet set);

// Which of the two sets a list is, if it is one of them.
std::optional<BandSet> SetOf(const std::vector<TableBand>& bands);

// The row's label: a fixed row "14 Mhz", an amateur band its name and
// frequency, "40 m 7.1".
std::string BandLabel(const TableBand& band);

// The band (1-based) of a list nearest to a frequency; the lower one of two
// as near.
int BandNearest(const std::vector<TableBand>& bands, ld mhz);

// A frequency in MHz written shortest: "7.1", "14", "10.12".
std::string MhzText(ld mhz);

// The amateur band of a name such as "20m", "20 m" or "20M", if any.
std::optional<TableBand> AmateurBandNamed(std::string_view name);

// The S-meter reading of a level in dBm on the HF convention: S9 is -73 dBm
// (50 microvolts into 50 ohms) and an S-unit is 6 dB. Up to S9 the reading
// is the nearest whole S-unit, "S1" to "S9" (S1 is -121 dBm; anything lower
// reads "S0"); above S9 it is S9 and the excess in whole decibels, rounded:
// "S9+10 dB". The cut between S8 and S9 lies 3 dB below S9, and -73 dBm
// itself reads "S9".
std::string SMeterReading(ld dbm);
// The reading of a level as the table gives it, in dB above the receiver's
// sensitivity.
std::string SMeterOfTableLevel(ld dbAboveSensitivity);

} // namespace orvela
