// Reading NOAA's flux products, refusing what is not one, and asking them
// for a date.
#include "solar/products.h"
#include "tests/solar/service_fakes.h"
#include "tests/support/http_test_server.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvela::solar {
namespace {

using testing::Day;
using testing::Fixture;

std::string OutlookText()
{
    return Fixture("products/27-day-outlook.txt");
}
std::string DailyText()
{
    return Fixture("products/daily-solar-indices.txt");
}
std::string PredictedText()
{
    return Fixture("products/predicted-solar-cycle.json");
}
std::string ObservedText()
{
    return Fixture("products/observed-solar-cycle-indices.json");
}

// text with its first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("Replaced: no " + from);
    return text.replace(at, from.size(), to);
}

// text with the first `a` and the first `b` swapped (a before b).
std::string Swapped(const std::string& text, const std::string& a, const std::string& b)
{
    return Replaced(Replaced(Replaced(text, a, "\x01"), b, a), "\x01", b);
}

// text up to and including the first `upTo`.
std::string CutAfter(const std::string& text, const std::string& upTo)
{
    const std::size_t at = text.find(upTo);
    if (at == std::string::npos)
        throw std::logic_error("CutAfter: no " + upTo);
    return text.substr(0, at + upTo.size());
}

// What each reader says of a body: empty when it reads it.
using Reader = std::function<std::string(std::string_view)>;
struct NamedReader {
    const char* name;
    Reader read;
    std::string (*fixture)();
};
const NamedReader Readers[] = {
    {"outlook", [](std::string_view b) { return ParseOutlook(b).Problem; }, &OutlookText},
    {"daily indices", [](std::string_view b) { return ParseDailyIndices(b).Problem; }, &DailyText},
    {"predicted cycle", [](std::string_view b) { return ParsePredictedCycle(b).Problem; }, &PredictedText},
    {"observed cycle", [](std::string_view b) { return ParseObservedCycle(b).Problem; }, &ObservedText},
};

void ExpectOneLine(const std::string& problem)
{
    EXPECT_FALSE(problem.empty());
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
}

TEST(ProductReaders, ReadTheRealLayouts)
{
    const Parsed<Outlook> outlook = ParseOutlook(OutlookText());
    ASSERT_TRUE(outlook.Value) << outlook.Problem;
    EXPECT_EQ(outlook.Value->Issued, Day(2026, 12, 7));
    ASSERT_EQ(outlook.Value->Days.size(), 27u);
    EXPECT_EQ(outlook.Value->Days.front(), (OutlookDay{Day(2026, 12, 7), 150, 8, 3}));
    EXPECT_EQ(outlook.Value->Days.back(), (OutlookDay{Day(2027, 1, 2), 145, 8, 3}));

    // The flux column, never the sunspot number beside it.
    const Parsed<DailyIndices> daily = ParseDailyIndices(DailyText());
    ASSERT_TRUE(daily.Value) << daily.Problem;
    EXPECT_EQ(daily.Value->Issued, Day(2026, 12, 10));
    ASSERT_EQ(daily.Value->Days.size(), 30u);
    EXPECT_EQ(daily.Value->Days.front(), (DailyFlux{Day(2026, 11, 10), 130}));
    EXPECT_EQ(daily.Value->Days[11], (DailyFlux{Day(2026, 11, 21), std::nullopt})) << "the day marked -1";
    EXPECT_EQ(daily.Value->Days.back(), (DailyFlux{Day(2026, 12, 9), 140}));

    using std::chrono::year;
    const Parsed<MonthlyCycle> predicted = ParsePredictedCycle(PredictedText());
    ASSERT_TRUE(predicted.Value) << predicted.Problem;
    ASSERT_EQ(predicted.Value->Months.size(), 13u);
    EXPECT_EQ(predicted.Value->Months.front(), (MonthlyFlux{year(2026) / std::chrono::December, 128.0, 135.5, 120.5}));
    EXPECT_EQ(predicted.Value->Months.back().Of, year(2027) / std::chrono::December);
    EXPECT_DOUBLE_EQ(*predicted.Value->Months.back().Flux, 108.8);

    const Parsed<MonthlyCycle> observed = ParseObservedCycle(ObservedText());
    ASSERT_TRUE(observed.Value) << observed.Problem;
    ASSERT_EQ(observed.Value->Months.size(), 14u);
    EXPECT_EQ(observed.Value->Months.front(), (MonthlyFlux{year(1749) / std::chrono::January, {}, {}, {}}));
    EXPECT_EQ(observed.Value->Months.back(), (MonthlyFlux{year(2026) / std::chrono::November, 126.2, {}, {}}));
}

// Whatever the product, a reply that is no product at all.
TEST(ProductReaders, RefuseWhatIsNoProduct)
{
    struct Case {
        const char* name;
        std::function<std::string(const std::string& fixture)> body;
        std::string problem;
    };
    const std::string html = "<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>"
                             "<body><h1>Not Found</h1></body></html>\n";
    const Case cases[] = {
        {"empty", [](const std::string&) { return std::string(); }, "empty reply"},
        {"blanks", [](const std::string&) { return std::string(" \r\n\n"); }, "only blanks"},
        {"HTML error page", [&](const std::string&) { return html; }, "an HTML page, not the product: \"<!DOCTYPE"},
        {"gzip bytes", [](const std::string& f) { return testing::Gzip(f); }, "gzip-compressed bytes, not text"},
        {"a NUL byte", [](const std::string& f) { return f.substr(0, 100) + '\0' + f.substr(100); },
         "binary data (a NUL byte at byte 100)"},
        {"10 MB of noise", [](const std::string&) { return std::string(10u << 20, 'x'); },
         "larger than 4 MiB (10485760 bytes)"},
    };
    for (const NamedReader& reader : Readers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(reader.name) + ", " + c.name);
            const std::string problem = reader.read(c.body(reader.fixture()));
            ExpectOneLine(problem);
            EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
        }
    }
}

// A reply in the product's layout with a fault in it.
TEST(ProductReaders, RefuseFaultyDaysAndMonths)
{
    struct Case {
        const char* name;
        Reader read;
        std::string body;
        std::string problem;
    };
    const Reader outlook = Readers[0].read;
    const Reader daily = Readers[1].read;
    const Reader predicted = Readers[2].read;
    const Reader observed = Readers[3].read;
    const std::string o = OutlookText();
    const std::string d = DailyText();
    const std::string p = PredictedText();
    const std::string m = ObservedText();
    const std::string dec12 = "2026 Dec 12     130          15          4";
    const std::string dec13 = "2026 Dec 13     128           8          3";
    const std::string janPredicted = "\"predicted_f10.7\": 126.4";
    const Case cases[] = {
        // Cut short within a line: the line has lost its last words.
        {"outlook cut within a day", outlook, CutAfter(o, "2026 Dec 20     1"),
         "line 25 is not a day of the 27-day outlook: \"2026 Dec 20     1\" (4 words where a day has 6)"},
        {"outlook without its issue line", outlook, Replaced(o, ":Issued:", ":Written:"), "no \":Issued:\" line"},
        {"outlook with a broken issue line", outlook, Replaced(o, "2026 Dec 07 0124", "yesterday"),
         "line 2: no issue date in"},
        {"outlook header alone", outlook, CutAfter(o, "Kp Index\n"), "no day in the 27-day outlook"},
        {"outlook days swapped", outlook, Swapped(o, dec12, dec13), "line 18: 2026-12-12 comes after 2026-12-13"},
        {"outlook day repeated", outlook, Replaced(o, dec13, dec12), "line 18: 2026-12-12 is repeated"},
        {"outlook flux 0", outlook, Replaced(o, dec12, "2026 Dec 12       0          15          4"),
         "a flux of 0, outside 50 to 600 sfu"},
        {"outlook flux 9999", outlook, Replaced(o, dec12, "2026 Dec 12    9999          15          4"),
         "a flux of 9999, outside 50 to 600 sfu"},
        {"outlook flux NaN", outlook, Replaced(o, dec12, "2026 Dec 12     NaN          15          4"),
         "the flux \"NaN\" is not a whole number"},
        {"outlook Kp of two digits", outlook, Replaced(o, dec12, "2026 Dec 12     130          15         14"),
         "the A and Kp indices"},
        {"daily indices served for the outlook", outlook, d, "is not a day of the 27-day outlook"},
        {"daily indices cut within the flux", daily, CutAfter(d, "2026 12 05  13"), "\"2026 12 05  13\" (4 words"},
        {"daily indices flux 9999", daily, Replaced(d, "2026 12 05  130", "2026 12 05 9999"), "a flux of 9999"},
        {"daily indices repeated day", daily, Replaced(d, "2026 12 05  130", "2026 12 04  130"),
         "2026-12-04 is repeated"},
        {"daily indices month 13", daily, Replaced(d, "2026 12 05  130", "2026 13 05  130"), "no date \"YYYY MM DD\""},
        {"predicted cut in half", predicted, p.substr(0, p.size() / 2), "truncated: the JSON ends early"},
        {"predicted with a NaN", predicted, Replaced(p, janPredicted, "\"predicted_f10.7\": NaN"),
         "not valid JSON at byte"},
        {"predicted with \"NaN\"", predicted, Replaced(p, janPredicted, "\"predicted_f10.7\": \"NaN\""),
         "entry 2 (2027-01): \"predicted_f10.7\" is not a number: \"NaN\""},
        {"predicted null", predicted, Replaced(p, janPredicted, "\"predicted_f10.7\": null"),
         "entry 2 (2027-01): \"predicted_f10.7\" is not a number"},
        {"predicted without the flux", predicted, Replaced(p, janPredicted + ", ", ""),
         "entry 2 (2027-01) has no \"predicted_f10.7\""},
        {"predicted 9999", predicted, Replaced(p, janPredicted, "\"predicted_f10.7\": 9999"),
         "entry 2 (2027-01): \"predicted_f10.7\" is a flux of 9999, outside 50 to 600 sfu"},
        {"predicted high 0", predicted, Replaced(p, "\"high_f10.7\": 133.9", "\"high_f10.7\": 0"),
         "entry 2 (2027-01): \"high_f10.7\" is a flux of 0"},
        {"predicted month repeated", predicted, Replaced(p, "\"2027-01\"", "\"2026-12\""),
         "entry 2 (2026-12) is repeated"},
        {"predicted months out of order", predicted, Replaced(p, "\"2027-01\"", "\"2026-11\""),
         "entry 2 (2026-11) comes after 2026-12"},
        {"predicted month 13", predicted, Replaced(p, "\"2027-01\"", "\"2027-13\""),
         "entry 2: \"time-tag\" is not a month \"YYYY-MM\": \"2027-13\""},
        {"predicted field repeated", predicted, Replaced(p, janPredicted, janPredicted + ", " + janPredicted),
         "entry 2: \"predicted_f10.7\" is repeated"},
        {"predicted nested", predicted, Replaced(p, janPredicted, "\"predicted_f10.7\": [126.4]"),
         "entry 2: a field holds an array"},
        {"an object, not an array", predicted, "{\"time-tag\": \"2027-01\"}", "not an array of months"},
        {"an array of numbers", predicted, "[128.0, 126.4]", "entry 1 is not an object"},
        {"an empty array", predicted, "[]", "no month in it"},
        {"trailing bytes", predicted, p + "]", "not valid JSON at byte"},
        {"observed flux 0", observed, Replaced(m, "\"f10.7\":126.2", "\"f10.7\":0"),
         "(2026-11): \"f10.7\" is a flux of 0"},
        {"observed without its flux", observed, Replaced(m, "\"f10.7\":126.2,", ""), "(2026-11) has no \"f10.7\""},
        {"observed cut short", observed, m.substr(0, m.size() - 1), "truncated: the JSON ends early"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string problem = c.read(c.body);
        ExpectOneLine(problem);
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
}

TEST(ProductReaders, IssueDatesInBothLayouts)
{
    struct Case {
        const char* text;
        std::optional<Date> date;
    };
    for (const Case& c :
         {Case{" 2026 Dec 07 0124 UTC", Day(2026, 12, 7)}, Case{" 0225 UT 10 Dec 2026", Day(2026, 12, 10)},
          Case{"2025 Mar 14 1205 UTC", Day(2025, 3, 14)}, Case{"2026 Feb 30 0000 UTC", std::nullopt},
          Case{"2026 dec 07", std::nullopt}, Case{"", std::nullopt}}) {
        EXPECT_EQ(IssueDate(c.text), c.date) << c.text;
    }
}

TEST(FluxOnDay, GivesTheDayOrSaysWhatTheProductCovers)
{
    const Outlook outlook = *ParseOutlook(OutlookText()).Value;
    const DailyIndices daily = *ParseDailyIndices(DailyText()).Value;
    struct Case {
        Date day;
        std::optional<double> sfu;
        std::string problem;
    };
    for (const Case& c :
         {Case{Day(2026, 12, 7), 150, ""}, Case{Day(2026, 12, 11), 135, ""}, Case{Day(2027, 1, 2), 145, ""},
          Case{Day(2027, 1, 3), {}, "no value for 2027-01-03: it covers 2026-12-07 to 2027-01-02"},
          Case{Day(2026, 12, 6), {}, "no value for 2026-12-06: it covers 2026-12-07 to 2027-01-02"}}) {
        const FluxAnswer a = FluxOnDay(outlook.Days, c.day);
        EXPECT_EQ(a.Sfu, c.sfu) << IsoDate(c.day);
        EXPECT_EQ(a.Problem, c.problem);
    }
    const FluxAnswer missing = FluxOnDay(daily.Days, Day(2026, 11, 21));
    EXPECT_EQ(missing.Sfu, std::nullopt);
    EXPECT_EQ(missing.Problem, "no value for 2026-11-21: marked missing (-1)");
    EXPECT_EQ(FluxOnDay(daily.Days, Day(2026, 11, 22)).Sfu, 136);
}

// A month's value at its middle, a straight line between middles, the
// month's own value where no neighbouring month of value lies on the day's
// side.
TEST(FluxOnDayOfMonths, BetweenTheMiddlesOfMonths)
{
    const MonthlyCycle predicted = *ParsePredictedCycle(PredictedText()).Value;
    const MonthlyCycle observed = *ParseObservedCycle(ObservedText()).Value;
    using std::chrono::year;
    const MonthlyCycle gap{{{year(2026) / std::chrono::January, 150, {}, {}},
                            {year(2026) / std::chrono::March, 130, {}, {}},
                            {year(2026) / std::chrono::April, {}, {}, {}}}};
    struct Case {
        const char* name;
        const MonthlyCycle& cycle;
        Date day;
        std::optional<double> sfu;
        std::string problem;
    };
    const Case cases[] = {
        {"the middle of a month of 31 days", predicted, Day(2027, 1, 16), 126.4, ""},
        // 15 of the 31 days from January's middle back to December's.
        {"the first of a month", predicted, Day(2027, 1, 1), 127.2, ""},
        {"the last day of the month before", predicted, Day(2026, 12, 31), 127.2, ""},
        {"before the middle of the first month", predicted, Day(2026, 12, 1), 128.0, ""},
        {"after the middle of the last month", predicted, Day(2027, 12, 31), 108.8, ""},
        {"past the last month", predicted, Day(2028, 1, 1), {}, "no value for 2028-01: it ends with 2027-12"},
        {"before the first month", predicted, Day(2026, 11, 30), {}, "no value for 2026-11: it starts with 2026-12"},
        {"a month of 30 days, back to October", observed, Day(2026, 11, 1), 127.3, ""},
        {"the neighbour is no adjacent month", gap, Day(2026, 3, 1), 130, ""},
        {"the neighbour marked missing", gap, Day(2026, 3, 31), 130, ""},
        {"a month marked missing", observed, Day(1749, 2, 10), {}, "no value for 1749-02: marked missing (-1)"},
        {"a month not in it", observed, Day(1900, 6, 1), {}, "no value for 1900-06: the month is not in it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FluxAnswer a = FluxOnDayOfMonths(c.cycle, c.day);
        ASSERT_EQ(a.Sfu.has_value(), c.sfu.has_value()) << a.Problem;
        if (c.sfu) {
            EXPECT_DOUBLE_EQ(*a.Sfu, *c.sfu);
        }
        EXPECT_EQ(a.Problem, c.problem);
    }
}

} // namespace
} // namespace orvela::solar
