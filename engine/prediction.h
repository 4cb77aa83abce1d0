// One prediction run and the table it fills: 25 columns (labels, then the
// 24 UTC hours) by 19 rows (15 bands from 30 MHz down to 2 MHz, then UTC,
// local time, MUF and the sun's elevation at the path midpoint).
#pragma once

#include "engine/bands.h"
#include "engine/format.h"
#include "engine/model.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvela {

using Rgb = std::uint32_t; // 0xRRGGBB

inline constexpr int TableCols = 25;
inline constexpr int TableRows = 19;
inline constexpr int RowUtc = 15, RowLocal = 16, RowMuf = 17, RowZen = 18;
inline constexpr int RowBestFreq = 13, RowBestCell = 14;

// Windows' default colour for the end of an active caption's gradient; the
// table uses it for the local time, MUF and elevation rows.
inline constexpr Rgb DefaultCaptionColor = 0xB9D1EA;

struct Cell {
    std::string Text;
    Rgb Bg = 0x000000;
    Rgb Fg = 0x00FF00;
    bool Bold = false;
};

// Geometry of the path as the run worked it out.
struct PathSummary {
    ld DistanceKm = 0;
    ld AzimuthDeg = 0;
    ld BackAzimuthDeg = 0;
    int BaseHops = 0;
    ld BaseElevDeg = 0; // take-off angle of BaseHops hops over the 320 km layer
    ld DelayMs = 0;
};

// What a run shows: the table, the two header strips and the status texts.
// The texts and colours stay between runs, as on screen.
struct Prediction {
    std::array<std::array<Cell, TableCols>, TableRows> Cells{}; // [row][col]
    std::array<std::string, 4> H1;
    std::array<std::string, 5> H2;
    std::string DisplayText;
    std::string AntennaText;
    std::string PowerText;
    PathSummary Path;

    Cell& At(int col, int row) { return Cells[row][col]; }
    const Cell& At(int col, int row) const { return Cells[row][col]; }
};

// The flux of a run that is given none, sfu.
inline constexpr ld DefaultFlux = 100;

// The inputs of one run.
struct RunInput {
    Settings Station;
    ld Flux = DefaultFlux; // 10.7 cm solar flux, sfu
    ld RemoteLonDeg = 0;   // degrees, positive west
    ld RemoteLatDeg = 0;   // degrees, positive north
    int Month = 1;         // prediction date
    int Day = 1;
    CivilDate LocalDate; // today's local date, for the date line
    int UtcHour = 0;     // hour to highlight
    std::string RemoteLabel;
    Rgb CaptionColor = DefaultCaptionColor;
    // The table's rows, ascending, 1 to 15 of them: band i (1-based) in row
    // BandRow(i), the rows above the last left empty.
    std::vector<TableBand> Bands = BandsOf(BandSet::Fixed);
    // Whether UtcHour's column is highlighted: only a table for today has a
    // current hour.
    bool HighlightHour = true;
    friend bool operator==(const RunInput&, const RunInput&) = default;
};

// The fixed last section of the second header strip.
inline constexpr const char* ModelBanner = "MINIMUF 3.5 sky-wave model";

// Table frequencies, MHz: band n (1..15) is 2n MHz, shown in row 15 - n
// (30 MHz on top, 2 MHz just above the UTC row).
inline constexpr ld BandFreq(int n)
{
    return 2 * n;
}
inline constexpr int BandRow(int n)
{
    return BandCount - n;
}

// Day/night letter and marker of a result cell for a mode's flags.
char DayNightLetter(std::uint8_t flags);
char CellMarker(std::uint8_t flags);
// Result cell text: the whole number, the letter, the hop count, the marker.
std::string ResultCellText(ld number, std::uint8_t flags, int hops);

// "VideTableau" (empty the table): every cell's text cleared, as each run
// starts.
void VideTableau(Prediction& table);
// The row labels of the display format and bands, and the status texts.
void LabelGrid(Prediction& table, const Settings& st, const std::vector<TableBand>& bands = BandsOf(BandSet::Fixed));
// "Dsx" (display a cell): the cell of band nfq (1-based) at hour hre for the
// idx-hop mode, in the display format; nothing when idx is 0.
void Dsx(Prediction& table, const Workspace& ws, DisplayFormat display, int hre, int nfq, int idx);
// The hour given as NoHourHighlighted leaves every hour column plain.
inline constexpr int NoHourHighlighted = -1;
void ColorGrid(Prediction& table, int utcHour, Rgb captionColor);
// The colours and type of one hour column (1..24) as ColorGrid leaves them.
void ColorHourColumn(Prediction& table, int col, int utcHour, Rgb captionColor);
// The three kinds of result cell the table colours apart: empty (no mode
// reaches the receiver), below the receiver's sensitivity (the text begins
// with '-', red) and usable (any other text, green).
enum class TableCellClass { Empty, Below, Usable };
TableCellClass CellClassOf(const std::string& text);
// Colours of a result cell by its class: black on black when empty, on red
// below the sensitivity, on green when usable.
void ResultCellColors(const std::string& text, Rgb& bg, Rgb& fg);

// One complete run for all 24 hours of the day.
void ComputeMUF(const RunInput& in, Workspace& ws, Prediction& out);

// The hour whose column a run's table highlights: its UTC hour, or
// NoHourHighlighted for a date other than today.
inline int HighlightedHour(const RunInput& in)
{
    return in.HighlightHour ? in.UtcHour : NoHourHighlighted;
}

} // namespace orvela
