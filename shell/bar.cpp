// The main window's bar: the "Go" menu, the seven tool buttons and the keyboard shortcuts that
// the menu's shortcut texts name.
#include <algorithm>
#include <array>

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

// The keys the menu's shortcut texts name (but for F1, Left and Right, which arrive as keys of
// the window), and the desktop's keys for the menu itself. A disabled command's key reaches
// the dispatcher, which leaves it alone.
constexpr std::array<plat::Accelerator, 16> ACCELERATORS = {{
    {CMD_MENU, "F10"},
    {CMD_MENU, "Alt+G"},
    {CMD_FONT, "Ctrl+F"},
    {CMD_INDEX, "Ctrl+I"},
    {CMD_BOOKMARK, "Ctrl+B"},
    {CMD_CALENDAR, "Ctrl+D"},
    {CMD_TODAY, "Ctrl+Home"},
    {CMD_SEARCH, "Alt+F3"},
    {CMD_SEARCH_AGAIN, "F3"},
    {CMD_COPY, "Ctrl+C"},
    {CMD_APPEND, "Ctrl+E"},
    {CMD_EXIT, "Ctrl+Q"},
    {CMD_ZOOM_IN, "Ctrl++"},
    {CMD_ZOOM_IN, "Ctrl+="},
    {CMD_ZOOM_OUT, "Ctrl+-"},
    {CMD_ZOOM_RESET, "Ctrl+0"},
}};

}  // namespace

std::span<const plat::MenuItemSpec> menu_items() {
    return ITEMS;
}

std::span<const plat::ToolButtonSpec> tool_buttons() {
    return BUTTONS;
}

std::span<const plat::Accelerator> accelerators() {
    return ACCELERATORS;
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
    plat::set_accelerators(window, ACCELERATORS);
}

plat::Menu* main_menu() {
    return g_reader.bar_window ? plat::bar_menu(g_reader.bar_window) : nullptr;
}

}  // namespace lekta
