#include "index/index_dialog.h"

#include "bookmarks/bookmarks.h"
#include "index/index_actions.h"
#include "store/lesson_store.h"
#include "view/palette.h"

namespace lekta {
namespace {

constexpr uint32_t DIALOG_FLAGS = plat::DIALOG_FULL_SCREEN;

// One dialog at a time.
struct IndexDialog {
    plat::Window* dialog = nullptr;
    plat::Dc* dc = nullptr;
    plat::Rect rect;  // the client area less the scroll bar
    IndexTree* tree = nullptr;
    FontSpec font_spec;
    uint16_t current_key = 0;
    uint16_t result = 0;
};
IndexDialog g_dialog;

const plat::DialogTemplate TEMPLATE{u"Choose Section", 160, 160, {}, true, true};

plat::Rect tree_rect(plat::Window* dialog) {
    plat::Rect rect = plat::client_rect(dialog);
    rect.right -= plat::system_metric(plat::SM_CXVSCROLL);
    if (rect.right < rect.left) rect.right = rect.left;
    return rect;
}

void open_tree(plat::Window* dialog) {
    g_dialog.dialog = dialog;
    g_dialog.dc = plat::get_dc(dialog);
    g_dialog.rect = tree_rect(dialog);
    LessonText list = prepend_bookmark_branch(fetch_lesson_text(INDEX_LESSON_KEY));
    g_dialog.tree =
        create_index_tree(g_dialog.dc, g_dialog.rect, g_dialog.font_spec, INDEX_DIALOG_CAPACITY);
    // A missing or damaged index leaves the tree empty; the dialog still closes as usual.
    layout_index(g_dialog.tree, &list, RELAYOUT_LIST);
    reveal_lesson(g_dialog.tree, g_dialog.current_key);
    update_index_scroll_bar();
}

// A new size keeps what the user opened; entries shown by their stored attribute come back.
void resize_tree(plat::Window* dialog) {
    IndexTree* tree = g_dialog.tree;
    if (!tree) return;
    const std::vector<OpenEntry> open = save_open_state(*tree);
    g_dialog.rect = tree_rect(dialog);
    tree->left = g_dialog.rect.left;
    tree->top = g_dialog.rect.top;
    resize_index(tree, g_dialog.rect.right - g_dialog.rect.left,
                 g_dialog.rect.bottom - g_dialog.rect.top);
    restore_open_state(tree, open);
    if (tree->max_top == 0) tree->top_row = 0;
    draw_index(tree, DRAW_ERASE);
    update_index_scroll_bar();
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
    return g_dialog.tree;
}

void update_index_scroll_bar() {
    if (!g_dialog.dialog || !g_dialog.tree) return;
    plat::set_scroll_info(g_dialog.dialog, 0, g_dialog.tree->max_top, g_dialog.tree->top_row);
}

uint16_t open_index_dialog(plat::Window* owner, uint16_t current_key, const FontSpec& font_spec) {
    g_dialog = IndexDialog{};
    g_dialog.font_spec = font_spec;
    g_dialog.current_key = current_key;
    g_dialog.result = current_key;
    plat::run_dialog(owner, TEMPLATE, index_dialog_proc, 0);
    const uint16_t result = g_dialog.result;
    g_dialog = IndexDialog{};
    return result;
}

intptr_t index_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                           intptr_t lparam) {
    IndexTree* tree = g_dialog.tree;
    switch (message) {
        case plat::WM_INITDIALOG:
            open_tree(dialog);
            plat::init_full_screen_dialog(dialog, DIALOG_FLAGS);
            return 0;
        case plat::WM_LBUTTONDOWN: {
            const plat::MessagePoint p = plat::tap_point(lparam);
            const int32_t hit = index_tap(tree, p.x, p.y);
            if (hit > 0) {
                g_dialog.result = static_cast<uint16_t>(hit);
                plat::end_dialog(dialog, 1);
            } else if (hit < 0) {
                update_index_scroll_bar();
            }
            return 0;
        }
        case plat::WM_KEYDOWN: {
            // Page keys step one row, like the arrows.
            int32_t delta = 0;
            if (wparam == plat::VK_PRIOR || wparam == plat::VK_UP) delta = -1;
            if (wparam == plat::VK_NEXT || wparam == plat::VK_DOWN) delta = 1;
            if (delta == 0) return 1;
            scroll_index(tree, delta, SCROLL_AND_DRAW, true);
            update_index_scroll_bar();
            return 0;
        }
        case plat::WM_VSCROLL: {
            if (!tree) return 1;
            const int32_t delta = scroll_request_delta(*tree, plat::scroll_request(wparam),
                                                       plat::thumb_position(wparam));
            if (delta != 0) {
                scroll_index(tree, delta, SCROLL_AND_DRAW, true);
                update_index_scroll_bar();
            }
            return 1;
        }
        case plat::WM_COMMAND:
            if (plat::command_id(wparam) == plat::IDOK) {
                plat::end_dialog(dialog, 1);
            } else if (plat::command_id(wparam) == plat::IDCANCEL) {
                g_dialog.result = 0;
                plat::end_dialog(dialog, 2);
            }
            return 1;
        case plat::WM_SIZE:
            resize_tree(dialog);
            return 0;
        case plat::WM_PAINT:
            draw_index(tree, DRAW_ERASE);
            return 0;
        case plat::WM_ERASEBKGND:
            // The paint that follows draws the tree over it.
            plat::fill_rect(reinterpret_cast<plat::Dc*>(wparam), g_dialog.rect, palette().ground);
            return 1;
        case plat::WM_DESTROY:
            plat::release_dc(dialog, g_dialog.dc);
            destroy_index_tree(tree);
            g_dialog.tree = nullptr;
            g_dialog.dc = nullptr;
            g_dialog.dialog = nullptr;
            return 0;
        default:
            return 0;
    }
}

}  // namespace lekta
