// The test backend's windows, bar, menu, accelerators, message loop and single instance: every
// call recorded, the desktop state (client size, foreground, open dialogs) set by the test.
#pragma once

#include <string>
#include <vector>

#include "platform/accessible.h"
#include "platform/dialog.h"
#include "platform/platform.h"

namespace lekta::plat {

struct Menu {
    struct Item {
        uint16_t id = 0;  // 0: a separator
        std::u16string label;
        std::u16string shortcut;
        bool has_shortcut = false;
        bool enabled = true;
        bool checked = false;
    };
    std::u16string title;
    std::vector<Item> items;

    Item* find(uint16_t id);
};

// A control of a test dialog, with everything the program and the script set on it.
struct DialogControl {
    uint16_t id = ID_NONE;
    ControlKind kind = ControlKind::static_text;
    uint32_t style = 0;
    std::u16string text;
    Rect rect;  // client pixels
    bool enabled = true;
    bool checked = false;
    Font* font = nullptr;
    const MonoImage* image = nullptr;
    int32_t limit = 0;  // edit: most characters, 0 for no limit
    int32_t sel_start = 0, sel_end = 0;
    std::vector<std::u16string> items;
    int32_t selection = -1;
    std::u16string name;  // set_control_name
};

struct Window {
    enum class Kind { main, bar, dialog };
    Kind kind = Kind::main;
    bool alive = true;

    // A main window.
    WindowProc proc = nullptr;
    std::u16string class_name;
    std::u16string title;
    bool vscroll = false;
    bool full_screen = false;
    bool shown = false;
    int destroy_count = 0;  // WM_DESTROY sent
    Rect client{0, 0, 240, 320};
    Rect placement;      // on the desktop: as created, or as a test moves it
    int menu_opens = 0;  // of a bar: open_bar_menu calls
    Dc* dc = nullptr;    // kept for the window's life, made on the first get_dc
    int dc_gets = 0, dc_releases = 0;
    struct ScrollInfo {
        int32_t min = 0, max = 0, pos = 0, page = 0;
    };
    std::vector<ScrollInfo> scroll_calls;
    Window* bar = nullptr;
    struct Shortcut {
        uint16_t command = 0;
        std::string keys;
    };
    std::vector<Shortcut> accelerators;

    // A dialog (caption in title; client, dc, vscroll and scroll_calls as for a main window).
    std::vector<DialogControl> controls;
    void* dialog_data = nullptr;  // given to run_dialog
    bool ended = false;
    intptr_t result = 0;
    bool done_button = false;
    bool dialog_full_screen = false;
    uint32_t init_flags = 0;  // given to init_full_screen_dialog
    int paints = 0;           // WM_PAINT sent
    int invalidations = 0;
    bool paint_pending = false, erase_pending = false;
    bool focus_set = false;
    uint16_t focus = ID_NONE;
    bool tap_keeps_focus = false;  // set_tap_keeps_focus
    Rect focus_rect;               // set_focus_rect
    DialogControl* find_control(uint16_t id);

    // What assistive programs would be told.
    AccessibleSource accessible_source = nullptr;
    struct AccessibleNotice {
        AccessibleChange change = AccessibleChange::content;
        int32_t node = -1;
        std::u16string announcement;
    };
    std::vector<AccessibleNotice> accessible_notices;

    // A bar, and the owner of a dialog.
    Window* owner = nullptr;
    Menu menu;
    struct Button {
        uint16_t command = 0;
        int image = 0;
        std::u16string tooltip;
        bool enabled = true;
    };
    std::vector<Button> buttons;
    std::vector<uint8_t> image_bits;
    int image_count = 0;
    bool at_bottom = false;

    Button* find_button(uint16_t command);
};

}  // namespace lekta::plat

namespace lekta::testplat {

// A new window record; records are kept until the reset, so stale handles stay harmless.
plat::Window* new_window();
// The main windows made since the last reset, oldest first (destroyed ones included).
std::vector<plat::Window*> main_windows();
// The client rectangle a new main window starts with; 240 x 320 after a reset.
void set_default_client_size(int32_t width, int32_t height);
// Changes the client size as the user would: sets it and sends WM_SIZE.
void resize_client(plat::Window* window, int32_t width, int32_t height);
// Height that every new bar reports (26 after a reset); create_bar fails when told to.
void set_bar_height(int32_t height);
void set_create_bar_fails(bool fails);

void set_foreground(bool foreground);
void set_modal_dialog_open(bool open);
// Windows brought to the front, in order.
std::vector<plat::Window*>& brought_to_front();

// false: another copy holds the rendezvous (claim_single_instance then fails).
void set_single_instance_free(bool free);
using SecondLaunchHandler = void (*)(const char* words);
SecondLaunchHandler second_launch_handler();
// The words each launch that found the rendezvous taken handed over.
std::vector<std::string>& handed_over();

// Quit requests posted (their codes), and how often the loop ran.
std::vector<int>& posted_quits();
int message_loop_runs();
// Run inside run_message_loop, as the messages a user would send (null: none).
void set_message_loop_body(void (*body)());

// Destroys every window and dc of this file, and resets the state above.
void reset_windows();

}  // namespace lekta::testplat
