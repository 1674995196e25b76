// Day numbers, civil dates and dates of the fixed Hebrew calendar. Day 1 is Monday 1 January of
// year 1 of the proleptic Gregorian calendar. Exact for civil years 1583 to 6773; outside that
// range the results need not be meaningful, but no call reads or writes outside its tables.
#pragma once

#include <cstdint>

namespace lekta {

// A civil date (month 1..12) or a Hebrew date (month 1 = Nisan .. 7 = Tishri .. 13 = Adar II).
struct DateRecord {
    int32_t month = 0;
    int32_t day = 0;
    int32_t year = 0;
    friend bool operator==(const DateRecord&, const DateRecord&) = default;
};

bool is_hebrew_leap_year(int32_t year);
int32_t hebrew_elapsed_days(int32_t year);
int32_t hebrew_year_length(int32_t year);
bool is_long_heshvan(int32_t year);
bool is_short_kislev(int32_t year);
int32_t hebrew_month_length(int32_t month, int32_t year);
int32_t day_number_from_hebrew(int32_t month, int32_t day, int32_t year);
DateRecord hebrew_from_day_number(int32_t day_number);

// Whether a day number lies in civil years 1583 to 6773, where the conversions are exact.
bool is_exact_day(int32_t day_number);

bool is_civil_leap_year(int32_t year);
int32_t civil_day_of_year(int32_t month, int32_t day, int32_t year);
int32_t day_number_from_civil(int32_t month, int32_t day, int32_t year);
DateRecord civil_from_day_number(int32_t day_number);

// Today's civil date from the system clock.
DateRecord today_civil();
// 0 = Sunday .. 6 = Saturday.
int32_t weekday(int32_t day_number);

}  // namespace lekta
