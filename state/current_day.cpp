#include "state/current_day.h"

#include "calendar/date_text.h"
#include "calendar/schedule.h"
#include "state/reader.h"
#include "state/settings.h"

namespace lekta {

bool is_leap_cycle() {
    return is_leap_cycle_date(g_reader.hebrew_date);
}

uint16_t current_lesson_key() {
    return lesson_key_of_date(g_reader.hebrew_date);
}

void select_day(int32_t day, bool force) {
    Settings& s = g_settings;
    Reader& r = g_reader;
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
    r.hebrew_date = hebrew_from_day_number(day);
    r.date_text_length = hebrew_date_text(&r.hebrew_date, r.date_text);
    if (r.date_text_length == 0) r.date_text[0] = 0;
    // The strip draws the whole new date; only the view's creation cuts it to the strip.
    r.date_count = r.date_text_length;
    s.current_lesson = current_lesson_key();
}

}  // namespace lekta
