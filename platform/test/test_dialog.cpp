#include "platform/test/test_dialog.h"

#include <algorithm>
#include <deque>

#include "platform/test/test_text.h"

namespace lekta::testplat {
namespace {

constexpr plat::BaseUnits BASE_UNITS{8, 16};

std::deque<DialogScript> g_scripts;
std::vector<DialogRun> g_runs;
std::vector<Message> g_messages;

bool live_dialog(const plat::Window* w) {
    return w && w->kind == plat::Window::Kind::dialog && w->alive;
}

// A dialog the user can still act on.
bool open_dialog(const plat::Window* w) {
    return live_dialog(w) && !w->ended;
}

intptr_t deliver(plat::Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (!live_dialog(w) || !w->proc) return 0;
    g_messages.push_back({message, wparam, lparam});
    return w->proc(w, message, wparam, lparam);
}

intptr_t point_lparam(int32_t x, int32_t y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(y) & 0xFFFF) << 16 |
                                 (static_cast<uint32_t>(x) & 0xFFFF));
}

plat::Dc* dialog_dc(plat::Window* w) {
    if (!w->dc) w->dc = create_dc();
    return w->dc;
}

void paint_now(plat::Window* w) {
    if (!open_dialog(w)) return;
    w->paint_pending = w->erase_pending = false;
    plat::Dc* dc = dialog_dc(w);
    if (!deliver(w, plat::WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), 0))
        plat::fill_rect(dc, w->client, plat::system_color(plat::COLOR_BTNFACE));
    ++w->paints;
    deliver(w, plat::WM_PAINT, 0, 0);
    // The paint covers what was invalidated while erasing.
    w->paint_pending = w->erase_pending = false;
}

// What the loop does once the queue is empty: paint what was invalidated.
void settle(plat::Window* w) {
    if (!open_dialog(w) || !w->paint_pending) return;
    if (w->erase_pending) return paint_now(w);
    w->paint_pending = false;
    ++w->paints;
    deliver(w, plat::WM_PAINT, 0, 0);
}

bool less_ignoring_case(const std::u16string& a, const std::u16string& b) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [&](char16_t x, char16_t y) { return lower(x) < lower(y); });
}

bool starts_ignoring_case(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[i]) != lower(prefix[i])) return false;
    return true;
}

bool is_list(const plat::DialogControl& c) {
    return c.kind == plat::ControlKind::list_box || c.kind == plat::ControlKind::combo_box;
}

int32_t length_of(const plat::DialogControl& c) {
    return static_cast<int32_t>(c.text.size());
}

}  // namespace

plat::DialogControl* find_control(plat::Window* dialog, uint16_t id) {
    return dialog && dialog->kind == plat::Window::Kind::dialog ? dialog->find_control(id)
                                                                : nullptr;
}

void push_dialog_script(DialogScript script) {
    g_scripts.push_back(std::move(script));
}

int pending_dialog_scripts() {
    return static_cast<int>(g_scripts.size());
}

std::vector<DialogRun>& dialog_runs() {
    return g_runs;
}

std::vector<Message>& dialog_messages() {
    return g_messages;
}

void tap(plat::Window* dialog, int32_t x, int32_t y) {
    if (!open_dialog(dialog)) return;
    deliver(dialog, plat::WM_LBUTTONDOWN, 1, point_lparam(x, y));
    settle(dialog);
}

void press_key(plat::Window* dialog, uint32_t vk) {
    if (!open_dialog(dialog)) return;
    deliver(dialog, plat::WM_KEYDOWN, vk, 1);
    settle(dialog);
}

void type_char(plat::Window* dialog, char16_t c, uint32_t vk) {
    if (!open_dialog(dialog)) return;
    if (vk) deliver(dialog, plat::WM_KEYDOWN, vk, 1);
    if (open_dialog(dialog)) deliver(dialog, plat::WM_CHAR, c, 1);
    settle(dialog);
}

void press_return(plat::Window* dialog) {
    if (!open_dialog(dialog)) return;
    if (deliver(dialog, plat::WM_GETDLGCODE, plat::VK_RETURN, 0) & plat::DLGC_WANTMESSAGE)
        deliver(dialog, plat::WM_KEYDOWN, plat::VK_RETURN, 1);
    else
        deliver(dialog, plat::WM_COMMAND, uintptr_t{plat::IDOK}, 0);
    settle(dialog);
}

void focus_client(plat::Window* dialog, bool by_tab) {
    if (!open_dialog(dialog)) return;
    dialog->focus = plat::ID_NONE;
    deliver(dialog, plat::WM_SETFOCUS, by_tab ? 1 : 0, 0);
    settle(dialog);
}

void send_command(plat::Window* dialog, uint16_t id, uint16_t code) {
    if (!open_dialog(dialog)) return;
    deliver(dialog, plat::WM_COMMAND, uintptr_t{id} | uintptr_t{code} << 16, 0);
    settle(dialog);
}

void click(plat::Window* dialog, uint16_t id) {
    plat::DialogControl* c = find_control(dialog, id);
    if (!open_dialog(dialog) || !c || !c->enabled) return;
    if (c->kind == plat::ControlKind::auto_radio) {
        for (plat::DialogControl& other : dialog->controls)
            if (other.kind == plat::ControlKind::auto_radio) other.checked = false;
        c->checked = true;
    } else if (c->kind == plat::ControlKind::check_box) {
        c->checked = !c->checked;
    }
    send_command(dialog, id, plat::BN_CLICKED);
}

void choose_item(plat::Window* dialog, uint16_t id, int32_t index) {
    plat::DialogControl* c = find_control(dialog, id);
    if (!open_dialog(dialog) || !c || !is_list(*c)) return;
    if (index < 0 || index >= static_cast<int32_t>(c->items.size())) return;
    c->selection = index;
    send_command(dialog, id, plat::LBN_SELCHANGE);
}

void type_text(plat::Window* dialog, uint16_t id, const char16_t* text) {
    plat::DialogControl* c = find_control(dialog, id);
    if (!open_dialog(dialog) || !c || c->kind != plat::ControlKind::edit) return;
    plat::replace_selection(dialog, id, text);
    send_command(dialog, id, plat::EN_CHANGE);
}

void resize_dialog(plat::Window* dialog, int32_t width, int32_t height) {
    if (!open_dialog(dialog)) return;
    dialog->client = {0, 0, width, height};
    deliver(dialog, plat::WM_SIZE, 0, point_lparam(width, height));
    paint_now(dialog);
}

void repaint(plat::Window* dialog) {
    paint_now(dialog);
}

void reset_dialogs() {
    g_scripts.clear();
    g_runs.clear();
    g_messages.clear();
}

}  // namespace lekta::testplat

namespace lekta::plat {

using namespace testplat;

intptr_t run_dialog(Window* owner, const DialogTemplate& tmpl, WindowProc proc, intptr_t param,
                    void* data) {
    if (!proc) return -1;
    Window* w = new_window();
    w->kind = Window::Kind::dialog;
    w->proc = proc;
    w->owner = owner;
    w->dialog_data = data;
    w->title = tmpl.caption ? tmpl.caption : u"";
    w->vscroll = tmpl.vscroll;
    const Rect size = dialog_units_to_pixels({0, 0, tmpl.cx, tmpl.cy});
    w->client = {0, 0, size.right, size.bottom};
    for (const ControlTemplate& t : tmpl.controls) {
        DialogControl c;
        c.id = t.id;
        c.kind = t.kind;
        c.style = t.style;
        c.text = t.text ? t.text : u"";
        c.rect = dialog_units_to_pixels({t.x, t.y, t.x + t.cx, t.y + t.cy});
        if (t.kind == ControlKind::picture && t.image)
            c.rect = {c.rect.left, c.rect.top, c.rect.left + t.image->width,
                      c.rect.top + t.image->height};
        c.image = t.image;
        c.enabled = (t.style & CS_DISABLED) == 0;
        w->controls.push_back(c);
    }
    const size_t run = g_runs.size();
    g_runs.push_back({w->title, w, owner, param, 0});

    deliver(w, WM_INITDIALOG, 0, param);
    if (!w->ended) {
        deliver(w, WM_SIZE, 0, point_lparam(w->client.right, w->client.bottom));
        deliver(w, WM_ACTIVATE, WA_ACTIVE, 0);
        paint_now(w);
    }
    if (!w->ended && !g_scripts.empty()) {
        DialogScript script = std::move(g_scripts.front());
        g_scripts.pop_front();
        if (script) script(w);
    }
    if (!w->ended) send_command(w, static_cast<uint16_t>(IDCANCEL));
    if (!w->ended) end_dialog(w, -1);
    deliver(w, WM_DESTROY, 0, 0);
    w->alive = false;
    g_runs[run].result = w->result;
    return w->result;
}

void end_dialog(Window* dialog, intptr_t result) {
    if (!open_dialog(dialog)) return;
    dialog->ended = true;
    dialog->result = result;
}

Window* dialog_owner(Window* dialog) {
    return dialog && dialog->kind == Window::Kind::dialog ? dialog->owner : nullptr;
}

void* dialog_data(Window* dialog) {
    return dialog && dialog->kind == Window::Kind::dialog ? dialog->dialog_data : nullptr;
}

void init_full_screen_dialog(Window* dialog, uint32_t flags) {
    if (!live_dialog(dialog)) return;
    dialog->init_flags = flags;
    Window* main = dialog->owner;
    while (main && main->kind == Window::Kind::dialog)
        main = main->owner;
    if (main && main->full_screen) {
        dialog->dialog_full_screen = true;
        if (flags & DIALOG_FULL_SCREEN) dialog->client = main->client;
    } else {
        dialog->done_button = true;
    }
}

BaseUnits dialog_base_units() {
    return BASE_UNITS;
}

Rect dialog_units_to_pixels(const Rect& units) {
    const BaseUnits b = dialog_base_units();
    return {units.left * b.x / 4, units.top * b.y / 8, units.right * b.x / 4,
            units.bottom * b.y / 8};
}

int32_t system_metric(uint32_t index) {
    switch (index) {
        case SM_CXVSCROLL:
            return 13;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        default:
            return 0;
    }
}

int32_t logical_pixels_y() {
    return 96;
}

Colorref system_color(uint32_t index) {
    return index == COLOR_BTNFACE ? 0xC0C0C0 : 0xFFFFFF;
}

void draw_mono_image(Dc* dc, const MonoImage& image, const Rect& dest, Colorref, Colorref) {
    if (!dc) return;
    DrawCall call;
    call.kind = DrawCall::IMAGE;
    call.rect = dest;
    call.image = image.bits.data();
    dc->calls.push_back(call);
}

void invalidate(Window* window, bool erase) {
    if (!window || !window->alive || window->kind == Window::Kind::bar) return;
    ++window->invalidations;
    window->paint_pending = true;
    window->erase_pending = window->erase_pending || erase;
}

bool has_control(Window* dialog, uint16_t id) {
    return find_control(dialog, id) != nullptr;
}

void set_control_text(Window* dialog, uint16_t id, const char16_t* text) {
    if (DialogControl* c = find_control(dialog, id)) {
        c->text = text ? text : u"";
        c->sel_start = c->sel_end = 0;
    }
}

std::u16string control_text(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c ? c->text : std::u16string();
}

void set_control_font(Window* dialog, uint16_t id, Font* font) {
    if (DialogControl* c = find_control(dialog, id)) c->font = font;
}

FontDesc control_font(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c && c->font ? c->font->desc : FontDesc{};
}

void enable_control(Window* dialog, uint16_t id, bool enabled) {
    if (DialogControl* c = find_control(dialog, id)) c->enabled = enabled;
}

void check_control(Window* dialog, uint16_t id, bool checked) {
    if (DialogControl* c = find_control(dialog, id)) c->checked = checked;
}

bool control_checked(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c && c->checked;
}

void set_focus(Window* dialog, uint16_t id) {
    if (!find_control(dialog, id)) return;
    dialog->focus_set = true;
    dialog->focus = id;
}

void set_focus_rect(Window* dialog, const Rect& rect) {
    if (dialog) dialog->focus_rect = rect;
}

void set_control_name(Window* dialog, uint16_t id, const char16_t* name) {
    if (DialogControl* c = find_control(dialog, id)) c->name = name ? name : u"";
}

void move_control(Window* dialog, uint16_t id, const Rect& rect) {
    if (DialogControl* c = find_control(dialog, id)) c->rect = rect;
}

Rect control_rect(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c ? c->rect : Rect{};
}

void limit_text(Window* dialog, uint16_t id, int32_t max_chars) {
    if (DialogControl* c = find_control(dialog, id)) c->limit = std::max(0, max_chars);
}

void select_text(Window* dialog, uint16_t id, int32_t start, int32_t end) {
    DialogControl* c = find_control(dialog, id);
    if (!c) return;
    if (start < 0) {  // no selection; the caret stays
        c->sel_start = c->sel_end;
        return;
    }
    const int32_t len = length_of(*c);
    if (end < 0) end = len;
    start = std::min(start, len);
    end = std::min(end, len);
    c->sel_start = std::min(start, end);
    c->sel_end = std::max(start, end);
}

TextSelection text_selection(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c ? TextSelection{c->sel_start, c->sel_end} : TextSelection{};
}

void replace_selection(Window* dialog, uint16_t id, const char16_t* text) {
    DialogControl* c = find_control(dialog, id);
    if (!c) return;
    std::u16string insert = text ? text : u"";
    const int32_t kept = length_of(*c) - (c->sel_end - c->sel_start);
    if (c->limit > 0) {
        const auto room = static_cast<size_t>(std::max(0, c->limit - kept));
        if (insert.size() > room) insert.resize(room);
    }
    c->text.replace(static_cast<size_t>(c->sel_start),
                    static_cast<size_t>(c->sel_end - c->sel_start), insert);
    c->sel_start = c->sel_end = c->sel_start + static_cast<int32_t>(insert.size());
}

void list_reset(Window* dialog, uint16_t id) {
    if (DialogControl* c = find_control(dialog, id)) {
        c->items.clear();
        c->selection = -1;
    }
}

int32_t list_add(Window* dialog, uint16_t id, const char16_t* text) {
    DialogControl* c = find_control(dialog, id);
    if (!c || !is_list(*c)) return -1;
    std::u16string item = text ? text : u"";
    auto at = c->items.end();
    if (c->style & CS_SORT)
        at = std::upper_bound(c->items.begin(), c->items.end(), item, less_ignoring_case);
    const auto index = static_cast<int32_t>(at - c->items.begin());
    c->items.insert(at, std::move(item));
    if (c->selection >= index) ++c->selection;
    return index;
}

int32_t list_count(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c ? static_cast<int32_t>(c->items.size()) : 0;
}

std::u16string list_text(Window* dialog, uint16_t id, int32_t index) {
    const DialogControl* c = find_control(dialog, id);
    if (!c || index < 0 || index >= static_cast<int32_t>(c->items.size())) return {};
    return c->items[static_cast<size_t>(index)];
}

int32_t list_selection(Window* dialog, uint16_t id) {
    const DialogControl* c = find_control(dialog, id);
    return c ? c->selection : -1;
}

void list_set_selection(Window* dialog, uint16_t id, int32_t index) {
    DialogControl* c = find_control(dialog, id);
    if (!c) return;
    c->selection = index >= 0 && index < static_cast<int32_t>(c->items.size()) ? index : -1;
}

int32_t list_select_prefix(Window* dialog, uint16_t id, int32_t start, const char16_t* prefix) {
    DialogControl* c = find_control(dialog, id);
    if (!c) return -1;
    const std::u16string p = prefix ? prefix : u"";
    const auto n = static_cast<int32_t>(c->items.size());
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t i = ((start < 0 ? -1 : start) + k) % n;
        if (starts_ignoring_case(c->items[static_cast<size_t>(i)], p)) {
            c->selection = i;
            return i;
        }
    }
    return -1;
}

}  // namespace lekta::plat
