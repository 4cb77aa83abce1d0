#include "render.h"

#include "table_export.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvela::cli {

namespace {

// Hour cells are at least this wide: "-12x12s" is the longest common text.
constexpr std::size_t MinCellWidth = 7;

std::string Join(const auto& parts, const char* separator)
{
    std::string out;
    for (const std::string& s : parts) {
        if (!out.empty()) {
            out += separator;
        }
        out += s;
    }
    return out;
}

std::string Pad(const std::string& text, std::size_t width, bool right)
{
    if (text.size() >= width) {
        return text;
    }
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

std::string AnsiCell(const Cell& c, const std::string& padded)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "\x1b[%s38;2;%u;%u;%u;48;2;%u;%u;%um", c.Bold ? "1;" : "",
                  (c.Fg >> 16) & 0xFFu, (c.Fg >> 8) & 0xFFu, c.Fg & 0xFFu, (c.Bg >> 16) & 0xFFu, (c.Bg >> 8) & 0xFFu,
                  c.Bg & 0xFFu);
    return buf + padded + "\x1b[0m";
}

// Path figures to a thousandth: more than the strips show, without the noise
// of extended precision.
double Thousandths(ld v)
{
    const double r = static_cast<double>(roundl(v * 1000) / 1000);
    return r == 0 ? 0.0 : r; // no "-0.0"
}

} // namespace

std::string HexColor(Rgb c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFFu));
    return buf;
}

std::string RenderText(const Prediction& p, bool ansi, const SolarReport* solar)
{
    std::size_t labelWidth = 0;
    std::size_t cellWidth = MinCellWidth;
    for (const auto& row : p.Cells) {
        labelWidth = std::max(labelWidth, row[0].Text.size());
        for (int c = 1; c < TableCols; ++c) {
            cellWidth = std::max(cellWidth, row[c].Text.size());
        }
    }

    std::string out = Join(p.H2, " | ") + "\n" + Join(p.H1, " | ") + "\n\n";
    for (const auto& row : p.Cells) {
        for (int c = 0; c < TableCols; ++c) {
            if (c > 0) {
                out += ' ';
            }
            const std::string padded = c == 0 ? Pad(row[c].Text, labelWidth, false) : Pad(row[c].Text, cellWidth, true);
            out += ansi ? AnsiCell(row[c], padded) : padded;
        }
        if (!ansi) {
            out.erase(out.find_last_not_of(' ') + 1);
        }
        out += '\n';
    }
    out += "\n" + Join(std::array{p.DisplayText, p.AntennaText, p.PowerText}, " | ") + "\n";
    if (solar != nullptr && solar->Ok) {
        out += "Geophysical Alert Message issued " + solar->Issued + ": solar flux " + std::to_string(solar->Flux) +
               ", used " + FormatFixed(solar->FluxUsed, 1) + "\n";
    }
    return out;
}

std::string RenderCsv(const Prediction& p)
{
    return TableCsv(p);
}

std::string RenderJson(const Prediction& p, const RunInput& in, const SolarReport* solar)
{
    using Json = nlohmann::ordered_json;
    Json grid = Json::array();
    Json cells = Json::array();
    for (const auto& row : p.Cells) {
        Json texts = Json::array();
        Json looks = Json::array();
        for (const Cell& c : row) {
            texts.push_back(c.Text);
            looks.push_back(Json{{"bg", HexColor(c.Bg)}, {"fg", HexColor(c.Fg)}, {"bold", c.Bold}});
        }
        grid.push_back(std::move(texts));
        cells.push_back(std::move(looks));
    }
    Json j;
    j["h1"] = p.H1;
    j["h2"] = p.H2;
    j["grid"] = std::move(grid);
    j["cells"] = std::move(cells);
    j["path"] = Json{{"distance_km", Thousandths(p.Path.DistanceKm)},
                     {"azimuth_deg", Thousandths(p.Path.AzimuthDeg)},
                     {"back_azimuth_deg", Thousandths(p.Path.BackAzimuthDeg)},
                     {"base_hops", p.Path.BaseHops},
                     {"base_elev_deg", Thousandths(p.Path.BaseElevDeg)},
                     {"delay_ms", Thousandths(p.Path.DelayMs)}};
    j["status"] = Json{{"display", p.DisplayText}, {"antenna", p.AntennaText}, {"power", p.PowerText}};
    j["home"] = Json{{"lat_deg", static_cast<double>(in.Station.Latitude)},
                     {"lon_deg", static_cast<double>(in.Station.Longitude)}};
    j["remote"] = Json{{"lat_deg", static_cast<double>(in.RemoteLatDeg)}, {"lon_deg", static_cast<double>(in.RemoteLonDeg)}};
    if (solar != nullptr) {
        j["solar"] = solar->Ok ? Json{{"issued", solar->Issued}, {"flux", solar->Flux}, {"url", solar->Url}}
                               : Json{{"error", solar->Error}, {"url", solar->Url}};
    }
    // A call sign is taken as typed; bytes that are not UTF-8 become U+FFFD
    // rather than stop the output.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace orvela::cli
