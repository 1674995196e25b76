// The calendar's arithmetic: which month is shown, stepping through months and years, the
// layout of the grid and buttons, and what a tap hits.
#include <algorithm>

#include "calendar_dialog/calendar_state.h"

namespace lekta {

CalendarState g_calendar;

namespace {

const uint8_t* letters(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

// The dialog's own month labels (letter code, visual order); 12 and 13 come in two variants.
const char* const LABELS[12] = {"prjq", "yjja", "pfjr", "gfo{", "ba nhqo", "mfma",
                                "jyz{", "pfzh", "fmrl", "{bi",  "ibz",     "yda"};
const char* const LEAP_ADAR_I = "'a yda";
const char* const LEAP_ADAR_II = "'b";

int32_t modulo7(int32_t v) {
    return ((v % 7) + 7) % 7;
}

uint16_t coordinate(int32_t v) {
    return static_cast<uint16_t>(std::clamp(v, 0, 0xFFFF));
}

MonthButton button(int32_t top, int32_t left, int32_t bottom, int32_t right, const char* label) {
    return {coordinate(top), coordinate(left), coordinate(bottom), coordinate(right),
            letters(label)};
}

// The variant pair for the year's type goes into entries 12 and 13; both keep their places.
void copy_variant(CalendarState& s, bool leap) {
    const CalendarLayout& l = s.layout;
    const int32_t top = l.buttons_top + 2 * l.button_height;
    const int32_t bottom = top + l.button_height;
    if (leap) {
        s.buttons[12] = button(top, l.buttons_left + l.button_width / 4, bottom,
                               l.buttons_left + l.button_width, LEAP_ADAR_I);
        s.buttons[13] =
            button(top, l.buttons_left, bottom, l.buttons_left + l.button_width / 4, LEAP_ADAR_II);
    } else {
        s.buttons[12] =
            button(top, l.buttons_left, bottom, l.buttons_left + l.button_width, LABELS[11]);
        s.buttons[13] = {};
    }
    s.buttons[MONTH_BUTTONS] = {};
}

int32_t last_month(const CalendarState& s) {
    return s.leap ? 13 : 12;
}

}  // namespace

void show_date(CalendarState& s, int32_t day, bool initial) {
    bool type_changed = initial;
    if (day == 0) {
        const DateRecord today = today_civil();
        day = day_number_from_civil(today.month, today.day, today.year);
        type_changed = true;
    }
    s.selected_day = day;
    s.displayed = hebrew_from_day_number(day);
    s.first_weekday = static_cast<uint8_t>(modulo7(day - s.displayed.day + 1));
    const uint8_t leap = is_hebrew_leap_year(s.displayed.year) ? 1 : 0;
    if (leap != s.leap || type_changed) {
        copy_variant(s, leap != 0);
        s.redraw |= REDRAW_BUTTONS;
        if (initial) s.marked = s.displayed;
        if (leap) s.redraw |= REDRAW_ADAR_GAP;
    }
    s.leap = leap;
    s.month_length = static_cast<uint8_t>(hebrew_month_length(s.displayed.month, s.displayed.year));
}

void clamp_and_show(CalendarState& s) {
    DateRecord& d = s.displayed;
    if (d.day == 30 && hebrew_month_length(d.month, d.year) < 30) d.day = 29;
    show_date(s, day_number_from_hebrew(d.month, d.day, d.year), false);
    s.redraw |= REDRAW_BUTTONS;
}

void step_month(CalendarState& s, int32_t delta) {
    DateRecord& d = s.displayed;
    const int32_t year = d.year;
    if (delta < 0) {
        if (d.month == 1) {
            d.month = last_month(s);
        } else if (d.month == 7) {
            d.month = 6;
            --d.year;
        } else {
            --d.month;
        }
    } else {
        if (d.month >= last_month(s)) {
            d.month = 1;
        } else if (d.month == 6) {
            d.month = 7;
            ++d.year;
        } else {
            ++d.month;
        }
    }
    if (d.year != year) {
        if (d.month == 13 && !is_hebrew_leap_year(d.year)) d.month = 12;
        s.redraw |= REDRAW_ALL;
    }
    clamp_and_show(s);
}

void step_year_by_key(CalendarState& s, int32_t delta) {
    DateRecord& d = s.displayed;
    // Years before the first have no calendar: the step is refused.
    if (d.year + delta < 1) return;
    d.year += delta;
    if (d.month == 13 && !is_hebrew_leap_year(d.year)) d.month = 12;
    s.redraw |= REDRAW_ALL;
    clamp_and_show(s);
}

void step_year_by_arrow(CalendarState& s, int32_t delta) {
    DateRecord d = s.displayed;
    if (d.year + delta < 1) return;
    d.year += delta;
    if (d.month == 13)
        d.month = 12;
    else if (d.day == 30 && hebrew_month_length(d.month, d.year) < 30)
        d.day = 29;
    show_date(s, day_number_from_hebrew(d.month, d.day, d.year), false);
    s.redraw |= REDRAW_ALL;
}

void calendar_layout(CalendarState& s, int32_t text_height) {
    const plat::Rect& c = s.client;
    CalendarLayout& l = s.layout;
    const int32_t width = c.right - c.left + 1;
    const int32_t height = c.bottom - c.top + 1;
    l.cell_width = width / 8;
    l.grid_top = (3 * height) / 9;
    l.cell_height = (c.bottom - l.grid_top) / 7;
    l.grid_width = 7 * l.cell_width + 1;
    l.grid_left = c.left + (width - l.grid_width) / 2;
    l.year_top = c.top + 2;
    l.year_height = text_height;
    l.button_width = ((7 * width) / 8) / 4;
    l.buttons_top = c.top + 2 + text_height + 4;
    l.button_height = (l.grid_top - l.buttons_top - 4) / 3;
    l.buttons_left = c.left + (width - (4 * l.button_width + 1)) / 2;
    // Months run right to left, four to a row, month 1 at the top right.
    for (int32_t m = 1; m <= 12; ++m) {
        const int32_t top = l.buttons_top + ((m - 1) / 4) * l.button_height;
        const int32_t left = l.buttons_left + (3 - (m - 1) % 4) * l.button_width;
        s.buttons[m] =
            button(top, left, top + l.button_height, left + l.button_width, LABELS[m - 1]);
    }
    copy_variant(s, s.leap != 0);
}

int32_t week_rows_needed(const CalendarState& s) {
    return s.first_weekday == 6 && s.month_length == 30 ? 6 : 5;
}

Cell day_cell(const CalendarState& s, int32_t day) {
    const int32_t n = s.first_weekday + day - 1;
    return {n % 7, n / 7 + 1};
}

int32_t month_button_at(const CalendarState& s, int32_t x, int32_t y) {
    for (int32_t m = 1; m < MONTH_BUTTONS && s.buttons[m].label; ++m) {
        const MonthButton& b = s.buttons[m];
        if (x >= b.left && x <= b.right && y >= b.top && y <= b.bottom) return m;
    }
    return 0;
}

int32_t year_arrow_at(const CalendarState& s, int32_t x, int32_t y) {
    const CalendarLayout& l = s.layout;
    if (!s.arrows_placed || y < l.year_top || y > l.year_top + l.year_height) return 0;
    const int32_t left_end = s.left_arrow + s.arrow_width;
    if (x < s.left_arrow || x > s.right_arrow + s.arrow_width) return 0;
    if (x > left_end && x < s.right_arrow) return 0;
    return x > left_end ? 1 : -1;
}

int32_t day_at(const CalendarState& s, int32_t x, int32_t y) {
    const CalendarLayout& l = s.layout;
    if (l.cell_width <= 0 || l.cell_height <= 0) return 0;
    const int32_t v = x - l.grid_left;
    const int32_t u = y - (l.grid_top + l.cell_height);
    if (v < 0 || v >= 7 * l.cell_width || u < 0 || u > l.cell_height * s.week_rows) return 0;
    const int32_t day = 7 * (u / l.cell_height) + v / l.cell_width - s.first_weekday + 1;
    return day >= 1 && day <= s.month_length ? day : 0;
}

}  // namespace lekta
