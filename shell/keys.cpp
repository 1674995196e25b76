// Keys and scroll-bar requests of the main window: row steps for the text view, and the day
// arrows.
#include "shell/main_window.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/selection.h"
#include "view/text_view.h"

namespace lekta {
namespace {

// The scroll bar pages by a page less one row in every page mode.
constexpr uint32_t FULL_PAGE = 1;

void scroll_rows(plat::Window* window, int32_t rows) {
    scroll_by(g_reader.view, rows, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE);
    update_scroll_bar(window);
}

// Shift with an arrow moves the selection's end; the arrows alone and the page keys keep their
// own meaning and let the selection go.
SelectStep select_step(uint32_t key) {
    switch (key) {
        case plat::VK_LEFT:
            return SelectStep::left;
        case plat::VK_RIGHT:
            return SelectStep::right;
        case plat::VK_UP:
            return SelectStep::up;
        default:
            return SelectStep::down;
    }
}

bool is_moving_key(uint32_t key) {
    return key >= plat::VK_PRIOR && key <= plat::VK_DOWN;
}

}  // namespace

intptr_t handle_key(plat::Window* window, uint32_t key, bool shift) {
    const Settings& s = g_settings;
    const Reader& r = g_reader;
    TextView* view = r.view;
    if (view && shift && key >= plat::VK_LEFT && key <= plat::VK_DOWN) {
        extend_selection(view, select_step(key));
        update_scroll_bar(window);
        return 0;
    }
    if (key == plat::VK_ESCAPE) return clear_selection(view) ? 0 : 1;
    if (is_moving_key(key)) clear_selection(view);
    // Without a view there is nothing to scroll; the day keys still work.
    const uint32_t mode = key_page_mode(s.flags);
    switch (key) {
        case plat::VK_RETURN:
            if (s.search_string[0]) dispatch_command(window, CMD_SEARCH_AGAIN);
            return 0;
        case plat::VK_PRIOR:
            if (view) scroll_rows(window, page_step(*view, false, mode));
            return 0;
        case plat::VK_NEXT:
            if (view) scroll_rows(window, page_step(*view, true, mode));
            return 0;
        case plat::VK_HOME:
            if (view)
                scroll_rows(window, view->top_row ? -int32_t{view->top_row}
                                                  : page_step(*view, false, mode));
            return 0;
        case plat::VK_END:
            if (view)
                scroll_rows(window, view->max_top_row ? int32_t{view->max_top_row}
                                                      : page_step(*view, true, mode));
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
    TextView* view = g_reader.view;
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
            amount = page_step(*view, false, FULL_PAGE);
            break;
        case plat::SB_PAGEDOWN:
            amount = page_step(*view, true, FULL_PAGE);
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
