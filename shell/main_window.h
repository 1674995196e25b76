// The reader's one top-level window: its procedure, the bar with the "Go" menu and the tool
// buttons, the keyboard and scroll-bar handling, and the command dispatcher.
#pragma once

#include <cstdint>
#include <span>

#include "platform/platform.h"

namespace lekta {

constexpr const char16_t* MAIN_CLASS_NAME = u"Lekta-Hebrew";
constexpr const char16_t* MAIN_TITLE = u"Lekta";

// Command ids of the menu items and tool buttons.
constexpr uint16_t CMD_CALENDAR = 107;
constexpr uint16_t CMD_TODAY = 108;
constexpr uint16_t CMD_NEXT_DAY = 109;
constexpr uint16_t CMD_PREVIOUS_DAY = 110;
constexpr uint16_t CMD_SEARCH = 116;
constexpr uint16_t CMD_SEARCH_AGAIN = 117;
constexpr uint16_t CMD_INDEX = 119;
constexpr uint16_t CMD_REVERSE = 122;
constexpr uint16_t CMD_BOOKMARK = 123;
constexpr uint16_t CMD_CHECK_UPDATES = 129;
constexpr uint16_t CMD_ABOUT = 40004;
constexpr uint16_t CMD_EXIT = 40005;
constexpr uint16_t CMD_FONT = 40006;
constexpr uint16_t CMD_COPY = 40007;
constexpr uint16_t CMD_APPEND = 40009;
constexpr uint16_t CMD_NIGHT = 40023;
constexpr uint16_t CMD_EXPORT_YEAR = 40024;
// Zoom: a size larger, smaller, or back to the start size (keys and Ctrl+wheel only).
constexpr uint16_t CMD_ZOOM_IN = 40020;
constexpr uint16_t CMD_ZOOM_OUT = 40021;
constexpr uint16_t CMD_ZOOM_RESET = 40022;
// The whole lesson selected (a key only).
constexpr uint16_t CMD_SELECT_ALL = 40025;
// The menu's own button: opens the popup, from a key as from a click.
constexpr uint16_t CMD_MENU = 40001;

// Sent to the main window to close it (as a close request).
constexpr uint32_t WM_CLOSE_MAIN = plat::WM_USER - 1;

intptr_t main_window_proc(plat::Window* window, uint32_t message, uintptr_t wparam,
                          intptr_t lparam);

// 0 when the command was handled, 1 when not.
int dispatch_command(plat::Window* window, uintptr_t command);

// The calendar over owner, opened on current_day: the day picked, or 0.
int32_t open_calendar(plat::Window* owner, int32_t current_day);

// Goes to the day step days after the current one (Previous day -1, Next day +1).
int step_day(plat::Window* window, int32_t step);

// ---- The bar ---------------------------------------------------------------------------------

// The "Go" menu and the tool buttons, as the bar shows them.
std::span<const plat::MenuItemSpec> menu_items();
std::span<const plat::ToolButtonSpec> tool_buttons();
std::span<const plat::Accelerator> accelerators();

// Makes the bar on the main window (at the bottom when the menu bar mode is nonzero), and
// stores it and its height in the settings record.
void create_bars(plat::Window* window);
// The bar's menu, or null when there is no bar.
plat::Menu* main_menu();

// Whether a menu check is set to a value or flipped.
enum CheckMode : int { CHECK_FLIP = 0, CHECK_SET = 1 };

// CHECK_SET: checks the item when value is nonzero, else unchecks it. CHECK_FLIP: flips the
// item's check. Returns the item's new checked state.
bool set_menu_check(plat::Menu* menu, CheckMode mode, uint16_t id, int value);
// CHECK_SET: the Reverse item's check follows FLAG_REVERSE. CHECK_FLIP: flips both.
void toggle_reverse(CheckMode mode);
// The Bookmark item's check follows whether the shown lesson is bookmarked.
void update_bookmark_check();

// ---- Keys and the scroll bar -----------------------------------------------------------------

// WM_KEYDOWN: 0 when the key was handled, 1 when not.
intptr_t handle_key(plat::Window* window, uint32_t key, bool shift = false);
// WM_VSCROLL with its request and position.
void handle_vscroll(plat::Window* window, uint32_t request, int32_t position);

}  // namespace lekta
