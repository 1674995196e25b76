// The calendar dialog's one state record: the month on screen, the reader's marked day, the
// grid and button geometry, and the arithmetic of stepping, layout and hit-testing.
#pragma once

#include <cstdint>

#include "calendar/hebrew_calendar.h"
#include "platform/platform.h"

namespace lekta {

// Redraw flags: what the next paint draws besides the grid, the highlighted button and the
// marked day.
constexpr uint8_t REDRAW_BUTTONS = 0x1;
constexpr uint8_t REDRAW_YEAR = 0x4;
constexpr uint8_t REDRAW_ADAR_GAP = 0x8;
constexpr uint8_t REDRAW_ALL = 0x7;

// A month button in client pixels; a null label ends the table.
struct MonthButton {
    uint16_t top = 0, left = 0, bottom = 0, right = 0;
    const uint8_t* label = nullptr;  // letter code, visual order, zero-terminated
    friend bool operator==(const MonthButton&, const MonthButton&) = default;
};

constexpr int MONTH_BUTTONS = 14;  // months 1..13 and the end of the table

struct CalendarLayout {
    int32_t cell_width = 0, cell_height = 0;              // cw, ch
    int32_t grid_top = 0, grid_left = 0, grid_width = 0;  // gt, gl, gw
    int32_t year_top = 0, year_height = 0;                // yt, yh
    int32_t button_width = 0, button_height = 0;          // bw, bh
    int32_t buttons_top = 0, buttons_left = 0;            // mt, ml
};

struct CalendarState {
    DateRecord displayed;      // the month on screen, and the day at which the dialog stands
    DateRecord marked;         // the reader's current day
    int32_t selected_day = 0;  // day number of the displayed date; what the dialog returns
    uint8_t leap = 0;
    uint8_t first_weekday = 0;  // of day 1 of the displayed month, 0 = Sunday
    uint8_t week_rows = 0;      // drawn at the last paint
    uint8_t month_length = 0;
    uint8_t redraw = 0;

    plat::Window* dialog = nullptr;
    plat::Dc* dc = nullptr;
    plat::Font* normal_font = nullptr;
    plat::Font* bold_font = nullptr;
    plat::Rect client;
    CalendarLayout layout;
    // The year line: the year box, and the arrow boxes fixed at the first paint.
    int32_t year_left = 0, year_width = 0;
    int32_t arrow_width = 0;
    int32_t left_arrow = 0, right_arrow = 0;
    bool arrows_placed = false;
    // A day marked from the keyboard (the displayed day): OK then goes there. typed holds the
    // digits or numeral letters typed so far for it.
    bool key_marked = false;
    char16_t typed[2] = {};
    uint8_t typed_count = 0;

    // Entries 0 (unused) and 1..13 by month number; 14: the end of the table. The leap or
    // common variant is copied into 12 and 13.
    MonthButton buttons[MONTH_BUTTONS + 1] = {};
};

// The state of the open dialog (one at a time).
extern CalendarState g_calendar;

// Shows the month of day (0: today): the displayed date, first weekday, leap flag, the button
// variant for the year and the month length. initial also marks the day.
void show_date(CalendarState& s, int32_t day, bool initial);
// After a month or year change: day 30 becomes 29 in a shorter month, then show_date.
void clamp_and_show(CalendarState& s);

// The months before and after the displayed one, the year changing between 6 and 7.
void step_month(CalendarState& s, int32_t delta);
// A year earlier or later, by key: month 13 becomes 12 in a common year.
void step_year_by_key(CalendarState& s, int32_t delta);
// A year earlier or later, by the arrows: month 13 always becomes 12; then show_date.
void step_year_by_arrow(CalendarState& s, int32_t delta);

// The geometry of the grid, the year line and the buttons for the client rectangle;
// text_height is the bold font's row height.
void calendar_layout(CalendarState& s, int32_t text_height);

// Week rows the displayed month needs, and the grid cell of a day of it.
int32_t week_rows_needed(const CalendarState& s);
struct Cell {
    int32_t column = 0, row = 0;  // row 1 is the first week row
    friend bool operator==(const Cell&, const Cell&) = default;
};
Cell day_cell(const CalendarState& s, int32_t day);

// The three tap targets, tried in this order.
int32_t month_button_at(const CalendarState& s, int32_t x, int32_t y);  // month, or 0
// -1 the left arrow, +1 the right one, 0 neither.
int32_t year_arrow_at(const CalendarState& s, int32_t x, int32_t y);
int32_t day_at(const CalendarState& s, int32_t x, int32_t y);  // day of the month, or 0

// The day of the displayed month that typing c marks, after what was typed before: digits
// ("2", "28") or a Hebrew numeral ("כח"), geresh marks ignored; 0 when c marks none. typed
// keeps what the next character adds to.
int32_t typed_day(CalendarState& s, char16_t c);
// Marks a day of the displayed month from the keyboard.
void mark_day(CalendarState& s, int32_t day);
// The grid cell of a day in client pixels, its frame included.
plat::Rect day_cell_rect(const CalendarState& s, int32_t day);

}  // namespace lekta
