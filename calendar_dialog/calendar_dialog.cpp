#include "calendar_dialog/calendar_dialog.h"

#include <algorithm>
#include <iterator>

#include "calendar_dialog/calendar_dialog_template.h"
#include "calendar_dialog/calendar_paint.h"
#include "calendar_dialog/calendar_state.h"
#include "platform/dialog.h"

namespace lekta {
namespace {

constexpr int32_t FONT_HEIGHT = 14;
constexpr char16_t DEFAULT_FACE[] = u"David";

void layout(CalendarState& s) {
    s.client = plat::client_rect(s.dialog);
    plat::Font* previous = plat::select_font(s.dc, s.bold_font);
    const int32_t text_height = plat::text_metrics(s.dc).height;
    plat::select_font(s.dc, previous);
    calendar_layout(s, text_height);
}

// After a change of month or year: the new month, drawn at once.
void redisplay(CalendarState& s) {
    paint_calendar(s);
}

void on_key(CalendarState& s, uint32_t key) {
    switch (key) {
        case plat::VK_UP:
        case plat::VK_PRIOR:
            step_month(s, -1);
            break;
        case plat::VK_DOWN:
        case plat::VK_NEXT:
            step_month(s, 1);
            break;
        case plat::VK_LEFT:
            step_year_by_key(s, -1);
            break;
        case plat::VK_RIGHT:
            step_year_by_key(s, 1);
            break;
        default:
            return;
    }
    redisplay(s);
}

void on_tap(CalendarState& s, int32_t x, int32_t y) {
    if (const int32_t month = month_button_at(s, x, y)) {
        if (month != s.displayed.month) {
            s.displayed.month = month;
            clamp_and_show(s);
            redisplay(s);
        }
        return;
    }
    if (const int32_t step = year_arrow_at(s, x, y)) {
        step_year_by_arrow(s, step);
        redisplay(s);
        return;
    }
    const int32_t day = day_at(s, x, y);
    if (day == 0) return;
    s.selected_day += day - s.displayed.day;
    draw_day_cell(s, s.displayed.day, false);
    draw_day_cell(s, day, true);
    s.displayed.day = day;
    s.marked = s.displayed;
    plat::end_dialog(s.dialog, plat::IDOK);
}

}  // namespace

intptr_t calendar_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                              intptr_t lparam) {
    CalendarState& s = g_calendar;
    switch (message) {
        case plat::WM_INITDIALOG:
            plat::init_full_screen_dialog(dialog, plat::DIALOG_FULL_SCREEN);
            s.dialog = dialog;
            s.dc = plat::get_dc(dialog);
            layout(s);
            s.redraw |= REDRAW_ALL;
            return 0;
        case plat::WM_SIZE:
            if (s.dc) layout(s);
            return 0;
        case plat::WM_ERASEBKGND: {
            s.redraw |= REDRAW_ALL;
            auto* dc = reinterpret_cast<plat::Dc*>(wparam);
            plat::fill_rect(dc, plat::client_rect(dialog), plat::system_color(plat::COLOR_BTNFACE));
            plat::invalidate(dialog, false);
            return 1;
        }
        case plat::WM_PAINT:
            paint_calendar(s);
            return 0;
        case plat::WM_DESTROY:
            plat::release_dc(dialog, s.dc);
            s.dc = nullptr;
            return 0;
        case plat::WM_COMMAND: {
            const int32_t id = plat::command_id(wparam);
            if (id != plat::IDOK && id != plat::IDCANCEL) return 0;
            s.selected_day = 0;
            plat::end_dialog(dialog, id);
            return 1;
        }
        case plat::WM_KEYDOWN:
            on_key(s, static_cast<uint32_t>(wparam));
            return 0;
        case plat::WM_LBUTTONDOWN:
            on_tap(s, plat::tap_point(lparam).x, plat::tap_point(lparam).y);
            return 0;
        default:
            return 0;
    }
}

int32_t choose_date(plat::Window* owner, int32_t current_day, const FontSpec& font_spec) {
    CalendarState& s = g_calendar;
    s = CalendarState{};
    plat::FontDesc desc;
    desc.height = FONT_HEIGHT;
    if (font_spec.face_name[0] != 0)
        std::copy(std::begin(font_spec.face_name), std::end(font_spec.face_name) - 1, desc.face);
    else
        std::copy(std::begin(DEFAULT_FACE), std::end(DEFAULT_FACE), desc.face);
    desc.weight = 400;
    s.normal_font = plat::create_font(desc);
    desc.weight = 700;
    s.bold_font = plat::create_font(desc);
    show_date(s, current_day, true);

    // A dialog that could not be shown chose nothing.
    if (plat::run_dialog(owner, CALENDAR_DIALOG, calendar_dialog_proc, 0) == -1) s.selected_day = 0;

    plat::delete_font(s.normal_font);
    plat::delete_font(s.bold_font);
    s.normal_font = s.bold_font = nullptr;
    return s.selected_day;
}

}  // namespace lekta
