// The desktop clipboard: data under MIME types, several at once.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lekta::plat {

// Plain text, UTF-8.
constexpr const char* MIME_TEXT = "text/plain";
// Rich Text Format under the two names word processors read.
constexpr const char* MIME_RTF = "text/rtf";
constexpr const char* MIME_RTF_ALT = "application/rtf";

struct ClipboardEntry {
    const char* mime_type = nullptr;
    std::string_view data;
};

// The clipboard's data under a MIME type, as bytes (the other program's, so untrusted); nothing
// when it holds no such data or there is no clipboard.
std::optional<std::string> clipboard_data(const char* mime_type);

// Replaces what the clipboard holds with the entries, all as one offer. false when there is no
// clipboard to write to (it is then unchanged).
bool set_clipboard_data(std::span<const ClipboardEntry> entries);

}  // namespace lekta::plat
