#include "engine/table_export.h"

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

} // namespace

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
