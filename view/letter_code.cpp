#include "view/letter_code.h"

#include <algorithm>
#include <new>

#include "state/settings.h"
#include "view/reading_order.h"

namespace lekta {
namespace {

// The one conversion buffer shared by all measuring and drawing; it only grows.
char16_t* g_buffer = nullptr;
int32_t g_capacity = 0;

constexpr uint8_t FIRST_LETTER = 0x61;
constexpr uint8_t LAST_LETTER = 0x7B;
constexpr uint8_t BRACE_CODE = 0x7E;

bool grow_buffer(int32_t count) {
    if (count < g_capacity && g_buffer) return true;
    auto* grown = new (std::nothrow) char16_t[static_cast<size_t>(count) + 1];
    if (!grown) return false;
    delete[] g_buffer;
    g_buffer = grown;
    g_capacity = count + 1;
    return true;
}

}  // namespace

bool next_paragraph(std::span<const uint8_t> text, uint32_t& cursor, ParagraphRecord& record) {
    // A style byte without its measure byte is a truncated record: treated as the end.
    if (cursor >= text.size() || text[cursor] == 0 || cursor + 1 >= text.size()) return false;
    record.style = text[cursor];
    record.measure = text[cursor + 1];
    record.offset = cursor + 2;
    uint32_t end = record.offset;
    while (end < text.size() && text[end] != 0)
        ++end;
    record.length = end - record.offset;
    // Past the zero byte; a text that runs to the end of the buffer ends the walk there.
    cursor = end < text.size() ? end + 1 : end;
    return true;
}

const char16_t* to_display_run(const uint8_t* bytes, int32_t count, bool allow_reverse,
                               int32_t* converted) {
    if (converted) *converted = 0;
    if (count < 0 || !bytes) count = 0;
    if (!grow_buffer(count)) return nullptr;
    const int32_t base = g_settings.font_spec.font_ascii_base;
    int32_t n = 0;
    for (; n < count && bytes[n] != 0; ++n) {
        uint8_t b = bytes[n];
        if (b >= FIRST_LETTER && b <= LAST_LETTER)
            g_buffer[n] = static_cast<char16_t>(base + (b - FIRST_LETTER));
        else if (b == BRACE_CODE)
            g_buffer[n] = u'{';
        else
            g_buffer[n] = b;
    }
    g_buffer[n] = 0;
    // Only what was converted is turned around: a run cut short by a zero byte must not pull
    // the terminator and stale buffer contents into view. Latin words and numbers keep their
    // own order inside it; right-to-left text is exactly reversed and mirrored.
    if (allow_reverse && n > 0 && display_turns_runs()) visual_to_reading_run(bytes, n, g_buffer);
    if (converted) *converted = n;
    return g_buffer;
}

bool display_turns_runs() {
    return g_settings.font_spec.font_ascii_base != 97 && (g_settings.flags & FLAG_REVERSE);
}

const char16_t* to_display_text(const uint8_t* bytes, int32_t count) {
    return to_display_run(bytes, count, true, nullptr);
}

int reverse_and_mirror(char16_t* run, int32_t count) {
    if (!run || count <= 0) return 0;
    std::reverse(run, run + count);
    for (int32_t i = 0; i < count; ++i)
        run[i] = mirror_char(run[i]);
    return 0;
}

TitleInfo read_title(std::span<const uint8_t> text) {
    TitleInfo info;
    uint32_t cursor = 0;
    ParagraphRecord record;
    if (!next_paragraph(text, cursor, record)) return info;
    if (record.style == STYLE_TITLE) {
        info.title = text.data() + record.offset;
        info.title_length = static_cast<int32_t>(record.length);
        if (!next_paragraph(text, cursor, record)) return info;
    }
    if (record.style == STYLE_SUBTITLE) {
        info.subtitle = text.data() + record.offset;
        info.subtitle_length = static_cast<int32_t>(record.length);
    }
    return info;
}

}  // namespace lekta
