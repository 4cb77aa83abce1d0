// The caption of a coverage map: what its colours depend on, in three
// lines (and why it is empty, when it is), so that a picture passed around alone says what it shows.
// orvela-area draws it on its PNG maps, the coverage window on the picture
// it saves.
#pragma once

#include "engine/bands.h"
#include "engine/format.h"
#include "engine/model.h"

#include <cstddef>
#include <string>
#include <vector>

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
    std::string FluxSource;  // where the flux came from, when it was chosen for the date
    std::string EmptyReason; // why no point has a path, when none has
};

// A band as the coverage maps name it: "14 MHz" for a fixed row, "20 m" for
// an amateur band; with `frequency`, the amateur band's frequency too:
// "20 m (14.1 MHz)".
std::string BandName(const TableBand& band, bool frequency = false);

// The caption's three lines: band and moment, "14 MHz, 2026-06-21 18:30
// UTC"; flux and home, "Solar flux 122.0, home 48.85N 2.35E", the call sign
// after the position in brackets when there is one; power and antenna,
// "Power 20 dBW, 3-element Yagi", and ", long path" when it is asked for;
// where the flux came from, "Solar flux from NOAA 27-day outlook issued
// 7 Dec 2026", when it is known; then the reason why no point has a path, when none has, broken between
// words into lines of at most CaptionNoteChars characters.
std::vector<std::string> CaptionLines(const MapCaption& caption);
inline constexpr std::size_t CaptionNoteChars = 80;

} // namespace orvela::area
