// Keys and scroll-bar requests of the main window: row steps for the text view, and the day
// arrows.
#include "shell/main_window.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta {
namespace {

void scroll_rows(plat::Window* window, int32_t rows) {
    scroll_by(g_settings.view, rows, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE);
    update_scroll_bar(window);
}

}  // namespace

intptr_t handle_key(plat::Window* window, uint32_t key) {
    const Settings& s = g_settings;
    const TextView* view = s.view;
    // Without a view there is nothing to scroll; the day keys still work.
    const int32_t page = view ? page_amount(rows_in_view(*view), key_page_mode(s.flags)) : 0;
    switch (key) {
        case plat::VK_RETURN:
            if (s.search_string[0]) dispatch_command(window, CMD_SEARCH_AGAIN);
            return 0;
        case plat::VK_PRIOR:
            if (view) scroll_rows(window, -page);
            return 0;
        case plat::VK_NEXT:
            if (view) scroll_rows(window, page);
            return 0;
        case plat::VK_HOME:
            if (view) scroll_rows(window, view->top_row ? -int32_t{view->top_row} : -page);
            return 0;
        case plat::VK_END:
            if (view) scroll_rows(window, view->max_top_row ? int32_t{view->max_top_row} : page);
            return 0;
        case plat::VK_UP:
            if (view) scroll_rows(window, -1);
            return 0;
        case plat::VK_DOWN:
            if (view) scroll_rows(window, 1);
            return 0;
        case plat::VK_LEFT:
            step_day(window, -1);
            return 0;
        case plat::VK_RIGHT:
            step_day(window, 1);
            return 0;
        default:
            return 1;
    }
}

void handle_vscroll(plat::Window* window, uint32_t request, int32_t position) {
    TextView* view = g_settings.view;
    if (!view) return;
    int32_t amount = 0;
    switch (request) {
        case plat::SB_LINEUP:
            amount = -1;
            break;
        case plat::SB_LINEDOWN:
            amount = 1;
            break;
        case plat::SB_PAGEUP:
            amount = 1 - rows_in_view(*view);
            break;
        case plat::SB_PAGEDOWN:
            amount = rows_in_view(*view) - 1;
            break;
        case plat::SB_THUMBPOSITION:
        case plat::SB_THUMBTRACK:
            amount = position - view->top_row;
            break;
        case plat::SB_TOP:
            amount = -int32_t{view->top_row};
            break;
        case plat::SB_BOTTOM:
            // To the last full page, as SB_TOP goes to the first.
            amount = int32_t{view->max_top_row} - view->top_row;
            break;
        default:
            break;
    }
    if (amount == 0) return;
    scroll_by(view, amount, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE);
    update_scroll_bar(window);
}

}  // namespace lekta
