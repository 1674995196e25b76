#include "calendar_dialog/calendar_paint.h"

#include <cstdio>
#include <string>

#include "platform/dialog.h"
#include "view/letter_code.h"
#include "view/palette.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr uint32_t CENTRED =
    plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX;
constexpr char WEEKDAYS[] = "SMTWTFS";
constexpr char NUMBERS[] = "1 2 3 4 5 6 7 8 9 10111213141516171819202122232425262728293031";
constexpr int32_t ARROW_GAP = 10;

// A box given by its corner and size.
plat::Rect box(int32_t x, int32_t y, int32_t width, int32_t height) {
    return {x, y, x + width, y + height};
}

void colours(plat::Dc* dc, bool inverted) {
    plat::set_text_color(dc, inverted ? palette().ground : palette().text);
    plat::set_bk_color(dc, inverted ? palette().text : palette().ground);
    plat::set_bk_transparent(dc, false);
}

// Plain ASCII (digits, spaces, the weekday letters, the arrows) drawn as it is.
void draw_ascii(plat::Dc* dc, const char* text, int32_t count, const plat::Rect& rect) {
    std::u16string run(text, text + count);
    plat::draw_text(dc, run.data(), count, rect, CENTRED);
}

int32_t ascii_width(plat::Dc* dc, const char* text) {
    int32_t width = 1 << 20;
    int32_t count = static_cast<int32_t>(std::char_traits<char>::length(text));
    measure_fit(dc, reinterpret_cast<const uint8_t*>(text), width, count);
    return width;
}

void draw_button(CalendarState& s, const MonthButton& b, bool highlighted) {
    plat::Dc* dc = s.dc;
    plat::draw_rectangle(dc, {b.left + 1, b.top + 1, b.right - 1, b.bottom - 1},
                         highlighted ? palette().ground : palette().text,
                         highlighted ? palette().text : palette().ground);
    const auto length = static_cast<int32_t>(
        std::char_traits<char>::length(reinterpret_cast<const char*>(b.label)));
    const char16_t* label = to_display_text(b.label, length);
    if (!label) return;
    colours(dc, highlighted);
    plat::draw_text(dc, label, static_cast<int32_t>(std::char_traits<char16_t>::length(label)),
                    box(b.left + 1, b.top + 1, b.right - b.left - 1, b.bottom - b.top - 1),
                    CENTRED);
}

// A black box one pixel larger than the text, then the text centred on white.
void draw_year_box(plat::Dc* dc, const char* text, int32_t left, int32_t width,
                   const CalendarLayout& l) {
    plat::fill_rect(dc,
                    {left - 1, l.year_top - 1, left + width + 1, l.year_top + l.year_height + 1},
                    palette().text);
    colours(dc, false);
    draw_ascii(dc, text, static_cast<int32_t>(std::char_traits<char>::length(text)),
               box(left, l.year_top, width, l.year_height));
}

void draw_year_line(CalendarState& s) {
    plat::Dc* dc = s.dc;
    const CalendarLayout& l = s.layout;
    char year[16];
    std::snprintf(year, sizeof year, " %d ", static_cast<int>(s.displayed.year));
    s.year_width = ascii_width(dc, year);
    s.year_left = (s.client.right - s.client.left - s.year_width) / 2;
    draw_year_box(dc, year, s.year_left, s.year_width, l);
    // The arrows stay where the first year put them.
    if (!s.arrows_placed) {
        s.arrow_width = ascii_width(dc, "  <<  ");
        s.left_arrow = s.year_left - s.arrow_width - ARROW_GAP;
        s.right_arrow = s.year_left + s.year_width + ARROW_GAP;
        s.arrows_placed = true;
    }
    draw_year_box(dc, "  <<  ", s.left_arrow, s.arrow_width, l);
    draw_year_box(dc, "  >>  ", s.right_arrow, s.arrow_width, l);
}

}  // namespace

void draw_day_cell(CalendarState& s, int32_t day, bool highlighted) {
    if (day < 1 || day > 31) return;
    plat::Dc* dc = s.dc;
    const CalendarLayout& l = s.layout;
    const Cell cell = day_cell(s, day);
    const int32_t x = l.grid_left + cell.column * l.cell_width + 1;
    const int32_t y = l.grid_top + cell.row * l.cell_height + 1;
    plat::fill_rect(dc, {x, y, x - 1 + l.cell_width, y - 1 + l.cell_height},
                    highlighted ? palette().text : palette().ground);
    colours(dc, highlighted);
    draw_ascii(dc, NUMBERS + 2 * (day - 1), 2, box(x, y, l.cell_width, l.cell_height));
}

void paint_calendar(CalendarState& s) {
    plat::Dc* dc = s.dc;
    if (!dc) return;
    const CalendarLayout& l = s.layout;
    plat::Font* previous = plat::select_font(dc, s.normal_font);

    if (s.redraw & REDRAW_BUTTONS) {
        if (s.redraw & REDRAW_ADAR_GAP) {
            // The strip between the two Adar buttons.
            const MonthButton& b = s.buttons[13];
            plat::fill_rect(dc, {b.right - 1, b.top + 1, b.right + 1, b.bottom - 1},
                            plat::system_color(plat::COLOR_BTNFACE));
        }
        for (int m = 1; m < MONTH_BUTTONS && s.buttons[m].label; ++m)
            draw_button(s, s.buttons[m], false);
    }

    // The day grid: the header row and the week rows.
    const int32_t rows = week_rows_needed(s);
    for (int32_t row = 0; row <= rows; ++row)
        for (int32_t col = 0; col < 7; ++col) {
            const int32_t x = l.grid_left + col * l.cell_width;
            const int32_t y = l.grid_top + row * l.cell_height;
            plat::draw_rectangle(dc, {x, y, x + l.cell_width + 1, y + l.cell_height + 1},
                                 palette().text, palette().ground);
        }
    plat::select_font(dc, s.bold_font);
    colours(dc, false);
    for (int32_t col = 0; col < 7; ++col)
        draw_ascii(dc, WEEKDAYS + col, 1,
                   box(l.grid_left + col * l.cell_width + 1, l.grid_top + 1, l.cell_width - 2,
                       l.cell_height - 2));
    for (int32_t k = 0; k <= rows + 1; ++k) {
        const int32_t y = l.grid_top + k * l.cell_height;
        plat::fill_rect(dc, {l.grid_left, y, l.grid_left + l.grid_width, y + 1}, palette().text);
    }
    // A five-row month after a six-row one: the sixth row goes.
    if (rows == 5 && s.week_rows == 6)
        plat::fill_rect(dc,
                        {l.grid_left, l.grid_top + 6 * l.cell_height + 1,
                         l.grid_left + l.grid_width, l.grid_top + 7 * l.cell_height + 1},
                        plat::system_color(plat::COLOR_BTNFACE));
    int32_t filled = 0;
    for (int32_t day = 1; day <= s.month_length && day <= 31; ++day) {
        const Cell cell = day_cell(s, day);
        draw_ascii(
            dc, NUMBERS + 2 * (day - 1), 2,
            box(l.grid_left + cell.column * l.cell_width + 1,
                l.grid_top + cell.row * l.cell_height + 1, l.cell_width - 2, l.cell_height - 2));
        filled = cell.row;
    }
    s.week_rows = static_cast<uint8_t>(filled);

    plat::select_font(dc, s.normal_font);
    if (s.displayed.month >= 1 && s.displayed.month < MONTH_BUTTONS &&
        s.buttons[s.displayed.month].label)
        draw_button(s, s.buttons[s.displayed.month], true);

    plat::select_font(dc, s.bold_font);
    if (s.displayed.year == s.marked.year && s.displayed.month == s.marked.month)
        draw_day_cell(s, s.marked.day, true);

    if (s.redraw & REDRAW_YEAR) draw_year_line(s);
    s.redraw = 0;
    plat::select_font(dc, previous);
}

}  // namespace lekta
