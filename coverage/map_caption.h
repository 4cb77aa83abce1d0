// The caption of a coverage map: what its colours depend on, in three
// lines, so that a picture passed around alone says what it shows.
// orvela-area draws it on its PNG maps, the coverage window on the picture
// it saves.
#pragma once

#include "engine/bands.h"
#include "engine/format.h"
#include "engine/model.h"

#include <array>
#include <string>

namespace orvela::area {

// What the caption says.
struct MapCaption {
    TableBand Band;
    CivilDate Date; // in UTC
    int Hour = 0;   // UTC
    int Minute = 0;
    ld Flux = 0;
    ld HomeLatDeg = 0;
    ld HomeLonDeg = 0; // positive west
    // The home station's call sign; empty where none is known.
    std::string CallSign;
    int PowerDbw = 0;
    Antenna GainTable = Antenna::Isotropic;
    bool LongPath = false;
};

// The caption's three lines: band and moment, "14 MHz, 2026-06-21 18:30
// UTC"; flux and home, "Solar flux 122.0, home 48.85N 2.35E", the call sign
// after the position in brackets when there is one; power and antenna,
// "Power 20 dBW, 3-element Yagi", and ", long path" when it is asked for.
std::array<std::string, 3> CaptionLines(const MapCaption& caption);

} // namespace orvela::area
