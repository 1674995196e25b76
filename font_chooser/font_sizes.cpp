#include "font_chooser/font_sizes.h"

#include <algorithm>
#include <cstdlib>

namespace lekta {

std::u16string size_text(int32_t size) {
    auto value = static_cast<uint32_t>(size);
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value);
    return text;
}

int32_t parse_size(std::u16string_view text) {
    // Unsigned: an item is one of our own sizes, but a long run must not overflow.
    uint32_t value = 0;
    for (char16_t unit : text)
        value = value * 10 + unit - 0x30u;
    return static_cast<int32_t>(value);
}

int32_t size_index(int32_t size) {
    const auto at = std::find(FONT_SIZES.begin(), FONT_SIZES.end(), size);
    return at == FONT_SIZES.end() ? -1 : static_cast<int32_t>(at - FONT_SIZES.begin());
}

int32_t nearest_size(int32_t height) {
    int32_t best = FONT_SIZES.front();
    for (int32_t size : FONT_SIZES)
        if (std::abs(size - height) < std::abs(best - height)) best = size;
    return best;
}

}  // namespace lekta
