#include "calendar/hebrew_calendar.h"

#include <array>

#include "platform/platform.h"

namespace lekta {

namespace {

// All arithmetic runs in 64 bits with flooring division, so every 32-bit argument gives the
// proleptic answer without overflow; results are narrowed to 32 bits only at the interface,
// which wraps (deterministically) only where the true value does not fit.
constexpr int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if (a % b != 0 && (a < 0) != (b < 0)) --q;
    return q;
}
constexpr int64_t floor_mod(int64_t a, int64_t b) {
    return a - floor_div(a, b) * b;
}

constexpr int32_t narrow(int64_t v) {
    return static_cast<int32_t>(v);
}

// Day number = elapsed days - EPOCH_OFFSET for the day before Tishri 1.
constexpr int64_t EPOCH_OFFSET = 1373429;

constexpr bool leap64(int64_t year) {
    return floor_mod(7 * year + 1, 19) < 7;
}

constexpr int64_t compute_elapsed_days(int64_t year) {
    const int64_t q = floor_div(year - 1, 19);
    const int64_t r = floor_mod(year - 1, 19);
    const int64_t months = 235 * q + 12 * r + (7 * r + 1) / 19;
    const int64_t parts = 204 + 793 * floor_mod(months, 1080);
    const int64_t hours = 5 + 12 * months + 793 * floor_div(months, 1080) + parts / 1080;
    int64_t day = 1 + 29 * months + floor_div(hours, 24);
    const int64_t day_parts = 1080 * floor_mod(hours, 24) + parts % 1080;
    const int64_t dow = floor_mod(day, 7);
    if (day_parts >= 19440 || (dow == 2 && day_parts >= 9924 && !leap64(year)) ||
        (dow == 1 && day_parts >= 16789 && leap64(year - 1))) {
        ++day;
    }
    const int64_t dow2 = floor_mod(day, 7);
    if (dow2 == 0 || dow2 == 3 || dow2 == 5) ++day;
    return day;
}

// New-year values for the Hebrew years of civil 1583..6773 with a margin, built at compile
// time: conversions there become table lookups. Outside it the formula runs directly.
constexpr int64_t TABLE_FIRST_YEAR = 5300;
constexpr int64_t TABLE_LAST_YEAR = 10600;
using ElapsedTable = std::array<int32_t, TABLE_LAST_YEAR - TABLE_FIRST_YEAR + 1>;

constexpr ElapsedTable make_elapsed_table() {
    ElapsedTable t{};
    for (size_t i = 0; i < t.size(); ++i) {
        t[i] =
            static_cast<int32_t>(compute_elapsed_days(TABLE_FIRST_YEAR + static_cast<int64_t>(i)));
    }
    return t;
}
constexpr ElapsedTable ELAPSED_TABLE = make_elapsed_table();

int64_t elapsed_days(int64_t year) {
    if (year >= TABLE_FIRST_YEAR && year <= TABLE_LAST_YEAR) {
        return ELAPSED_TABLE[static_cast<size_t>(year - TABLE_FIRST_YEAR)];
    }
    return compute_elapsed_days(year);
}

// The shape of a Hebrew year: leap or not, and how many of Heshvan/Kislev are long
// (0: both 29, 1: 29 and 30, 2: both 30). Only these six lengths occur.
struct YearShape {
    int leap;  // 0 or 1
    int kind;  // 0..2
};

YearShape shape_of(int64_t year, int64_t length) {
    const int leap = leap64(year) ? 1 : 0;
    int64_t kind = length - (leap ? 383 : 353);
    if (kind < 0) kind = 0;
    if (kind > 2) kind = 2;
    return {leap, static_cast<int>(kind)};
}

// Months in the order of the year, from Tishri, and the day of the year (0-based) on which
// each begins; the entries after the last month hold the year's length. The last entry of a
// common year's order is padding and never chosen.
constexpr int MONTH_ORDER[2][13] = {
    {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 6},
    {7, 8, 9, 10, 11, 12, 13, 1, 2, 3, 4, 5, 6},
};

struct MonthStarts {
    std::array<int32_t, 14> start{};
};

constexpr MonthStarts make_month_starts(int leap, int kind) {
    const int heshvan = kind == 2 ? 30 : 29;
    const int kislev = kind == 0 ? 29 : 30;
    const int common[12] = {30, heshvan, kislev, 29, 30, 29, 30, 29, 30, 29, 30, 29};
    const int leaps[13] = {30, heshvan, kislev, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29};
    MonthStarts s{};
    const int count = leap ? 13 : 12;
    int sum = 0;
    for (int i = 0; i < 14; ++i) {
        s.start[static_cast<size_t>(i)] = sum;
        if (i < count) sum += leap ? leaps[i] : common[i];
    }
    return s;
}

constexpr MonthStarts MONTH_STARTS[2][3] = {
    {make_month_starts(0, 0), make_month_starts(0, 1), make_month_starts(0, 2)},
    {make_month_starts(1, 0), make_month_starts(1, 1), make_month_starts(1, 2)},
};

// Days of Nisan .. month - 1, for months 1..6.
constexpr int32_t SPRING_PREFIX[7] = {0, 0, 30, 59, 89, 118, 148};
constexpr int32_t SPRING_DAYS = 177;  // Nisan to Elul

constexpr int32_t CIVIL_MONTH_LENGTHS[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

bool civil_leap64(int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int64_t civil_day_of_year64(int64_t month, int64_t day, int64_t year) {
    int64_t n = day + 31 * (month - 1);
    if (month > 2) {
        n -= (4 * month + 23) / 10;
        if (civil_leap64(year)) ++n;
    }
    return n;
}

// Mean Hebrew year, 235/19 lunations of 29d 12h 793p, as a fraction of days.
constexpr int64_t MEAN_YEAR_PARTS = 179876755;  // 235 * 765433
constexpr int64_t PARTS_PER_19_DAYS = 492480;   // 19 * 25920

}  // namespace

bool is_hebrew_leap_year(int32_t year) {
    return leap64(year);
}

int32_t hebrew_elapsed_days(int32_t year) {
    return narrow(elapsed_days(year));
}

int32_t hebrew_year_length(int32_t year) {
    return narrow(elapsed_days(int64_t{year} + 1) - elapsed_days(year));
}

bool is_long_heshvan(int32_t year) {
    return hebrew_year_length(year) % 10 == 5;
}

bool is_short_kislev(int32_t year) {
    return hebrew_year_length(year) % 10 == 3;
}

int32_t hebrew_month_length(int32_t month, int32_t year) {
    switch (month) {
        case 2:
        case 4:
        case 6:
        case 10:
        case 13:
            return 29;
        case 12:
            return is_hebrew_leap_year(year) ? 30 : 29;
        case 8:
            return is_long_heshvan(year) ? 30 : 29;
        case 9:
            return is_short_kislev(year) ? 29 : 30;
        default:
            return 30;
    }
}

int32_t day_number_from_hebrew(int32_t month, int32_t day, int32_t year) {
    const int64_t start = elapsed_days(year);
    const int64_t length = elapsed_days(int64_t{year} + 1) - start;
    const YearShape shape = shape_of(year, length);
    int64_t offset;
    if (month < 7) {
        offset = length - SPRING_DAYS + (month >= 1 ? SPRING_PREFIX[month] : 0);
    } else {
        // Months from Tishri in year order; in a common year start[6] is where a month 13
        // would begin, and every month number past 13 counts 30 days.
        const int32_t* starts = MONTH_STARTS[shape.leap][shape.kind].start.data();
        const int64_t m = month;
        offset = m <= 13 ? starts[m - 7] : int64_t{starts[6]} + 29 + 30 * (m - 14);
    }
    return narrow(int64_t{day} + offset + start - EPOCH_OFFSET);
}

DateRecord hebrew_from_day_number(int32_t day_number) {
    const int64_t e = int64_t{day_number} + EPOCH_OFFSET - 1;  // elapsed-days count of the day
    int64_t year = 1 + floor_div(e * PARTS_PER_19_DAYS, MEAN_YEAR_PARTS);
    // The estimate is off by at most one year; new-year values rise strictly, so this ends.
    while (elapsed_days(year) > e) {
        --year;
    }
    while (elapsed_days(year + 1) <= e) {
        ++year;
    }
    const int64_t start = elapsed_days(year);
    const YearShape shape = shape_of(year, elapsed_days(year + 1) - start);
    const int32_t* starts = MONTH_STARTS[shape.leap][shape.kind].start.data();
    const int64_t doy = e - start;  // 0 .. length - 1
    // No month is longer than 30 days, so doy / 30 never lies past the true month.
    int64_t i = doy / 30;
    if (i > 12) i = 12;
    while (i < 12 && doy >= starts[i + 1]) {
        ++i;
    }
    return {MONTH_ORDER[shape.leap][i], narrow(doy - starts[i] + 1), narrow(year)};
}

bool is_civil_leap_year(int32_t year) {
    return civil_leap64(year);
}

int32_t civil_day_of_year(int32_t month, int32_t day, int32_t year) {
    return narrow(civil_day_of_year64(month, day, year));
}

int32_t day_number_from_civil(int32_t month, int32_t day, int32_t year) {
    const int64_t y = int64_t{year} - 1;
    return narrow(civil_day_of_year64(month, day, year) + 365 * y + floor_div(y, 4) -
                  floor_div(y, 100) + floor_div(y, 400));
}

DateRecord civil_from_day_number(int32_t day_number) {
    const int64_t d0 = int64_t{day_number} - 1;
    const int64_t q400 = floor_div(d0, 146097);
    const int64_t d1 = floor_mod(d0, 146097);
    const int64_t q100 = d1 / 36524, d2 = d1 % 36524;
    const int64_t q4 = d2 / 1461, d3 = d2 % 1461;
    const int64_t q1 = d3 / 365, d4 = d3 % 365;
    const int64_t y = 400 * q400 + 100 * q100 + 4 * q4 + q1;
    if (q100 == 4 || q1 == 4) return {12, 31, narrow(y)};
    const int32_t(&lengths)[13] = CIVIL_MONTH_LENGTHS[civil_leap64(y + 1) ? 1 : 0];
    int64_t rest = d4 + 1;
    int month = 1;
    while (month < 12 && lengths[month] < rest) {
        rest -= lengths[month];
        ++month;
    }
    return {month, narrow(rest), narrow(y + 1)};
}

bool is_exact_day(int32_t day_number) {
    static const int32_t first = day_number_from_civil(1, 1, 1583);
    static const int32_t last = day_number_from_civil(12, 31, 6773);
    return day_number >= first && day_number <= last;
}

DateRecord today_civil() {
    const plat::LocalDate d = plat::local_date();
    return {d.month, d.day, d.year};
}

int32_t weekday(int32_t day_number) {
    return narrow(floor_mod(day_number, 7));
}

}  // namespace lekta
