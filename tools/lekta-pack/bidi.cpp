#include "tools/lekta-pack/bidi.h"

#include <unicode/ubidi.h>

#include <memory>
#include <stdexcept>

#include "view/reading_order.h"

namespace lekta::pack {
namespace {

constexpr uint8_t FIRST_LETTER = 0x61;
constexpr uint8_t LAST_LETTER = 0x7B;
constexpr uint8_t BRACE_CODE = 0x7E;

// The character a letter-code byte stands for, as far as direction goes.
UChar unicode_of(uint8_t b) {
    if (b >= FIRST_LETTER && b <= LAST_LETTER)
        return static_cast<UChar>(0x5D0 + (b - FIRST_LETTER));
    if (b == BRACE_CODE) return u'{';
    return b;
}

struct BidiCloser {
    void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

}  // namespace

std::vector<uint8_t> visual_order(const std::vector<uint8_t>& text) {
    if (text.empty()) return {};
    std::u16string chars;
    for (uint8_t b : text)
        chars += unicode_of(b);
    const auto length = static_cast<int32_t>(chars.size());
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UBiDi, BidiCloser> bidi(ubidi_openSized(length, 0, &status));
    ubidi_setPara(bidi.get(), chars.data(), length, UBIDI_RTL, nullptr, &status);
    std::vector<int32_t> map(chars.size());
    ubidi_getVisualMap(bidi.get(), map.data(), &status);
    if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
    std::vector<uint8_t> visual(text.size());
    for (int32_t i = 0; i < length; ++i) {
        const int32_t logical = map[static_cast<size_t>(i)];
        const uint8_t b = text[static_cast<size_t>(logical)];
        // Only ( ) [ ] { } are mirrored, as the reader's reversal mirrors them, so that
        // right-to-left text stays exactly that reversal; ICU's own mirroring turns < > too.
        visual[static_cast<size_t>(i)] =
            (ubidi_getLevelAt(bidi.get(), logical) & 1) ? mirror_byte(b) : b;
    }
    return visual;
}

}  // namespace lekta::pack
