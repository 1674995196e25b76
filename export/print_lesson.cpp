#include "export/print_lesson.h"

#include <string>

#include "calendar/schedule.h"
#include "export/flat_text.h"
#include "state/current_day.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/book.h"
#include "store/lesson_store.h"

namespace lekta {
namespace {

// CR LF line ends become the terminal's plain newlines.
std::string terminal_text(const std::u16string& text) {
    std::string out = to_utf8(text);
    std::string plain;
    plain.reserve(out.size());
    for (char c : out) {
        if (c != '\r') plain += c;
    }
    return plain;
}

}  // namespace

int print_lesson(std::FILE* out, std::FILE* err) {
    // Text for a terminal is Unicode Hebrew, whatever base the window draws with.
    const int32_t saved_base = g_settings.font_spec.font_ascii_base;
    g_settings.font_spec.font_ascii_base = DEFAULT_FONT_ASCII_BASE;

    LessonText text;
    if (!is_leap_cycle() || book_has_leap_cycle())
        text = fetch_lesson_text(g_settings.current_lesson);

    const std::string date =
        terminal_text(date_text_in_reading_order(g_reader.date_text, g_reader.date_text_length));
    std::fprintf(out, "%s\n", date.c_str());
    int status = 0;
    if (text) {
        const std::string lesson = terminal_text(flatten_lesson(text.span(), FlatOrder::Reading));
        std::fputs(lesson.c_str(), out);
    } else {
        std::fputs("Could not access the\nThe lesson for the selected day\n", err);
        status = 1;
    }
    std::fflush(out);
    g_settings.font_spec.font_ascii_base = saved_base;
    return status;
}

}  // namespace lekta
