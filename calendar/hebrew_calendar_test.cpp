#include "calendar/hebrew_calendar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/test/test_system.h"

namespace lekta {
namespace {

DateRecord hebrew(int32_t month, int32_t day, int32_t year) {
    return {month, day, year};
}

// The Hebrew date after `d`: the year changes between Elul (6) and Tishri (7).
DateRecord next_hebrew_day(const DateRecord& d) {
    if (d.day < hebrew_month_length(d.month, d.year)) return {d.month, d.day + 1, d.year};
    if (d.month == 6) return {7, 1, d.year + 1};
    if (d.month == 13 || (d.month == 12 && !is_hebrew_leap_year(d.year))) return {1, 1, d.year};
    return {d.month + 1, 1, d.year};
}

DateRecord next_civil_day(const DateRecord& d) {
    static const int32_t lengths[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int32_t length = lengths[d.month] + (d.month == 2 && is_civil_leap_year(d.year));
    if (d.day < length) return {d.month, d.day + 1, d.year};
    return d.month == 12 ? DateRecord{1, 1, d.year + 1} : DateRecord{d.month + 1, 1, d.year};
}

bool valid_hebrew(const DateRecord& d) {
    const int32_t last = is_hebrew_leap_year(d.year) ? 13 : 12;
    return d.month >= 1 && d.month <= last && d.day >= 1 &&
           d.day <= hebrew_month_length(d.month, d.year);
}

TEST(HebrewCalendar, KnownDates) {
    EXPECT_EQ(day_number_from_civil(1, 1, 2007), 732677);
    EXPECT_EQ(day_number_from_civil(9, 23, 2006), 732577);
    EXPECT_EQ(weekday(732577), 6);
    EXPECT_EQ(hebrew_from_day_number(732577), hebrew(7, 1, 5767));
    EXPECT_EQ(day_number_from_hebrew(7, 1, 5767), 732577);
    EXPECT_EQ(hebrew_elapsed_days(5767) - 1373428, 732577);
    EXPECT_EQ(hebrew_from_day_number(732677), hebrew(10, 11, 5767));
    EXPECT_EQ(hebrew_from_day_number(day_number_from_civil(4, 3, 2007)), hebrew(1, 15, 5767));
    const int32_t dec7 = day_number_from_civil(12, 7, 2026);
    EXPECT_EQ(weekday(dec7), 1);
    EXPECT_EQ(hebrew_from_day_number(dec7), hebrew(9, 27, 5787));

    EXPECT_EQ(civil_from_day_number(1), (DateRecord{1, 1, 1}));
    EXPECT_EQ(weekday(1), 1);
}

// 353/383 days: Heshvan and Kislev 29; 354/384: 29 and 30; 355/385: both 30.
TEST(HebrewCalendar, YearShapes) {
    for (int32_t year = 5343; year <= 10535; ++year) {
        const int32_t length = hebrew_year_length(year);
        const bool leap = is_hebrew_leap_year(year);
        const int32_t base = leap ? 383 : 353;
        ASSERT_TRUE(length >= base && length <= base + 2) << year;
        ASSERT_EQ(hebrew_month_length(8, year), length % 10 == 5 ? 30 : 29) << year;
        ASSERT_EQ(hebrew_month_length(9, year), length % 10 == 3 ? 29 : 30) << year;
        ASSERT_EQ(hebrew_month_length(12, year), leap ? 30 : 29) << year;
        ASSERT_EQ(hebrew_month_length(13, year), 29) << year;
    }
}

// Every day of the exact range, both ways, and the Hebrew date moving on by one day each day.
TEST(HebrewCalendar, WholeRangeRoundTrips) {
    const int32_t first = day_number_from_civil(1, 1, 1583);
    const int32_t last = day_number_from_civil(12, 31, 6773);
    EXPECT_TRUE(is_exact_day(first) && is_exact_day(last));
    EXPECT_FALSE(is_exact_day(first - 1) || is_exact_day(last + 1) || is_exact_day(0));
    DateRecord expected = hebrew_from_day_number(first);
    DateRecord civil_expected{1, 1, 1583};
    for (int32_t n = first; n <= last; ++n) {
        const DateRecord c = civil_from_day_number(n);
        ASSERT_EQ(c, civil_expected) << n;
        ASSERT_EQ(day_number_from_civil(c.month, c.day, c.year), n);
        const DateRecord h = hebrew_from_day_number(n);
        ASSERT_EQ(h, expected) << n;
        ASSERT_TRUE(valid_hebrew(h)) << n;
        ASSERT_EQ(day_number_from_hebrew(h.month, h.day, h.year), n);
        ASSERT_EQ(weekday(n), n % 7);
        expected = next_hebrew_day(h);
        civil_expected = next_civil_day(c);
    }
}

// The day number of a Hebrew date is the sum of the month lengths before it, for any day,
// including 0 and 31 (which count on from the month's start) and month 13 of a common year.
TEST(HebrewCalendar, DayNumberCountsMonthLengths) {
    for (int32_t year : {5767, 5768, 5771, 5773, 5784, 6000, 9999}) {
        const int32_t tishri = hebrew_elapsed_days(year) - 1373428;
        const int32_t last = is_hebrew_leap_year(year) ? 13 : 12;
        for (int32_t month = 1; month <= 13; ++month) {
            int32_t before = 0;
            if (month < 7) {
                for (int32_t m = 7; m <= last; ++m)
                    before += hebrew_month_length(m, year);
                for (int32_t m = 1; m < month; ++m)
                    before += hebrew_month_length(m, year);
            } else {
                for (int32_t m = 7; m < month; ++m)
                    before += hebrew_month_length(m, year);
            }
            for (int32_t day : {0, 1, 29, 30, 31, 45}) {
                EXPECT_EQ(day_number_from_hebrew(month, day, year), tishri + before + day - 1)
                    << year << "/" << month << "/" << day;
            }
        }
    }
}

// Past the exact range the dates are still real ones, for every 32-bit day number.
TEST(HebrewCalendar, AnyDayNumberIsSafeAndConsistent) {
    std::vector<int32_t> days = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
    uint64_t x = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 100000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        days.push_back(static_cast<int32_t>(static_cast<uint32_t>(x)));
    }
    // May 6774 on, where a search from a fixed start month would run short.
    const int32_t may6774 = day_number_from_civil(5, 1, 6774);
    for (int32_t n = may6774; n < may6774 + 4000; ++n)
        days.push_back(n);

    for (int32_t n : days) {
        const DateRecord h = hebrew_from_day_number(n);
        ASSERT_TRUE(valid_hebrew(h)) << n;
        ASSERT_EQ(day_number_from_hebrew(h.month, h.day, h.year), n) << n;
        const DateRecord c = civil_from_day_number(n);
        ASSERT_TRUE(c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= 31) << n;
        ASSERT_EQ(day_number_from_civil(c.month, c.day, c.year), n) << n;
        const int32_t w = weekday(n);
        ASSERT_TRUE(w >= 0 && w <= 6) << n;
        if (n != INT32_MAX) {
            ASSERT_EQ(weekday(n + 1), (w + 1) % 7) << n;
            ASSERT_EQ(hebrew_from_day_number(n + 1), next_hebrew_day(h)) << n;
        }
    }
}

TEST(HebrewCalendar, AnyYearIsSafe) {
    for (int32_t year : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
        const int32_t length = hebrew_year_length(year);
        EXPECT_TRUE((length >= 353 && length <= 355) || (length >= 383 && length <= 385)) << year;
        EXPECT_EQ(is_hebrew_leap_year(year), length > 355) << year;
        for (int32_t v : {INT32_MIN, 0, 1, 13, 14, INT32_MAX}) {
            (void)day_number_from_hebrew(v, v, year);
            (void)day_number_from_hebrew(v, INT32_MAX, year);
            (void)day_number_from_civil(v, v, year);
            (void)civil_day_of_year(v, INT32_MIN, year);
        }
        (void)hebrew_elapsed_days(year);
        (void)is_civil_leap_year(year);
    }
    // Years before the first run on the same rules: the day before year 1 is in Elul of year 0.
    EXPECT_EQ(hebrew_from_day_number(day_number_from_hebrew(7, 1, 1) - 1), hebrew(6, 29, 0));
}

TEST(HebrewCalendar, TodayComesFromTheClock) {
    testplat::set_local_date(2008, 4, 20);
    EXPECT_EQ(today_civil(), (DateRecord{4, 20, 2008}));
    testplat::reset_system();
}

}  // namespace
}  // namespace lekta
