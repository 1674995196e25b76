// What the Qt backend's files share: the handle records behind platform.h's opaque types and a
// few conversions. Only platform/qt and its tests include this.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QRawFont>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "platform/accessible.h"
#include "platform/dialog.h"
#include "platform/platform.h"

class QMenu;
class QScrollBar;
class QShortcut;
class QAction;
class QWidget;

namespace lekta::qtplat {

// Advances and glyphs of 256 consecutive characters, filled the first time one is measured.
struct GlyphPage {
    GlyphPage() { advance.fill(-1); }
    std::array<int16_t, 256> advance;  // -1: not looked up yet
    std::array<uint32_t, 256> glyph{};
    std::array<uint8_t, 256> face{};  // 0: the font itself, 1: its Hebrew fallback
};

}  // namespace lekta::qtplat

namespace lekta::plat {

struct Font {
    QFont qfont;
    QRawFont faces[2];            // the font itself, and the face Qt picks for Hebrew text
    bool fallback_ready = false;  // faces[1] looked up (when a character missed faces[0])
    int32_t ascent = 0;
    int32_t height = 0;
    int32_t max_char_width = -1;  // -1: not measured yet
    int32_t underline_pos = 0;    // below the baseline
    int32_t underline_width = 0;  // 0: not underlined
    std::array<std::unique_ptr<qtplat::GlyphPage>, 256> pages;
};

struct Dc {
    Window* window = nullptr;  // whose screen to refresh after drawing; null for an image dc
    QImage* image = nullptr;   // the surface drawn on
    Font* font = nullptr;      // null: the stock font
    Colorref text_color = 0x000000;
    Colorref bk_color = 0xFFFFFF;
    bool transparent = false;
};

struct Menu {
    QPointer<QMenu> qmenu;
    std::map<uint16_t, QAction*> actions;
    std::map<uint16_t, bool> checked;  // what the program set; Qt's own toggling is undone
};

// A control of a dialog.
struct DialogControl {
    uint16_t id = ID_NONE;
    ControlKind kind = ControlKind::static_text;
    uint32_t style = 0;
    QPointer<QWidget> widget;
    Font* font = nullptr;  // set by the program; null: the dialog's font
};

struct Window {
    enum class Kind { main, bar, dialog };
    Kind kind = Kind::main;
    bool alive = true;
    WindowProc proc = nullptr;

    // A main window.
    QPointer<QWidget> top;
    QPointer<QWidget> client;
    QPointer<QScrollBar> scroll;
    QImage backing;  // what the client area shows; the kept dc draws here
    Dc dc;
    bool in_paint = false;
    bool needs_wm_paint = true;
    bool destroy_sent = false;
    bool full_screen = false;
    int32_t sent_width = -1, sent_height = -1;  // the client size last reported by WM_SIZE
    int32_t scroll_pos = 0;
    Window* bar = nullptr;
    std::vector<QShortcut*> accelerators;

    // A dialog: top is the dialog, client its client area; needs_wm_paint, backing and dc
    // serve as for a main window.
    std::vector<DialogControl> controls;
    void* dialog_data = nullptr;  // given to run_dialog
    bool ended = false;
    intptr_t result = 0;
    bool needs_erase = true;
    QPointer<QWidget> done_strip;
    QPointer<QWidget> focus_target;  // given the focus when the dialog shows
    bool tap_keeps_focus = false;    // a tap on the client area leaves the focus where it is
    Rect focus_rect;                 // where the focus frame stands; empty: round the client
    QPointer<QWidget> focus_frame;
    bool client_focused = false;  // the client area has had the focus since the dialog showed
    DialogControl* find_control(uint16_t id);

    // What assistive programs are told about the client area (accessible.cpp).
    AccessibleSource accessible_source = nullptr;
    uint32_t accessible_generation = 0;  // moves on with every change of the nodes
    std::u16string announcement;         // said last, and the client area's name since

    // A bar, and the owner of a dialog.
    Window* owner = nullptr;
    QPointer<QWidget> toolbar;
    QPointer<QWidget> menu_button;
    Menu menu;
    std::map<uint16_t, QAction*> buttons;
    bool at_bottom = false;
};

}  // namespace lekta::plat

namespace lekta::qtplat {

inline QString to_qstring(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}
inline QString to_qstring(const char16_t* text, int32_t count) {
    return text && count > 0 ? QString::fromUtf16(text, count) : QString();
}
inline QColor to_qcolor(plat::Colorref c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Fonts (fonts.cpp). Both are null without a GUI application.
bool gui_available();
plat::Font* stock_font();
plat::Font* dc_font(const plat::Dc* dc);
// The cached page of the character's block.
const GlyphPage& glyph_page(plat::Font* font, char16_t c);
// The dcs in use, so that deleting a font can unselect it everywhere.
void register_dc(plat::Dc* dc);
void unregister_dc(plat::Dc* dc);

// A dc that draws into an image the caller keeps; for tests and off-screen measuring.
plat::Dc* create_image_dc(QImage* image);
void delete_image_dc(plat::Dc* dc);

// Shows what was drawn through a window's dc outside a paint.
void drawn(plat::Dc* dc);

// Windows (window.cpp). Records are never freed, so stale handles stay harmless.
plat::Window* new_window_record();
// The program's main window while it is open, else null.
plat::Window* first_main_window();
// Places the bar over the top or bottom of the client area.
void place_bar(plat::Window* window);
// A picture control's picture at the screen's pixel density: drawn by its own hook where it has one
// and wants to, else its bits.
QPixmap picture_pixmap(const plat::MonoImage& image, qreal dpr);
// A tool button image: its bits at one device pixel per unit, its outline (when there is one)
// at any other density, in the palette's button text colour.
QIcon bar_icon(const QImage& bits, const char* outline);
// A main window or a dialog that is still open.
bool alive_client(const plat::Window* w);
// Sends a message to a main window's or a dialog's procedure.
intptr_t deliver(plat::Window* w, uint32_t message, uintptr_t wparam, intptr_t lparam);
intptr_t lparam_of(int low, int high);
// Keeps the backing image the size of the client area at the screen's pixel density. True
// when the image was made anew.
bool ensure_backing(plat::Window* w);
// A vertical scroll bar whose requests arrive as WM_VSCROLL.
QScrollBar* make_scroll_bar(plat::Window* w, QWidget* parent);

// Dialog controls (dialog_controls.cpp): made from the template as children of the client.
void create_controls(plat::Window* dialog, std::span<const plat::ControlTemplate> controls);
// The dialog's widget of a control, or null.
QWidget* control_widget(plat::Window* dialog, uint16_t id);
// A one-bit picture as an image (null when its bits are too short).
QImage mono_image(const plat::MonoImage& image);
// Keeps the window from shrinking below its bar, the scroll bar and a little text.
void fit_minimum_size(plat::Window* window);

// Accessibility (accessible.cpp): marks a client area as the window's, for the interfaces
// that describe it; they are made only when an assistive program asks.
void mark_accessible_client(QWidget* client, plat::Window* window);
void install_accessibility();

// Keys (keys.cpp): the VK_ code of a Qt key, 0 when there is none.
uint32_t vk_from_qt_key(int key);

// The registry (registry.cpp): the settings file, and a fresh look at it (tests change
// LEKTA_CONFIG_DIR between cases).
QString registry_path();
void reopen_registry();

// Long enough for a window manager to have framed and placed a window just shown.
constexpr int PLACE_AGAIN_MS = 150;

// Centres a dialog or box over its owner's window (now, when it has its size already) and
// once more just after it is shown: a window manager places a new window by its own rule and
// honours a move made after that.
void keep_centred_over(QWidget* box, QWidget* owner, bool now);

// Modal dialogs (message_box.cpp): counts our own modal loops.
struct ModalScope {
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace lekta::qtplat
