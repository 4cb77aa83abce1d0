#include "engine/prediction.h"

#include "engine/ionosphere.h"

namespace orvela {

namespace {
constexpr Rgb Black = 0x000000, White = 0xFFFFFF, Red = 0xFF0000, Green = 0x008000;
constexpr Rgb Navy = 0x000080, Yellow = 0xFFFF00, Amber = 0xF7C551;
} // namespace

char DayNightLetter(std::uint8_t flags)
{
    const bool day = flags & DayHop, night = flags & NightHop;
    if (day && night) {
        return 'x';
    }
    if (day) {
        return 'j';
    }
    if (night) {
        return 'n';
    }
    return 'o';
}

char CellMarker(std::uint8_t flags)
{
    if (flags & BelowSensitivity) {
        return 's';
    }
    if (flags & Multipath) {
        return 'm';
    }
    if (flags & BelowEMuf) {
        return 'e'; // the F mode may be screened by the E layer
    }
    return ' ';
}

std::string ResultCellText(ld number, std::uint8_t flags, int hops)
{
    std::string text = FormatFixed(number, 0);
    text += DayNightLetter(flags);
    text += std::to_string(hops);
    text += CellMarker(flags);
    return text;
}

void VideTableau(Prediction& table)
{
    for (auto& row : table.Cells) {
        for (Cell& c : row) {
            c.Text.clear();
        }
    }
}

void LabelGrid(Prediction& table, const Settings& st, const std::vector<TableBand>& bands)
{
    static const char* const hourLabels[4] = {"UTC", "LOC", "MUF", "ZEN"};
    for (int r = RowUtc; r <= RowZen; ++r) {
        table.At(0, r).Text = hourLabels[r - RowUtc];
    }
    const int display = Number(st.Display);
    const int antenna = Number(st.GainTable);
    static const char* const displayTexts[4] = {"Power (dBm) above threshold", "Takeoff angle (degrees)",
                                                "Delays (milliseconds)", "Best frequencies"};
    if (display >= 1 && display <= 3) {
        for (std::size_t i = 0; i < bands.size() && i < static_cast<std::size_t>(BandCount); ++i) {
            table.At(0, BandRow(static_cast<int>(i) + 1)).Text = BandLabel(bands[i]);
        }
    } else if (display == 4) {
        for (int r = 0; r < RowBestFreq; ++r) {
            table.At(0, r).Text.clear();
        }
        table.At(0, RowBestFreq).Text = "FRQ";
        table.At(0, RowBestCell).Text = "DSC";
    }
    if (display >= 1 && display <= 4) {
        table.DisplayText = displayTexts[display - 1];
    }
    static const char* const antennaTexts[3] = {"Isotrop antenna", "Simple dipole", "3 elements Yagi"};
    if (antenna >= 0 && antenna <= 2) {
        table.AntennaText = antennaTexts[antenna];
    }
    table.PowerText = std::to_string(st.Power) + " dbW";
}

void Dsx(Prediction& table, const Workspace& ws, DisplayFormat display, int hre, int nfq, int idx)
{
    if (idx == 0) {
        return;
    }
    ld number;
    int row = BandRow(nfq);
    switch (display) {
    case DisplayFormat::SignalLevel: number = ws.SigLevel[idx] - SensitivityDbm; break;
    case DisplayFormat::TakeOffAngle: number = ws.TakeOff[idx] * RadToDeg; break;
    case DisplayFormat::Delay: number = ws.RayPath[idx] / LightSpeed * MsPerKmOverMetresPerSecond; break;
    case DisplayFormat::BestFrequency:
        number = ws.SigLevel[idx] - SensitivityDbm;
        row = RowBestCell;
        break;
    default: return;
    }
    table.At(hre + 1, row).Text = ResultCellText(number, ws.HopFlags[idx], idx);
}

TableCellClass CellClassOf(const std::string& text)
{
    if (text.empty()) {
        return TableCellClass::Empty;
    }
    return text[0] == '-' ? TableCellClass::Below : TableCellClass::Usable;
}

void ResultCellColors(const std::string& text, Rgb& bg, Rgb& fg)
{
    switch (CellClassOf(text)) {
    case TableCellClass::Empty:
        bg = Black;
        fg = Black;
        break;
    case TableCellClass::Below:
        bg = Red;
        fg = Amber;
        break;
    case TableCellClass::Usable:
        bg = Green;
        fg = Amber;
        break;
    }
}

namespace {

// Rows 15 to 18: the UTC hour, the local hour, the MUF and the elevation.
constexpr Rgb HourRowFg[4] = {Yellow, Black, Red, Black};

Rgb HourRowBg(int row, Rgb captionColor)
{
    return row == RowUtc ? Navy : captionColor;
}

int HighlightedColumn(int utcHour)
{
    if (utcHour == NoHourHighlighted) {
        return 0; // the labels' column, which no hour's colouring touches
    }
    return ((utcHour % HoursPerDay) + HoursPerDay) % HoursPerDay + 1;
}

} // namespace

void ColorHourColumn(Prediction& table, int col, int utcHour, Rgb captionColor)
{
    for (int r = 0; r < RowUtc; ++r) {
        Cell& cell = table.At(col, r);
        cell.Bold = false;
        ResultCellColors(cell.Text, cell.Bg, cell.Fg);
    }
    const bool now = col == HighlightedColumn(utcHour);
    for (int r = RowUtc; r <= RowZen; ++r) {
        Cell& cell = table.At(col, r);
        cell.Bg = now ? Yellow : HourRowBg(r, captionColor);
        cell.Fg = now && r == RowUtc ? Black : HourRowFg[r - RowUtc];
        cell.Bold = now;
    }
}

void ColorGrid(Prediction& table, int utcHour, Rgb captionColor)
{
    // The labels: white on the grid's black, then on the UTC row's navy;
    // the labels of the hourly rows in black and bold.
    for (int r = 0; r < RowUtc; ++r) {
        Cell& label = table.At(0, r);
        label.Bg = Black;
        label.Fg = White;
        label.Bold = false;
    }
    for (int r = RowUtc; r <= RowZen; ++r) {
        Cell& label = table.At(0, r);
        label.Bg = HourRowBg(r, captionColor);
        label.Fg = r == RowUtc ? White : Black;
        label.Bold = true;
    }
    for (int c = 1; c < TableCols; ++c) {
        ColorHourColumn(table, c, utcHour, captionColor);
    }
}

} // namespace orvela
