#include "export/flat_text.h"

#include "state/settings.h"
#include "view/letter_code.h"

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

int32_t rule_length(uint8_t measure) {
    return measure <= 160 ? measure : (measure - 160) * 2;
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
            const bool reverse = order == FlatOrder::Reading
                                     ? (record.style & STYLE_VISUAL) != 0
                                     : (g_settings.flags & FLAG_REVERSE) != 0;
            append_converted(out, text.data() + record.offset, static_cast<int32_t>(record.length),
                             reverse);
            out.append(static_cast<size_t>(record.measure & 0x3F), u' ');
        }
        out.append(u"\r\n");
        if (record.style & STYLE_BLANK_AFTER) out.append(u"\r\n");
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
