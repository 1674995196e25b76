#include "export/clipboard_export.h"

#include <array>
#include <new>
#include <optional>
#include <string>

#include "export/clipboard_text.h"
#include "export/flat_text.h"
#include "export/rtf.h"
#include "platform/clipboard.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/letter_code.h"
#include "view/selection.h"
#include "view/text_view.h"

namespace lekta {
namespace {

// Letters drawn above Latin-1 are Unicode Hebrew: those a word processor can take as rich text.
bool letters_are_unicode() {
    return g_settings.font_spec.font_ascii_base > 256;
}

std::string clipboard_bytes(const char* mime_type) {
    std::optional<std::string> data = plat::clipboard_data(mime_type);
    return data ? std::move(*data) : std::string();
}

int set_clipboard(std::span<const plat::ClipboardEntry> entries) {
    return plat::set_clipboard_data(entries) ? EXPORT_DONE : EXPORT_NOT_DONE;
}

int copy_rich(std::u16string_view flat, bool append) {
    std::string previous;
    if (append) {
        previous = clipboard_bytes(plat::MIME_RTF);
        if (previous.empty()) previous = clipboard_bytes(plat::MIME_RTF_ALT);
    }
    const std::string_view earlier = open_document(previous);
    const std::string document = rtf_document(earlier, rtf_body(flat));

    // The same lesson as text, for programs that take no RTF; it collects the same lessons.
    std::string text = clipboard_text(flat);
    if (!earlier.empty()) {
        const std::string earlier_text = clipboard_bytes(plat::MIME_TEXT);
        text = appended_text(up_to_zero(earlier_text), text, true);
    }
    const std::array<plat::ClipboardEntry, 3> entries = {{
        {plat::MIME_RTF, document},
        {plat::MIME_RTF_ALT, document},
        {plat::MIME_TEXT, text},
    }};
    return set_clipboard(entries);
}

int copy_plain(std::u16string_view flat, bool append) {
    const std::string earlier = append ? clipboard_bytes(plat::MIME_TEXT) : std::string();
    const std::string text = appended_text(up_to_zero(earlier), clipboard_text(flat), false);
    const std::array<plat::ClipboardEntry, 1> entries = {{{plat::MIME_TEXT, text}}};
    return set_clipboard(entries);
}

}  // namespace

size_t flat_text_capacity(std::span<const uint8_t> text, uint32_t length) {
    size_t capacity = size_t{length} * 3 / 2 + 1;
    uint32_t cursor = 0;
    ParagraphRecord record;
    while (next_paragraph(text, cursor, record)) {
        capacity += (record.style & STYLE_BLANK_AFTER) ? 4 : 2;
        if (is_rule(record.style)) {
            capacity += record.measure <= 160 ? record.measure : (record.measure - 160u) * 2;
        } else {
            capacity += record.measure & 0x3F;
        }
    }
    return capacity;
}

int hand_over_flat_text(std::u16string_view flat, size_t capacity, bool append) {
    try {
        if (flat.size() + 1 > capacity) {
            plat::message_box(g_reader.main_window, FLAT_OVERFLOW_MESSAGE, nullptr, plat::MB_OK);
            return EXPORT_NOT_DONE;
        }
        return letters_are_unicode() ? copy_rich(flat, append) : copy_plain(flat, append);
    } catch (const std::bad_alloc&) {
        return EXPORT_OUT_OF_MEMORY;
    }
}

int copy_to_clipboard(const TextView* view, bool append) {
    if (!view) return EXPORT_NO_VIEW;
    if (!view->text) return EXPORT_NO_TEXT;
    const std::span<const uint8_t> text = view->text.span();
    try {
        // Rich text goes to programs that order text themselves: each paragraph in reading
        // order. Legacy fonts draw as stored, so their text keeps the order on the screen.
        const FlatOrder order = letters_are_unicode() ? FlatOrder::Reading : FlatOrder::AsSettings;
        // A selected passage goes the same way as the lesson, cut to the selection.
        const Passage passage = selected_passage(*view);
        const std::u16string flat = passage.from == passage.to
                                        ? flatten_lesson(text, order)
                                        : flatten_passage(text, order, passage.from, passage.to);
        return hand_over_flat_text(flat, flat_text_capacity(text, view->text.length), append);
    } catch (const std::bad_alloc&) {
        return EXPORT_OUT_OF_MEMORY;
    }
}

}  // namespace lekta
