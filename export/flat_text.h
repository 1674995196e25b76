// A lesson flattened to UTF-16 text, one line per paragraph: what the clipboard receives and what
// --print writes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lekta {

enum class FlatOrder {
    // Every run converted as the display conversion leaves it under the current settings.
    AsSettings,
    // Every paragraph in reading order: visual-order paragraphs turned round, brackets mirrored
    // back, whatever the Reverse setting says.
    Reading,
};

// Each text paragraph: its text, as many spaces as its indent, CR LF, and one more CR LF when a
// blank row follows it. A rule: a run of '-' as long as its width (pixels up to 160, doubled
// percentages above), CR LF, and the blank line likewise.
std::u16string flatten_lesson(std::span<const uint8_t> text, FlatOrder order);
// The same for the reading positions [from, to) (view/selection.h): the characters read there,
// a paragraph's end (its indent, line ends and blank row) only when the passage runs past it,
// a rule when the passage runs over it. Characters of a paragraph drawn in another order than
// it reads keep the drawn order, as flatten_lesson keeps it.
std::u16string flatten_passage(std::span<const uint8_t> text, FlatOrder order, uint32_t from,
                               uint32_t to);

// The date text (letter code, visual order) in reading order.
std::u16string date_text_in_reading_order(const uint8_t* text, int32_t length);

// The lesson's title and subtitle in reading order, as Unicode Hebrew whatever base the
// window draws with; empty when the lesson has none.
struct LessonHeading {
    std::u16string title, subtitle;
};
LessonHeading lesson_heading(std::span<const uint8_t> text);
// The date text in reading order as Unicode Hebrew, whatever base the window draws with.
std::u16string unicode_date_text(const uint8_t* text, int32_t length);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string to_utf8(std::u16string_view text);

}  // namespace lekta
