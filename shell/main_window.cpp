// The main window's procedure: creation and destruction, painting and sizing hand-offs, keys,
// the scroll bar, taps and commands.
#include "shell/main_window.h"

#include "search/search.h"
#include "shell/navigation.h"
#include "shell/night.h"
#include "shell/quit.h"
#include "shell/startup.h"
#include "shell/window_title.h"
#include "shell/zoom.h"
#include "state/reader.h"
#include "state/settings.h"
#include "state/settings_store.h"
#include "view/frame.h"
#include "view/selection.h"
#include "view/text_view.h"

namespace lekta {
namespace {

// A search hit may have moved to another day.
void search_shown() {
    update_bookmark_check();
    update_window_title();
}

void on_create(plat::Window* window) {
    g_reader.main_window = window;
    g_search_shown_hook = search_shown;
    g_search_out_of_memory = out_of_memory_stop;
    create_bars(window);
    apply_night();
    open_lesson_view(window);
    toggle_reverse(CHECK_SET);
    update_bookmark_check();
    update_window_title();
}

void on_destroy(plat::Window* window) {
    Settings& s = g_settings;
    Reader& r = g_reader;
    const plat::Rect place = plat::window_placement(window);
    if (place.right > place.left && place.bottom > place.top) {
        s.window_left = place.left;
        s.window_top = place.top;
        s.window_width = place.right - place.left;
        s.window_height = place.bottom - place.top;
    }
    if (r.view) plat::release_dc(window, r.view->dc);
    plat::destroy_bar(r.bar_window);
    r.bar_window = nullptr;
    save_settings_and_quit();
}

}  // namespace

intptr_t main_window_proc(plat::Window* window, uint32_t message, uintptr_t wparam,
                          intptr_t lparam) {
    switch (message) {
        case plat::WM_CREATE:
            on_create(window);
            return 0;
        case plat::WM_DESTROY:
            on_destroy(window);
            return 0;
        case plat::WM_SIZE:
            resize_frame(window, plat::client_size(lparam).x, plat::client_size(lparam).y);
            return 0;
        case plat::WM_ACTIVATE:
            // Nothing to re-apply on activation: the window keeps its own state.
            return 0;
        case plat::WM_PAINT:
            paint_window(reinterpret_cast<plat::Dc*>(wparam), window, PAINT_EVERYTHING);
            return 0;
        case plat::WM_HELP:
            dispatch_command(window, CMD_ABOUT);
            return 0;
        case plat::WM_KEYDOWN:
            return handle_key(window, static_cast<uint32_t>(wparam), plat::shift_held(lparam));
        case plat::WM_COMMAND:
            dispatch_command(window, wparam);
            return 0;
        case plat::WM_VSCROLL:
            handle_vscroll(window, plat::scroll_request(wparam), plat::thumb_position(wparam));
            return 1;
        case plat::WM_MOUSEWHEEL:
            // Ctrl+wheel zooms; the platform scrolls by the plain wheel itself.
            if (wparam & plat::MK_CONTROL) zoom(window, plat::wheel_delta(wparam) > 0 ? 1 : -1);
            return 0;
        case plat::WM_LBUTTONDOWN:
            press_pointer(window, plat::tap_point(lparam).x, plat::tap_point(lparam).y);
            return 0;
        case plat::WM_MOUSEMOVE:
            if (wparam & plat::MK_LBUTTON)
                move_pointer(window, plat::tap_point(lparam).x, plat::tap_point(lparam).y);
            return 0;
        case plat::WM_LBUTTONUP:
            release_pointer(window);
            return 0;
        case plat::WM_CLOSE:
        case WM_CLOSE_MAIN:
            plat::destroy_window(window);
            return 0;
        default:
            return 0;
    }
}

}  // namespace lekta
