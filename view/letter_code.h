// The lesson text format (paragraph records in the letter code) and the display conversion.
#pragma once

#include <cstdint>
#include <span>

namespace lekta {

// Style byte bits.
constexpr uint8_t STYLE_SIZE_MASK = 0x07;  // 7: a rule record
constexpr uint8_t STYLE_RULE = 0x07;
constexpr uint8_t STYLE_LARGE = 0x04;
constexpr uint8_t STYLE_SMALL = 0x02;
constexpr uint8_t STYLE_BOLD = 0x08;
constexpr uint8_t STYLE_VISUAL = 0x10;
constexpr uint8_t STYLE_ALIGN_MASK = 0x60;
constexpr uint8_t STYLE_ALIGN_RIGHT = 0x20;
constexpr uint8_t STYLE_ALIGN_CENTER = 0x40;
constexpr uint8_t STYLE_BLANK_AFTER = 0x80;
constexpr uint8_t FONT_KEY_MASK = 0x1F;

constexpr uint8_t STYLE_TITLE = 0xDC;
constexpr uint8_t STYLE_SUBTITLE = 0xD1;

// One paragraph record as read in place. offset is the text's offset in the lesson.
struct ParagraphRecord {
    uint8_t style = 0;
    uint8_t measure = 0;
    uint32_t offset = 0;  // of the first text byte
    uint32_t length = 0;  // text bytes before the zero byte
};

// Reads the record starting at `cursor`; false at the end (a zero style byte, or the end of the
// buffer). Never reads outside `text`. On success `cursor` moves past the record.
bool next_paragraph(std::span<const uint8_t> text, uint32_t& cursor, ParagraphRecord& record);

// Converts at most count bytes (stopping at a zero byte) to display characters in the shared
// conversion buffer, turned into reading order when the Reverse setting asks for it (see
// view/reading_order.h: reversed and mirrored, Latin words and numbers kept in their order). The
// result stays valid until the next conversion; null when the buffer cannot be grown.
const char16_t* to_display_text(const uint8_t* bytes, int32_t count);
// The same conversion with the Reverse rule chosen by the caller (measuring never reverses).
// `converted` receives the number of characters written before the terminating zero.
const char16_t* to_display_run(const uint8_t* bytes, int32_t count, bool allow_reverse,
                               int32_t* converted);
// Whether the display conversion turns runs round now (the Reverse setting, at a base whose
// letters are Hebrew).
bool display_turns_runs();
// Reverses count characters in place and swaps ( ) [ ] { } with their partners; 1 when the
// scratch copy cannot be allocated (run unchanged), else 0.
int reverse_and_mirror(char16_t* run, int32_t count);

struct TitleInfo {
    const uint8_t* title = nullptr;
    int32_t title_length = 0;
    const uint8_t* subtitle = nullptr;
    int32_t subtitle_length = 0;
};
TitleInfo read_title(std::span<const uint8_t> text);

}  // namespace lekta
