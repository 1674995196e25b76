// The commands of the menu and the tool buttons, and the menu's check marks.
#include <cstdint>
#include <limits>

#include "about/about_box.h"
#include "about/update_check.h"
#include "bookmarks/bookmarks.h"
#include "calendar_dialog/calendar_dialog.h"
#include "export/clipboard_export.h"
#include "font_chooser/font_command.h"
#include "index/index_dialog.h"
#include "search/search.h"
#include "search/search_dialog.h"
#include "shell/export_year.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "shell/night.h"
#include "shell/startup.h"
#include "shell/zoom.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/frame.h"
#include "view/selection.h"
#include "view/text_view.h"

namespace lekta {
namespace {

// The day before or after the current one. The stored day comes from the settings file, so
// it may lie at the end of the range: it stays there rather than wrapping round.
int32_t day_after(int32_t day, int32_t step) {
    const int64_t next = int64_t{day} + step;
    if (next > std::numeric_limits<int32_t>::max() || next < std::numeric_limits<int32_t>::min())
        return day;
    return static_cast<int32_t>(next);
}

void copy_lesson(bool append) {
    if (copy_to_clipboard(g_reader.view, append) == EXPORT_OUT_OF_MEMORY) out_of_memory_stop();
}

}  // namespace

int step_day(plat::Window* window, int32_t step) {
    return go_to_day(window, day_after(g_settings.current_day, step));
}

int32_t open_calendar(plat::Window* owner, int32_t current_day) {
    return choose_date(owner, current_day, g_settings.font_spec);
}

int dispatch_command(plat::Window* window, uintptr_t command) {
    switch (static_cast<uint16_t>(command & 0xFFFF)) {
        case CMD_NIGHT:
            toggle_night(window);
            return 0;
        case CMD_EXPORT_YEAR:
            export_year(window);
            return 0;
        case CMD_ZOOM_IN:
            zoom(window, 1);
            return 0;
        case CMD_ZOOM_OUT:
            zoom(window, -1);
            return 0;
        case CMD_ZOOM_RESET:
            zoom(window, 0);
            return 0;
        case CMD_CALENDAR: {
            const int32_t day = open_calendar(window, g_settings.current_day);
            if (day != 0 && day != g_settings.current_day) go_to_day(window, day);
            return 0;
        }
        case CMD_TODAY:
            go_to_day(window, 0);
            return 0;
        case CMD_NEXT_DAY:
            step_day(window, 1);
            return 0;
        case CMD_PREVIOUS_DAY:
            step_day(window, -1);
            return 0;
        case CMD_SEARCH:
            run_search_dialog(window);
            return 0;
            return 0;
        case CMD_SEARCH_AGAIN:
            search_next(window);
            return 0;
        case CMD_REVERSE:
            toggle_reverse(CHECK_FLIP);
            // The same lines, drawn the other way round: no new layout. The date below turns
            // with them.
            repaint_window(window, PAINT_EVERYTHING);
            return 0;
        case CMD_MENU:
            plat::open_bar_menu(g_reader.bar_window);
            return 0;
        case CMD_FONT:
            choose_font_command(window);
            return 0;
        case CMD_INDEX: {
            Settings& s = g_settings;
            bool bookmark = false;
            const uint16_t key =
                open_index_dialog(window, s.current_lesson, s.font_spec, &bookmark);
            if (key == 0 || key == s.current_lesson) return 0;
            // A bookmark names one lesson; a section the place where it begins this year.
            if (bookmark) {
                go_to_bookmark(window, key);
            } else {
                go_to_section(window, key);
            }
            return 0;
        }
        case CMD_BOOKMARK:
            bookmark_toggle(window);
            update_bookmark_check();
            return 0;
        case CMD_EXIT:
            plat::destroy_window(window);
            return 0;
        case CMD_ABOUT:
            show_about_box(window);
            return 0;
        case CMD_CHECK_UPDATES:
            build_update_url(window);
            return 0;
        case CMD_COPY:
            copy_lesson(false);
            return 0;
        case CMD_APPEND:
            copy_lesson(true);
            return 0;
        case CMD_SELECT_ALL:
            select_all(g_reader.view);
            return 0;
        default:
            // Not one of ours.
            return 1;
    }
}

bool set_menu_check(plat::Menu* menu, CheckMode mode, uint16_t id, int value) {
    const bool checked = mode == CHECK_SET ? value != 0 : !plat::menu_item_checked(menu, id);
    plat::check_menu_item(menu, id, checked);
    return checked;
}

void update_bookmark_check() {
    show_bookmark_check(main_menu(), CMD_BOOKMARK);
}

void toggle_reverse(CheckMode mode) {
    Settings& s = g_settings;
    plat::Menu* menu = main_menu();
    bool reversed = (s.flags & FLAG_REVERSE) != 0;
    if (menu)
        reversed = set_menu_check(menu, mode, CMD_REVERSE, reversed ? 1 : 0);
    else if (mode == CHECK_FLIP)
        reversed = !reversed;  // no check mark to read: the flag alone flips
    if (reversed)
        s.flags |= FLAG_REVERSE;
    else
        s.flags &= ~FLAG_REVERSE;
}

}  // namespace lekta
