// Where the font chooser's controls go for a client size: the family list takes two thirds of
// the width and height, the base buttons and the sizes the rest of the width, the preview the
// rest of the height.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lekta {

struct FontChooserLayout {
    plat::Rect families;
    plat::Rect sizes;
    plat::Rect preview;
    plat::Rect base_97;
    plat::Rect base_224;
    plat::Rect base_5d0;
};

// The places for a client area of width x height pixels. A box that would have no room gets
// an empty rectangle at its place, never a negative size.
FontChooserLayout font_chooser_layout(int32_t width, int32_t height);

}  // namespace lekta
