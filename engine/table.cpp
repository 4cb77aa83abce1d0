#include "prediction.h"

#include "ionosphere.h"

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

void LabelGrid(Prediction& table, const Settings& st)
{
    static const char* const hourLabels[4] = {"UTC", "LOC", "MUF", "ZEN"};
    for (int r = RowUtc; r <= RowZen; ++r) {
        table.At(0, r).Text = hourLabels[r - RowUtc];
    }
    static const char* const displayTexts[4] = {"Power (dBm) above threshold", "Takeoff angle (degrees)",
                                                "Delays (milliseconds)", "Best frequencies"};
    if (st.Display >= 1 && st.Display <= 3) {
        for (int n = 1; n <= BandCount; ++n) {
            table.At(0, BandRow(n)).Text = std::to_string(static_cast<int>(BandFreq(n))) + " Mhz";
        }
    } else if (st.Display == 4) {
        for (int r = 0; r < RowBestFreq; ++r) {
            table.At(0, r).Text.clear();
        }
        table.At(0, RowBestFreq).Text = "FRQ";
        table.At(0, RowBestCell).Text = "DSC";
    }
    if (st.Display >= 1 && st.Display <= 4) {
        table.DisplayText = displayTexts[st.Display - 1];
    }
    static const char* const antennaTexts[3] = {"Isotrop antenna", "Simple dipole", "3 elements Yagi"};
    if (st.GainTable >= 0 && st.GainTable <= 2) {
        table.AntennaText = antennaTexts[st.GainTable];
    }
    table.PowerText = std::to_string(st.Power) + " dbW";
}

void Dsx(Prediction& table, const Workspace& ws, int display, int hre, int nfq, int idx)
{
    if (idx == 0) {
        return;
    }
    ld number;
    int row = BandRow(nfq);
    switch (display) {
    case 1:
        number = ws.SigLevel[idx] - SensitivityDbm;
        break;
    case 2:
        number = ws.TakeOff[idx] * RadToDeg;
        break;
    case 3:
        number = ws.RayPath[idx] / LightSpeed * 1000000;
        break;
    case 4:
        number = ws.SigLevel[idx] - SensitivityDbm;
        row = RowBestCell;
        break;
    default:
        return;
    }
    table.At(hre + 1, row).Text = ResultCellText(number, ws.HopFlags[idx], idx);
}

void ColorGrid(Prediction& table, int utcHour, Rgb captionColor)
{
    for (auto& row : table.Cells) {
        for (Cell& c : row) {
            c.Bold = false;
        }
    }
    for (int r = 0; r < RowUtc; ++r) {
        table.At(0, r).Bg = Black;
        for (int c = 1; c < TableCols; ++c) {
            Cell& cell = table.At(c, r);
            if (cell.Text.empty()) {
                cell.Bg = Black;
                cell.Fg = Black;
            } else if (cell.Text[0] == '-') {
                cell.Bg = Red;
                cell.Fg = Amber;
            } else {
                cell.Bg = Green;
                cell.Fg = Amber;
            }
        }
    }
    const Rgb rowBg[4] = {Navy, captionColor, captionColor, captionColor};
    const Rgb rowFg[4] = {Yellow, Black, Red, Black};
    for (int r = RowUtc; r <= RowZen; ++r) {
        for (int c = 0; c < TableCols; ++c) {
            table.At(c, r).Bg = rowBg[r - RowUtc];
            table.At(c, r).Fg = rowFg[r - RowUtc];
        }
    }
    const int h = ((utcHour % 24) + 24) % 24;
    table.At(h + 1, RowUtc).Fg = Black;
    for (int r = RowUtc; r <= RowZen; ++r) {
        table.At(h + 1, r).Bg = Yellow;
        table.At(0, r).Fg = Black;
        table.At(h + 1, r).Bold = true;
        table.At(0, r).Bold = true;
    }
    for (int r = 0; r <= RowUtc; ++r) {
        table.At(0, r).Fg = White;
    }
}

} // namespace orvela
