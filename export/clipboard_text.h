// The lesson as plain text on the desktop clipboard: UTF-8 with the desktop's line ends.
#pragma once

#include <string>
#include <string_view>

namespace lekta {

// The flat text as UTF-8, each CR LF (or lone CR) as one LF.
std::string clipboard_text(std::u16string_view flat);

// Bytes read from the clipboard up to the first zero byte: another program's data may carry
// a terminator, or stop short of one.
std::string_view up_to_zero(std::string_view bytes);

// Between lessons collected as text beside the RTF document: the separator row in plain words.
constexpr std::string_view TEXT_SEPARATOR = "*  *  *  *  *\n\n";

// text after earlier: directly (the legacy bases' Append), or with the separator row on a line
// of its own when separate is set and earlier holds something.
std::string appended_text(std::string_view earlier, std::string_view text, bool separate);

}  // namespace lekta
