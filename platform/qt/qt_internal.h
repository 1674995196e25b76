// What the Qt backend's files share: the handle records behind platform.h's opaque types and a
// few conversions. Only platform/qt and its tests include this.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRawFont>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <vector>

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
    QRawFont faces[2];  // the font itself, and the face Qt picks for Hebrew text
    int32_t ascent = 0;
    int32_t height = 0;
    int32_t max_char_width = 0;
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

struct Window {
    enum class Kind { main, bar };
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

    // A bar.
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
// Keeps the window from shrinking below its bar, the scroll bar and a little text.
void fit_minimum_size(plat::Window* window);

// Keys (keys.cpp): the VK_ code of a Qt key, 0 when there is none.
uint32_t vk_from_qt_key(int key);

// The registry (registry.cpp): the settings file, and a fresh look at it (tests change
// LEKTA_CONFIG_DIR between cases).
QString registry_path();
void reopen_registry();

// Modal dialogs (message_box.cpp): counts our own modal loops.
struct ModalScope {
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace lekta::qtplat
