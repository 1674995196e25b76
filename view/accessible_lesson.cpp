#include "view/accessible_lesson.h"

#include <algorithm>
#include <string>

#include "calendar/date_text.h"
#include "calendar/hebrew_calendar.h"
#include "view/reading_order.h"
#include "view/selection.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr uint8_t FIRST_LETTER = 0x61;
constexpr uint8_t LAST_LETTER = 0x7B;
constexpr uint8_t BRACE_CODE = 0x7E;
constexpr char16_t ALEF = 0x05D0;

char16_t unicode_of(uint8_t b) {
    if (b >= FIRST_LETTER && b <= LAST_LETTER) return char16_t(ALEF + (b - FIRST_LETTER));
    if (b == BRACE_CODE) return u'{';
    return b;
}

ParagraphKind kind_of(uint8_t style) {
    if (style == STYLE_TITLE) return ParagraphKind::title;
    if (style == STYLE_SUBTITLE) return ParagraphKind::subtitle;
    return ParagraphKind::text;
}

void append_number(std::u16string& out, int32_t n) {
    for (char c : std::to_string(n))
        out += char16_t(c);
}

}  // namespace

std::u16string spoken_date(int32_t day_number, bool with_years) {
    static constexpr const char16_t* WEEKDAYS[7] = {
        u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    static constexpr const char16_t* MONTHS[12] = {
        u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December"};
    const DateRecord hebrew = hebrew_from_day_number(day_number);
    uint8_t letters[DATE_TEXT_MAX] = {};
    const int n = hebrew_date_text(&hebrew, letters);
    std::u16string out = reading_text(letters, n, true);
    if (!with_years) out.resize(std::min(out.size(), out.rfind(u' ')));
    const DateRecord civil = civil_from_day_number(day_number);
    out += u", ";
    out += WEEKDAYS[weekday(day_number)];
    out += u' ';
    append_number(out, civil.day);
    out += u' ';
    if (civil.month >= 1 && civil.month <= 12) out += MONTHS[civil.month - 1];
    if (with_years) {
        out += u' ';
        append_number(out, civil.year);
    }
    return out;
}

std::u16string reading_text(const uint8_t* bytes, int32_t count, bool visual) {
    std::u16string out;
    if (!bytes || count <= 0) return out;
    out.resize(size_t(count));
    std::transform(bytes, bytes + count, out.begin(), unicode_of);
    if (visual) visual_to_reading_run(bytes, count, out.data());
    return out;
}

AccessibleLesson accessible_lesson(std::span<const uint8_t> lesson) {
    AccessibleLesson out;
    uint32_t cursor = 0;
    ParagraphRecord record;
    while (next_paragraph(lesson, cursor, record)) {
        if (is_rule(record.style)) continue;
        if (!out.paragraphs.empty()) out.text += u'\n';
        AccessibleParagraph p;
        p.kind = kind_of(record.style);
        p.start = int32_t(out.text.size());
        p.length = int32_t(record.length);
        p.byte_offset = record.offset;
        p.visual = (record.style & STYLE_VISUAL) != 0;
        out.text += reading_text(lesson.data() + record.offset, p.length, p.visual);
        out.paragraphs.push_back(p);
    }
    return out;
}

int32_t text_offset(const AccessibleLesson& lesson, std::span<const uint8_t> stored,
                    uint32_t byte_offset) {
    for (const AccessibleParagraph& p : lesson.paragraphs) {
        if (byte_offset < p.byte_offset) return p.start;
        const uint32_t end = p.byte_offset + uint32_t(p.length);
        if (byte_offset >= end) continue;
        const auto i = int32_t(byte_offset - p.byte_offset);
        if (!p.visual || end > stored.size()) return p.start + i;
        const std::vector<LtrRun> runs = ltr_runs(stored.data() + p.byte_offset, p.length);
        return p.start + reading_index(runs, p.length, i);
    }
    return int32_t(lesson.text.size());
}

namespace {

// A reading position (view/selection.h) as an offset in the lesson's text.
int32_t position_offset(const AccessibleLesson& lesson, uint32_t position) {
    for (const AccessibleParagraph& p : lesson.paragraphs) {
        if (position < p.byte_offset) return p.start;
        if (position <= p.byte_offset + uint32_t(p.length))
            return p.start + int32_t(position - p.byte_offset);
    }
    return int32_t(lesson.text.size());
}

}  // namespace

ReadingState reading_state(const TextView& view) {
    ReadingState out;
    const std::span<const uint8_t> stored = view.text.span();
    out.lesson = accessible_lesson(stored);
    // The reading position: where the first line at or below the top row begins to read; a
    // paragraph's first line (its label included) from the paragraph's start.
    if (view.lines) {
        int32_t row = 0;
        uint32_t previous_end = 0;
        for (uint16_t i = 0; i < view.line_count; ++i) {
            const LineRecord& line = view.lines[i];
            const uint32_t last = line.offset + (line.count > 0 ? line.count - 1u : 0u);
            const bool first = i == 0 || line.offset > previous_end + 1 || line.hang > 0;
            if (row >= view.top_row && !is_rule(line.style)) {
                const int32_t a = text_offset(out.lesson, stored, line.offset);
                const int32_t b = text_offset(out.lesson, stored, last);
                out.caret = std::min(a, b);
                if (first)
                    for (const AccessibleParagraph& p : out.lesson.paragraphs)
                        if (p.start <= out.caret && out.caret <= p.start + p.length)
                            out.caret = p.start;
                break;
            }
            previous_end = last;
            row += line_rows(line);
        }
    }
    if (has_selection(view)) {
        // A passage the user selected is the selection; its positions count in reading order.
        const Passage passage = selected_passage(view);
        out.selection_start = position_offset(out.lesson, passage.from);
        out.selection_end = position_offset(out.lesson, passage.to);
    } else if (view.hl_end > view.hl_start) {
        // A hit in visual order runs backwards in the text: take its two ends either way.
        const int32_t a = text_offset(out.lesson, stored, view.hl_start);
        const int32_t b = text_offset(out.lesson, stored, view.hl_end - 1u);
        out.selection_start = std::min(a, b);
        out.selection_end = std::max(a, b) + 1;
    }
    return out;
}

}  // namespace lekta
