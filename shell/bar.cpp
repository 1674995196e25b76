// The main window's bar: the "Go" menu, the seven tool buttons and the keyboard shortcuts that
// the menu's shortcut texts name.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "shell/bar_images.h"
#include "shell/main_window.h"
#include "state/reader.h"
#include "state/settings.h"

namespace lekta {
namespace {

using plat::MenuItemSpec;
constexpr MenuItemSpec SEPARATOR{};

constexpr std::array<MenuItemSpec, 23> ITEMS = {{
    {CMD_ABOUT, u"&About", u"F1"},
    {CMD_CHECK_UPDATES, u"Check For &Updates", nullptr},
    SEPARATOR,
    {CMD_FONT, u"F&ont", u"Ctrl+F"},
    {CMD_REVERSE, u"Re&verse", nullptr},
    {CMD_NIGHT, u"Nig&ht", nullptr},
    SEPARATOR,
    {CMD_INDEX, u"&Index", u"Ctrl+I"},
    {CMD_BOOKMARK, u"&Bookmark", u"Ctrl+B"},
    {CMD_CALENDAR, u"&Calendar", u"Ctrl+D"},
    SEPARATOR,
    {CMD_TODAY, u"&Today", u"Ctrl+Home"},
    {CMD_PREVIOUS_DAY, u"&Previous day", u"Left"},
    {CMD_NEXT_DAY, u"&Next day", u"Right"},
    SEPARATOR,
    {CMD_SEARCH, u"&Search", u"Alt+F3"},
    {CMD_SEARCH_AGAIN, u"Search A&gain", u"F3"},
    SEPARATOR,
    {CMD_COPY, u"&Copy", u"Ctrl+C"},
    {CMD_APPEND, u"&Append to ClipBoard", u"Ctrl+E"},
    {CMD_EXPORT_YEAR, u"Export &Year to Calendar\u2026", nullptr},
    SEPARATOR,
    {CMD_EXIT, u"E&xit", u"Ctrl+Q"},
}};

using plat::ToolButtonSpec;
constexpr std::array<ToolButtonSpec, BAR_IMAGE_COUNT> BUTTONS = {{
    {CMD_PREVIOUS_DAY, 0, u"Previous Day"},
    {CMD_TODAY, 1, u"Today"},
    {CMD_NEXT_DAY, 2, u"Next Day"},
    {CMD_FONT, 3, u"Choose Font"},
    {CMD_SEARCH, 4, u"Search"},
    {CMD_SEARCH_AGAIN, 5, u"Search Again"},
    {CMD_INDEX, 6, u"Choose Day"},
}};

// The desktop's keys for the menu itself. Every other key is the one its menu item shows, so the
// two cannot disagree, but for the keys the window answers itself (help and the arrows), which
// the menu names so that its items show every key they have. A disabled command's key reaches
// the dispatcher, which leaves it alone.
constexpr plat::Accelerator MENU_KEYS[] = {{CMD_MENU, "F10"}, {CMD_MENU, "Alt+G"}};
// Zoom and Select All have no menu item: their keys belong to the window alone.
constexpr plat::Accelerator ZOOM_KEYS[] = {{CMD_ZOOM_IN, "Ctrl++"},
                                           {CMD_ZOOM_IN, "Ctrl+="},
                                           {CMD_ZOOM_OUT, "Ctrl+-"},
                                           {CMD_ZOOM_RESET, "Ctrl+0"},
                                           {CMD_SELECT_ALL, "Ctrl+A"}};
constexpr std::u16string_view WINDOW_KEYS[] = {u"F1", u"Left", u"Right"};

bool is_window_key(const char16_t* text) {
    return std::find(std::begin(WINDOW_KEYS), std::end(WINDOW_KEYS), text) != std::end(WINDOW_KEYS);
}

struct Keys {
    std::vector<std::string> texts;  // the items' shortcut texts, which the list points into
    std::vector<plat::Accelerator> list;
};

const Keys& keys() {
    static Keys k;
    if (!k.list.empty()) return k;
    for (const MenuItemSpec& item : ITEMS) {
        if (!item.shortcut || is_window_key(item.shortcut)) continue;
        std::string text;
        for (const char16_t* c = item.shortcut; *c; ++c)
            text += static_cast<char>(*c);  // key names are ASCII
        k.texts.push_back(std::move(text));
    }
    k.list.assign(std::begin(MENU_KEYS), std::end(MENU_KEYS));
    size_t next = 0;
    for (const MenuItemSpec& item : ITEMS)
        if (item.shortcut && !is_window_key(item.shortcut))
            k.list.push_back({item.id, k.texts[next++].c_str()});
    k.list.insert(k.list.end(), std::begin(ZOOM_KEYS), std::end(ZOOM_KEYS));
    return k;
}

}  // namespace

std::span<const plat::MenuItemSpec> menu_items() {
    return ITEMS;
}

std::span<const plat::ToolButtonSpec> tool_buttons() {
    return BUTTONS;
}

std::span<const plat::Accelerator> accelerators() {
    return keys().list;
}

void create_bars(plat::Window* window) {
    Reader& r = g_reader;
    // On a desktop no OS version forces the bar's place: the MenuBarOnBottom setting decides.
    plat::BarSpec params;
    params.menu_title = u"Go";
    params.items = ITEMS;
    params.buttons = BUTTONS;
    params.image_bits = BAR_IMAGE_BITS;
    params.image_count = BAR_IMAGE_COUNT;
    params.image_outlines = bar_art::OUTLINES;
    params.at_bottom = r.menu_bar_mode != 0;
    // Without a bar the program runs without a menu, and lays out with a bar height of 0.
    r.bar_window = plat::create_bar(window, params);
    r.bar_height = r.bar_window ? plat::bar_height(r.bar_window) : 0;
    plat::set_accelerators(window, accelerators());
}

plat::Menu* main_menu() {
    return g_reader.bar_window ? plat::bar_menu(g_reader.bar_window) : nullptr;
}

}  // namespace lekta
