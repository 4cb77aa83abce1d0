// Dates and moments as the whole program names them: a day of the
// (proleptic Gregorian) calendar and a moment in UTC to the second, with
// the conversions to the C library's time_t and to std::chrono's calendar,
// counting days, and the ISO 8601 texts "YYYY-MM-DD" and
// "YYYY-MM-DDTHH:MM:SSZ" read and written.
#pragma once

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>

namespace orvela {

// A day of the calendar. Fields compare year first, so dates order as days do.
struct CivilDate {
    int Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;   // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

// A moment in UTC, to the second.
struct UtcDateTime {
    int Year = 2000;
    int Month = 1; // 1..12
    int Day = 1;   // 1..31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    friend bool operator==(const UtcDateTime&, const UtcDateTime&) = default;
};

constexpr std::chrono::year_month_day ToYearMonthDay(const CivilDate& d)
{
    return {std::chrono::year{d.Year}, std::chrono::month{static_cast<unsigned>(d.Month)},
            std::chrono::day{static_cast<unsigned>(d.Day)}};
}

constexpr CivilDate CivilDateOf(const std::chrono::year_month_day& d)
{
    return {static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
            static_cast<int>(static_cast<unsigned>(d.day()))};
}

constexpr std::chrono::sys_days ToSysDays(const CivilDate& d)
{
    return std::chrono::sys_days{ToYearMonthDay(d)};
}

constexpr CivilDate CivilDateOf(std::chrono::sys_days d)
{
    return CivilDateOf(std::chrono::year_month_day{d});
}

// A day that exists, from year 1 on: not 2026-02-29, not month 13.
constexpr bool IsCalendarDate(const CivilDate& d)
{
    return d.Year >= 1 && ToYearMonthDay(d).ok();
}

// Days from `from` to `to`: negative when `to` comes first.
constexpr int DaysBetween(const CivilDate& from, const CivilDate& to)
{
    return static_cast<int>((ToSysDays(to) - ToSysDays(from)).count());
}

constexpr CivilDate AddDays(const CivilDate& d, int days)
{
    return CivilDateOf(ToSysDays(d) + std::chrono::days{days});
}

constexpr CivilDate DateOf(const UtcDateTime& m)
{
    return {m.Year, m.Month, m.Day};
}

UtcDateTime ToUtcDateTime(std::time_t t);
std::time_t ToTimeT(const UtcDateTime& m);

// The date of the moment on the local clock (the TZ setting).
CivilDate LocalDateOf(std::time_t t);

// "2026-12-10".
std::string IsoDate(const CivilDate& d);
// "2026-06-21T12:00:00Z".
std::string IsoMoment(const UtcDateTime& m);

// What reading a date or a moment found wrong, if anything.
enum class CivilTimeFault {
    None,
    Shape,     // not the text's form
    Date,      // the form, but no day of the calendar
    TimeOfDay, // the form and the day, but an hour past 23 or a minute or second past 59
};

template <class T>
struct CivilTimeRead {
    T Value{};
    CivilTimeFault Fault = CivilTimeFault::None;
};

// Exactly "YYYY-MM-DD".
CivilTimeRead<CivilDate> ReadIsoDate(std::string_view text);
// Exactly "YYYY-MM-DDTHH:MM:SSZ", or "YYYY-MM-DDTHH:MMZ" too (second 0)
// when `secondsOptional`.
CivilTimeRead<UtcDateTime> ReadIsoMoment(std::string_view text, bool secondsOptional = false);

} // namespace orvela
