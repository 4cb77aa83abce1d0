// The solar flux NOAA's Space Weather Prediction Center publishes beside
// the Geophysical Alert Message, read from the text of each product: the
// 27-day outlook, the daily solar indices of the last 30 days, and the
// predicted and the observed solar cycle, month by month. Only the 10.7 cm
// radio flux is read, never a sunspot column.
//
// Each reader takes the whole body and either gives the product or refuses
// it with one line saying why: an empty or truncated reply, an HTML page,
// gzip bytes, binary data, a reply larger than MaxProductBytes, a line or an
// entry that is not the product's, a date out of order or repeated, a flux
// that is not a number or lies outside MinFlux..MaxFlux. The products mark a
// missing value with -1: such a day or month is kept, without a flux, and
// asking for it gets a message of its own.
//
// No network library and no file here: the fuzz target builds this alone.
#pragma once

#include "common/civil_time.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvela::solar {

using Date = CivilDate;
using Month = std::chrono::year_month;

// Well outside what the sun has given since the 10.7 cm flux was first
// measured in 1947 (in the sixties at the deepest minima, a few hundred on
// the most active days): a value beyond is a fault of the file, not the sun.
inline constexpr double MinFlux = 50;
inline constexpr double MaxFlux = 600;

// The largest product, the observed solar cycle since 1749, is about half a
// megabyte; anything beyond this is not a product.
inline constexpr std::size_t MaxProductBytes = 4u << 20;

// One day's flux; none where the product marks it missing (-1).
struct DailyFlux {
    Date Day;
    std::optional<double> Flux;

    friend bool operator==(const DailyFlux&, const DailyFlux&) = default;
};

// /text/27-day-outlook.txt: from its issue day on, one line a day with the
// date, the 10.7 cm radio flux, the planetary A index and the largest Kp.
struct OutlookDay {
    Date Day;
    std::optional<double> Flux;
    int PlanetaryA = 0;
    int LargestKp = 0;

    friend bool operator==(const OutlookDay&, const OutlookDay&) = default;
};

struct Outlook {
    Date Issued;
    std::vector<OutlookDay> Days; // in order, each date once
};

// /text/daily-solar-indices.txt: the observed flux of each of the last 30
// days.
struct DailyIndices {
    Date Issued;
    std::vector<DailyFlux> Days; // in order, each date once
};

// One month of a solar cycle: the predicted flux and its range, or the
// observed monthly mean (no range).
struct MonthlyFlux {
    Month Of;
    std::optional<double> Flux;
    std::optional<double> High;
    std::optional<double> Low;

    friend bool operator==(const MonthlyFlux&, const MonthlyFlux&) = default;
};

// /json/solar-cycle/predicted-solar-cycle.json ("predicted_f10.7",
// "high_f10.7", "low_f10.7") or observed-solar-cycle-indices.json ("f10.7"):
// an array of one object a month, "time-tag" "YYYY-MM".
struct MonthlyCycle {
    std::vector<MonthlyFlux> Months; // in order, each month once
};

// A product read, or why not.
template <class T>
struct Parsed {
    std::optional<T> Value;
    std::string Problem; // one line; empty when Value is set
};

Parsed<Outlook> ParseOutlook(std::string_view body);
Parsed<DailyIndices> ParseDailyIndices(std::string_view body);
Parsed<MonthlyCycle> ParsePredictedCycle(std::string_view body);
Parsed<MonthlyCycle> ParseObservedCycle(std::string_view body);

// A flux asked of a product for one date, or why it has none.
struct FluxAnswer {
    std::optional<double> Sfu;
    std::string Problem; // one line; empty when Sfu is set
};

// The flux a product of days gives for `day`, exactly as written.
FluxAnswer FluxOnDay(const std::vector<OutlookDay>& days, Date day);
FluxAnswer FluxOnDay(const std::vector<DailyFlux>& days, Date day);

// The flux a monthly cycle gives for `day`. A month's value is a mean over
// the month (observed) or a smoothed value at its centre (predicted), so it
// belongs to the middle of the month: a day between two middles gets the
// straight line between the two months' values, at the day's noon, rounded
// to 0.1 sfu. Without a neighbouring month of value on the day's side, the
// day gets its month's value. This keeps the 31st and the 1st as close as
// any two days rather than a step of up to tens of sfu between months.
FluxAnswer FluxOnDayOfMonths(const MonthlyCycle& cycle, Date day);

// Why a flux cannot be used (not a number, outside MinFlux..MaxFlux); empty
// when it can.
std::string FluxProblem(double flux);

// "2026-12" (a date is written by IsoDate).
std::string IsoMonth(Month month);

// The date in an issue line: "2026 Dec 10 0305 UTC" (the bulletin, the
// outlook) or "0225 UT 10 Dec 2026" (the daily indices); nothing when the
// text holds neither.
std::optional<Date> IssueDate(std::string_view text);

} // namespace orvela::solar
