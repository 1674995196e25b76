// The small operating-system layer the reader is written against. Two backends implement it:
// platform/qt (what users run) and platform/test (fixed-width metrics, recorded calls, an
// in-memory registry). Nothing outside platform/ includes Qt; everything goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lekta::plat {

// Colours are 0x00BBGGRR, as the drawing code and the stored values expect.
using Colorref = uint32_t;

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Opaque handles; each backend defines them.
struct Dc;
struct Font;
struct Window;
struct Menu;

// ---- Messages --------------------------------------------------------------------------------

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNOCANCEL = 0x3;
constexpr uint32_t MB_ICONHAND = 0x10;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
// IDCANCEL (2) is in dialog.h. A MB_YESNOCANCEL box left with Escape or its close box, or that
// nobody can answer, answers IDCLOSE: backing out is not the Cancel button.
constexpr int IDCLOSE = 8;

// A modal message box; returns the button pressed (IDOK, or IDYES, IDNO, IDCANCEL or IDCLOSE
// for MB_YESNOCANCEL). owner may be null. caption may be null (no caption of its own). Texts
// are UTF-16, zero-terminated.
int message_box(Window* owner, const char16_t* text, const char16_t* caption, uint32_t style);

// ---- Clock -----------------------------------------------------------------------------------

struct LocalDate {
    int32_t year = 0, month = 0, day = 0;
};
// The local civil date (time of day ignored).
LocalDate local_date();

// ---- Registry --------------------------------------------------------------------------------

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;

struct RegValue {
    uint32_t type = 0;           // REG_SZ, REG_BINARY or REG_DWORD (or anything a hand edit left)
    std::vector<uint8_t> bytes;  // REG_SZ: UTF-16LE with its terminator; REG_DWORD: 4 bytes LE
};

// The Qt backend keeps the values in <config>/Halvern/Lekta-Hebrew.ini, <config> being the
// user's configuration folder or $LEKTA_CONFIG_DIR when that is set.
// key_path is a registry path under the current user, for example "Halvern\\Lekta-Hebrew".
// Reading never creates anything. Writing creates the key when needed; returns false on failure.
std::optional<RegValue> registry_read(const char16_t* key_path, const char16_t* value_name);
bool registry_write(const char16_t* key_path, const char16_t* value_name, const RegValue& value);
// Makes the writes so far durable in one atomic step (the settings are written at exit).
bool registry_flush();
// Where the values are kept, for messages: the settings file's path.
std::string registry_location();

// ---- Fonts and text --------------------------------------------------------------------------

constexpr uint8_t HEBREW_CHARSET = 177;

struct FontDesc {
    char16_t face[32] = {};  // empty: the platform's default face
    int32_t height = 0;      // pixels; 0: the platform's default height
    int32_t weight = 400;    // 400 normal, 700 bold
    uint8_t charset = 0;
    bool underline = false;
};

struct TextMetrics {
    int32_t height = 0;  // row height
};

Font* create_font(const FontDesc& desc);
void delete_font(Font* font);
// Selects a font into the dc and returns the one selected before (null for the stock font).
Font* select_font(Dc* dc, Font* font);
TextMetrics text_metrics(Dc* dc);
// The widest character the dc's font draws text with. Apart from the metrics: finding it
// measures many characters, and only a hanging indent needs it.
int32_t widest_character(Dc* dc);

// How many of the first count characters fit into max_width with the dc's font (the fit), and
// the width of the whole run; as GetTextExtentExPointW.
struct TextExtent {
    int32_t fit = 0;
    int32_t width = 0;
};
TextExtent text_extent(Dc* dc, const char16_t* text, int32_t count, int32_t max_width);
// The rows a run's glyphs cover with the dc's font, counted from the top of its row (as
// text_metrics' height counts them): its ink may lie well inside the row, whose height leaves
// room for marks above and below the letters.
struct InkRows {
    int32_t top = 0;
    int32_t bottom = 0;  // one past the last row
};
InkRows text_ink(Dc* dc, const char16_t* text, int32_t count);

// ---- Drawing ---------------------------------------------------------------------------------

constexpr uint32_t DT_LEFT = 0x0;
constexpr uint32_t DT_CENTER = 0x1;
constexpr uint32_t DT_RIGHT = 0x2;
constexpr uint32_t DT_VCENTER = 0x4;
constexpr uint32_t DT_SINGLELINE = 0x20;
constexpr uint32_t DT_NOPREFIX = 0x800;

// Draws count characters left to right exactly in the given order (no bidi reordering).
void draw_text(Dc* dc, const char16_t* text, int32_t count, const Rect& rect, uint32_t format);
Colorref get_text_color(Dc* dc);
Colorref set_text_color(Dc* dc, Colorref color);
Colorref set_bk_color(Dc* dc, Colorref color);
// Text drawn after this does not fill its background (SetBkMode TRANSPARENT) or does (OPAQUE).
void set_bk_transparent(Dc* dc, bool transparent);
void fill_rect(Dc* dc, const Rect& rect, Colorref color);
// Rectangle(): a 1-pixel frame in pen_color, filled with fill when given.
void draw_rectangle(Dc* dc, const Rect& rect, Colorref pen_color, std::optional<Colorref> fill);

// ---- The GUI session ---------------------------------------------------------------------------

// Starts the GUI toolkit. false when there is no display to show windows on (then nothing of the
// window API may be used; message boxes go to standard error).
bool init_gui(int& argc, char** argv);
// Writes what the window shows now (bar, view, strip, scroll bar) as a PNG file, or as an
// uncompressed BMP when the name ends in ".bmp" (quick to write, for timing start-up).
bool save_window_image(Window* window, const char* path);

// ---- Windows and messages ----------------------------------------------------------------------
// A window is driven by a procedure that receives the messages below, so the reader's logic runs
// the same on either backend; the Qt backend turns widget events into them.

constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SIZE = 0x0005;      // lparam: width | height << 16 (client size)
constexpr uint32_t WM_ACTIVATE = 0x0006;  // wparam low word: nonzero when activated
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_HELP = 0x0053;
constexpr uint32_t WM_KEYDOWN = 0x0100;  // wparam: a VK_ code; lparam: KEY_SHIFT
constexpr uint32_t WM_COMMAND = 0x0111;  // wparam low word: the command id
constexpr uint32_t WM_VSCROLL = 0x0115;  // wparam: request | position << 16
// The main window's pointer: a press, moves while the button is held, and the release, each
// with lparam x | y << 16 (client coordinates). Dialogs get presses alone.
constexpr uint32_t WM_MOUSEMOVE = 0x0200;  // wparam: MK_LBUTTON
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t MK_LBUTTON = 0x0001;
// wparam: MK_CONTROL and the other key bits | wheel notches (signed, 120 each; away from the
// user is positive) << 16.
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t MK_CONTROL = 0x0008;
constexpr uint32_t WM_USER = 0x0400;

// The parts of the parameters above, read in one place.
struct MessagePoint {
    int32_t x = 0, y = 0;
};
// WM_COMMAND: the command or control id, and the control's notification code.
inline uint16_t command_id(uintptr_t wparam) {
    return static_cast<uint16_t>(wparam & 0xFFFF);
}
inline uint16_t notify_code(uintptr_t wparam) {
    return static_cast<uint16_t>((wparam >> 16) & 0xFFFF);
}
// WM_KEYDOWN: the bit set in lparam while Shift is held.
constexpr intptr_t KEY_SHIFT = intptr_t(1) << 25;
inline bool shift_held(intptr_t lparam) {
    return (lparam & KEY_SHIFT) != 0;
}
// WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP: client coordinates as signed 16-bit values.
inline MessagePoint tap_point(intptr_t lparam) {
    const auto bits = static_cast<uint32_t>(lparam);
    return {static_cast<int16_t>(bits & 0xFFFF), static_cast<int16_t>(bits >> 16)};
}
// WM_SIZE: the client's width and height, unsigned.
inline MessagePoint client_size(intptr_t lparam) {
    const auto bits = static_cast<uint32_t>(lparam);
    return {static_cast<int32_t>(bits & 0xFFFF), static_cast<int32_t>(bits >> 16)};
}
// WM_VSCROLL: the request (an SB_ code) and the thumb's position, signed.
inline uint32_t scroll_request(uintptr_t wparam) {
    return static_cast<uint32_t>(wparam & 0xFFFF);
}
inline int32_t thumb_position(uintptr_t wparam) {
    return static_cast<int16_t>((wparam >> 16) & 0xFFFF);
}
// WM_MOUSEWHEEL: how far the wheel turned, signed.
inline int32_t wheel_delta(uintptr_t wparam) {
    return static_cast<int16_t>((wparam >> 16) & 0xFFFF);
}

constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;

constexpr uint32_t SB_LINEUP = 0;
constexpr uint32_t SB_LINEDOWN = 1;
constexpr uint32_t SB_PAGEUP = 2;
constexpr uint32_t SB_PAGEDOWN = 3;
constexpr uint32_t SB_THUMBPOSITION = 4;
constexpr uint32_t SB_THUMBTRACK = 5;
constexpr uint32_t SB_TOP = 6;
constexpr uint32_t SB_BOTTOM = 7;
constexpr uint32_t SB_ENDSCROLL = 8;

using WindowProc = intptr_t (*)(Window* window, uint32_t message, uintptr_t wparam,
                                intptr_t lparam);

struct WindowSpec {
    const char16_t* class_name = nullptr;
    const char16_t* title = nullptr;
    WindowProc proc = nullptr;
    bool vscroll = false;  // a vertical scroll bar at the right
    bool full_screen = false;
    // Where the window was last (its client area on the desktop); empty: the platform's choice.
    // A place no screen shows is not used.
    Rect placement;
};

// Creates and shows nothing yet: sends WM_CREATE before returning. Null on failure.
Window* create_main_window(const WindowSpec& params);
void show_window(Window* window);
// The title the desktop shows for the window (its frame, the task bar, the window switcher).
void set_window_title(Window* window, const char16_t* title);
// Sends WM_DESTROY; the window is gone afterwards.
void destroy_window(Window* window);
intptr_t send_message(Window* window, uint32_t message, uintptr_t wparam, intptr_t lparam);
Rect client_rect(Window* window);
// The window's place on the desktop as placement takes it (outside full screen and
// maximised); empty when it has none.
Rect window_placement(Window* window);
// The window's kept drawing surface; drawing through it shows on the next frame.
Dc* get_dc(Window* window);
void release_dc(Window* window, Dc* dc);
// Whether the window is the active window of the desktop with no dialog of ours in front.
bool is_foreground(Window* window);
// Whether one of our modal dialogs (message boxes included) is open.
bool modal_dialog_open();
void bring_to_front(Window* window);

// The message loop; returns the code given to post_quit_message.
int run_message_loop();
void post_quit_message(int code);

// The vertical scroll bar of a window: range min..max, position pos; page is the part of the
// whole shown at once (the thumb's size).
void set_scroll_info(Window* window, int32_t min, int32_t max, int32_t pos, int32_t page = 1);

// ---- The bar: menu and tool buttons ----------------------------------------------------------

struct MenuItemSpec {
    uint16_t id = 0;                     // 0: a separator
    const char16_t* label = nullptr;     // with '&' before the mnemonic
    const char16_t* shortcut = nullptr;  // text shown at the right, or null
    bool enabled = true;
};

struct ToolButtonSpec {
    uint16_t command = 0;
    int image = 0;  // index into the button strip
    const char16_t* tooltip = nullptr;
    bool enabled = true;
};

struct BarSpec {
    const char16_t* menu_title = nullptr;  // the one popup, e.g. "Go"
    std::span<const MenuItemSpec> items;
    std::span<const ToolButtonSpec> buttons;
    // The strip of 16x16 button images: 1-bit rows, width 16 * image count, top row first,
    // each row padded to 16 bits, a set bit drawn black.
    std::span<const uint8_t> image_bits;
    int image_count = 0;
    // The same images as outlines on the 16x16 grid, drawn where a screen has more than one
    // device pixel per unit (none: the bits, enlarged). Each is a list of steps: "M x y" starts
    // a shape, "L x y" draws a line to a point, "Z" closes the shape, "R x y w h" adds a
    // rectangle, "O x y r" a circle; "F" fills the shapes so far, "W w" sets the width of a
    // stroke and "S" strokes the shapes so far. Numbers may have a fraction.
    std::span<const char* const> image_outlines;
    bool at_bottom = false;
};

// Creates the bar on the main window; commands of items and buttons arrive as WM_COMMAND.
Window* create_bar(Window* main_window, const BarSpec& params);
int32_t bar_height(Window* bar);
void destroy_bar(Window* bar);
// The bar's popup menu.
Menu* bar_menu(Window* bar);
// Opens the popup menu at the bar's menu button, as a click on it does.
void open_bar_menu(Window* bar);
void check_menu_item(Menu* menu, uint16_t id, bool checked);
bool menu_item_checked(Menu* menu, uint16_t id);
void enable_menu_item(Menu* menu, uint16_t id, bool enabled);
// Enables or disables the tool button of a command.
void enable_tool_button(Window* bar, uint16_t command, bool enabled);

// A keyboard shortcut that sends WM_COMMAND id to the main window.
struct Accelerator {
    uint16_t command = 0;
    const char* keys = nullptr;  // in the portable form "Ctrl+Home", "Alt+F3", "F3"
};
void set_accelerators(Window* main_window, std::span<const Accelerator> accelerators);

// ---- Single instance -------------------------------------------------------------------------

// Claims the named rendezvous. false when another copy holds it: that copy has then been told
// of this launch and given `words` (a short line of printable ASCII, maybe empty) for its
// handler below.
bool claim_single_instance(const char16_t* name, const char* words = "");
// Runs in the first copy, on its loop, when another launch hands over, with that launch's
// words ("" from a launch that had none to pass).
void set_second_launch_handler(void (*handler)(const char* words));

}  // namespace lekta::plat
