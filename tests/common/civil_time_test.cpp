#include "common/civil_time.h"

#include <gtest/gtest.h>

namespace orvela {
namespace {

TEST(CivilTime, MomentsRoundTripThroughTimeT)
{
    struct Case {
        std::time_t T;
        UtcDateTime Moment;
    };
    const Case cases[] = {
        {0, {1970, 1, 1, 0, 0, 0}},
        {951782400 + 12 * 3600 + 34 * 60 + 56, {2000, 2, 29, 12, 34, 56}},
        {-1, {1969, 12, 31, 23, 59, 59}},
        {4102444799, {2099, 12, 31, 23, 59, 59}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToUtcDateTime(c.T), c.Moment) << c.T;
        EXPECT_EQ(ToTimeT(c.Moment), c.T) << IsoMoment(c.Moment);
    }
}

TEST(CivilTime, CountsDaysAcrossMonthsYearsAndLeapDays)
{
    EXPECT_EQ(AddDays({2024, 2, 28}, 1), (CivilDate{2024, 2, 29}));
    EXPECT_EQ(AddDays({2023, 2, 28}, 1), (CivilDate{2023, 3, 1}));
    EXPECT_EQ(AddDays({2026, 12, 10}, 27), (CivilDate{2027, 1, 6}));
    EXPECT_EQ(AddDays({2026, 1, 1}, -1), (CivilDate{2025, 12, 31}));
    EXPECT_EQ(DaysBetween({2026, 12, 10}, {2028, 12, 10}), 731);
    EXPECT_EQ(DaysBetween({2026, 12, 10}, {2026, 12, 7}), -3);
    EXPECT_LT((CivilDate{2026, 1, 31}), (CivilDate{2026, 2, 1}));
    EXPECT_LT((CivilDate{2025, 12, 31}), (CivilDate{2026, 1, 1}));
    EXPECT_EQ(CivilDateOf(ToSysDays({1749, 2, 10})), (CivilDate{1749, 2, 10}));
}

TEST(CivilTime, WritesAndReadsIsoTexts)
{
    EXPECT_EQ(IsoDate({2026, 12, 10}), "2026-12-10");
    EXPECT_EQ(IsoDate({987, 1, 2}), "0987-01-02");
    EXPECT_EQ(IsoMoment({2026, 6, 21, 9, 5, 7}), "2026-06-21T09:05:07Z");

    const CivilTimeRead<CivilDate> leap = ReadIsoDate("2024-02-29");
    EXPECT_EQ(leap.Fault, CivilTimeFault::None);
    EXPECT_EQ(leap.Value, (CivilDate{2024, 2, 29}));
    const CivilTimeRead<UtcDateTime> minute = ReadIsoMoment("2026-06-21T12:30Z", true);
    EXPECT_EQ(minute.Fault, CivilTimeFault::None);
    EXPECT_EQ(minute.Value, (UtcDateTime{2026, 6, 21, 12, 30, 0}));

    struct Case {
        std::string_view Text;
        CivilTimeFault Date;
        CivilTimeFault Moment;
    };
    using enum CivilTimeFault;
    const Case cases[] = {
        {"2026-12-10", None, Shape},
        {"2026-12-10T23:59:59Z", Shape, None},
        {"2026-12-1", Shape, Shape},
        {"2026/12/10", Shape, Shape},
        {"+026-12-10", Shape, Shape},
        {"2026-12-10T12:00Z", Shape, Shape}, // seconds required
        {"2023-02-29", Date, Shape},
        {"0000-01-01", Date, Shape},
        {"2026-13-01T00:00:00Z", Shape, Date},
        {"2026-12-10T24:00:00Z", Shape, TimeOfDay},
        {"2026-12-10T12:60:00Z", Shape, TimeOfDay},
        {"2026-12-10T12:00:60Z", Shape, TimeOfDay},
        {"2026-12-10T12:00:00", Shape, Shape},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadIsoDate(c.Text).Fault, c.Date) << c.Text;
        EXPECT_EQ(ReadIsoMoment(c.Text).Fault, c.Moment) << c.Text;
    }
}

} // namespace
} // namespace orvela
