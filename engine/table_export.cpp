#include "engine/table_export.h"

#include "engine/format.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace orvela {

std::string CsvField(const std::string& s)
{
    if (s.find_first_of(",\" \r\n") == std::string::npos) {
        return s;
    }
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
    return out;
}

namespace {

template <class Texts, class Field>
void AppendLine(std::string& out, const Texts& texts, char separator, Field field)
{
    bool first = true;
    for (const auto& t : texts) {
        if (!first) {
            out += separator;
        }
        first = false;
        out += field(t);
    }
    out += '\n';
}

// A tab or a line break inside a text would split its field.
std::string TabField(const std::string& s)
{
    std::string out = s;
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

// Unsigned degrees with up to four decimals (about ten metres), the zeros
// at the end left out: "48.8623", "40".
std::string Degrees(ld value)
{
    std::string text = FormatFixed(std::fabs(value), 4);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

// The date the table is for: the run's month and day, in the year of the
// date line, or of the year before when the program was started on a
// December day and the run is made in January.
CivilDate PredictionDate(const RunInput& in)
{
    CivilDate d{in.LocalDate.Year, in.Month, in.Day};
    if (in.Month > in.LocalDate.Month) {
        --d.Year;
    }
    return d;
}

// The call sign's ASCII letters and digits, each other run of characters
// one "-", at most 40 characters.
std::string CallSignForFileName(std::string_view call)
{
    std::string out;
    for (char c : call) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (kept) {
            out += c;
        } else if (!out.empty() && out.back() != '-') {
            out += '-';
        }
        if (out.size() >= 40) {
            break;
        }
    }
    while (!out.empty() && out.back() == '-') {
        out.pop_back();
    }
    return out.empty() ? "station" : out;
}

} // namespace

std::string LatitudeName(ld lat)
{
    return Degrees(lat) + (lat < 0 ? "S" : "N");
}
std::string LongitudeName(ld lonWest)
{
    return Degrees(lonWest) + (lonWest < 0 ? "E" : "W");
}

std::string TableCsvFile(const RunInput& in, const Prediction& p)
{
    const Settings& st = in.Station;
    const std::pair<const char*, std::string> heading[] = {
        {"Station", st.CallSign},
        {"Station position", LatitudeName(st.Latitude) + " " + LongitudeName(st.Longitude)},
        {"Remote point", LatitudeName(in.RemoteLatDeg) + " " + LongitudeName(in.RemoteLonDeg)},
        {"Path", st.Path ? "long path" : "short path"},
        {"Distance (km)", FormatFixed(p.Path.DistanceKm, 1)},
        {"Azimuth (degrees)", FormatFixed(p.Path.AzimuthDeg, 1)},
        {"Back azimuth (degrees)", FormatFixed(p.Path.BackAzimuthDeg, 1)},
        {"Delay (milliseconds)", FormatFixed(p.Path.DelayMs, 1)},
        {"Date", IsoDate(PredictionDate(in))},
        {"Solar flux (sfu)", FormatFixed(in.Flux, 1)},
        {"Power (dBW)", std::to_string(st.Power)},
        {"Lowest take-off angle (degrees)", std::to_string(st.MinAngle)},
        {"Antenna", p.AntennaText},
        {"Display", p.DisplayText},
        {"Model", ModelBanner},
    };
    std::string out;
    for (const auto& [what, value] : heading) {
        out += CsvField(what) + "," + CsvField(value) + "\n";
    }
    return out + "\n" + TableCsv(p);
}

std::string TableFileName(const RunInput& in, const std::string& extension)
{
    return "orvela-" + CallSignForFileName(in.Station.CallSign) + "-to-" + LatitudeName(in.RemoteLatDeg) +
           LongitudeName(in.RemoteLonDeg) + (in.Station.Path ? "-long-path-" : "-") + IsoDate(PredictionDate(in)) +
           "." + extension;
}

std::string TableCsv(const Prediction& p)
{
    std::string out;
    for (const auto& row : p.Cells) {
        AppendLine(out, row, ',', [](const Cell& c) { return CsvField(c.Text); });
    }
    return out;
}

std::string TableTabText(const Prediction& p)
{
    std::string out;
    AppendLine(out, p.H1, '\t', TabField);
    AppendLine(out, p.H2, '\t', TabField);
    for (const auto& row : p.Cells) {
        AppendLine(out, row, '\t', [](const Cell& c) { return TabField(c.Text); });
    }
    return out;
}

} // namespace orvela
