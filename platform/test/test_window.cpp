#include "platform/test/test_window.h"

#include <algorithm>
#include <memory>

#include "platform/test/test_dialog.h"
#include "platform/test/test_text.h"

namespace lekta::plat {

Menu::Item* Menu::find(uint16_t id) {
    if (id == 0) return nullptr;
    auto it = std::find_if(items.begin(), items.end(), [id](const Item& i) { return i.id == id; });
    return it == items.end() ? nullptr : &*it;
}

DialogControl* Window::find_control(uint16_t id) {
    auto it = std::find_if(controls.begin(), controls.end(),
                           [id](const DialogControl& c) { return c.id == id; });
    return it == controls.end() ? nullptr : &*it;
}

Window::Button* Window::find_button(uint16_t command) {
    auto it = std::find_if(buttons.begin(), buttons.end(),
                           [command](const Button& b) { return b.command == command; });
    return it == buttons.end() ? nullptr : &*it;
}

}  // namespace lekta::plat

namespace lekta::testplat {
namespace {

// Records are kept until the reset, so handles stay valid after a window is destroyed.
std::vector<std::unique_ptr<plat::Window>> g_windows;
plat::Rect g_default_client{0, 0, 240, 320};
int32_t g_bar_height = 26;
bool g_create_bar_fails = false;
bool g_foreground = true;
bool g_modal_open = false;
std::vector<plat::Window*> g_fronted;
bool g_instance_free = true;
SecondLaunchHandler g_second_launch = nullptr;
std::vector<std::string> g_handed_over;
std::vector<int> g_quits;
int g_loop_runs = 0;
void (*g_loop_body)() = nullptr;

bool live_main(const plat::Window* w) {
    return w && w->kind == plat::Window::Kind::main && w->alive;
}

// A main window or a dialog: what has a client area, a dc and a procedure.
bool live_client(const plat::Window* w) {
    return w && w->kind != plat::Window::Kind::bar && w->alive;
}

bool live_bar(const plat::Window* w) {
    return w && w->kind == plat::Window::Kind::bar && w->alive;
}

std::u16string text_of(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string();
}

}  // namespace

plat::Window* new_window() {
    g_windows.push_back(std::make_unique<plat::Window>());
    return g_windows.back().get();
}

std::vector<plat::Window*> main_windows() {
    std::vector<plat::Window*> list;
    for (const auto& w : g_windows)
        if (w->kind == plat::Window::Kind::main) list.push_back(w.get());
    return list;
}

void set_default_client_size(int32_t width, int32_t height) {
    g_default_client = {0, 0, width, height};
}

void resize_client(plat::Window* window, int32_t width, int32_t height) {
    if (!live_client(window)) return;
    if (window->kind == plat::Window::Kind::dialog) return resize_dialog(window, width, height);
    window->client = {0, 0, width, height};
    const auto lparam = static_cast<intptr_t>((static_cast<uint32_t>(height) & 0xFFFF) << 16 |
                                              (static_cast<uint32_t>(width) & 0xFFFF));
    plat::send_message(window, plat::WM_SIZE, 0, lparam);
}

void set_bar_height(int32_t height) {
    g_bar_height = height;
}
void set_create_bar_fails(bool fails) {
    g_create_bar_fails = fails;
}
void set_foreground(bool foreground) {
    g_foreground = foreground;
}
void set_modal_dialog_open(bool open) {
    g_modal_open = open;
}
std::vector<plat::Window*>& brought_to_front() {
    return g_fronted;
}
void set_single_instance_free(bool free) {
    g_instance_free = free;
}
SecondLaunchHandler second_launch_handler() {
    return g_second_launch;
}
std::vector<std::string>& handed_over() {
    return g_handed_over;
}
std::vector<int>& posted_quits() {
    return g_quits;
}
int message_loop_runs() {
    return g_loop_runs;
}
void set_message_loop_body(void (*body)()) {
    g_loop_body = body;
}

void reset_windows() {
    for (auto& w : g_windows)
        if (w->dc) destroy_dc(w->dc);
    g_windows.clear();
    g_default_client = {0, 0, 240, 320};
    g_bar_height = 26;
    g_create_bar_fails = false;
    g_foreground = true;
    g_modal_open = false;
    g_fronted.clear();
    g_instance_free = true;
    g_second_launch = nullptr;
    g_handed_over.clear();
    g_quits.clear();
    g_loop_runs = 0;
    g_loop_body = nullptr;
    reset_dialogs();
}

}  // namespace lekta::testplat

namespace lekta::plat {

using namespace testplat;

bool init_gui(int&, char**) {
    return false;
}

bool save_window_image(Window*, const char*) {
    return false;
}

Window* create_main_window(const WindowSpec& params) {
    if (!params.proc) return nullptr;
    Window* w = new_window();
    w->proc = params.proc;
    w->class_name = text_of(params.class_name);
    w->title = text_of(params.title);
    w->vscroll = params.vscroll;
    w->full_screen = params.full_screen;
    w->client = g_default_client;
    w->placement = params.placement;
    if (w->placement.right <= w->placement.left || w->placement.bottom <= w->placement.top)
        w->placement = {20, 20, 20 + w->client.right, 20 + w->client.bottom};
    // As CreateWindow: -1 from WM_CREATE refuses the window.
    if (params.proc(w, WM_CREATE, 0, 0) == -1) {
        w->alive = false;
        return nullptr;
    }
    return w;
}

void set_window_title(Window* window, const char16_t* title) {
    if (window && window->alive) window->title = text_of(title);
}

void show_window(Window* window) {
    if (live_main(window)) window->shown = true;
}

void destroy_window(Window* window) {
    if (!window || !window->alive) return;
    if (window->kind == Window::Kind::bar) return destroy_bar(window);
    // Marked first: WM_DESTROY handling may ask to destroy the window again.
    window->alive = false;
    ++window->destroy_count;
    window->proc(window, WM_DESTROY, 0, 0);
}

intptr_t send_message(Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (!live_client(window) || !window->proc) return 0;
    return window->proc(window, message, wparam, lparam);
}

Rect client_rect(Window* window) {
    if (!window || !window->alive) return {};
    if (window->kind == Window::Kind::bar) return {0, 0, 0, g_bar_height};
    return window->client;
}

Rect window_placement(Window* window) {
    // Still known while WM_DESTROY runs, after the window was marked gone.
    return window && window->kind == Window::Kind::main ? window->placement : Rect{};
}

Dc* get_dc(Window* window) {
    if (!window || window->kind == Window::Kind::bar) return nullptr;
    ++window->dc_gets;
    if (!window->dc) window->dc = create_dc();
    return window->dc;
}

void release_dc(Window* window, Dc*) {
    if (window) ++window->dc_releases;
}

bool is_foreground(Window* window) {
    return live_main(window) && g_foreground && !g_modal_open;
}

bool modal_dialog_open() {
    return g_modal_open;
}

void bring_to_front(Window* window) {
    g_fronted.push_back(window);
}

int run_message_loop() {
    ++g_loop_runs;
    if (g_loop_body) g_loop_body();
    return g_quits.empty() ? 0 : g_quits.back();
}

void post_quit_message(int code) {
    g_quits.push_back(code);
}

void set_scroll_info(Window* window, int32_t min, int32_t max, int32_t pos, int32_t page) {
    if (live_client(window)) window->scroll_calls.push_back({min, max, pos, page});
}

Window* create_bar(Window* main_window, const BarSpec& params) {
    if (!live_main(main_window) || g_create_bar_fails) return nullptr;
    if (main_window->bar) destroy_bar(main_window->bar);
    Window* bar = new_window();
    bar->kind = Window::Kind::bar;
    bar->owner = main_window;
    bar->at_bottom = params.at_bottom;
    bar->menu.title = text_of(params.menu_title);
    for (const MenuItemSpec& item : params.items) {
        Menu::Item m;
        m.id = item.id;
        m.label = text_of(item.label);
        m.has_shortcut = item.shortcut != nullptr;
        m.shortcut = text_of(item.shortcut);
        m.enabled = item.enabled;
        bar->menu.items.push_back(m);
    }
    for (const ToolButtonSpec& button : params.buttons)
        bar->buttons.push_back(
            {button.command, button.image, text_of(button.tooltip), button.enabled});
    bar->image_bits.assign(params.image_bits.begin(), params.image_bits.end());
    bar->image_count = params.image_count;
    main_window->bar = bar;
    return bar;
}

int32_t bar_height(Window* bar) {
    return live_bar(bar) ? g_bar_height : 0;
}

void destroy_bar(Window* bar) {
    if (!live_bar(bar)) return;
    bar->alive = false;
    if (bar->owner && bar->owner->bar == bar) bar->owner->bar = nullptr;
}

Menu* bar_menu(Window* bar) {
    return live_bar(bar) ? &bar->menu : nullptr;
}

void open_bar_menu(Window* bar) {
    if (live_bar(bar)) ++bar->menu_opens;
}

void check_menu_item(Menu* menu, uint16_t id, bool checked) {
    if (Menu::Item* item = menu ? menu->find(id) : nullptr) item->checked = checked;
}

bool menu_item_checked(Menu* menu, uint16_t id) {
    const Menu::Item* item = menu ? menu->find(id) : nullptr;
    return item && item->checked;
}

void enable_menu_item(Menu* menu, uint16_t id, bool enabled) {
    if (Menu::Item* item = menu ? menu->find(id) : nullptr) item->enabled = enabled;
}

void enable_tool_button(Window* bar, uint16_t command, bool enabled) {
    if (!live_bar(bar)) return;
    if (Window::Button* button = bar->find_button(command)) button->enabled = enabled;
}

void set_accelerators(Window* main_window, std::span<const Accelerator> accelerators) {
    if (!live_main(main_window)) return;
    main_window->accelerators.clear();
    for (const Accelerator& a : accelerators)
        main_window->accelerators.push_back({a.command, a.keys ? a.keys : ""});
}

bool claim_single_instance(const char16_t*, const char* words) {
    if (!g_instance_free) testplat::g_handed_over.push_back(words ? words : "");
    return g_instance_free;
}

void set_second_launch_handler(void (*handler)(const char*)) {
    g_second_launch = handler;
}

}  // namespace lekta::plat
