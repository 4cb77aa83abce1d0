// One UTC hour of a path, and the work of many paths over the machine's
// cores. A single hour gives exactly that hour's column of a full 24-hour
// run: the same texts, colours and markers.
#pragma once

#include "engine/prediction.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orvela {

// The result of one band at one hour, as the signal-level table shows it.
struct BandResult {
    bool HasPath = false; // false: the cell is empty (no mode reaches the band)
    std::string Text;     // the cell's text in the signal-level display ("12j3 "), empty without a path
    int LevelDb = 0;      // the number of the text: dB above the receiver's sensitivity
    char Letter = 0;      // 'j', 'n', 'x' or 'o'
    int Hops = 0;
    char Marker = ' '; // 's', 'm', 'e' or ' '
    Rgb Bg = 0;        // the cell's colours in the table
    Rgb Fg = 0;
};

// Column utcHour + 1 (utcHour 0..23) of a full run (all 19 rows, texts and
// colours, in the run's display format, the highlight of in.UtcHour
// included), computed for that hour alone. The column is cleared first;
// `out` keeps the other columns, the header strips, the status texts and
// the path summary as they were. The path's own work is done again at every
// call. The result depends on the input and the hour alone, not on what the
// workspace went through before (but for an antenna other than 0, 1 or 2,
// which uses the workspace's working copy of the antenna table, as every
// run does).
void ComputeHour(const RunInput& in, int utcHour, Workspace& ws, Prediction& out);

// One band (1-based, in.Bands[band - 1]) at one hour (0..23), in the
// signal-level display, whatever in.Station.Display says: the cell of row
// BandRow(band), column utcHour + 1 of that run, with its parts.
BandResult ComputeBand(const RunInput& in, int utcHour, int band, Workspace& ws);

// The same band at every hour 0..23: day[h] equals ComputeBand(in, h, band,
// ws), text for text and bit for bit. The path's own work (the geometry, the
// hop search, the MUF model's control points) is done once and shared by
// the 24 hours.
void ComputeBandDay(const RunInput& in, int band, Workspace& ws, std::array<BandResult, HoursPerDay>& day);

// Every band of in.Bands at every hour 0..23: days[b - 1][h] equals
// ComputeBand(in, h, b, ws), text for text and bit for bit. The path's own
// work is done once, and each hour's modes once for all the bands. Returns
// the path's geometry as a run works it out (the distance and bearing of the
// long path when it is asked).
PathSummary ComputeBandsDay(const RunInput& in, Workspace& ws, std::vector<std::array<BandResult, HoursPerDay>>& days);

// Runs work(i, ws) for i = 0 .. count - 1 on `threads` threads (0: one per
// core; never more than count), the calling thread among them, each thread
// with a Workspace of its own. Items are handed out from a shared counter;
// work must touch only its own item's output. When work throws, no further
// item is started, and once every thread has stopped the first exception is
// thrown again to the caller.
void ParallelFor(std::size_t count, unsigned threads, const std::function<void(std::size_t, Workspace&)>& work);

} // namespace orvela
