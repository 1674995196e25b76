#include "calendar/schedule.h"

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

}  // namespace lekta
