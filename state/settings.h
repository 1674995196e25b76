// The one process-wide record of the stored settings. Other modules read and write its fields
// directly; the settings store fills it at start and writes it back at exit.
#pragma once

#include <cstdint>
#include <vector>

namespace lekta {

// Bits of Settings::flags; all other bits are carried and stored unchanged.
constexpr uint32_t FLAG_DAY_PINNED = 0x00000004;
constexpr uint32_t FLAG_SCROLLBAR = 0x000000C0;
constexpr uint32_t FLAG_REVERSE = 0x00000800;
constexpr uint32_t KEY_PAGE_MODE = 0x00700000;  // bits 20..22
constexpr uint32_t TAP_PAGE_MODE = 0x07000000;  // bits 24..26
constexpr uint32_t FLAG_TAP_VERTICAL = 0x10000000;
constexpr uint32_t FLAG_TAP_PAGING = 0x80000000;
constexpr uint32_t DEFAULT_FLAGS = 0xD1140040;

constexpr int32_t DEFAULT_FONT_ASCII_BASE = 0x5D0;

// Page mode values 2 and 4 mean half a page; any other value a page less one line.
inline uint32_t key_page_mode(uint32_t flags) {
    return (flags & KEY_PAGE_MODE) >> 20;
}
inline uint32_t tap_page_mode(uint32_t flags) {
    return (flags & TAP_PAGE_MODE) >> 24;
}

struct FontSpec {
    char16_t face_name[32] = {};  // at most 31 characters; empty: no font chosen yet
    int32_t font_size = 0;        // 0: none chosen
    int32_t font_ascii_base = DEFAULT_FONT_ASCII_BASE;  // code point at which letter 0x61 is drawn
};

constexpr int SEARCH_STRING_CAPACITY = 34;

// What is kept between runs: each field is a stored value (see state/settings_table.h for its
// name, default and check). What only lives while the reader runs is in state/reader.h.
struct Settings {
    FontSpec font_spec;
    uint16_t last_position = 0;  // first row to show when the start day's lesson first appears
    uint32_t flags = 0;
    uint16_t current_lesson = 0;                         // lesson key of the current day
    int32_t current_day = 0;                             // day number; 0: none chosen yet
    uint8_t search_string[SEARCH_STRING_CAPACITY] = {};  // letter code, zero-terminated
    // The main window's place on the desktop; a width of 0: none known.
    int32_t window_left = 0, window_top = 0, window_width = 0, window_height = 0;
    // Bookmarked lesson keys in the order they were made; none is 0.
    std::vector<uint16_t> bookmarks;
    // Go ▸ Night, stored: 0 follows the desktop's colour scheme, 1 dark, 2 light.
    int32_t night = 0;
};

// Read once at start from the vendor key; never written back. The bar mode and the gutter are
// also copied into the running reader's record, where the window code reads them.
struct ShellOptions {
    int32_t full_screen = 0;
    int32_t menu_bar_on_bottom = 0;
    int32_t surrounding_gutter = 0;
};

// The process-wide start options.
extern ShellOptions g_shell_options;

// The process-wide settings record.
extern Settings g_settings;

}  // namespace lekta
