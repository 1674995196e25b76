// Modal dialogs built from templates and driven by a dialog procedure: the procedure gets the
// messages below and answers through the calls of this file, whichever backend runs it.
// A dialog is a Window: get_dc, release_dc, client_rect, send_message, set_scroll_info and
// message_box (with the dialog as owner) work on it as on the main window.
//
// What arrives, in order: WM_INITDIALOG (lparam: the param given to run_dialog), WM_SIZE (the
// client size, and again on every resize), WM_ACTIVATE, then WM_ERASEBKGND and WM_PAINT
// whenever the client area needs painting (first show, resize, invalidate). After that the
// user's WM_COMMAND, WM_KEYDOWN, WM_LBUTTONDOWN, WM_VSCROLL and WM_DRAWITEM, until the
// procedure calls end_dialog; the last message is WM_DESTROY.
//
// Keys: Escape and the window's close box arrive as WM_COMMAND IDCANCEL, Return as
// WM_COMMAND IDOK (or the default button's id) unless the client area has the focus and its
// procedure answers WM_GETDLGCODE with DLGC_WANTMESSAGE; other keys on the client area as
// WM_KEYDOWN, and what they type as WM_CHAR after it. Tab and Shift+Tab move the focus
// between the client area and the controls; WM_SETFOCUS tells when the client area gets it.
// Taps on the client area, static texts and pictures included, arrive as WM_LBUTTONDOWN in
// client pixels; taps on buttons, edits and lists go to those controls. Controls notify the
// user's changes only; what the program sets through the calls below does not notify.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/platform.h"

namespace lekta::plat {

// ---- Messages of a dialog procedure (beyond those of platform.h) ------------------------------

constexpr uint32_t WM_ERASEBKGND = 0x0014;  // wparam: the Dc* to erase; return 1 when erased
constexpr uint32_t WM_DRAWITEM = 0x002B;    // lparam: a DrawItem*; the owner-drawn control
constexpr uint32_t WM_INITDIALOG = 0x0110;  // lparam: the run_dialog param; 1: default focus
constexpr uint32_t WM_SETFOCUS = 0x0007;    // the client area got the focus; wparam 1: by Tab
constexpr uint32_t WM_GETDLGCODE = 0x0087;  // wparam: the VK_ code; DLGC_WANTMESSAGE takes it
constexpr uint32_t WM_CHAR = 0x0102;        // wparam: the UTF-16 unit a key typed

constexpr intptr_t DLGC_WANTMESSAGE = 0x0004;

constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;

constexpr int IDCANCEL = 2;
constexpr uint16_t ID_NONE = 0xFFFF;  // a control the program never addresses

// Notification codes: the high word of WM_COMMAND's wparam, the control id in the low word.
constexpr uint16_t BN_CLICKED = 0;
constexpr uint16_t LBN_SELCHANGE = 1;  // also a combo box's selection change
constexpr uint16_t LBN_DBLCLK = 2;
constexpr uint16_t EN_CHANGE = 0x0300;

// ---- Templates -----------------------------------------------------------------------------

enum class ControlKind : uint8_t {
    push_button,
    default_button,      // a push button that Return presses
    owner_drawn_button,  // a push button drawn by the procedure on WM_DRAWITEM
    static_text,
    group_box,
    picture,  // a MonoImage at its own size (width and height of the template are ignored)
    edit,
    list_box,
    combo_box,     // a drop-down list; the list calls below work on it
    radio_button,  // checked only by the program
    auto_radio,    // a click checks it and unchecks the dialog's other auto radios
    check_box,
};

// Style bits; each applies to the kinds named.
constexpr uint32_t CS_CENTER = 0x0001;       // static text: centred
constexpr uint32_t CS_RIGHT = 0x0002;        // static text, edit: right-aligned
constexpr uint32_t CS_BORDER = 0x0004;       // edit, list, static: a frame
constexpr uint32_t CS_VSCROLL = 0x0008;      // list, multi-line edit: a vertical scroll bar
constexpr uint32_t CS_MULTILINE = 0x0010;    // edit
constexpr uint32_t CS_AUTOHSCROLL = 0x0020;  // edit: scrolls instead of stopping at the edge
constexpr uint32_t CS_READONLY = 0x0040;     // edit
constexpr uint32_t CS_SORT = 0x0080;         // list, combo: items kept sorted
constexpr uint32_t CS_NOTIFY = 0x0100;       // list: LBN_ notifications
constexpr uint32_t CS_TABSTOP = 0x0200;
constexpr uint32_t CS_DISABLED = 0x0400;

// A one-bit picture: rows top first, each padded to 16 bits, most significant bit leftmost;
// a set bit is drawn black, a clear one white.
struct MonoImage {
    int32_t width = 0;
    int32_t height = 0;
    std::span<const uint8_t> bits;
    // Draws the picture itself through a dc of its size in units (device_ratio device pixels a
    // unit), where the bits do not suit (another density, another palette); false leaves it
    // to the bits. Null: always the bits.
    bool (*draw)(Dc* dc, double device_ratio) = nullptr;
};

struct ControlTemplate {
    uint16_t id = ID_NONE;
    ControlKind kind = ControlKind::static_text;
    const char16_t* text = nullptr;        // caption, label or initial text
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units, in the client area
    uint32_t style = 0;
    const MonoImage* image = nullptr;  // picture
    const char16_t* tip = nullptr;     // what the control is for, shown on hovering over it
};

struct DialogTemplate {
    const char16_t* caption = nullptr;
    int16_t cx = 0, cy = 0;  // client size in dialog units
    std::span<const ControlTemplate> controls;
    bool vscroll = false;  // a vertical scroll bar over the right edge of the client area
    bool center = true;    // centred over the owner
};

// ---- Running a dialog ------------------------------------------------------------------------

// Runs the dialog modally over owner (may be null) in a nested loop and returns the value given
// to end_dialog, or -1 when the dialog could not be made. data is the procedure's own state for
// this run (read back with dialog_data), so a dialog keeps no process-wide state.
intptr_t run_dialog(Window* owner, const DialogTemplate& tmpl, WindowProc proc, intptr_t param,
                    void* data = nullptr);
// The data given to run_dialog for this dialog; null for any other window.
void* dialog_data(Window* dialog);
// Ends the dialog once the current message is handled; run_dialog then returns result.
void end_dialog(Window* dialog, intptr_t result);
// The window run_dialog was given as owner.
Window* dialog_owner(Window* dialog);

// The flag of init_full_screen_dialog: the dialog may cover the screen.
constexpr uint32_t DIALOG_FULL_SCREEN = 0x0004;

// Called on WM_INITDIALOG. When the main window runs full screen, the dialog covers the screen
// (with DIALOG_FULL_SCREEN); otherwise it gets a Done button outside its client area that
// sends WM_COMMAND IDOK. The size change arrives as WM_SIZE.
void init_full_screen_dialog(Window* dialog, uint32_t flags);

// ---- Units and metrics -----------------------------------------------------------------------

struct BaseUnits {
    int32_t x = 0;  // horizontal: pixels per 4 dialog units
    int32_t y = 0;  // vertical: pixels per 8 dialog units
};
BaseUnits dialog_base_units();
// A rectangle in dialog units (left, top, right, bottom) in pixels (MapDialogRect).
Rect dialog_units_to_pixels(const Rect& units);

constexpr uint32_t SM_CXVSCROLL = 2;
constexpr uint32_t SM_CXEDGE = 45;
constexpr uint32_t SM_CYEDGE = 46;
int32_t system_metric(uint32_t index);
// Pixels per logical inch, vertically (for point sizes).
int32_t logical_pixels_y();

constexpr uint32_t COLOR_WINDOW = 5;
constexpr uint32_t COLOR_BTNFACE = 15;
Colorref system_color(uint32_t index);

// A one-bit picture stretched into dest, its set bits in ink and its clear ones in ground.
void draw_mono_image(Dc* dc, const MonoImage& image, const Rect& dest, Colorref ink = 0x000000,
                     Colorref ground = 0xFFFFFF);

// ---- Painting ----------------------------------------------------------------------------------

// Asks for WM_PAINT soon, after WM_ERASEBKGND when erase is set (InvalidateRect).
void invalidate(Window* window, bool erase);

// Sent with WM_DRAWITEM for an owner-drawn button; draw through dc inside rect.
struct DrawItem {
    uint16_t id = 0;
    Dc* dc = nullptr;
    Rect rect;  // the control's own coordinates
    bool pressed = false;
    bool focused = false;
};

// ---- Controls (addressed by dialog and id) -----------------------------------------------------

bool has_control(Window* dialog, uint16_t id);
void set_control_text(Window* dialog, uint16_t id, const char16_t* text);
std::u16string control_text(Window* dialog, uint16_t id);
// The control's font (WM_SETFONT); the font stays the caller's and must outlive the control.
void set_control_font(Window* dialog, uint16_t id, Font* font);
// What the control draws with now: its own font's description, or the dialog font's.
FontDesc control_font(Window* dialog, uint16_t id);
void enable_control(Window* dialog, uint16_t id, bool enabled);
void check_control(Window* dialog, uint16_t id, bool checked);
bool control_checked(Window* dialog, uint16_t id);
void set_focus(Window* dialog, uint16_t id);
// Where the keyboard focus stands inside the client area (client pixels), framed while the
// client area has the focus; an empty rect frames the whole client area.
void set_focus_rect(Window* dialog, const Rect& rect);
// What a screen reader calls the control (its own text stays what it shows).
void set_control_name(Window* dialog, uint16_t id, const char16_t* name);
// Place and size in client pixels (MoveWindow), and where the control is now.
void move_control(Window* dialog, uint16_t id, const Rect& rect);
Rect control_rect(Window* dialog, uint16_t id);

// Edit boxes.
void limit_text(Window* dialog, uint16_t id, int32_t max_chars);
// Selects characters start..end (end -1: to the end); start == end puts the caret there.
void select_text(Window* dialog, uint16_t id, int32_t start, int32_t end);
struct TextSelection {
    int32_t start = 0, end = 0;
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};
TextSelection text_selection(Window* dialog, uint16_t id);
// Replaces the selection with text (EM_REPLACESEL), the caret after it.
void replace_selection(Window* dialog, uint16_t id, const char16_t* text);

// List boxes and combo boxes. Indexes from 0; -1 means none.
void list_reset(Window* dialog, uint16_t id);
// Adds an item (in sorted place for CS_SORT) and returns its index.
int32_t list_add(Window* dialog, uint16_t id, const char16_t* text);
int32_t list_count(Window* dialog, uint16_t id);
std::u16string list_text(Window* dialog, uint16_t id, int32_t index);
int32_t list_selection(Window* dialog, uint16_t id);
void list_set_selection(Window* dialog, uint16_t id, int32_t index);
// Selects the first item after start (-1: from the top) that begins with prefix, ignoring
// case (LB_SELECTSTRING); returns its index, or -1 with the selection unchanged.
int32_t list_select_prefix(Window* dialog, uint16_t id, int32_t start, const char16_t* prefix);

}  // namespace lekta::plat
