#include "export/clipboard_text.h"

#include "export/flat_text.h"

namespace lekta {

std::string clipboard_text(std::u16string_view flat) {
    const std::string utf8 = to_utf8(flat);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\r') {
            out += utf8[i];
        } else if (i + 1 >= utf8.size() || utf8[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

std::string_view up_to_zero(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::string appended_text(std::string_view earlier, std::string_view text, bool separate) {
    std::string out(earlier);
    if (separate && !earlier.empty()) {
        if (earlier.back() != '\n') out += '\n';
        out += TEXT_SEPARATOR;
    }
    out += text;
    return out;
}

}  // namespace lekta
