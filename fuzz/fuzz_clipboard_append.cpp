// Append to ClipBoard onto whatever another program left on the clipboard: the earlier RTF
// document and text are arbitrary bytes. The first byte chooses under which types they lie and
// the letter base; the rest is the earlier data, and also, read as UTF-16, the flat text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "export/clipboard_export.h"
#include "export/clipboard_text.h"
#include "export/rtf.h"
#include "platform/clipboard.h"
#include "platform/test/test_clipboard.h"
#include "state/settings.h"

using namespace lekta;

namespace {

void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t mode = data[0];
    const std::string earlier(reinterpret_cast<const char*>(data + 1), size - 1);
    std::u16string flat;
    for (size_t i = 1; i + 1 < size; i += 2)
        flat += static_cast<char16_t>(data[i] | data[i + 1] << 8);

    testplat::reset_clipboard();
    if (mode & 1) testplat::clipboard()[(mode & 2) ? plat::MIME_RTF : plat::MIME_RTF_ALT] = earlier;
    if (mode & 4) testplat::clipboard()[plat::MIME_TEXT] = earlier;
    g_settings.font_spec.font_ascii_base = (mode & 8) ? 97 : DEFAULT_FONT_ASCII_BASE;

    check(hand_over_flat_text(flat, flat.size() + 1, true) == EXPORT_DONE);
    const std::string& text = testplat::clipboard()[plat::MIME_TEXT];
    if (mode & 8) {
        check(testplat::clipboard().size() == 1);
        check(std::string_view(text).ends_with(clipboard_text(flat)));
        return 0;
    }
    const std::string& document = testplat::clipboard()[plat::MIME_RTF];
    check(document == testplat::clipboard()[plat::MIME_RTF_ALT]);
    check(std::string_view(document).ends_with(RTF_CLOSING));
    // No header twice, and never a document without one unless it continues the earlier one.
    const std::string_view open =
        open_document((mode & 1) ? std::string_view(earlier) : std::string_view());
    check(document == rtf_document(open, rtf_body(flat)));
    check(open.empty() ? std::string_view(document).starts_with(RTF_HEADER)
                       : std::string_view(document).starts_with(open));
    check(document.find('\0') == std::string::npos);
    return 0;
}
