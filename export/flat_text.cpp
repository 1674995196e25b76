#include "export/flat_text.h"

#include <algorithm>
#include <vector>

#include "state/settings.h"
#include "view/letter_code.h"
#include "view/reading_order.h"
#include "view/text_view.h"

namespace lekta {
namespace {

// Converts a run with FLAG_REVERSE forced on or off, leaving the setting as it was.
void append_converted(std::u16string& out, const uint8_t* bytes, int32_t count, bool reverse) {
    const uint32_t saved = g_settings.flags;
    g_settings.flags = reverse ? (saved | FLAG_REVERSE) : (saved & ~FLAG_REVERSE);
    const char16_t* run = to_display_text(bytes, count);
    g_settings.flags = saved;
    if (run) out.append(run);
}

// Whether append_converted turns the run round.
bool turns(bool reverse) {
    const uint32_t saved = g_settings.flags;
    g_settings.flags = reverse ? (saved | FLAG_REVERSE) : (saved & ~FLAG_REVERSE);
    const bool turned = display_turns_runs();
    g_settings.flags = saved;
    return turned;
}

int32_t rule_length(uint8_t measure) {
    return measure <= 160 ? measure : (measure - 160) * 2;
}

bool turned_round(const ParagraphRecord& record, FlatOrder order) {
    return order == FlatOrder::Reading ? (record.style & STYLE_VISUAL) != 0
                                       : (g_settings.flags & FLAG_REVERSE) != 0;
}

void append_end(std::u16string& out, const ParagraphRecord& record) {
    if (!is_rule(record.style)) out.append(static_cast<size_t>(record.measure & 0x3F), u' ');
    out.append(u"\r\n");
    if (record.style & STYLE_BLANK_AFTER) out.append(u"\r\n");
}

// The characters of a text paragraph read at [a, b) of its length.
void append_part(std::u16string& out, const uint8_t* bytes, const ParagraphRecord& record,
                 FlatOrder order, uint32_t a, uint32_t b) {
    const auto n = static_cast<int32_t>(record.length);
    const bool visual = (record.style & STYLE_VISUAL) != 0;
    const bool reverse = turned_round(record, order);
    std::u16string whole;
    append_converted(whole, bytes, n, reverse);
    const bool turned = turns(reverse);
    if (whole.size() == record.length && visual == turned) {
        // Converted in reading order: the part is a stretch of it.
        out.append(whole, a, b - a);
        return;
    }
    // Drawn in another order than it reads: the bytes read there, in their stored order.
    const std::vector<LtrRun> runs = visual ? ltr_runs(bytes, n) : std::vector<LtrRun>{};
    std::vector<uint8_t> picked;
    for (int32_t j = 0; j < n; ++j) {
        const auto r = static_cast<uint32_t>(visual ? reading_index(runs, n, j) : j);
        if (r >= a && r < b) picked.push_back(bytes[j]);
    }
    append_converted(out, picked.data(), static_cast<int32_t>(picked.size()), reverse);
}

}  // namespace

std::u16string flatten_lesson(std::span<const uint8_t> text, FlatOrder order) {
    std::u16string out;
    uint32_t cursor = 0;
    ParagraphRecord record;
    while (next_paragraph(text, cursor, record)) {
        if ((record.style & STYLE_SIZE_MASK) == STYLE_RULE) {
            out.append(static_cast<size_t>(rule_length(record.measure)), u'-');
        } else {
            append_converted(out, text.data() + record.offset, static_cast<int32_t>(record.length),
                             turned_round(record, order));
        }
        append_end(out, record);
    }
    return out;
}

std::u16string flatten_passage(std::span<const uint8_t> text, FlatOrder order, uint32_t from,
                               uint32_t to) {
    std::u16string out;
    uint32_t cursor = 0;
    ParagraphRecord record;
    while (next_paragraph(text, cursor, record)) {
        const uint32_t end = record.offset + record.length;
        if (is_rule(record.style)) {
            if (from > record.offset || to <= record.offset) continue;
            out.append(static_cast<size_t>(rule_length(record.measure)), u'-');
        } else {
            const uint32_t a = std::max(from, record.offset), b = std::min(to, end);
            if (a < b)
                append_part(out, text.data() + record.offset, record, order, a - record.offset,
                            b - record.offset);
            if (from > end || to <= end) continue;
        }
        append_end(out, record);
    }
    return out;
}

std::u16string date_text_in_reading_order(const uint8_t* text, int32_t length) {
    std::u16string out;
    if (text && length > 0) append_converted(out, text, length, true);
    return out;
}

namespace {

// Runs with the letters at their Unicode code points, the window's base put back after.
template <typename F>
auto with_unicode_letters(F&& f) {
    const int32_t saved = g_settings.font_spec.font_ascii_base;
    g_settings.font_spec.font_ascii_base = DEFAULT_FONT_ASCII_BASE;
    auto result = f();
    g_settings.font_spec.font_ascii_base = saved;
    return result;
}

}  // namespace

LessonHeading lesson_heading(std::span<const uint8_t> text) {
    return with_unicode_letters([&] {
        LessonHeading heading;
        const TitleInfo info = read_title(text);
        // Both records are stored in visual order.
        if (info.title) append_converted(heading.title, info.title, info.title_length, true);
        if (info.subtitle)
            append_converted(heading.subtitle, info.subtitle, info.subtitle_length, true);
        return heading;
    });
}

std::u16string unicode_date_text(const uint8_t* text, int32_t length) {
    return with_unicode_letters([&] { return date_text_in_reading_order(text, length); });
}

std::string to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace lekta
