#include "calendar/schedule.h"

#include "calendar/date_text.h"
#include "shell/settings.h"

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

bool is_leap_cycle() {
    return is_leap_cycle_date(g_settings.hebrew_date);
}

uint16_t current_lesson_key() {
    return lesson_key_of_date(g_settings.hebrew_date);
}

void select_day(int32_t day, bool force) {
    Settings& s = g_settings;
    if (day != 0) {
        s.flags |= FLAG_DAY_PINNED;
    } else {
        // A day the user left the program on survives a plain start.
        if ((s.flags & FLAG_DAY_PINNED) != 0 && !force) return;
        const DateRecord today = today_civil();
        day = day_number_from_civil(today.month, today.day, today.year);
        s.flags &= ~FLAG_DAY_PINNED;
    }
    // The same day again keeps the lesson and the reading position.
    if (day == s.current_day) return;
    if (!force) s.last_position = 0;
    s.current_day = day;
    s.hebrew_date = hebrew_from_day_number(day);
    s.date_text_length = hebrew_date_text(&s.hebrew_date, s.date_text);
    if (s.date_text_length == 0) s.date_text[0] = 0;
    s.current_lesson = current_lesson_key();
}

}  // namespace lekta
