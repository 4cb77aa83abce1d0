#include "cli/render.h"

#include "engine/table_export.h"

#include <algorithm>
#include <charconv>
#include <optional>

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
    std::snprintf(buf, sizeof buf, "\x1b[%s38;2;%u;%u;%u;48;2;%u;%u;%um", c.Bold ? "1;" : "", (c.Fg >> 16) & 0xFFu,
                  (c.Fg >> 8) & 0xFFu, c.Fg & 0xFFu, (c.Bg >> 16) & 0xFFu, (c.Bg >> 8) & 0xFFu, c.Bg & 0xFFu);
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

FluxOrigin GivenFlux(ld sfu, bool typed)
{
    FluxOrigin o;
    o.Sfu = sfu;
    o.Source = typed ? solar::FluxSource::Typed : solar::FluxSource::Default;
    o.Described = solar::FluxSourceName(o.Source);
    return o;
}

std::string FluxStatusLine(const FluxOrigin& flux)
{
    return "Solar flux " + FormatFixed(flux.Sfu, 1) + ": " + flux.Described;
}

std::string FluxJson(const FluxOrigin& flux)
{
    // The flux as the prediction took it, to the tenth it is kept to.
    const double sfu = std::round(static_cast<double>(flux.Sfu) * 10) / 10;
    std::string out = "{\"sfu\":" + nlohmann::json(sfu).dump() + ",\"source\":\"" + solar::FluxSourceName(flux.Source) +
                      "\",\"issued\":";
    out += flux.Issued ? "\"" + IsoDate(*flux.Issued) + "\"" : std::string("null");
    return out + "}";
}

std::string HexColor(Rgb c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFFu));
    return buf;
}

std::string RenderText(const Prediction& p, const Reach& reach, bool ansi, const SolarReport* solar,
                       const FluxOrigin* flux, const RemoteEntity* entity)
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
    out += "\n";
    if (!reach.Reaches) {
        out += reach.Reason + "\n";
    }
    out += Join(std::array{p.DisplayText, p.AntennaText, p.PowerText}, " | ") + "\n";
    if (solar != nullptr && solar->Ok) {
        out += "Geophysical Alert Message issued " + solar->Issued + ": solar flux " + std::to_string(solar->Flux) +
               ", used " + FormatFixed(solar->FluxUsed, 1) + "\n";
    }
    // The bulletin's own line names it already.
    if (flux != nullptr && flux->Auto && flux->Source != solar::FluxSource::Bulletin) {
        out += FluxStatusLine(*flux) + "\n";
    }
    if (entity != nullptr) {
        out += "Remote point: " + EntityLine(*entity) + "\n";
    }
    return out;
}

std::string RenderCsv(const Prediction& p, const Reach& reach, const FluxOrigin* flux, const RemoteEntity* entity)
{
    std::string out = TableCsv(p);
    if (entity != nullptr) {
        out += "# Remote point: " + EntityLine(*entity) + "\n";
    }
    if (!reach.Reaches) {
        out += "# " + reach.Reason + "\n";
    }
    if (flux != nullptr && flux->Auto) {
        out += "# " + FluxStatusLine(*flux) + "\n";
    }
    return out;
}

namespace {

using Json = nlohmann::ordered_json;

// The JSON of a string as nlohmann's compact dump writes it. Plain
// printable ASCII, the whole table's texts, is written directly; anything
// else (quotes, control characters, UTF-8, bytes that are not UTF-8, which
// become U+FFFD rather than stop the output) goes through the library.
void AppendJsonString(std::string& out, const std::string& s)
{
    const bool plain =
        std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (plain) {
        out += '"';
        out += s;
        out += '"';
    } else {
        out += Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
    }
}

template <class Texts>
void AppendJsonStrings(std::string& out, const Texts& texts)
{
    out += '[';
    bool first = true;
    for (const std::string& t : texts) {
        if (!first) {
            out += ',';
        }
        first = false;
        AppendJsonString(out, t);
    }
    out += ']';
}

// A double as the library writes it: the shortest text that reads back.
void AppendJsonNumber(std::string& out, double v)
{
    out += Json(v).dump();
}

void AppendHexColor(std::string& out, Rgb c)
{
    static const char digits[] = "0123456789ABCDEF";
    out += '#';
    for (int shift = 20; shift >= 0; shift -= 4) {
        out += digits[(c >> shift) & 0xFu];
    }
}

void AppendPosition(std::string& out, const char* key, ld lat, ld lonWestDeg)
{
    out += ",\"";
    out += key;
    out += "\":{\"lat_deg\":";
    AppendJsonNumber(out, static_cast<double>(lat));
    out += ",\"lon_deg\":";
    AppendJsonNumber(out, static_cast<double>(lonWestDeg));
    out += '}';
}

// The S-meter reading of a cell that holds a signal level: a band row in
// the signal-level display, the best band's cell in the best-frequency one.
std::optional<std::string> SMeterOfCell(const Prediction& p, DisplayFormat display, int col, int row)
{
    const bool signal = col > 0 && ((display == DisplayFormat::SignalLevel && row < RowUtc) ||
                                    (display == DisplayFormat::BestFrequency && row == RowBestCell));
    const std::string& text = p.Cells[row][col].Text;
    int level = 0;
    if (!signal || text.empty() || std::from_chars(text.data(), text.data() + text.size(), level).ec != std::errc()) {
        return std::nullopt;
    }
    return SMeterOfTableLevel(level);
}

} // namespace

// Written piece by piece rather than built as a library object: the 475
// cells' objects would cost as much as the prediction itself. The text is
// the library's compact dump of the same object, byte for byte.
std::string RenderJson(const Prediction& p, const RunInput& in, const Reach& reach, const SolarReport* solar,
                       const FluxOrigin* flux, const RemoteEntity* entity)
{
    std::string out;
    out.reserve(40000);
    out += "{\"h1\":";
    AppendJsonStrings(out, p.H1);
    out += ",\"h2\":";
    AppendJsonStrings(out, p.H2);
    out += ",\"grid\":[";
    for (int r = 0; r < TableRows; ++r) {
        if (r > 0) {
            out += ',';
        }
        out += '[';
        for (int c = 0; c < TableCols; ++c) {
            if (c > 0) {
                out += ',';
            }
            AppendJsonString(out, p.Cells[r][c].Text);
        }
        out += ']';
    }
    out += "],\"cells\":[";
    for (int r = 0; r < TableRows; ++r) {
        if (r > 0) {
            out += ',';
        }
        out += '[';
        for (int c = 0; c < TableCols; ++c) {
            const Cell& cell = p.Cells[r][c];
            out += c > 0 ? ",{\"bg\":\"" : "{\"bg\":\"";
            AppendHexColor(out, cell.Bg);
            out += "\",\"fg\":\"";
            AppendHexColor(out, cell.Fg);
            out += cell.Bold ? "\",\"bold\":true" : "\",\"bold\":false";
            if (const std::optional<std::string> meter = SMeterOfCell(p, in.Station.Display, c, r)) {
                out += ",\"s_meter\":";
                AppendJsonString(out, *meter);
            }
            out += '}';
        }
        out += ']';
    }
    out += "],\"bands\":[";
    const std::size_t rows = std::min<std::size_t>(in.Bands.size(), BandCount);
    for (std::size_t i = 0; i < rows; ++i) {
        const TableBand& band = in.Bands[i];
        out += i > 0 ? ",{\"row\":" : "{\"row\":";
        out += std::to_string(BandRow(static_cast<int>(i) + 1));
        out += ",\"mhz\":";
        AppendJsonNumber(out, static_cast<double>(band.Mhz));
        out += ",\"name\":";
        AppendJsonString(out, band.Name);
        out += '}';
    }
    out += "],\"path\":{\"distance_km\":";
    AppendJsonNumber(out, Thousandths(p.Path.DistanceKm));
    out += ",\"azimuth_deg\":";
    AppendJsonNumber(out, Thousandths(p.Path.AzimuthDeg));
    out += ",\"back_azimuth_deg\":";
    AppendJsonNumber(out, Thousandths(p.Path.BackAzimuthDeg));
    out += ",\"base_hops\":";
    out += std::to_string(p.Path.BaseHops);
    out += ",\"base_elev_deg\":";
    AppendJsonNumber(out, Thousandths(p.Path.BaseElevDeg));
    out += ",\"delay_ms\":";
    AppendJsonNumber(out, Thousandths(p.Path.DelayMs));
    out += "},\"status\":{\"display\":";
    AppendJsonString(out, p.DisplayText);
    out += ",\"antenna\":";
    AppendJsonString(out, p.AntennaText);
    out += ",\"power\":";
    AppendJsonString(out, p.PowerText);
    out += '}';
    out += reach.Reaches ? ",\"reaches\":true" : ",\"reaches\":false,\"empty_reason\":";
    if (!reach.Reaches) {
        AppendJsonString(out, reach.Reason);
    }
    AppendPosition(out, "home", in.Station.Latitude, in.Station.Longitude);
    AppendPosition(out, "remote", in.RemoteLatDeg, in.RemoteLonWestDeg);
    if (entity != nullptr) {
        // Inside "remote": its closing brace gives way to the entity.
        out.pop_back();
        out += ",\"entity\":{\"name\":";
        AppendJsonString(out, entity->Name);
        out += ",\"prefix\":";
        AppendJsonString(out, entity->Prefix);
        out += ",\"cq\":" + std::to_string(entity->CqZone);
        out += ",\"itu\":" + std::to_string(entity->ItuZone);
        out += ",\"continent\":";
        AppendJsonString(out, entity->Continent);
        out += "}}";
    }
    if (solar != nullptr) {
        if (solar->Ok) {
            out += ",\"solar\":{\"issued\":";
            AppendJsonString(out, solar->Issued);
            out += ",\"flux\":";
            out += std::to_string(solar->Flux);
        } else {
            out += ",\"solar\":{\"error\":";
            AppendJsonString(out, solar->Error);
        }
        out += ",\"url\":";
        AppendJsonString(out, solar->Url);
        out += '}';
    }
    if (flux != nullptr) {
        out += ",\"flux\":";
        out += FluxJson(*flux);
    }
    out += "}\n";
    return out;
}

} // namespace orvela::cli
