// Every day of the exact range against ICU's Hebrew calendar, both ways.
#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <memory>
#include <set>

#include "calendar/hebrew_calendar.h"

namespace lekta {
namespace {

constexpr int32_t JULIAN_DAY_OF_DAY_ZERO = 1721425;

// ICU counts months from Tishri = 0 to Elul = 12; a common year's Adar is 6, and 5 (Adar I)
// occurs in leap years only.
int32_t icu_month(int32_t month, bool leap) {
    if (month >= 7 && month <= 11) return month - 7;
    if (month == 12) return leap ? 5 : 6;
    if (month == 13) return 6;
    return month + 6;
}

int64_t floor_div(int64_t a, int64_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// Tishri 1 worked out another way: the molad of Tishri with only the weekday rule, then the
// corrections that rule out 356-day and 382-day years.
int64_t molad_days(int64_t year) {
    const int64_t months = floor_div(235 * year - 234, 19);
    const int64_t parts = 12084 + 13753 * months;
    int64_t days = 29 * months + floor_div(parts, 25920);
    if ((3 * (days + 1)) % 7 < 3) ++days;
    return days;
}
int64_t reference_new_year(int64_t year) {
    const int64_t before = molad_days(year - 1), at = molad_days(year),
                  after = molad_days(year + 1);
    const int64_t correction = after - at == 356 ? 2 : (at - before == 382 ? 1 : 0);
    return -1373427 + at + correction;
}

std::unique_ptr<icu::Calendar> make_icu_hebrew() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone("GMT"), icu::Locale("he_IL@calendar=hebrew"), status));
    if (U_FAILURE(status)) return nullptr;
    return cal;
}

int32_t icu_new_year(icu::Calendar& cal, int32_t year) {
    UErrorCode status = U_ZERO_ERROR;
    cal.clear();
    cal.set(UCAL_EXTENDED_YEAR, year);
    cal.set(UCAL_MONTH, 0);
    cal.set(UCAL_DATE, 1);
    return cal.get(UCAL_JULIAN_DAY, status) - JULIAN_DAY_OF_DAY_ZERO;
}

constexpr int32_t FIRST_YEAR = 5343;  // Hebrew years of civil 1583 .. 6773
constexpr int32_t LAST_YEAR = 10535;

TEST(IcuAgreement, EveryDayOfTheExactRange) {
    auto cal = make_icu_hebrew();
    ASSERT_NE(cal, nullptr);
    ASSERT_STREQ(cal->getType(), "hebrew");

    // ICU releases before 77 postpone some new years after a leap year by a day too many
    // (years 5462, 5560, 5807, ...: 355-day years come out as 354, the leap year before as 385).
    // Those years are settled by the second reference instead, and left out of the day walk.
    std::set<int32_t> icu_wrong;
    for (int32_t year = FIRST_YEAR; year <= LAST_YEAR + 1; ++year) {
        const int32_t ours = day_number_from_hebrew(7, 1, year);
        ASSERT_EQ(ours, reference_new_year(year)) << year;
        const int32_t icu = icu_new_year(*cal, year);
        if (icu != ours) {
            ASSERT_EQ(icu, ours + 1) << year;
            ASSERT_TRUE(is_hebrew_leap_year(year - 1)) << year;
            icu_wrong.insert(year);
        }
    }
    EXPECT_LE(icu_wrong.size(), 40u);

    const int32_t first = day_number_from_civil(1, 1, 1583);
    const int32_t last = day_number_from_civil(12, 31, 6773);
    int64_t compared = 0;
    for (int32_t n = first; n <= last; ++n) {
        const DateRecord h = hebrew_from_day_number(n);
        if (icu_wrong.count(h.year) != 0 || icu_wrong.count(h.year + 1) != 0) continue;
        const bool leap = is_hebrew_leap_year(h.year);
        UErrorCode status = U_ZERO_ERROR;

        cal->clear();
        cal->set(UCAL_JULIAN_DAY, n + JULIAN_DAY_OF_DAY_ZERO);
        const int32_t year = cal->get(UCAL_EXTENDED_YEAR, status);
        const int32_t month = cal->get(UCAL_MONTH, status);
        const int32_t day = cal->get(UCAL_DATE, status);
        ASSERT_TRUE(U_SUCCESS(status)) << n;
        ASSERT_EQ(year, h.year) << n;
        ASSERT_EQ(month, icu_month(h.month, leap)) << n << " month " << h.month;
        ASSERT_EQ(day, h.day) << n;

        cal->clear();
        cal->set(UCAL_EXTENDED_YEAR, h.year);
        cal->set(UCAL_MONTH, icu_month(h.month, leap));
        cal->set(UCAL_DATE, h.day);
        ASSERT_EQ(cal->get(UCAL_JULIAN_DAY, status) - JULIAN_DAY_OF_DAY_ZERO, n);
        ASSERT_TRUE(U_SUCCESS(status)) << n;
        ++compared;
    }
    EXPECT_GT(compared, (last - first) / 100 * 98);
}

}  // namespace
}  // namespace lekta
