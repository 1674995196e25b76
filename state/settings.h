// The one process-wide record of settings and shell state. Other modules read and write its
// fields directly; the settings store fills it at start and writes it back at exit.
#pragma once

#include <cstdint>
#include <vector>

#include "calendar/hebrew_calendar.h"

namespace lekta {

namespace plat {
struct Font;
struct Window;
struct Bitmap;
}  // namespace plat
struct TextView;

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

constexpr int DATE_TEXT_CAPACITY = 44;
constexpr int SEARCH_STRING_CAPACITY = 34;

struct Settings {
    void* instance = nullptr;
    FontSpec font_spec;
    uint16_t last_position = 0;  // first row to show when the start day's lesson first appears
    uint32_t flags = 0;
    uint16_t current_lesson = 0;  // lesson key of the current day
    int32_t current_day = 0;      // day number; 0: none chosen yet
    // The "Lesson" the settings held at start: the lesson last_position was saved on.
    uint16_t position_lesson = 0;

    DateRecord hebrew_date;                      // of the current day
    uint8_t date_text[DATE_TEXT_CAPACITY] = {};  // letter code, visual order, zero-terminated
    int32_t date_text_length = 0;

    // Reading window frame: the date strip.
    plat::Font* strip_font = nullptr;
    int32_t date_count = 0;  // date-text bytes drawn
    int32_t strip_left = 0, strip_top = 0, strip_width = 0, strip_height = 0;

    uint8_t search_string[SEARCH_STRING_CAPACITY] = {};  // letter code, zero-terminated

    TextView* view = nullptr;

    int32_t menu_bar_mode = 0;  // nonzero: the bar sits below the client area
    int32_t bar_height = 0;
    int32_t gutter = 0;  // SurroundingGutter
    plat::Window* bar_window = nullptr;
    plat::Window* main_window = nullptr;
    // The main window's place on the desktop, kept across runs; a width of 0: none known.
    int32_t window_left = 0, window_top = 0, window_width = 0, window_height = 0;

    plat::Bitmap* index_bitmaps[3] = {};
    // Bookmarked lesson keys in the order they were made; none is 0.
    std::vector<uint16_t> bookmarks;
    // Set when the list is released at the end of the run: a second end must not store the
    // emptied list over the real one.
    bool bookmarks_released = false;
    uint16_t bookmark_question_flags = 0;  // BOOKMARK_NO_QUESTION: remove without asking
    bool today_flag = false;
    // "Night": 0 follows the desktop's colour scheme, 1 dark, 2 light (Go ▸ Night).
    int32_t night = 0;
};

// The process-wide settings record.
extern Settings g_settings;

}  // namespace lekta
