// Reading NOAA's flux products and asking them for a date. No network and
// no file here, so that the readers can be built and fuzzed on their own.
#include "solar/products.h"
#include "solar/quoted_piece.h"
#include "common/whole_number.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

namespace orvela::solar {

namespace {

using std::chrono::month;
using std::chrono::year;

// Printable form of a short piece of a product for a one-line message.
std::string Quoted(std::string_view s)
{
    return QuotedPiece(s, 48);
}

std::string Number(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// What makes a reply no product at all, whatever product was asked for.
std::string BodyProblem(std::string_view body)
{
    if (body.empty())
        return "empty reply";
    if (body.size() > MaxProductBytes)
        return "larger than " + std::to_string(MaxProductBytes >> 20) + " MiB (" + std::to_string(body.size()) +
               " bytes)";
    if (body.size() >= 2 && static_cast<unsigned char>(body[0]) == 0x1f && static_cast<unsigned char>(body[1]) == 0x8b)
        return "gzip-compressed bytes, not text";
    if (const std::size_t nul = body.find('\0'); nul != std::string_view::npos)
        return "binary data (a NUL byte at byte " + std::to_string(nul) + ")";
    const std::size_t first = std::find_if_not(body.begin(), body.end(), Blank) - body.begin();
    if (first == body.size())
        return "only blanks";
    if (body[first] == '<')
        return "an HTML page, not the product: " + Quoted(body.substr(first));
    return "";
}

// The blank-separated words of a line.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && Blank(line[at]))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !Blank(line[at]))
            ++at;
        if (at > start)
            words.push_back(line.substr(start, at - start));
    }
    return words;
}

constexpr std::array<std::string_view, 12> MonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<unsigned> MonthNumber(std::string_view name)
{
    for (std::size_t i = 0; i < MonthNames.size(); ++i)
        if (MonthNames[i] == name)
            return static_cast<unsigned>(i + 1);
    return std::nullopt;
}

// Digits only, `least` to `most` of them.
std::optional<int> Digits(std::string_view text, std::size_t least, std::size_t most)
{
    if (text.size() < least || text.size() > most || !IsDigits(text))
        return std::nullopt;
    return ParseWholeNumber(text);
}

std::optional<Date> MakeDate(std::optional<int> y, std::optional<unsigned> m, std::optional<int> d)
{
    if (!y || !m || !d)
        return std::nullopt;
    const Date date{*y, static_cast<int>(*m), *d};
    if (!IsCalendarDate(date))
        return std::nullopt;
    return date;
}

// "2026 Dec 10" (the outlook) from three words.
std::optional<Date> NamedMonthDate(std::string_view y, std::string_view m, std::string_view d)
{
    return MakeDate(Digits(y, 4, 4), MonthNumber(m), Digits(d, 1, 2));
}

// "2026 12 10" (the daily indices) from three words.
std::optional<Date> NumberedDate(std::string_view y, std::string_view m, std::string_view d)
{
    const std::optional<int> mm = Digits(m, 1, 2);
    return MakeDate(Digits(y, 4, 4), mm ? std::optional<unsigned>(static_cast<unsigned>(*mm)) : std::nullopt,
                    Digits(d, 1, 2));
}

bool MissingMark(double flux)
{
    return flux == -1;
}

constexpr std::string_view IssuedTag = ":Issued:";

// A text product, one line at a time: the ":Issued:" line gives the issue
// date, other lines of ':' or '#' and blank lines are the header, every
// other line must be a day. `readDay` reads one day's words, or says why the
// line is none.
template <class DayT, class ReadDay>
Parsed<std::pair<Date, std::vector<DayT>>> ParseDays(std::string_view body, std::string_view what, ReadDay readDay)
{
    using Result = Parsed<std::pair<Date, std::vector<DayT>>>;
    if (std::string problem = BodyProblem(body); !problem.empty())
        return Result{{}, std::move(problem)};
    std::optional<Date> issued;
    std::vector<DayT> days;
    std::size_t lineNumber = 0;
    while (!body.empty()) {
        ++lineNumber;
        const std::size_t end = body.find('\n');
        const std::string_view line = body.substr(0, end);
        body.remove_prefix(end == std::string_view::npos ? body.size() : end + 1);
        const std::string where = "line " + std::to_string(lineNumber);

        const std::vector<std::string_view> words = Words(line);
        if (words.empty() || words.front().front() == '#')
            continue;
        if (words.front().front() == ':') {
            if (!issued && line.substr(0, IssuedTag.size()) == IssuedTag) {
                issued = IssueDate(line.substr(IssuedTag.size()));
                if (!issued)
                    return Result{{}, where + ": no issue date in " + Quoted(line)};
            }
            continue;
        }
        std::string problem;
        std::optional<DayT> d = readDay(words, problem);
        if (!d)
            return Result{{},
                          where + " is not a day of the " + std::string(what) + ": " + Quoted(line) +
                              (problem.empty() ? "" : " (" + problem + ")")};
        if (!days.empty() && d->Day <= days.back().Day)
            return Result{
                {},
                where + ": " + IsoDate(d->Day) +
                    (d->Day == days.back().Day ? " is repeated" : " comes after " + IsoDate(days.back().Day))};
        days.push_back(std::move(*d));
    }
    if (!issued)
        return Result{{}, "no \":Issued:\" line: not the " + std::string(what)};
    if (days.empty())
        return Result{{}, "no day in the " + std::string(what)};
    return Result{std::pair{*issued, std::move(days)}, ""};
}

// A flux word of a text product: a whole number, -1 for missing.
bool ReadFluxWord(std::string_view word, std::optional<double>& flux, std::string& problem)
{
    const std::optional<int> value = ParseWholeNumber(word);
    if (!value) {
        problem = "the flux " + Quoted(word) + " is not a whole number";
        return false;
    }
    if (MissingMark(*value)) {
        flux.reset();
        return true;
    }
    problem = FluxProblem(*value);
    if (!problem.empty())
        return false;
    flux = *value;
    return true;
}

// ---- The monthly cycles, read as JSON events without building a document.

enum class FieldKind { Absent, Null, Number, Text, Other };

struct Field {
    FieldKind Kind = FieldKind::Absent;
    double Value = 0;
    std::string Text;
};

// An array of flat objects, one a month. Each object is read into the
// fields named in `names` (others are skipped, but must hold plain values),
// and handed to `row`, which checks it and says why not.
class CycleReader : public nlohmann::json_sax<nlohmann::json> {
public:
    using RowFn = std::string (*)(const std::array<Field, 4>& fields, MonthlyFlux& out);

    CycleReader(std::array<std::string_view, 4> names, RowFn row)
        : names_(names)
        , row_(row)
    {
    }

    bool null() override { return Value(FieldKind::Null, 0); }
    bool boolean(bool) override { return Value(FieldKind::Other, 0); }
    bool number_integer(number_integer_t v) override { return Value(FieldKind::Number, static_cast<double>(v)); }
    bool number_unsigned(number_unsigned_t v) override { return Value(FieldKind::Number, static_cast<double>(v)); }
    bool number_float(number_float_t v, const string_t&) override { return Value(FieldKind::Number, v); }
    bool string(string_t& v) override { return Value(FieldKind::Text, 0, &v); }
    bool binary(binary_t&) override { return Fail("binary data"); }

    bool start_object(std::size_t) override
    {
        if (depth_ != 1)
            return Fail(depth_ == 0 ? "not an array of months" : Entry() + ": a field holds an object");
        depth_ = 2;
        ++entry_;
        for (Field& field : fields_)
            field.Kind = FieldKind::Absent;
        key_ = -1;
        return true;
    }
    bool key(string_t& k) override
    {
        key_ = -1;
        for (std::size_t i = 0; i < names_.size(); ++i)
            if (!names_[i].empty() && names_[i] == k)
                key_ = static_cast<int>(i);
        if (key_ >= 0 && fields_[key_].Kind != FieldKind::Absent)
            return Fail(Entry() + ": \"" + k + "\" is repeated");
        return true;
    }
    bool end_object() override
    {
        depth_ = 1;
        MonthlyFlux month;
        if (std::string problem = row_(fields_, month); !problem.empty())
            return Fail(Entry() + problem);
        if (!months_.empty() && month.Of <= months_.back().Of)
            return Fail(
                Entry() + " (" + IsoMonth(month.Of) + ")" +
                (month.Of == months_.back().Of ? " is repeated" : " comes after " + IsoMonth(months_.back().Of)));
        months_.push_back(month);
        return true;
    }
    bool start_array(std::size_t) override
    {
        if (depth_ != 0)
            return Fail(depth_ == 1 ? Entry(entry_ + 1) + " is not an object" : Entry() + ": a field holds an array");
        depth_ = 1;
        return true;
    }
    bool end_array() override
    {
        depth_ = 0;
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override
    {
        if (problem_.empty()) {
            const std::string what = e.what();
            problem_ = what.find("unexpected end of input") != std::string::npos
                           ? "truncated: the JSON ends early"
                           : "not valid JSON at byte " + std::to_string(position > 0 ? position - 1 : 0);
        }
        return false;
    }

    Parsed<MonthlyCycle> Result()
    {
        if (!problem_.empty())
            return {{}, problem_};
        if (months_.empty())
            return {{}, "no month in it"};
        return {MonthlyCycle{std::move(months_)}, ""};
    }

private:
    bool Value(FieldKind kind, double value, string_t* text = nullptr)
    {
        if (depth_ == 0)
            return Fail("not an array of months");
        if (depth_ == 1)
            return Fail(Entry(entry_ + 1) + " is not an object");
        if (key_ >= 0) {
            Field& field = fields_[key_];
            field.Kind = kind;
            field.Value = value;
            if (text != nullptr)
                field.Text.swap(*text);
        }
        return true;
    }
    bool Fail(std::string problem)
    {
        if (problem_.empty())
            problem_ = std::move(problem);
        return false;
    }
    std::string Entry(std::size_t n) const { return "entry " + std::to_string(n); }
    std::string Entry() const { return Entry(entry_); }

    std::array<std::string_view, 4> names_;
    RowFn row_;
    int depth_ = 0;
    std::size_t entry_ = 0; // 1-based number of the object being read
    int key_ = -1;          // index in names_ of the field being read
    std::array<Field, 4> fields_;
    std::vector<MonthlyFlux> months_;
    std::string problem_;
};

// "YYYY-MM".
std::optional<Month> MonthTag(std::string_view text)
{
    if (text.size() != 7 || text[4] != '-')
        return std::nullopt;
    const std::optional<int> y = Digits(text.substr(0, 4), 4, 4);
    const std::optional<int> m = Digits(text.substr(5, 2), 2, 2);
    if (!y || !m || *m < 1 || *m > 12)
        return std::nullopt;
    return Month{year(*y), month(static_cast<unsigned>(*m))};
}

// The month's "time-tag" into out.Of, or why not.
std::string ReadTimeTag(const Field& field, MonthlyFlux& out)
{
    if (field.Kind == FieldKind::Absent)
        return " has no \"time-tag\"";
    const std::optional<Month> m = field.Kind == FieldKind::Text ? MonthTag(field.Text) : std::nullopt;
    if (!m)
        return ": \"time-tag\" is not a month \"YYYY-MM\"" +
               (field.Kind == FieldKind::Text ? ": " + Quoted(field.Text) : "");
    out.Of = *m;
    return "";
}

// A flux field: `required` ones must be there as numbers; -1, and null in a
// field that may be left out, read as none.
std::string ReadFluxField(const Field& field, std::string_view name, bool required, const Month& of,
                          std::optional<double>& flux)
{
    // Only a refusal spends time on words.
    auto where = [&] { return " (" + IsoMonth(of) + "): \"" + std::string(name) + "\""; };
    if (field.Kind == FieldKind::Absent || (!required && field.Kind == FieldKind::Null)) {
        if (required)
            return " (" + IsoMonth(of) + ") has no \"" + std::string(name) + "\"";
        return "";
    }
    if (field.Kind != FieldKind::Number)
        return where() + " is not a number" + (field.Kind == FieldKind::Text ? ": " + Quoted(field.Text) : "");
    if (MissingMark(field.Value))
        return "";
    if (std::string problem = FluxProblem(field.Value); !problem.empty())
        return where() + " is " + problem;
    flux = field.Value;
    return "";
}

std::string PredictedRow(const std::array<Field, 4>& f, MonthlyFlux& out)
{
    if (std::string problem = ReadTimeTag(f[0], out); !problem.empty())
        return problem;
    for (const auto& [index, name, required, target] :
         {std::tuple{1, "predicted_f10.7", true, &out.Flux}, std::tuple{2, "high_f10.7", false, &out.High},
          std::tuple{3, "low_f10.7", false, &out.Low}}) {
        if (std::string problem = ReadFluxField(f[index], name, required, out.Of, *target); !problem.empty())
            return problem;
    }
    return "";
}

std::string ObservedRow(const std::array<Field, 4>& f, MonthlyFlux& out)
{
    if (std::string problem = ReadTimeTag(f[0], out); !problem.empty())
        return problem;
    return ReadFluxField(f[1], "f10.7", true, out.Of, out.Flux);
}

Parsed<MonthlyCycle> ParseCycle(std::string_view body, std::array<std::string_view, 4> names, CycleReader::RowFn row)
{
    if (std::string problem = BodyProblem(body); !problem.empty())
        return {{}, std::move(problem)};
    CycleReader reader(names, row);
    nlohmann::json::sax_parse(body.data(), body.data() + body.size(), &reader);
    return reader.Result();
}

// Where in the month a day's noon lies, in days from the month's start, and
// where the month's middle lies.
double NoonOf(Date d)
{
    return static_cast<double>(d.Day) - 0.5;
}

double LengthOf(Month m)
{
    return static_cast<double>(static_cast<unsigned>((m / std::chrono::last).day()));
}

} // namespace

std::string FluxProblem(double flux)
{
    if (!std::isfinite(flux))
        return "a flux that is not a number";
    if (flux < MinFlux || flux > MaxFlux)
        return "a flux of " + Number(flux) + ", outside " + Number(MinFlux) + " to " + Number(MaxFlux) + " sfu";
    return "";
}

std::string IsoMonth(Month m)
{
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02u", static_cast<int>(m.year()), static_cast<unsigned>(m.month()));
    return text;
}

std::optional<Date> IssueDate(std::string_view text)
{
    const std::vector<std::string_view> words = Words(text);
    for (std::size_t i = 0; i + 2 < words.size(); ++i) {
        if (std::optional<Date> d = NamedMonthDate(words[i], words[i + 1], words[i + 2]))
            return d;
        if (std::optional<Date> d = NamedMonthDate(words[i + 2], words[i + 1], words[i]))
            return d;
    }
    return std::nullopt;
}

Parsed<Outlook> ParseOutlook(std::string_view body)
{
    // "2026 Dec 10     148          12          4"
    auto readDay = [](const std::vector<std::string_view>& w, std::string& problem) -> std::optional<OutlookDay> {
        if (w.size() != 6) {
            problem = std::to_string(w.size()) + " words where a day has 6";
            return std::nullopt;
        }
        OutlookDay d;
        const std::optional<Date> date = NamedMonthDate(w[0], w[1], w[2]);
        if (!date) {
            problem = "no date \"YYYY Mon DD\"";
            return std::nullopt;
        }
        d.Day = *date;
        if (!ReadFluxWord(w[3], d.Flux, problem))
            return std::nullopt;
        const std::optional<int> a = Digits(w[4], 1, 3);
        const std::optional<int> kp = Digits(w[5], 1, 1);
        if (!a || !kp) {
            problem = "the A and Kp indices are not whole numbers of 0 to 999 and 0 to 9";
            return std::nullopt;
        }
        d.PlanetaryA = *a;
        d.LargestKp = *kp;
        return d;
    };
    Parsed<std::pair<Date, std::vector<OutlookDay>>> days = ParseDays<OutlookDay>(body, "27-day outlook", readDay);
    if (!days.Value)
        return {{}, std::move(days.Problem)};
    return {Outlook{days.Value->first, std::move(days.Value->second)}, ""};
}

Parsed<DailyIndices> ParseDailyIndices(std::string_view body)
{
    // "2026 12 09  144    100      300      2    -999      *   6  0  0  3  0  0  0": the
    // date, then the 10.7 cm flux; the columns after it (the sunspot number
    // among them) are never read. A line cut within the flux keeps fewer
    // than five words.
    auto readDay = [](const std::vector<std::string_view>& w, std::string& problem) -> std::optional<DailyFlux> {
        if (w.size() < 5) {
            problem = std::to_string(w.size()) + " words where a day has the date, the flux and more";
            return std::nullopt;
        }
        DailyFlux d;
        const std::optional<Date> date = NumberedDate(w[0], w[1], w[2]);
        if (!date) {
            problem = "no date \"YYYY MM DD\"";
            return std::nullopt;
        }
        d.Day = *date;
        if (!ReadFluxWord(w[3], d.Flux, problem))
            return std::nullopt;
        return d;
    };
    Parsed<std::pair<Date, std::vector<DailyFlux>>> days = ParseDays<DailyFlux>(body, "daily solar indices", readDay);
    if (!days.Value)
        return {{}, std::move(days.Problem)};
    return {DailyIndices{days.Value->first, std::move(days.Value->second)}, ""};
}

Parsed<MonthlyCycle> ParsePredictedCycle(std::string_view body)
{
    return ParseCycle(body, {"time-tag", "predicted_f10.7", "high_f10.7", "low_f10.7"}, &PredictedRow);
}

Parsed<MonthlyCycle> ParseObservedCycle(std::string_view body)
{
    return ParseCycle(body, {"time-tag", "f10.7", "", ""}, &ObservedRow);
}

namespace {

template <class DayT>
FluxAnswer FluxOnDayOf(const std::vector<DayT>& days, Date d)
{
    const auto at = std::lower_bound(days.begin(), days.end(), d, [](const DayT& x, Date v) { return x.Day < v; });
    if (at == days.end() || at->Day != d) {
        if (days.empty())
            return {{}, "no value for " + IsoDate(d) + ": no day at all"};
        return {{},
                "no value for " + IsoDate(d) + ": it covers " + IsoDate(days.front().Day) + " to " +
                    IsoDate(days.back().Day)};
    }
    if (!at->Flux)
        return {{}, "no value for " + IsoDate(d) + ": marked missing (-1)"};
    return {at->Flux, ""};
}

} // namespace

FluxAnswer FluxOnDay(const std::vector<OutlookDay>& days, Date d)
{
    return FluxOnDayOf(days, d);
}

FluxAnswer FluxOnDay(const std::vector<DailyFlux>& days, Date d)
{
    return FluxOnDayOf(days, d);
}

FluxAnswer FluxOnDayOfMonths(const MonthlyCycle& cycle, Date d)
{
    const std::vector<MonthlyFlux>& months = cycle.Months;
    const Month of = year{d.Year} / month{static_cast<unsigned>(d.Month)};
    if (months.empty())
        return {{}, "no value for " + IsoMonth(of) + ": no month at all"};
    const auto at =
        std::lower_bound(months.begin(), months.end(), of, [](const MonthlyFlux& x, Month v) { return x.Of < v; });
    if (at == months.end())
        return {{}, "no value for " + IsoMonth(of) + ": it ends with " + IsoMonth(months.back().Of)};
    if (at->Of != of) {
        if (at == months.begin())
            return {{}, "no value for " + IsoMonth(of) + ": it starts with " + IsoMonth(months.front().Of)};
        return {{}, "no value for " + IsoMonth(of) + ": the month is not in it"};
    }
    if (!at->Flux)
        return {{}, "no value for " + IsoMonth(of) + ": marked missing (-1)"};

    // Days from the month's start: the day's noon, this month's middle, and
    // the middle of the neighbour on the day's side.
    const double noon = NoonOf(d);
    const double middle = LengthOf(of) / 2;
    const bool before = noon < middle;
    const auto neighbour = before ? (at == months.begin() ? months.end() : at - 1) : at + 1;
    const Month wanted = before ? of - std::chrono::months(1) : of + std::chrono::months(1);
    if (noon == middle || neighbour == months.end() || neighbour->Of != wanted || !neighbour->Flux)
        return {at->Flux, ""};
    const double otherMiddle = before ? -LengthOf(wanted) / 2 : LengthOf(of) + LengthOf(wanted) / 2;
    const double share = (noon - middle) / (otherMiddle - middle);
    const double value = *at->Flux + (*neighbour->Flux - *at->Flux) * share;
    return {std::round(value * 10) / 10, ""};
}

} // namespace orvela::solar
