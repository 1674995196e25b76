#include "calendar/schedule.h"

#include <algorithm>

namespace lekta {

bool is_leap_cycle_date(const DateRecord& date) {
    const int32_t m = date.month;
    if (m > 9 || m < 7 || (m == 9 && date.day > 18)) return is_hebrew_leap_year(date.year);
    // Tishri to 18 Kislev still belong to the schedule year that began in the year before;
    // 64 bits and a flooring remainder keep every year in range.
    const int64_t r = (7 * int64_t{date.year} - 6) % 19;
    return (r < 0 ? r + 19 : r) < 7;
}

uint16_t lesson_key_of_date(const DateRecord& date) {
    int32_t slot = date.day;
    if (date.day == 29 && (date.month == 8 || date.month == 9) &&
        hebrew_month_length(date.month, date.year) == 29) {
        slot = SHORT_MONTH_SLOT;
    }
    // Unsigned arithmetic: a nonsense record still yields some key, never an overflow.
    uint16_t key = static_cast<uint16_t>(static_cast<uint32_t>(date.month) * 256u +
                                         static_cast<uint32_t>(slot));
    if (is_leap_cycle_date(date)) key |= LESSON_KEY_LEAP_CYCLE;
    return key;
}

namespace {

constexpr int32_t SEARCH_YEARS = 100;

int32_t key_month(uint16_t key) {
    return key >> 8 & 0x0F;
}
// The day of the month a slot is read on: slot 31 on the 29th.
int32_t key_day(uint16_t key) {
    const int32_t slot = key & 0xFF;
    return slot == SHORT_MONTH_SLOT ? 29 : slot;
}
bool names_lesson(uint16_t key) {
    const int32_t slot = key & 0xFF;
    return (key & 0xE000) == 0 && key_month(key) >= 1 && key_month(key) <= 13 && slot >= 1 &&
           slot <= SHORT_MONTH_SLOT;
}

// The day of the key's month and day in Hebrew year y when it exists and reads the key; else 0.
int32_t reading_in_year(uint16_t key, int32_t year) {
    const int32_t month = key_month(key), day = key_day(key);
    if (month == 13 && !is_hebrew_leap_year(year)) return 0;
    if (day > hebrew_month_length(month, year)) return 0;
    const DateRecord date{month, day, year};
    return lesson_key_of_date(date) == key ? day_number_from_hebrew(month, day, year) : 0;
}

}  // namespace

int32_t first_day_reading(uint16_t key, int32_t from_day) {
    if (!names_lesson(key)) return 0;
    const int32_t from_year = hebrew_from_day_number(from_day).year;
    // A month's dates grow with the year, so the first year that reads the key wins.
    for (int32_t y = from_year - 1; y <= from_year + SEARCH_YEARS; ++y) {
        const int32_t day = reading_in_year(key, y);
        if (day != 0 && day >= from_day) return day;
    }
    return 0;
}

int32_t nearest_day_reading(uint16_t key, int32_t around_day) {
    if (!names_lesson(key)) return 0;
    const int32_t later = first_day_reading(key, around_day);
    const int32_t from_year = hebrew_from_day_number(around_day).year;
    int32_t earlier = 0;
    for (int32_t y = from_year + 1; y >= from_year - SEARCH_YEARS && earlier == 0; --y) {
        const int32_t day = reading_in_year(key, y);
        if (day != 0 && day < around_day) earlier = day;
    }
    if (later == 0) return earlier;
    if (earlier == 0) return later;
    return around_day - earlier < later - around_day ? earlier : later;
}

int32_t day_in_cycle(uint16_t key, int32_t day) {
    if (!names_lesson(key)) return 0;
    const DateRecord now = hebrew_from_day_number(day);
    // The schedule year starts on 19 Kislev of the Hebrew year it is named after.
    const bool early = now.month == 7 || now.month == 8 || (now.month == 9 && now.day < 19);
    const int32_t cycle_year = early ? now.year - 1 : now.year;
    const int32_t month = key_month(key);
    const int32_t key_slot_day = key_day(key);
    const bool next_year = month == 7 || month == 8 || (month == 9 && key_slot_day < 19);
    const int32_t year = next_year ? cycle_year + 1 : cycle_year;
    if (month == 13 && !is_hebrew_leap_year(year)) return 0;
    const int32_t last = hebrew_month_length(month, year);
    return day_number_from_hebrew(month, std::min(key_slot_day, last), year);
}

}  // namespace lekta
