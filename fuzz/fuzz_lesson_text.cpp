// The lesson text reader over arbitrary bytes: the record walk, the title and the display
// conversion of every record, with the letter base and Reverse taken from the input.
#include <cstddef>
#include <cstdint>
#include <span>

#include "state/settings.h"
#include "view/letter_code.h"

using namespace lekta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t mode = data[0];
    const int32_t bases[] = {97, 224, DEFAULT_FONT_ASCII_BASE, 0xFF00};
    g_settings.flags = (mode & 1) ? FLAG_REVERSE : 0;
    g_settings.font_spec.font_ascii_base = bases[(mode >> 1) & 3];
    std::span<const uint8_t> text(data + 1, size - 1);

    TitleInfo title = read_title(text);
    if (title.title) to_display_text(title.title, title.title_length);
    if (title.subtitle) to_display_text(title.subtitle, title.subtitle_length);

    uint32_t cursor = 0;
    ParagraphRecord record;
    while (next_paragraph(text, cursor, record)) {
        if (record.offset + record.length > text.size()) __builtin_trap();
        int32_t converted = 0;
        const char16_t* run = to_display_run(text.data() + record.offset,
                                             static_cast<int32_t>(record.length), true, &converted);
        if (!run || converted != static_cast<int32_t>(record.length) || run[converted] != 0)
            __builtin_trap();
    }
    return 0;
}
