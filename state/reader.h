// The one process-wide record of the running reader: what is derived from the settings or made
// while the program runs, and never stored. Other modules read and write its fields directly.
#pragma once

#include <cstdint>

#include "calendar/hebrew_calendar.h"

namespace lekta {

namespace plat {
struct Font;
struct Window;
}  // namespace plat
struct TextView;

constexpr int DATE_TEXT_CAPACITY = 44;

struct Reader {
    // The lesson the settings held at start: the one last_position was saved on.
    uint16_t position_lesson = 0;

    DateRecord hebrew_date;                      // of the current day
    uint8_t date_text[DATE_TEXT_CAPACITY] = {};  // letter code, visual order, zero-terminated
    int32_t date_text_length = 0;

    // Reading window frame: the date strip.
    plat::Font* strip_font = nullptr;
    int32_t date_count = 0;  // date-text bytes drawn
    int32_t strip_left = 0, strip_top = 0, strip_width = 0, strip_height = 0;

    TextView* view = nullptr;

    int32_t menu_bar_mode = 0;  // nonzero: the bar sits below the client area
    int32_t bar_height = 0;
    int32_t gutter = 0;  // SurroundingGutter
    plat::Window* bar_window = nullptr;
    plat::Window* main_window = nullptr;

    // Set when the bookmark list is released at the end of the run: a second end must not store
    // the emptied list over the real one.
    bool bookmarks_released = false;
    uint16_t bookmark_question_flags = 0;  // BOOKMARK_NO_QUESTION: remove without asking
    bool today_flag = false;               // started with "/today" or --today
    bool save_failure_said = false;        // a failed save was reported on standard error
};

// The process-wide record of the running reader.
extern Reader g_reader;

}  // namespace lekta
