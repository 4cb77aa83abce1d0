#include "country/country_file.h"
#include "common/trimmed.h"
#include "common/whole_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <utility>

namespace orvela::country {

const Alias* CountryFile::FindExactCall(std::string_view call) const
{
    const auto it = exactCalls_.find(call);
    return it == exactCalls_.end() ? nullptr : &aliases_[it->second];
}

const Alias* CountryFile::FindLongestPrefix(std::string_view call) const
{
    for (std::size_t n = std::min(call.size(), longestPrefix_); n > 0; --n) {
        const auto it = prefixes_.find(call.substr(0, n));
        if (it != prefixes_.end()) {
            return &aliases_[it->second];
        }
    }
    return nullptr;
}

namespace {

constexpr std::string_view ContinentCodes[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};

// What stops the reading: the line at fault (0 for the file as a whole) and
// the reason.
struct Refusal {
    int Line = 0;
    std::string Reason;
};

[[noreturn]] void Refuse(int line, std::string reason)
{
    throw Refusal{line, std::move(reason)};
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view s)
{
    return orvela::Trimmed(s, IsBlank);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The characters of a prefix or call sign.
bool IsCallCharacter(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/';
}

char Capital(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A piece of the file quoted in a message, cut short when long. The text
// has been checked to be printable ASCII.
std::string Quoted(std::string_view s)
{
    constexpr std::size_t shown = 24;
    if (s.size() > shown) {
        return "\"" + std::string(s.substr(0, shown)) + "...\"";
    }
    return "\"" + std::string(s) + "\"";
}

// An optional sign and at most four decimal digits.
std::optional<int> WholeNumber(std::string_view s)
{
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 4 || !std::all_of(s.begin(), s.end(), IsDigit)) {
        return std::nullopt;
    }
    int v = 0;
    for (const char c : s) {
        v = v * 10 + (c - '0');
    }
    return negative ? -v : v;
}

// An optional sign, decimal digits, and optionally a point and more digits:
// no exponent, no blank, whatever the locale.
std::optional<double> DecimalNumber(std::string_view s)
{
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    const std::size_t point = s.find('.');
    const std::string_view whole = s.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : s.substr(point + 1);
    if (whole.empty() || whole.size() > 6 || !std::all_of(whole.begin(), whole.end(), IsDigit) ||
        (point != std::string_view::npos &&
         (fraction.empty() || fraction.size() > 12 || !std::all_of(fraction.begin(), fraction.end(), IsDigit)))) {
        return std::nullopt;
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    return negative ? -v : v;
}

int CqZone(std::string_view s, int line, std::string_view what)
{
    const std::optional<int> v = WholeNumber(s);
    if (!v || *v < 1 || *v > 40) {
        Refuse(line, std::string(what) + " " + Quoted(s) + " is not a CQ zone, a whole number from 1 to 40");
    }
    return *v;
}

int ItuZone(std::string_view s, int line, std::string_view what)
{
    const std::optional<int> v = WholeNumber(s);
    if (!v || *v < 1 || *v > 90) {
        Refuse(line, std::string(what) + " " + Quoted(s) + " is not an ITU zone, a whole number from 1 to 90");
    }
    return *v;
}

std::string Continent(std::string_view s, int line, std::string_view what)
{
    if (std::find(std::begin(ContinentCodes), std::end(ContinentCodes), s) == std::end(ContinentCodes)) {
        Refuse(line, std::string(what) + " " + Quoted(s) + " is not a continent: AF, AN, AS, EU, NA, OC or SA");
    }
    return std::string(s);
}

double Degrees(std::string_view s, double limit, int line, std::string_view what)
{
    const std::optional<double> v = DecimalNumber(s);
    if (!v || *v < -limit || *v > limit) {
        Refuse(line, std::string(what) + " " + Quoted(s) + " is not a number of degrees from -" +
                         std::to_string(static_cast<int>(limit)) + " to " + std::to_string(static_cast<int>(limit)));
    }
    return *v;
}

double UtcOffset(std::string_view s, int line, std::string_view what)
{
    const std::optional<double> v = DecimalNumber(s);
    if (!v || *v < -24 || *v > 24) {
        Refuse(line, std::string(what) + " " + Quoted(s) + " is not a number of hours from -24 to 24");
    }
    return *v;
}

// Every character of a line is printable ASCII or a tab.
void CheckCharacters(std::string_view line, int lineNo)
{
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c >= 0x80) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", c);
            Refuse(lineNo, "column " + std::to_string(i + 1) + ": a byte that is not ASCII (" + hex +
                               "); the country file is plain ASCII text");
        }
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", c);
            Refuse(lineNo, "column " + std::to_string(i + 1) + ": a control character (" + hex + ")");
        }
    }
}

std::string TooLargeReason()
{
    return "the file is larger than " + std::to_string(MaxFileBytes / (1024 * 1024)) + " MiB";
}

} // namespace

// Builds a CountryFile line by line.
class CountryFileBuilder {
public:
    explicit CountryFileBuilder(std::string_view text)
    {
        // Every alias is followed by ',' or ';'.
        const auto separators = std::count_if(text.begin(), text.end(), [](char c) { return c == ',' || c == ';'; });
        file_.aliases_.reserve(static_cast<std::size_t>(separators));
        file_.prefixes_.reserve(static_cast<std::size_t>(separators));
        file_.exactCalls_.reserve(static_cast<std::size_t>(separators));
    }

    void Line(std::string_view line, int lineNo)
    {
        CheckCharacters(line, lineNo);
        if (inAliases_) {
            AliasLine(line, lineNo);
        } else if (!Trimmed(line).empty()) {
            EntityLine(line, lineNo);
        }
    }

    CountryFile Finish(int lastLine)
    {
        if (inAliases_) {
            const Entity& e = file_.entities_.back();
            Refuse(lastLine, "the file ends before the ';' that ends the aliases of " + e.Name + " (from line " +
                                 std::to_string(e.Line) + ")");
        }
        if (file_.entities_.empty()) {
            Refuse(0, "the file holds no entity");
        }
        return std::move(file_);
    }

private:
    void EntityLine(std::string_view line, int lineNo)
    {
        std::string_view fields[8];
        std::string_view rest = line;
        for (int k = 0; k < 8; ++k) {
            const std::size_t colon = rest.find(':');
            if (colon == std::string_view::npos) {
                Refuse(lineNo, "an entity's line has eight fields each ended by ':' (name, CQ zone, ITU zone, "
                               "continent, latitude, longitude, UTC offset, prefix); this one has " +
                                   std::to_string(k));
            }
            fields[k] = Trimmed(rest.substr(0, colon));
            rest.remove_prefix(colon + 1);
        }
        if (!Trimmed(rest).empty()) {
            Refuse(lineNo, "text after the entity's eighth field: " + Quoted(Trimmed(rest)));
        }

        Entity e;
        e.Line = lineNo;
        if (fields[0].empty()) {
            Refuse(lineNo, "the entity has no name");
        }
        e.Name = std::string(fields[0]);
        e.CqZone = CqZone(fields[1], lineNo, "the entity's CQ zone");
        e.ItuZone = ItuZone(fields[2], lineNo, "the entity's ITU zone");
        e.Continent = Continent(fields[3], lineNo, "the entity's continent");
        e.LatDeg = Degrees(fields[4], 90, lineNo, "the entity's latitude");
        e.LonWestDeg = Degrees(fields[5], 180, lineNo, "the entity's longitude");
        e.UtcOffsetHours = UtcOffset(fields[6], lineNo, "the entity's UTC offset");
        std::string_view prefix = fields[7];
        if (!prefix.empty() && prefix.front() == '*') {
            e.WaeOnly = true;
            prefix.remove_prefix(1);
        }
        if (prefix.empty() || prefix.size() > MaxAliasLength ||
            !std::all_of(prefix.begin(), prefix.end(), IsCallCharacter)) {
            Refuse(lineNo, "the entity's prefix " + Quoted(fields[7]) + " is not letters, digits and '/' (up to " +
                               std::to_string(MaxAliasLength) + "), after an optional '*'");
        }
        e.PrimaryPrefix = std::string(prefix);
        if (file_.entities_.size() >= UINT32_MAX) {
            Refuse(lineNo, "too many entities");
        }
        file_.entities_.push_back(std::move(e));
        inAliases_ = true;
        aliasesOfEntity_ = 0;
        itemSinceComma_ = false;
    }

    void AliasLine(std::string_view line, int lineNo)
    {
        const Entity& entity = file_.entities_.back();
        if (line.find(':') != std::string_view::npos) {
            Refuse(lineNo, "a ':' among aliases: the aliases of " + entity.Name + " (from line " +
                               std::to_string(entity.Line) + ") are not ended by ';'");
        }
        // A line end separates two aliases as a ',' does.
        bool separated = true;
        std::size_t i = 0;
        while (i < line.size()) {
            const char c = line[i];
            if (IsBlank(c)) {
                ++i;
            } else if (c == ',') {
                if (!itemSinceComma_) {
                    Refuse(lineNo, "column " + std::to_string(i + 1) + ": an empty alias, ',' with nothing before it");
                }
                itemSinceComma_ = false;
                separated = true;
                ++i;
            } else if (c == ';') {
                if (aliasesOfEntity_ > 0 && !itemSinceComma_) {
                    Refuse(lineNo, "column " + std::to_string(i + 1) + ": an empty alias, ',' right before ';'");
                }
                const std::string_view after = Trimmed(line.substr(i + 1));
                if (!after.empty()) {
                    Refuse(lineNo, "text after the ';' that ends the aliases of " + entity.Name + ": " + Quoted(after));
                }
                inAliases_ = false;
                return;
            } else {
                if (!separated) {
                    Refuse(lineNo, "column " + std::to_string(i + 1) + ": two aliases without ',' between them");
                }
                i = Item(line, i, lineNo);
                separated = false;
                itemSinceComma_ = true;
                ++aliasesOfEntity_;
            }
        }
    }

    // Reads the alias that starts at line[i] with its overrides, and gives
    // the position after it.
    std::size_t Item(std::string_view line, std::size_t i, int lineNo)
    {
        const std::string where = "column " + std::to_string(i + 1) + ": ";
        Alias a;
        a.Line = lineNo;
        a.Entity = static_cast<std::uint32_t>(file_.entities_.size() - 1);
        if (line[i] == '=') {
            a.ExactCall = true;
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && IsCallCharacter(line[i])) {
            ++i;
        }
        if (i == start) {
            if (a.ExactCall) {
                Refuse(lineNo, where + "'=' with no call sign after it");
            }
            Refuse(lineNo, where + "an alias cannot start with '" + std::string(1, line[i]) +
                               "': it is a prefix of letters, digits and '/', or '=' and a call sign");
        }
        if (i - start > MaxAliasLength) {
            Refuse(lineNo, where + "the alias " + Quoted(line.substr(start, i - start)) + " is longer than " +
                               std::to_string(MaxAliasLength) + " characters");
        }
        a.Text.resize(i - start);
        std::transform(line.begin() + static_cast<std::ptrdiff_t>(start), line.begin() + static_cast<std::ptrdiff_t>(i),
                       a.Text.begin(), Capital);

        while (i < line.size()) {
            const char open = line[i];
            const std::string_view opens = "([<{~";
            const std::size_t kind = opens.find(open);
            if (kind == std::string_view::npos) {
                break;
            }
            const char close = ")]>}~"[kind];
            const std::size_t end = line.find(close, i + 1);
            if (end == std::string_view::npos) {
                Refuse(lineNo, "column " + std::to_string(i + 1) + ": the override '" + std::string(1, open) + "' of " +
                                   Quoted(a.Text) + " is not closed by '" + std::string(1, close) + "' on its line");
            }
            Override(a, open, line.substr(i + 1, end - i - 1), lineNo);
            i = end + 1;
        }
        if (i < line.size() && !IsBlank(line[i]) && line[i] != ',' && line[i] != ';') {
            Refuse(lineNo, "column " + std::to_string(i + 1) + ": '" + std::string(1, line[i]) + "' after the alias " +
                               Quoted(a.Text) + " (a ',' or ';' was expected)");
        }
        Add(std::move(a));
        return i;
    }

    void Override(Alias& a, char open, std::string_view value, int lineNo)
    {
        const std::string of = " of " + Quoted(a.Text);
        const auto once = [&](bool given, const char* what) {
            if (given) {
                Refuse(lineNo, std::string("two ") + what + " overrides" + of);
            }
        };
        switch (open) {
        case '(':
            once(a.Over.CqZone.has_value(), "CQ zone");
            a.Over.CqZone = CqZone(value, lineNo, "the CQ zone override" + of);
            break;
        case '[':
            once(a.Over.ItuZone.has_value(), "ITU zone");
            a.Over.ItuZone = ItuZone(value, lineNo, "the ITU zone override" + of);
            break;
        case '{':
            once(a.Over.Continent.has_value(), "continent");
            a.Over.Continent = Continent(value, lineNo, "the continent override" + of);
            break;
        case '~':
            once(a.Over.UtcOffsetHours.has_value(), "UTC offset");
            a.Over.UtcOffsetHours = UtcOffset(value, lineNo, "the UTC offset override" + of);
            break;
        default: { // '<'
            once(a.Over.LatDeg.has_value(), "position");
            const std::size_t slash = value.find('/');
            if (slash == std::string_view::npos) {
                Refuse(lineNo, "the position override " + Quoted(value) + of +
                                   " is not a latitude and a longitude separated by '/'");
            }
            a.Over.LatDeg = Degrees(value.substr(0, slash), 90, lineNo, "the latitude override" + of);
            a.Over.LonWestDeg = Degrees(value.substr(slash + 1), 180, lineNo, "the longitude override" + of);
            break;
        }
        }
    }

    void Add(Alias a)
    {
        const auto index = static_cast<std::uint32_t>(file_.aliases_.size());
        CountryFile::Index& byText = a.ExactCall ? file_.exactCalls_ : file_.prefixes_;
        const auto [it, added] = byText.try_emplace(a.Text, index);
        if (!added) {
            // The DXCC entity takes what a WAE-only entity listed before it.
            const Alias& earlier = file_.aliases_[it->second];
            if (file_.entities_[earlier.Entity].WaeOnly && !file_.entities_[a.Entity].WaeOnly) {
                it->second = index;
            }
        }
        if (!a.ExactCall) {
            file_.longestPrefix_ = std::max(file_.longestPrefix_, a.Text.size());
        } else if (file_.version_.empty() && a.Text.size() == 11 && a.Text.starts_with("VER") &&
                   std::all_of(a.Text.begin() + 3, a.Text.end(), IsDigit)) {
            file_.version_ = a.Text.substr(3);
        }
        file_.aliases_.push_back(std::move(a));
    }

    CountryFile file_;
    bool inAliases_ = false;
    std::size_t aliasesOfEntity_ = 0;
    bool itemSinceComma_ = false; // an alias since the last ',' or the entity's line
};

CountryFileResult ParseCountryFile(std::string_view text)
{
    CountryFileResult result;
    if (text.size() > MaxFileBytes) {
        result.Problem = TooLargeReason();
        return result;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    try {
        CountryFileBuilder builder(text);
        int lineNo = 0;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find('\n', at);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            std::string_view line = text.substr(at, end - at);
            at = end + 1;
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            builder.Line(line, ++lineNo);
        }
        result.File = builder.Finish(lineNo);
    } catch (const Refusal& r) {
        result.Line = r.Line;
        result.Problem = r.Line > 0 ? "line " + std::to_string(r.Line) + ": " + r.Reason : r.Reason;
    }
    return result;
}

CountryFileResult ReadCountryFile(const std::string& path)
{
    CountryFileResult result;
    // Whatever kind of file the path names, a pipe included: the reader stops
    // one byte past the limit, so a stream too large is told as such.
    const WholeFile file = ReadWholeFile(path, MaxFileBytes);
    if (file.Error != 0) {
        result.Problem = "The country file " + path + " cannot be read: " + file.Problem();
        return result;
    }
    if (file.TooLarge) {
        result.Problem = "The country file " + path + " is refused: " + TooLargeReason();
        return result;
    }
    result = ParseCountryFile(file.Bytes);
    if (!result.File) {
        result.Problem = "The country file " + path + " is refused: " + result.Problem;
    }
    return result;
}

} // namespace orvela::country
