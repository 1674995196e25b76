// The lesson as a screen reader reads it: Unicode text in reading order, paragraph by paragraph
// (verse labels first, as they are read), the title and subtitle marked as headings, and the
// way from stored byte offsets (the top row, a search hit) to offsets in that text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/accessible.h"

namespace lekta {

struct TextView;

// Letter-code text as Unicode Hebrew, whatever base the font draws the letters at; turned into
// reading order when it is stored in visual order.
std::u16string reading_text(const uint8_t* bytes, int32_t count, bool visual);

enum class ParagraphKind : uint8_t { title, subtitle, text };

struct AccessibleParagraph {
    ParagraphKind kind = ParagraphKind::text;
    int32_t start = 0;  // in AccessibleLesson::text
    int32_t length = 0;
    uint32_t byte_offset = 0;  // of its text in the stored lesson
    bool visual = false;       // stored in visual order
};

struct AccessibleLesson {
    std::u16string text;  // the paragraphs joined by line ends; rules left out
    std::vector<AccessibleParagraph> paragraphs;
};

AccessibleLesson accessible_lesson(std::span<const uint8_t> lesson);
// Where the character of a stored byte stands in the text; a byte between paragraphs (a
// record's style or terminator) gives the start of the paragraph after it.
int32_t text_offset(const AccessibleLesson& lesson, std::span<const uint8_t> stored,
                    uint32_t byte_offset);

// The view's lesson with the reading position at its top line and the search hit as the
// selection (both text offsets; the selection empty without a hit).
struct ReadingState {
    AccessibleLesson lesson;
    int32_t caret = 0;
    int32_t selection_start = 0, selection_end = 0;
};
ReadingState reading_state(const TextView& view);

// The reading window as a screen reader finds it (g_settings' view and date strip): the lesson
// as a document of headings and paragraphs, then the date strip.
void reader_accessible_nodes(plat::Window* window, std::vector<plat::AccessibleNode>& nodes);
// What is said on a day change: the date, then the lesson's title.
std::u16string day_announcement();

// A day as it is said: "כח כסלו תשפ"ז, Tuesday 8 December 2026", or without the years
// "כח כסלו, Tuesday 8 December".
std::u16string spoken_date(int32_t day_number, bool with_years);

}  // namespace lekta
