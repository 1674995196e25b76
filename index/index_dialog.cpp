#include "index/index_dialog.h"

#include "bookmarks/bookmarks.h"
#include "index/index_actions.h"
#include "index/index_cursor.h"
#include "state/current_day.h"
#include "store/lesson_store.h"
#include "view/palette.h"

namespace lekta {
namespace {

constexpr uint32_t DIALOG_FLAGS = plat::DIALOG_FULL_SCREEN;

// What one run of the dialog keeps; given to run_dialog and read back from the dialog.
struct IndexDialog {
    plat::Window* dialog = nullptr;
    plat::Dc* dc = nullptr;
    plat::Rect rect;  // the client area less the scroll bar
    IndexTree* tree = nullptr;
    FontSpec font_spec;
    uint16_t current_key = 0;
    uint16_t result = 0;
    IndexCursor cursor;
    uint32_t branch_size = 0;  // the bookmarks branch's bytes at the list's start
    bool chose_bookmark = false;
};
IndexDialog* g_open = nullptr;  // while a dialog runs, for index_dialog_tree

const plat::DialogTemplate TEMPLATE{u"Choose Section", 160, 160, {}, true, true};

plat::Rect tree_rect(plat::Window* dialog) {
    plat::Rect rect = plat::client_rect(dialog);
    rect.right -= plat::system_metric(plat::SM_CXVSCROLL);
    if (rect.right < rect.left) rect.right = rect.left;
    return rect;
}

// Sets the dialog's scroll bar from its tree: range 0 to the max top row, at the top row.
void update_scroll_bar(const IndexDialog& d) {
    if (!d.dialog || !d.tree) return;
    plat::set_scroll_info(d.dialog, 0, d.tree->max_top, d.tree->top_row);
}

void open_tree(IndexDialog& d, plat::Window* dialog) {
    d.dialog = dialog;
    d.dc = plat::get_dc(dialog);
    d.rect = tree_rect(dialog);
    // The index of the arrangement the current schedule year reads.
    LessonText list = prepend_bookmark_branch(fetch_index_text(is_leap_cycle()), &d.branch_size);
    d.tree = create_index_tree(d.dc, d.rect, d.font_spec, INDEX_DIALOG_CAPACITY);
    // A missing or damaged index leaves the tree empty; the dialog still closes as usual.
    layout_index(d.tree, &list, RELAYOUT_LIST);
    reveal_lesson(d.tree, d.current_key);
    if (d.tree) place_cursor(*d.tree, d.cursor, d.current_key);
    update_scroll_bar(d);
}

// The focus frame on the cursor's entry once the keys move it, else round the whole tree; a
// screen reader follows the cursor.
void show_cursor(IndexDialog& d) {
    IndexTree* tree = d.tree;
    if (!tree || !d.dialog) return;
    settle_cursor(*tree, d.cursor);
    plat::set_focus_rect(d.dialog, d.cursor.active ? cursor_rect(*tree, d.cursor) : plat::Rect{});
    plat::accessible_changed(d.dialog, plat::AccessibleChange::content);
    if (d.cursor.active)
        plat::accessible_changed(d.dialog, plat::AccessibleChange::focus,
                                 cursor_node(*tree, d.cursor));
}

void accessible_nodes(plat::Window* dialog, std::vector<plat::AccessibleNode>& nodes) {
    const auto* dp = static_cast<const IndexDialog*>(plat::dialog_data(dialog));
    if (!dp) return;
    const IndexDialog& d = *dp;
    if (d.tree) index_accessible_nodes(*d.tree, d.cursor, nodes);
}

// The cursor's keys; false for keys that are not its own.
bool on_cursor(IndexDialog& d, const CursorResult& r) {
    if (!r.handled) return false;
    d.cursor.active = true;
    update_scroll_bar(d);
    if (r.chosen) {
        d.result = r.chosen;
        const IndexTree* tree = d.tree;
        d.chose_bookmark =
            tree && d.cursor.line >= 0 && tree->lines[d.cursor.line].offset < d.branch_size;
        plat::end_dialog(d.dialog, 1);
        return true;
    }
    show_cursor(d);
    return true;
}

// A new size keeps what the user opened; entries shown by their stored attribute come back.
void resize_tree(IndexDialog& d, plat::Window* dialog) {
    IndexTree* tree = d.tree;
    if (!tree) return;
    const std::vector<OpenEntry> open = save_open_state(*tree);
    d.rect = tree_rect(dialog);
    tree->left = d.rect.left;
    tree->top = d.rect.top;
    resize_index(tree, d.rect.right - d.rect.left, d.rect.bottom - d.rect.top);
    restore_open_state(tree, open);
    if (tree->max_top == 0) tree->top_row = 0;
    draw_index(tree, DRAW_ERASE);
    update_scroll_bar(d);
    show_cursor(d);
}

// The tree scrolled by the scrolling keys or the bar: a cursor scrolled out of view comes along.
void keep_cursor_in_view(IndexDialog& d) {
    if (!d.tree) return;
    cursor_into_view(*d.tree, d.cursor);
    show_cursor(d);
}

int32_t scroll_request_delta(const IndexTree& tree, uint32_t request, int32_t position) {
    switch (request) {
        case plat::SB_LINEUP:
            return -1;
        case plat::SB_LINEDOWN:
            return 1;
        case plat::SB_PAGEUP:
            return -tree.lines_drawn;
        case plat::SB_PAGEDOWN:
            return tree.lines_drawn;
        case plat::SB_THUMBPOSITION:
        case plat::SB_THUMBTRACK:
            return position - tree.top_row;
        case plat::SB_TOP:
            return -tree.top_row;
        case plat::SB_BOTTOM:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

const plat::DialogTemplate& index_dialog_template() {
    return TEMPLATE;
}

IndexTree* index_dialog_tree() {
    return g_open ? g_open->tree : nullptr;
}

uint16_t open_index_dialog(plat::Window* owner, uint16_t current_key, const FontSpec& font_spec,
                           bool* chose_bookmark) {
    IndexDialog d;
    d.font_spec = font_spec;
    d.current_key = current_key;
    d.result = current_key;
    IndexDialog* const outer = g_open;
    g_open = &d;
    plat::run_dialog(owner, TEMPLATE, index_dialog_proc, 0, &d);
    g_open = outer;
    if (chose_bookmark) *chose_bookmark = d.chose_bookmark;
    return d.result;
}

intptr_t index_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                           intptr_t lparam) {
    auto* dp = static_cast<IndexDialog*>(plat::dialog_data(dialog));
    if (!dp) return 0;
    IndexDialog& d = *dp;
    IndexTree* tree = d.tree;
    switch (message) {
        case plat::WM_INITDIALOG:
            open_tree(d, dialog);
            plat::init_full_screen_dialog(dialog, DIALOG_FLAGS);
            plat::set_accessible_source(dialog, accessible_nodes);
            return 0;
        case plat::WM_LBUTTONDOWN: {
            const plat::MessagePoint p = plat::tap_point(lparam);
            uint16_t line = 0;
            const int32_t hit = index_tap(tree, p.x, p.y, &line);
            if (hit > 0) {
                d.result = static_cast<uint16_t>(hit);
                d.chose_bookmark = tree->lines[line].offset < d.branch_size;
                plat::end_dialog(dialog, 1);
            } else if (hit < 0) {
                update_scroll_bar(d);
                show_cursor(d);
            }
            return 0;
        }
        case plat::WM_SETFOCUS:
            // Tabbing into the tree hands its keys to the cursor.
            if (wparam == 1) d.cursor.active = true;
            show_cursor(d);
            return 0;
        case plat::WM_GETDLGCODE:
            return d.cursor.active && wparam == plat::VK_RETURN ? plat::DLGC_WANTMESSAGE : 0;
        case plat::WM_CHAR:
            on_cursor(d, cursor_char(tree, d.cursor, static_cast<char16_t>(wparam)));
            return 0;
        case plat::WM_KEYDOWN: {
            const bool cursor_own =
                wparam == plat::VK_RIGHT || wparam == plat::VK_LEFT || wparam == plat::VK_RETURN ||
                (d.cursor.active && (wparam == plat::VK_UP || wparam == plat::VK_DOWN));
            if (cursor_own && on_cursor(d, cursor_key(tree, d.cursor, uint32_t(wparam)))) return 0;
            // Page keys step one row, like the arrows.
            int32_t delta = 0;
            if (wparam == plat::VK_PRIOR || wparam == plat::VK_UP) delta = -1;
            if (wparam == plat::VK_NEXT || wparam == plat::VK_DOWN) delta = 1;
            if (delta == 0) return 1;
            scroll_index(tree, delta, SCROLL_AND_DRAW, true);
            update_scroll_bar(d);
            keep_cursor_in_view(d);
            return 0;
        }
        case plat::WM_VSCROLL: {
            if (!tree) return 1;
            const int32_t delta = scroll_request_delta(*tree, plat::scroll_request(wparam),
                                                       plat::thumb_position(wparam));
            if (delta != 0) {
                scroll_index(tree, delta, SCROLL_AND_DRAW, true);
                update_scroll_bar(d);
                keep_cursor_in_view(d);
            }
            return 1;
        }
        case plat::WM_COMMAND:
            if (plat::command_id(wparam) == plat::IDOK) {
                plat::end_dialog(dialog, 1);
            } else if (plat::command_id(wparam) == plat::IDCANCEL) {
                d.result = 0;
                plat::end_dialog(dialog, 2);
            }
            return 1;
        case plat::WM_SIZE:
            resize_tree(d, dialog);
            return 0;
        case plat::WM_PAINT:
            draw_index(tree, DRAW_ERASE);
            return 0;
        case plat::WM_ERASEBKGND:
            // The paint that follows draws the tree over it.
            plat::fill_rect(reinterpret_cast<plat::Dc*>(wparam), d.rect, palette().ground);
            return 1;
        case plat::WM_DESTROY:
            plat::release_dc(dialog, d.dc);
            destroy_index_tree(tree);
            d.tree = nullptr;
            d.dc = nullptr;
            d.dialog = nullptr;
            return 0;
        default:
            return 0;
    }
}

}  // namespace lekta
