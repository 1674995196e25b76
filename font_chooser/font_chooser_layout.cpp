#include "font_chooser/font_chooser_layout.h"

#include <algorithm>

namespace lekta {
namespace {

plat::Rect box(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + std::max(0, width), top + std::max(0, height)};
}

}  // namespace

FontChooserLayout font_chooser_layout(int32_t width, int32_t height) {
    const int32_t w = width - 14, h = height - 14;
    const int32_t x = (2 * w) / 3, y = (2 * h) / 3;
    FontChooserLayout out;
    out.families = box(7, 7, x - 7, y - 7);
    out.sizes = box(x + 7, 59, w - x, y - 59);
    out.preview = box(7, y, w, h - y);
    out.base_97 = box(x + 7, 7, w - x, 10);
    out.base_224 = box(x + 7, 24, w - x, 10);
    out.base_5d0 = box(x + 7, 41, w - x, 10);
    return out;
}

}  // namespace lekta
