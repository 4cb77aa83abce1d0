// Dates and moments: the C library's time_t and the ISO 8601 texts.
#include "common/civil_time.h"

#include "common/whole_number.h"

#include <cstdio>

namespace orvela {

UtcDateTime ToUtcDateTime(std::time_t t)
{
    std::tm tm{};
    gmtime_r(&t, &tm);
    UtcDateTime m;
    m.Year = tm.tm_year + 1900;
    m.Month = tm.tm_mon + 1;
    m.Day = tm.tm_mday;
    m.Hour = tm.tm_hour;
    m.Minute = tm.tm_min;
    m.Second = tm.tm_sec;
    return m;
}

std::time_t ToTimeT(const UtcDateTime& m)
{
    const std::chrono::sys_seconds s = ToSysDays(DateOf(m)) + std::chrono::hours{m.Hour} +
                                       std::chrono::minutes{m.Minute} + std::chrono::seconds{m.Second};
    return static_cast<std::time_t>(s.time_since_epoch().count());
}

CivilDate LocalDateOf(std::time_t t)
{
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string IsoDate(const CivilDate& d)
{
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
    return text;
}

std::string IsoMoment(const UtcDateTime& m)
{
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", m.Year, m.Month, m.Day, m.Hour, m.Minute,
                  m.Second);
    return text;
}

namespace {

// Digits only, at `at`, `n` of them; the caller has checked the form.
int Field(std::string_view text, std::size_t at, std::size_t n)
{
    return *ParseWholeNumber(text.substr(at, n));
}

// "YYYY-MM-DD" at the start of the text.
bool DateShaped(std::string_view text)
{
    return text.size() >= 10 && text[4] == '-' && text[7] == '-' && IsDigits(text.substr(0, 4)) &&
           IsDigits(text.substr(5, 2)) && IsDigits(text.substr(8, 2));
}

} // namespace

CivilTimeRead<CivilDate> ReadIsoDate(std::string_view text)
{
    CivilTimeRead<CivilDate> read;
    if (text.size() != 10 || !DateShaped(text)) {
        read.Fault = CivilTimeFault::Shape;
        return read;
    }
    read.Value = {Field(text, 0, 4), Field(text, 5, 2), Field(text, 8, 2)};
    if (!IsCalendarDate(read.Value))
        read.Fault = CivilTimeFault::Date;
    return read;
}

CivilTimeRead<UtcDateTime> ReadIsoMoment(std::string_view text, bool secondsOptional)
{
    // 2026-06-21T12:00:00Z, or 2026-06-21T12:00Z when the seconds may be left out
    // 0123456789012345678 9
    CivilTimeRead<UtcDateTime> read;
    const bool withSeconds = text.size() == 20 && text[16] == ':' && IsDigits(text.substr(17, 2));
    const bool toMinute = secondsOptional && text.size() == 17;
    const bool shaped = (withSeconds || toMinute) && DateShaped(text) && text[10] == 'T' && text[13] == ':' &&
                        text.back() == 'Z' && IsDigits(text.substr(11, 2)) && IsDigits(text.substr(14, 2));
    if (!shaped) {
        read.Fault = CivilTimeFault::Shape;
        return read;
    }
    UtcDateTime& m = read.Value;
    m.Year = Field(text, 0, 4);
    m.Month = Field(text, 5, 2);
    m.Day = Field(text, 8, 2);
    m.Hour = Field(text, 11, 2);
    m.Minute = Field(text, 14, 2);
    m.Second = withSeconds ? Field(text, 17, 2) : 0;
    if (!IsCalendarDate(DateOf(m)))
        read.Fault = CivilTimeFault::Date;
    else if (m.Hour > 23 || m.Minute > 59 || m.Second > 59)
        read.Fault = CivilTimeFault::TimeOfDay;
    return read;
}

} // namespace orvela
