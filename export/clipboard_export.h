// Copy and Append to ClipBoard: the lesson shown goes to the clipboard as an RTF document with
// a plain-text twin (letters drawn as Unicode Hebrew), or as plain text alone (the legacy font
// bases, whose letters only make sense in their own fonts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace lekta {

struct TextView;

// Results of copy_to_clipboard.
constexpr int EXPORT_DONE = 0;
constexpr int EXPORT_NO_VIEW = -1;
constexpr int EXPORT_NO_TEXT = 2;
constexpr int EXPORT_NOT_DONE = 1;  // the flat text overflowed its room, or no clipboard
constexpr int EXPORT_OUT_OF_MEMORY = 0xFFFE;

// The message shown when the flat text would not fit the room counted for it.
constexpr const char16_t* FLAT_OVERFLOW_MESSAGE = u"(obuf > (start + size))";

// Copy (append false) replaces the clipboard's contents with the view's lesson, or with the
// passage selected in it; Append (true) adds it to the document (or text) the clipboard holds.
// Nothing without a view or a text. On EXPORT_OUT_OF_MEMORY the clipboard is unchanged and the
// caller stops the program.
int copy_to_clipboard(const TextView* view, bool append);

// The room counted for the flat text of a lesson of length bytes, in characters with its
// terminator: length * 3 / 2, 2 per record (4 with a blank row after it), every rule's length
// and every text record's indent, and 1.
size_t flat_text_capacity(std::span<const uint8_t> text, uint32_t length);

// The steps after the flattening: the overflow check against capacity (the message, owned by
// the main window, and nothing copied), then the RTF or the plain path by the letter base.
int hand_over_flat_text(std::u16string_view flat, size_t capacity, bool append);

}  // namespace lekta
