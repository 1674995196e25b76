#include "shell/navigation.h"

#include <algorithm>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "platform/accessible.h"
#include "shell/main_window.h"
#include "shell/window_title.h"
#include "state/current_day.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/book.h"
#include "store/lesson_store.h"
#include "view/accessible_lesson.h"
#include "view/frame.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr uint32_t MB_ERROR_STYLE = plat::MB_ICONEXCLAMATION;
constexpr int INITIAL_LINE_CAPACITY = 100;

LessonText fetch_current_lesson() {
    if (!lesson_reachable()) return {};
    return fetch_lesson_text(g_settings.current_lesson);
}

int show_error(plat::Window* owner, const char16_t* text) {
    return plat::message_box(owner, text, u"Error", MB_ERROR_STYLE);
}

}  // namespace

bool lesson_reachable() {
    return !is_leap_cycle() || book_has_leap_cycle();
}

int open_lesson_view(plat::Window* main_window) {
    plat::Dc* dc = plat::get_dc(main_window);
    const plat::Rect client = plat::client_rect(main_window);
    const plat::Rect area = init_frame(dc, client);
    TextView* view = create_view(dc, &area, g_settings.font_spec, INITIAL_LINE_CAPACITY);
    if (!view) return 1;
    view->side_margins = true;
    g_reader.view = view;
    g_go_to_day = go_to_day;
    g_choose_date = open_calendar;
    plat::set_accessible_source(main_window, reader_accessible_nodes);

    LessonText text = fetch_current_lesson();
    if (!text) return show_error(main_window, u"Resource not found");
    set_text(view, &text, TAKE_TEXT);
    // The stored row belongs to the lesson it was saved on; any other lesson opens at its top.
    const Settings& s = g_settings;
    const Reader& r = g_reader;
    view->top_row = s.current_lesson == r.position_lesson ? s.last_position : 0;
    update_scroll_bar(main_window);
    return 0;
}

int go_to_day(plat::Window* owner, int32_t day) {
    const int32_t previous_day = g_settings.current_day;
    select_day(day, true);

    LessonText text = fetch_current_lesson();
    if (!text) {
        select_day(previous_day, false);
        return show_error(owner, u"Could not access the\r\nThe lesson for the selected day");
    }
    TextView* view = g_reader.view;
    if (view) {
        set_text(view, &text, TAKE_TEXT);
        view->top_row = 0;
    }
    repaint_window(g_reader.main_window, PAINT_EVERYTHING);
    update_bookmark_check();
    plat::accessible_changed(g_reader.main_window, plat::AccessibleChange::content, -1,
                             day_announcement());
    update_window_title();
    return 0;
}

int go_to_section(plat::Window* owner, uint16_t key) {
    const auto lesson = static_cast<uint16_t>(key & 0x1FFF);
    const bool leap_key = (key & LESSON_KEY_LEAP_CYCLE) != 0;
    if (book_has_leap_cycle()) {
        // The index the dialog showed is the one of the arrangement being read: the section
        // begins in this schedule year, not in the other half of the Hebrew year.
        int32_t day =
            leap_key == is_leap_cycle() ? day_in_cycle(lesson, g_settings.current_day) : 0;
        if (day == 0) day = nearest_day_reading(lesson, g_settings.current_day);
        if (day != 0) return go_to_day(owner, day);
    }
    DateRecord& date = g_reader.hebrew_date;
    date.month = (key >> 8) & 0x0F;
    date.day = key & 0x1F;
    // Slot 31 is read on the 29th.
    if (date.day == SHORT_MONTH_SLOT) date.day = 29;
    // Nineteen years always hold a cycle of either kind; the bound only guards odd dates.
    for (int step = 0; step < 19 && is_leap_cycle() != leap_key; ++step)
        ++date.year;
    // A day the month lacks this year (30 Heshvan of a 29-day Heshvan) is read on its last day.
    date.day = std::min(date.day, hebrew_month_length(date.month, date.year));
    return go_to_day(owner, day_number_from_hebrew(date.month, date.day, date.year));
}

int go_to_bookmark(plat::Window* owner, uint16_t key) {
    const int32_t day =
        nearest_day_reading(static_cast<uint16_t>(key & 0x1FFF), g_settings.current_day);
    return day != 0 ? go_to_day(owner, day) : go_to_section(owner, key);
}

}  // namespace lekta
